// The translation editor's work on the table: every keystroke saved, German texts changed
// and rows deleted with the index kept right, the search, and no lost file when a save fails.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "i18n/translategrid.h"

using namespace kerbon;
namespace fs = std::filesystem;

namespace {

struct TableDir {
    fs::path path;
    TranslationTable t;

    // A table in a fresh directory with the given German texts; row i has the English
    // text "en" + German text.
    explicit TableDir(const std::vector<std::string>& german)
    {
        static int n = 0;
        path = fs::temp_directory_path() /
               ("kerbon-grid-" + std::to_string(getpid()) + "-" + std::to_string(n++));
        fs::remove_all(path);
        fs::create_directories(path);
        t.InitTranslation(dir(), "");
        for (const std::string& g : german) {
            t.TranslateText(g);
            t.SetCellText(t.rowCount() - 1, 1, "en " + g);
        }
        t.SaveTranslateFile();
    }
    ~TableDir() { fs::remove_all(path); }
    std::string dir() const { return path.string() + "/"; }
    std::string file() const { return dir() + "translate.dat"; }
    std::string bytes() const
    {
        std::ifstream in(file(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The table as the next start reads it.
    std::unique_ptr<TranslationTable> reread() const
    {
        auto again = std::make_unique<TranslationTable>();
        again->InitTranslation(dir(), "");
        return again;
    }
};

std::vector<std::string> numbered(int n)
{
    std::vector<std::string> v;
    for (int i = 1; i <= n; ++i)
        v.push_back("Text " + std::to_string(i));
    return v;
}

}  // namespace

TEST(TranslateGrid, ShowsColumnNamesAboveTheTableRows)
{
    TableDir d({"Datei", "Öffnen..."});
    EXPECT_EQ(gridRowCount(d.t), 3);
    EXPECT_EQ(gridText(d.t, {0, 0}), "German");
    EXPECT_EQ(gridText(d.t, {0, 2}), "Français");
    EXPECT_EQ(gridText(d.t, {0, 19}), "language19");
    EXPECT_EQ(gridText(d.t, {2, 0}), "Öffnen...");
    EXPECT_EQ(gridText(d.t, {2, 1}), "en Öffnen...");
    EXPECT_EQ(gridText(d.t, {2, 2}), "");
    EXPECT_EQ(gridText(d.t, {3, 0}), "");
    EXPECT_EQ(gridText(d.t, {1, 20}), "");
}

TEST(TranslateGrid, EveryKeystrokeIsSavedAndTheNextStartShowsIt)
{
    TableDir d({"Datei", "Öffnen..."});
    d.t.SetCellText(1, 1, std::string());
    for (const char* typed : {"O", "Op", "Ope", "Open"}) {
        setGridText(d.t, {2, 1}, typed);
        EXPECT_EQ(d.reread()->cellText(1, 1), typed);
    }
    auto next = d.reread();
    next->language = 1;
    EXPECT_EQ(next->TranslateText("Öffnen..."), "Open");

    // Title row and cells outside the table change nothing but the file is still written.
    fs::remove(d.file());
    setGridText(d.t, {0, 1}, "Englisch");
    EXPECT_EQ(gridText(d.t, {0, 1}), "English");
    ASSERT_TRUE(fs::exists(d.file()));
    const std::string before = d.bytes();
    for (GridCell outside : {GridCell{3, 1}, GridCell{1, 20}, GridCell{1, -1}, GridCell{-1, 0}})
        setGridText(d.t, outside, "x");
    EXPECT_EQ(d.bytes(), before);
    EXPECT_EQ(d.t.rowCount(), 2u);
}

TEST(TranslateGrid, ChangedGermanTextIsLookedUpUnderTheNewText)
{
    TableDir d({"Datei", "Ansicht"});
    d.t.language = 1;
    setGridText(d.t, {1, 0}, "Dateien");
    EXPECT_EQ(d.t.TranslateText("Dateien"), "en Datei");
    EXPECT_EQ(d.t.rowCount(), 2u);
    EXPECT_EQ(d.t.TranslateText("Datei"), "Datei");  // the old text is new again: a row
    EXPECT_EQ(d.t.rowCount(), 3u);
    EXPECT_EQ(d.reread()->cellText(2, 0), "Datei");
}

TEST(TranslateGrid, DeletingAsksWithTheGermanTextAndKeepsLookupsRight)
{
    TableDir d(numbered(10));
    d.t.language = 1;
    std::vector<std::string> asked;
    auto answer = [&](bool yes) {
        return [&asked, yes](const std::string& german) {
            asked.push_back(german);
            return yes;
        };
    };

    EXPECT_FALSE(deleteGridRow(d.t, 5, answer(false)));  // "No" (and "Cancel")
    EXPECT_EQ(asked, std::vector<std::string>{"Text 5"});
    EXPECT_EQ(d.t.rowCount(), 10u);

    EXPECT_TRUE(deleteGridRow(d.t, 5, answer(true)));
    EXPECT_EQ(d.t.rowCount(), 9u);
    EXPECT_EQ(gridText(d.t, {5, 0}), "Text 6");  // grid row 5 shows the former sixth row
    EXPECT_EQ(d.t.TranslateText("Text 6"), "en Text 6");
    EXPECT_EQ(d.t.TranslateText("Text 10"), "en Text 10");
    EXPECT_EQ(d.t.TranslateText("Text 4"), "en Text 4");
    EXPECT_EQ(d.reread()->rowCount(), 9u);

    // No question for the title row or below the last row; the table is saved all the same.
    fs::remove(d.file());
    for (int row : {0, 10, -3})
        EXPECT_FALSE(deleteGridRow(d.t, row, answer(true)));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(fs::exists(d.file()));
}

TEST(TranslateGrid, DeletingTheOnlyRowLeavesAnEmptyFile)
{
    TableDir d({"Datei"});
    EXPECT_TRUE(deleteGridRow(d.t, 1, [](const std::string&) { return true; }));
    EXPECT_EQ(gridRowCount(d.t), 1);
    const std::string b = d.bytes();
    EXPECT_EQ(b, std::string("\x14\0\0\0\0\0\0\0", 8));  // 20 columns, no rows
}

TEST(TranslateGrid, SearchCapitalisesOnlyAtoZ)
{
    struct Case { const char* text; const char* search; bool match; };
    const Case cases[] = {
        {"Linien zusammenfügen...", "ZUSAMMEN", true},
        {"SPEICHERN", "speichern", true},
        {"Öffnen", "öffnen", false},  // ö is not made a capital
        {"öffnen", "öffnen", true},
        {"Datei", "", false},         // an empty search text finds nothing
        {"", "a", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " / " + c.search);
        EXPECT_EQ(gridCellMatches(c.text, c.search), c.match);
    }
}

TEST(TranslateGrid, SearchVisitsRowByRowFromTheTitleRow)
{
    TableDir d({"Englisch", "Datei", "Neue Datei"});  // English cells: "en " + German
    std::vector<GridCell> hits;
    for (auto hit = findGridCell(d.t, "en", {0, 0}); hit;
         hit = findGridCell(d.t, "en", nextGridCell(*hit)))
        hits.push_back(*hit);
    const std::vector<GridCell> want = {{0, 1}, {1, 0}, {1, 1}, {2, 1}, {3, 1}};
    EXPECT_EQ(hits, want);
    EXPECT_EQ(findGridCell(d.t, "NEUE DATEI", {3, 2}), std::nullopt);  // after the last hit
    EXPECT_EQ(findGridCell(d.t, "", {0, 0}), std::nullopt);
    EXPECT_EQ(nextGridCell({2, 19}), (GridCell{3, 0}));
}

// A save that fails half way (here: a file size limit, as on a full disk) must leave the
// translate.dat of before whole, and typing goes on in memory.
TEST(TranslateGrid, FailedSaveWhileTypingKeepsTheOldFile)
{
    TableDir d(numbered(50));
    const std::string before = d.bytes();
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = before.size() / 2;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    setGridText(d.t, {3, 2}, "Texte 3");
    setGridText(d.t, {4, 0}, "Text vier");
    const std::string during = d.bytes();
    const std::string saved = d.t.lastSavedPath();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(saved, "");
    EXPECT_EQ(during, before);
    for (const auto& e : fs::directory_iterator(d.path))
        EXPECT_EQ(e.path().filename(), "translate.dat");  // no half-written file left behind
    EXPECT_EQ(d.t.cellText(2, 2), "Texte 3");
    setGridText(d.t, {3, 2}, "Texte 3");  // the next keystroke with room again saves all
    EXPECT_EQ(d.reread()->cellText(3, 0), "Text vier");
}
