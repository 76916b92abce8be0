// The document lifecycle of the editor: open, new from template, save, save as, the
// unsaved-changes question, the caption, options.dat and the language switch.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <unistd.h>

#include "edit/Editor.h"
#include "support/ScriptedUi.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
namespace fs = std::filesystem;

namespace {

// A fresh directory under the system temp dir, removed at the end of the test.
struct TempDir {
    fs::path path;
    TempDir()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path = fs::temp_directory_path() /
               (std::string("kerbon-life-") + info->test_suite_name() + "-" + info->name() + "-" +
                std::to_string(::getpid()));  // test runs of other work trees at the same time
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::string dir() const { return path.string() + "/"; }
};

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const char* const drawing = "0\r\nSECTION\r\n2\r\nENTITIES\r\n0\r\nENDSEC\r\n0\r\nEOF\r\n";

struct Fixture {
    TempDir tmp;
    ScriptedUi ui;
    Editor ed{ui};
    std::string lastCaption;
    Fixture()
    {
        ed.progpath = tmp.dir();
        ed.datadirs = {tmp.dir()};
        ed.onCaption = [this](const std::string& c) { lastCaption = c; };
        ed.setAreaSize(800, 600);
    }
};

}  // namespace

TEST(EditorLifecycle, OpenFailureShowsMessage32AndKeepsTheDocument)
{
    Fixture f;
    writeFile(f.tmp.file("teil.dxf"), drawing);
    ASSERT_TRUE(f.ed.openfilewithname(f.tmp.file("teil.dxf")));
    EXPECT_EQ(f.lastCaption, "Tarvel Kerbon 1.0 - [teil.dxf]");
    f.ed.SetChanged();
    EXPECT_EQ(f.lastCaption, "Tarvel Kerbon 1.0 - [teil.dxf*]");

    const std::string missing = f.tmp.file("fehlt.dxf");
    EXPECT_FALSE(f.ed.openfilewithname(missing));
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].text, "Konnte folgende Datei nicht öffnen: " + missing);
    EXPECT_EQ(f.ui.shown[0].title, "");
    EXPECT_EQ(f.ui.shown[0].icon, MsgIcon::Error);
    EXPECT_EQ(f.ed.afilename, f.tmp.file("teil.dxf"));
    EXPECT_TRUE(f.ed.changed);
    EXPECT_EQ(f.ed.dxf.count(), 8);
    double cx = 0, cy = 0;  // refitted: the empty 0 ... 10 box sits in the middle
    f.ed.view.DXF2Bildschirm(5, 5, cx, cy);
    EXPECT_NEAR(cx, 395, 1);
    EXPECT_NEAR(cy, 304, 1);
}

TEST(EditorLifecycle, SaveFailureShowsMessage6AndRestoresTheName)
{
    Fixture f;
    writeFile(f.tmp.file("a.dxf"), drawing);
    ASSERT_TRUE(f.ed.openfilewithname(f.tmp.file("a.dxf")));
    const std::string bad = f.tmp.file("kein/ordner/b.dxf");
    f.ui.files.push_back(bad);
    EXPECT_FALSE(f.ed.SaveAs());
    ASSERT_EQ(f.ui.dialogs.size(), 1u);
    EXPECT_EQ(f.ui.dialogs[0].directory, f.tmp.dir());  // starts beside the open file
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].text,
              "Die folgende Datei konnte nicht zum Schreiben geöffnet werden: " + bad);
    EXPECT_EQ(f.ui.shown[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(f.ed.afilename, f.tmp.file("a.dxf"));
    EXPECT_EQ(f.lastCaption, "Tarvel Kerbon 1.0 - [a.dxf*]");
}

TEST(EditorLifecycle, SaveRoundTripAndUntitledSaveCancelled)
{
    Fixture f;
    writeFile(f.tmp.file("template1.dat"), drawing);
    ASSERT_TRUE(f.ed.NewFile(false));
    EXPECT_EQ(f.lastCaption, "Tarvel Kerbon 1.0 - [unbenannt.dxf]");
    f.ed.SetChanged();
    EXPECT_FALSE(f.ed.SaveFile());  // the dialog is cancelled
    ASSERT_EQ(f.ui.dialogs.size(), 1u);
    EXPECT_EQ(f.ui.dialogs[0].filter, "DXF Dateien (*.dxf)|*.dxf");
    EXPECT_EQ(f.ui.dialogs[0].defaultExt, "dxf");
    EXPECT_TRUE(f.ui.dialogs[0].overwritePrompt);
    EXPECT_TRUE(f.ed.changed);
    EXPECT_TRUE(f.ed.afilename.empty());

    f.ui.files.push_back(f.tmp.file("neu.dxf"));
    EXPECT_TRUE(f.ed.SaveFile());
    EXPECT_FALSE(f.ed.changed);
    EXPECT_EQ(f.lastCaption, "Tarvel Kerbon 1.0 - [neu.dxf]");
    EXPECT_EQ(readFile(f.tmp.file("neu.dxf")), drawing);
    EXPECT_TRUE(f.ui.shown.empty());
}

TEST(EditorLifecycle, UnsavedChangesQuestionDecidesWhetherToGoOn)
{
    struct Case {
        const char* name;
        bool changed;
        std::vector<MsgResult> answers;
        std::vector<std::optional<std::string>> files;
        bool mayClose;
        bool optionsWritten;
    };
    const Case cases[] = {
        {"unchanged", false, {}, {}, true, true},
        {"cancel", true, {MsgResult::Cancel}, {}, false, false},
        {"no", true, {MsgResult::No}, {}, true, true},
        {"yes, dialog cancelled", true, {MsgResult::Yes}, {std::nullopt}, false, false},
        {"yes, saved", true, {MsgResult::Yes}, {"SAVED"}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.ed.changed = c.changed;
        f.ui.answers.assign(c.answers.begin(), c.answers.end());
        for (const auto& file : c.files)
            f.ui.files.push_back(file ? std::optional(f.tmp.file("s.dxf")) : std::nullopt);
        EXPECT_EQ(f.ed.FormCloseQuery(), c.mayClose);
        EXPECT_EQ(fs::exists(f.tmp.file("options.dat")), c.optionsWritten);
        if (c.changed) {
            ASSERT_FALSE(f.ui.shown.empty());
            EXPECT_EQ(f.ui.shown[0].text,
                      "Die Datei ist noch nicht gespeichert. Wollen Sie jetzt speichern?");
            EXPECT_EQ(f.ui.shown[0].title, "Speichern");
            EXPECT_EQ(f.ui.shown[0].buttons, MsgButtons::YesNoCancel);
            EXPECT_EQ(f.ui.shown[0].icon, MsgIcon::Question);
        }
    }
}

// Opening a file by name (the joined drawing from the joining window) asks about unsaved
// changes first; cancelling keeps the document.
TEST(EditorLifecycle, OpeningANamedFileAsksAboutUnsavedChangesFirst)
{
    for (const MsgResult answer : {MsgResult::Cancel, MsgResult::No}) {
        Fixture f;
        writeFile(f.tmp.file("joined.dxf"), drawing);
        f.ed.afilename = f.tmp.file("old.dxf");
        f.ed.changed = true;
        f.ui.answers = {answer};
        const bool opened = f.ed.OpenNamed(f.tmp.file("joined.dxf"));
        EXPECT_EQ(opened, answer == MsgResult::No);
        ASSERT_EQ(f.ui.shown.size(), 1u);
        EXPECT_EQ(f.ui.shown[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(f.ed.afilename, f.tmp.file(opened ? "joined.dxf" : "old.dxf"));
        EXPECT_EQ(f.ed.changed, !opened);
    }
}

TEST(EditorLifecycle, NewDrawingAsksFirstAndSurvivesAMissingTemplate)
{
    Fixture f;
    writeFile(f.tmp.file("teil.dxf"), drawing);
    ASSERT_TRUE(f.ed.openfilewithname(f.tmp.file("teil.dxf")));
    f.ed.SetChanged();
    f.ui.answers.push_back(MsgResult::Cancel);
    EXPECT_FALSE(f.ed.NewFile(true));
    EXPECT_EQ(f.ed.afilename, f.tmp.file("teil.dxf"));  // cancelled: nothing happened
    EXPECT_TRUE(f.ed.changed);

    f.ui.answers.push_back(MsgResult::No);
    EXPECT_FALSE(f.ed.NewFile(true));  // no template0.dat anywhere
    ASSERT_EQ(f.ui.shown.size(), 3u);
    EXPECT_EQ(f.ui.shown[2].text, "Konnte folgende Datei nicht öffnen: template0.dat");
    EXPECT_TRUE(f.ed.afilename.empty());  // the old lines stay as an untitled drawing
    EXPECT_FALSE(f.ed.changed);
    EXPECT_EQ(f.ed.dxf.count(), 8);
    EXPECT_EQ(f.lastCaption, "Tarvel Kerbon 1.0 - [unbenannt.dxf]");
}

TEST(EditorOptions, ReadsTheLanguageAsLittleEndianInteger)
{
    struct Case { const char* name; std::string bytes; bool present; int want; };
    const Case cases[] = {
        {"missing", "", false, 0},
        {"english", std::string("\x01\x00\x00\x00", 4), true, 1},
        {"seven", std::string("\x07\x00\x00\x00", 4), true, 7},
        {"negative", std::string("\xFE\xFF\xFF\xFF", 4), true, -2},
        {"too short", std::string("\x01\x00", 2), true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        if (c.present)
            writeFile(f.tmp.file("options.dat"), c.bytes);
        f.ed.LoadOptions();
        EXPECT_EQ(f.ed.languagesetto, c.want);
        EXPECT_EQ(f.ed.language, 0);  // applied only at first show
    }
}

TEST(EditorOptions, SwitchingLanguageWritesItAtCloseAndPrefersTheConfigCopy)
{
    Fixture f;
    EXPECT_TRUE(f.ed.setLanguage(1));
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].text, "Bitte schließen Sie das Program und starten Sie es neu.");
    EXPECT_EQ(f.ui.shown[0].title, "Übersetzen");
    EXPECT_EQ(f.ui.shown[0].icon, MsgIcon::Information);
    f.ed.dontchlang = true;
    EXPECT_FALSE(f.ed.setLanguage(0));
    EXPECT_EQ(f.ed.language, 1);
    ASSERT_TRUE(f.ed.FormCloseQuery());
    EXPECT_EQ(readFile(f.tmp.file("options.dat")), std::string("\x01\x00\x00\x00", 4));

    // A program directory that cannot be written: the per-user copy is written and read.
    Fixture g;
    g.ed.progpath = g.tmp.file("nicht/da") + "/";
    g.ed.configpath = g.tmp.file("config") + "/";
    g.ed.language = 7;
    g.ed.SaveOptions();
    EXPECT_EQ(readFile(g.tmp.file("config/options.dat")), std::string("\x07\x00\x00\x00", 4));
    g.ed.progpath = g.tmp.dir();
    writeFile(g.tmp.file("options.dat"), std::string("\x01\x00\x00\x00", 4));
    g.ed.LoadOptions();
    EXPECT_EQ(g.ed.languagesetto, 7);
    g.ed.language = 3;
    g.ed.SaveOptions();  // the configuration copy stays the one that counts
    EXPECT_EQ(readFile(g.tmp.file("config/options.dat")), std::string("\x03\x00\x00\x00", 4));
}

TEST(EditorLifecycle, CharactersTheEncodingCannotHoldAreSavedOnlyWhenTheUserAgrees)
{
    struct Case { MsgResult answer; bool saved; };
    for (const Case c : {Case{MsgResult::Yes, true}, Case{MsgResult::No, false}}) {
        SCOPED_TRACE(c.saved);
        Fixture f;
        f.ed.dxf.lines = {"0", "TEXT", "1", "Ω = 5 ÷ ☃", "0", "EOF"};
        f.ed.dxf.encoding = Encoding::Ansi;
        f.ed.SetChanged();
        f.ui.files.push_back(f.tmp.file("t.dxf"));
        f.ui.answers.push_back(c.answer);
        EXPECT_EQ(f.ed.SaveFile(), c.saved);
        ASSERT_EQ(f.ui.shown.size(), 1u);  // the question only, never message 6
        const std::string& q = f.ui.shown[0].text;
        EXPECT_NE(q.find("Ω (U+03A9), ☃ (U+2603)"), std::string::npos) << q;
        EXPECT_EQ(q.find("÷"), std::string::npos);  // Windows-1252 holds it
        EXPECT_EQ(f.ui.shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(fs::exists(f.tmp.file("t.dxf")), c.saved);
        EXPECT_EQ(f.ed.changed, !c.saved);
        EXPECT_EQ(f.ed.afilename, c.saved ? f.tmp.file("t.dxf") : "");
    }
}
