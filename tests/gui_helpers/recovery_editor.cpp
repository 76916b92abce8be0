// The editor as the crash test drives it: kerbon's main window, offscreen, on the given
// configuration directory, with scripted answers and a short autosave interval.
//   recovery_editor CONFIG edit DRAWING N EXPECTED  opens DRAWING, draws N lines, writes the
//       lines to EXPECTED, prints "edited" and runs until it is killed;
//   recovery_editor CONFIG restore RESTORED  starts, answers "Wiederherstellen", writes the
//       lines to RESTORED, prints the file name and the changed flag, and ends.
#include <QApplication>
#include <cstdio>
#include <string>

#include "dxf/LineStore.h"
#include "edit/Editor.h"
#include "gui/MainUnit.h"
#include "support/ScriptedUi.h"

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    QApplication app(argc, argv);
    const std::string config = argv[1], mode = argv[2];
    kerbon::test::ScriptedUi ui;
    ui.choices = {0};
    TMainForm::Setup setup;
    setup.progpath = config;
    setup.configpath = config;
    setup.ui = &ui;
    setup.autosaveMs = 200;
    TMainForm w(setup);
    w.show();
    kerbon::Editor& ed = *w.editor;
    if (mode == "edit" && argc == 6) {
        if (!ed.openfilewithname(argv[3]))
            return 1;
        for (int i = 0, n = std::stoi(argv[4]); i < n; ++i)
            ed.AddLine(i, 0, 0, i, 10 + i, 0);
        if (!kerbon::saveLines(argv[5], ed.dxf))
            return 1;
        std::printf("edited\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (mode == "restore" && argc == 4) {
        if (!kerbon::saveLines(argv[3], ed.dxf))
            return 1;
        std::printf("%s\n%d\n", ed.afilename.c_str(), int(ed.changed));
        return 0;
    }
    return 2;
}
