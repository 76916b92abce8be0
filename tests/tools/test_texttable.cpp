// The plain-text translation table (reading, errors, escapes, the .dat made from it) and
// the search of the sources for looked-up literals.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "sourcetexts.h"
#include "texttable.h"

using namespace kerbon;
using namespace kerbon::texts;

TEST(TextTable, ReadsEntriesWithTheirTranslations)
{
    const std::string text = "# header\n"
                             "\n"
                             "de: Datei\n"
                             "en: File\n"
                             "fr: Fichier\n"
                             "\n"
                             "# where it is shown\n"
                             "de:   Linien zusammenfügen...  \r\n"
                             "en: Join lines...\n"
                             "de: Zwei\\nZeilen \\\\ und \\t\n"
                             "en:\n"
                             "de: Ohne\n";
    TextTable t;
    std::string error;
    ASSERT_TRUE(parseTextTable(text, t, error)) << error;
    ASSERT_EQ(t.entries.size(), 4u);
    EXPECT_EQ(t.entries[0].cells[2], "Fichier");
    EXPECT_EQ(t.entries[1].cells[0], "Linien zusammenfügen...");
    EXPECT_EQ(t.entries[1].line, 8);
    EXPECT_EQ(t.entries[2].cells[0], "Zwei\nZeilen \\ und \t");  // written escapes stay
    EXPECT_EQ(t.entries[2].cells[1], "");
    ASSERT_NE(t.find("Ohne"), nullptr);
    EXPECT_EQ(t.find("Ohne")->cells[1], "");
    EXPECT_EQ(t.find("Nicht da"), nullptr);

    // What formatEntry writes reads back as the same entry.
    Entry e;
    e.cells[0] = "Eine\nZeile\\";
    e.cells[1] = "A\tline";
    e.cells[3] = "Regel";
    const std::string one = formatEntry(e, "TPolyForm", true);
    EXPECT_EQ(one, "# TPolyForm\nde: Eine\\nZeile\\\\\nen: A\\tline\nnl: Regel\n\n");
    ASSERT_TRUE(parseTextTable(one, t, error));
    EXPECT_EQ(t.entries.at(0).cells, e.cells);
    Entry fresh;
    fresh.cells[0] = "Neu";
    EXPECT_EQ(formatEntry(fresh, "", true), "de: Neu\nen:\n\n");
    EXPECT_EQ(formatEntry(fresh, "", false), "de: Neu\n\n");
}

TEST(TextTable, MalformedLinesAreNamed)
{
    struct Case { const char* text; const char* error; };
    const Case cases[] = {
        {"en: File\n", "line 1: a translation before the first \"de:\""},
        {"de: Datei\nen: File\nen: Data\n", "line 3: \"en:\" given twice for one German text"},
        {"de: Datei\n\nde: Datei\n", "line 3: the German text \"Datei\" has an entry already"},
        {"de:\n", "line 1: empty German text"},
        {"de: Datei\nEN: File\n", "line 2: expected \"de:\", \"en:\", \"fr:\" or \"nl:\" at the start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextTable t;
        std::string error;
        EXPECT_FALSE(parseTextTable(c.text, t, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(TextTable, TranslateDatFromTheTextIsWhatTheProgramReads)
{
    TextTable t;
    std::string error;
    ASSERT_TRUE(parseTextTable("de: Datei\nen: File\n\nde: Öffnen...\nen: Open...\n\n"
                               "de: Neu\nen:\nnl: Nieuw\n",
                               t, error));
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kerbon-texts-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "translate.dat", std::ios::binary) << translateFileBytes(t);
    {
        TranslationTable table;
        table.InitTranslation(dir.string() + "/", "");
        ASSERT_EQ(table.rowCount(), 3u);
        table.language = 1;
        EXPECT_EQ(table.TranslateText(" Öffnen... "), " Open... ");
        EXPECT_EQ(table.TranslateText("Neu"), "Neu");
        table.language = 3;
        EXPECT_EQ(table.TranslateText("Neu"), "Nieuw");
        EXPECT_EQ(table.rowCount(), 3u);
    }
    std::filesystem::remove_all(dir);
}

TEST(SourceTexts, FindsTheLiteralsGivenToTheLookups)
{
    const std::string code = R"(// translate("im Kommentar") is not code
int x = place.translate(t.x + 1, t.y);
std::string a = translate("Die Kodierung der Datei: ") +
                ed.translate(
                    "Zwei " "Teile");
QString b = tr("Abbrechen"), c = QObject::tr("Mit \"Zeichen\"\n");
/* TranslateText("auch nicht") */ auto d = TranslateText(std::string("nicht direkt"));
opts.filter = "DXF-Dateien (*.dxf)|*.dxf|Alle Dateien (*.*)|*.*";
if (opts.filter == "Vergleich") {}
char q = '"'; auto e = tr("Nach dem Zeichen");
auto f = translate("   ");
)";
    const std::vector<SourceText> found = findSourceTexts(code);
    std::vector<std::pair<std::string, int>> got;
    for (const SourceText& t : found)
        got.push_back({t.german, t.line});
    const std::vector<std::pair<std::string, int>> want = {
        {"Die Kodierung der Datei:", 3}, {"Zwei Teile", 5},       {"Abbrechen", 6},
        {"Mit \"Zeichen\"\n", 6},         {"DXF-Dateien (*.dxf)", 8}, {"Alle Dateien (*.*)", 8},
        {"Nach dem Zeichen", 10},
    };
    EXPECT_EQ(got, want);
}
