// kerbon: the editor. The first command-line argument is a DXF file to open;
// "kerbon --version" prints the version.
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

#include "gui/MainUnit.h"

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {  // no window, no display
        std::printf("kerbon %s\n", KERBON_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName("Kerbon");
    QApplication::setWindowIcon(QIcon(":/kerbon.png"));
    QGuiApplication::setDesktopFileName("kerbon");
    TMainForm::Setup setup;
    const QStringList all = QApplication::arguments();
    setup.args = all.mid(1);
    TMainForm w(setup);
    w.show();
    return app.exec();
}
