// Gathering the program's texts: a main window with all its dialogs is built in a scratch
// directory, walked window by window and then started in English on an empty table, whose
// rows are then every text start-up looked up.
#include "collect.h"

#include <QDialog>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "edit/Ui.h"
#include "gui/MainUnit.h"
#include "gui/TranslateComponents.h"
#include "i18n/translateunit.h"
#include "sourcetexts.h"

namespace kerbon::texts {

namespace {

// Answers every question with its default and never opens a dialog.
class SilentUi : public Ui {
public:
    MsgResult messageBox(const std::string&, const std::string&, MsgIcon,
                         MsgButtons buttons) override
    {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> saveFileDialog(const FileDialogOptions&) override
    {
        return std::nullopt;
    }
};

class Collection {
public:
    std::vector<FoundText> texts;

    void add(std::string text, const std::string& origin)
    {
        const std::size_t a = text.find_first_not_of(' ');
        if (a == std::string::npos)
            return;  // empty or blanks only: never looked up
        text = text.substr(a, text.find_last_not_of(' ') - a + 1);
        if (seen.insert(text).second)
            texts.push_back({std::move(text), origin});
    }
    TranslateFn recorder(const std::string& origin)
    {
        return [this, origin](const QString& s) {
            add(s.toStdString(), origin);
            return s;
        };
    }

private:
    std::set<std::string> seen;
};

void collectSourceTexts(const std::string& sourceRoot, Collection& c)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(sourceRoot + "src", ec), end; !ec && it != end;
         it.increment(ec))
        if (it->path().extension() == ".cpp" || it->path().extension() == ".h")
            files.push_back(it->path());
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        std::ifstream in(f, std::ios::binary);
        std::ostringstream code;
        code << in.rdbuf();
        const std::string name = fs::relative(f, sourceRoot, ec).generic_string();
        for (const SourceText& t : findSourceTexts(code.str()))
            c.add(t.german, name + ":" + std::to_string(t.line));
    }
}

}  // namespace

std::vector<FoundText> collectProgramTexts(const std::string& sourceRoot)
{
    Collection c;
    for (int n = 1; n <= builtinMessages; ++n)
        c.add(std::string(builtinMessage(n)), "message " + std::to_string(n));

    QTemporaryDir scratch;
    const std::string dir = scratch.path().toStdString() + "/";
    std::ofstream(dir + "options.dat", std::ios::binary).write("\x01\0\0\0", 4);  // English
    SilentUi ui;
    TMainForm::Setup setup;
    setup.progpath = dir;
    setup.configpath = dir + "config/";
    setup.datadirs = {dir};  // neither templates nor a shipped table: every row is met anew
    setup.ui = &ui;
    {
        TMainForm main(setup);
        // Each dialog on its own first, so that its texts are named after it.
        for (QDialog* d : main.findChildren<QDialog*>())
            TranslateComponents(d, c.recorder(d->metaObject()->className()));
        TranslateComponents(&main, c.recorder(main.metaObject()->className()));
        main.show();  // start-up in English looks up every text of the program's table
        const TranslationTable& t = translations();
        for (std::uint32_t r = 0; r < t.rowCount(); ++r)
            c.add(t.cellText(r, 0), "start-up");
    }
    translations().InitTranslation("", "");  // the scratch directory goes: keep the table in memory
    collectSourceTexts(sourceRoot, c);
    return c.texts;
}

}  // namespace kerbon::texts
