// Autosave into recovery files and their restoring at the next start.
#include <gtest/gtest.h>

#include <filesystem>

#include "edit/Editor.h"
#include "edit/Recovery.h"
#include "edit/EditorFixture.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;
namespace fs = std::filesystem;

namespace {

struct RecoveryTest : ::testing::Test {
    TempDir tmp;
    std::string drawing = tmp.path("teil.dxf");
    std::string recoverydir = tmp.path("config/recovery") + "/";

    RecoveryTest()
    {
        fs::copy_file(kerbon::test::dataFile("template1.dat"), drawing);
    }

    // An editor as the window sets it up, with the drawing open or (as at start) a new one.
    std::unique_ptr<kerbon::test::EditorFixture> editor(bool open = true)
    {
        auto f = std::make_unique<kerbon::test::EditorFixture>();
        f->ed.recoverydir = recoverydir;
        EXPECT_TRUE(open ? f->ed.openfilewithname(drawing) : f->ed.NewFile(false));
        return f;
    }

    std::vector<std::string> files() const
    {
        std::vector<std::string> out;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(recoverydir, ec))
            if (e.path().extension() == ".dxf")
                out.push_back(e.path().string());
        return out;
    }

    static void edit(Editor& ed, int n)
    {
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(ed.AddLine(i, 0, 0, i, 10, 0), WriteStatus::Ok);
    }
};

TEST_F(RecoveryTest, AutosaveAfterFiftyEditsAndOnTheTimerNeverTouchesTheDrawing)
{
    const std::string original = kerbon::test::readBytes(drawing);
    auto f = editor();
    Editor& ed = f->ed;
    EXPECT_TRUE(ed.autosave());
    EXPECT_TRUE(files().empty()) << "an unchanged drawing has nothing to recover";

    edit(ed, Editor::autosaveEdits - 1);
    EXPECT_TRUE(files().empty());
    edit(ed, 1);
    ASSERT_EQ(files().size(), 1u);
    EXPECT_EQ(files()[0], ed.recoveryPath());
    auto r = readRecovery(files()[0]);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->doc.lines, ed.dxf.lines);
    EXPECT_EQ(r->drawingPath, fs::absolute(drawing).string());

    edit(ed, 3);  // fewer than fifty: the timer's write takes them
    EXPECT_NE(readRecovery(files()[0])->doc.lines, ed.dxf.lines);
    EXPECT_TRUE(ed.autosave());
    EXPECT_EQ(readRecovery(files()[0])->doc.lines, ed.dxf.lines);
    ed.Rckgngig1Click();  // undo is an edit too
    EXPECT_TRUE(ed.autosave());
    EXPECT_EQ(readRecovery(files()[0])->doc.lines, ed.dxf.lines);

    EXPECT_EQ(kerbon::test::readBytes(drawing), original);
}

// Every way the changes end (saved, saved elsewhere, given up) removes the recovery file.
TEST_F(RecoveryTest, SavingOrDiscardingTheChangesRemovesTheRecoveryFile)
{
    const std::vector<std::pair<const char*, std::function<void(kerbon::test::EditorFixture&)>>>
        ends = {
            {"Speichern", [](auto& f) { EXPECT_TRUE(f.ed.SaveFile()); }},
            {"Speichern unter...",
             [this](auto& f) {
                 f.ui.files.push_back(tmp.path("anders.dxf"));
                 EXPECT_TRUE(f.ed.SaveAs());
             }},
            {"Nein on opening a new drawing",
             [](auto& f) {
                 f.ui.answers.push_back(MsgResult::No);
                 EXPECT_TRUE(f.ed.NewFile(false));
             }},
            {"Nein on closing",
             [](auto& f) {
                 f.ui.answers.push_back(MsgResult::No);
                 EXPECT_TRUE(f.ed.FormCloseQuery());
             }},
            {"opening another drawing", [this](auto& f) {
                 f.ui.answers.push_back(MsgResult::No);
                 f.ui.files.push_back(drawing);
                 EXPECT_TRUE(f.ed.Open());
             }}};
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        auto f = editor();
        edit(f->ed, 1);
        ASSERT_TRUE(f->ed.autosave());
        ASSERT_EQ(files().size(), 1u);
        const std::string written = f->ed.recovery.written;
        end(*f);
        EXPECT_TRUE(files().empty());
        EXPECT_FALSE(fs::exists(written + ".lock"));
    }
}

TEST_F(RecoveryTest, ChangesGivenUpButKeptAreWrittenAgain)
{
    auto f = editor();
    edit(f->ed, 1);
    ASSERT_TRUE(f->ed.autosave());
    f->ui.answers.push_back(MsgResult::No);  // "Nein", then the open dialog is cancelled
    EXPECT_FALSE(f->ed.Open());
    EXPECT_TRUE(files().empty());
    EXPECT_TRUE(f->ed.changed);
    EXPECT_TRUE(f->ed.autosave());
    EXPECT_EQ(files().size(), 1u);
}

// A run that died: the editor object goes without cleaning up, its lock with it.
TEST_F(RecoveryTest, RestoreOpensTheChangedDrawingUnderItsOwnName)
{
    std::vector<std::string> edited;
    {
        auto f = editor();
        edit(f->ed, 7);
        ASSERT_TRUE(f->ed.autosave());
        edited = f->ed.dxf.lines.strings();
    }
    auto g = editor(false);
    Editor& ed = g->ed;
    g->ui.choices = {0};  // "Wiederherstellen"
    ASSERT_TRUE(ed.offerRecovery());
    ASSERT_EQ(g->ui.choiceButtons.size(), 1u);
    EXPECT_EQ(g->ui.choiceButtons[0], (std::vector<std::string>{"Wiederherstellen", "Verwerfen"}));
    EXPECT_NE(g->ui.shown.back().text.find(fs::absolute(drawing).string()), std::string::npos);
    EXPECT_EQ(ed.dxf.lines, edited);
    EXPECT_EQ(ed.afilename, fs::absolute(drawing).string());
    EXPECT_TRUE(ed.changed);
    EXPECT_TRUE(ed.caption().ends_with("[teil.dxf*]"));
    EXPECT_GT(ed.model.anzpoly, 0);
    // The restored lines live on in the new run's own recovery file only.
    ASSERT_EQ(files().size(), 1u);
    EXPECT_EQ(files()[0], ed.recoveryPath());

    ASSERT_TRUE(ed.SaveFile());  // "Speichern" writes to the original place
    LineStore saved;
    ASSERT_TRUE(loadLines(drawing, saved));
    EXPECT_EQ(saved.lines, edited);
    EXPECT_TRUE(files().empty());
}

TEST_F(RecoveryTest, AnswersToTheOffer)
{
    const auto die = [&](bool untitled) {
        auto f = editor(!untitled);
        edit(f->ed, 2);
        ASSERT_TRUE(f->ed.autosave());
    };
    die(false);
    {
        auto g = editor(false);  // the box closed: nothing happens, asked again next time
        EXPECT_FALSE(g->ed.offerRecovery());
        EXPECT_FALSE(g->ed.changed);
        EXPECT_EQ(files().size(), 1u);
    }
    die(true);  // untitled: comes back untitled
    {
        auto g = editor(false);
        g->ui.choices = {1, 0};  // the newest (untitled) "Verwerfen", the next restored
        EXPECT_TRUE(g->ed.offerRecovery());
        ASSERT_EQ(g->ui.shown.size(), 2u);
        EXPECT_NE(g->ui.shown[0].text.find("unbenannt.dxf"), std::string::npos);
        EXPECT_EQ(g->ed.afilename, fs::absolute(drawing).string());
    }
    die(true);
    {
        auto g = editor(false);
        g->ui.choices = {0};
        EXPECT_TRUE(g->ed.offerRecovery());
        EXPECT_EQ(g->ed.afilename, "");
        EXPECT_TRUE(g->ed.changed);
    }
}

TEST_F(RecoveryTest, OnlyFilesLeftBehindAndNewerThanTheirDrawingAreOffered)
{
    auto running = editor();  // a second editor still at work
    edit(running->ed, 1);
    ASSERT_TRUE(running->ed.autosave());
    EXPECT_TRUE(leftRecoveries(recoverydir).empty());

    kerbon::test::writeBytes(recoverydir + "fremd.dxf", "0\r\nEOF\r\n");  // not a recovery file
    {
        auto dead = editor();
        edit(dead->ed, 1);
        ASSERT_TRUE(dead->ed.autosave());
    }
    const auto left = leftRecoveries(recoverydir);
    ASSERT_EQ(left.size(), 1u);
    // The drawing saved after the recovery file was written: it is out of date.
    fs::last_write_time(drawing, left[0].written + std::chrono::seconds(1));
    EXPECT_TRUE(leftRecoveries(recoverydir).empty());
    EXPECT_FALSE(fs::exists(left[0].path));
    EXPECT_TRUE(fs::exists(recoverydir + "fremd.dxf"));
    EXPECT_TRUE(fs::exists(running->ed.recoveryPath()));
}

// Whatever the drawing holds and wherever it lies, the recovery file gives it back.
TEST_F(RecoveryTest, ContentAndNameSurviveTheRecoveryFile)
{
    LineStore doc;
    doc.lines = {"0", "TEXT", "1", "Maß \x81 日本", "1", std::string("\xC3\x28 ill-formed", 14), ""};
    for (Encoding e : {Encoding::Ansi, Encoding::Utf8, Encoding::Utf16BE}) {
        doc.encoding = e;
        const std::string name = "/tmp/100% teil\nzwei.dxf";
        const std::string path = recoverydir + recoveryFileName(name, "t");
        ASSERT_TRUE(writeRecovery(path, doc, name));
        const auto r = readRecovery(path);
        ASSERT_TRUE(r);
        EXPECT_EQ(r->doc.lines, doc.lines);
        EXPECT_EQ(r->doc.encoding, e);
        EXPECT_EQ(r->drawingPath, name);
    }
    EXPECT_FALSE(readRecovery(recoverydir + "missing.dxf"));
}

}  // namespace
