// The translation table: lookup and blanks, automatic rows, built-in messages,
// translate.dat (round trip, odd column counts, damaged files) and where it lives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <unistd.h>

#include "i18n/progfiles.h"
#include "i18n/translateunit.h"

using namespace kerbon;
namespace fs = std::filesystem;

namespace {

// A fresh directory per test, removed afterwards; dir() ends in "/".
class TempDir {
public:
    TempDir()
    {
        static int n = 0;
        path = fs::temp_directory_path() /
               ("kerbon-i18n-" + std::to_string(getpid()) + "-" + std::to_string(n++));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    std::string dir() const { return path.string() + "/"; }
    fs::path path;
};

void put32(std::string& s, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(char((std::uint32_t(v) >> (8 * i)) & 0xFF));
}

void putString(std::string& s, const std::u16string& t)
{
    put32(s, std::int32_t(t.size()));
    for (char16_t c : t) {
        s.push_back(char(c & 0xFF));
        s.push_back(char(c >> 8));
    }
}

// translate.dat bytes with `cols` columns; missing cells of a row are written empty.
std::string tableBytes(int cols, const std::vector<std::vector<std::u16string>>& rows)
{
    std::string s;
    put32(s, cols);
    put32(s, std::int32_t(rows.size()));
    for (const auto& r : rows)
        for (int c = 0; c < cols; ++c)
            putString(s, c < int(r.size()) ? r[c] : u"");
    return s;
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::int32_t rowCountInFile(const std::string& path)
{
    const std::string b = readFile(path);
    if (b.size() < 8)
        return -1;
    return std::int32_t(std::uint8_t(b[4]) | std::uint8_t(b[5]) << 8 | std::uint8_t(b[6]) << 16 |
                        std::uint8_t(b[7]) << 24);
}

}  // namespace

TEST(TranslateText, AnswersTheLanguageColumnAndKeepsBlanks)
{
    TempDir d;
    writeFile(d.dir() + "translate.dat",
              tableBytes(20, {{u"Datei", u"File", u"Fichier"},
                              {u"Ohne", u""},
                              {u"Rand", u"\t Edge \r\n"},
                              {u"Zeile\n", u"\nLine\n"},
                              {u"Grün", u"Green"},
                              {u"Leer", u"   "},
                              {u"Datei", u"Second"}}));  // a duplicate: the first row answers
    struct Case { int language; std::string in, want; bool adds; };
    const Case cases[] = {
        {1, "  Datei  ", "  File  ", false},
        {0, "  Datei  ", "  Datei  ", false},
        {2, "Datei", "Fichier", false},
        {3, "Datei", "Datei", false},          // no Dutch cell
        {1, "  Ohne  ", "  Ohne  ", false},    // empty cell: the input as it was
        {1, " Rand", " Edge", false},          // white space around a cell is dropped
        {1, "Zeile\n", "Line", false},         // the break is part of the key only
        {0, "Zeile\n", "Zeile\n", false},
        {1, "Grün ", "Green ", false},
        {1, "Leer", "", false},                // a cell of blanks answers nothing but the blanks
        {20, "Datei", "Datei", false},         // no column for this language: German
        {-1, "Datei", "Datei", false},
        {1000, "Datei", "Datei", false},
        {1, "", "", false},
        {1, "   ", "   ", false},              // blanks only: nothing added
        {1, "datei", "datei", true},           // case matters
        {1, "\tDatei", "\tDatei", true},       // only U+0020 is stripped from the input
        {1, "Neu  ", "Neu  ", true},
        {1, " Neu", " Neu", false},            // now known, still untranslated
    };
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in + " / language " + std::to_string(c.language));
        t.language = c.language;
        const std::uint32_t before = t.rowCount();
        EXPECT_EQ(t.TranslateText(c.in), c.want);
        EXPECT_EQ(t.rowCount(), before + (c.adds ? 1 : 0));
    }
}

TEST(TranslateText, UnknownTextGetsARowAndTheFileIsRewritten)
{
    TempDir d;
    const std::string file = d.dir() + "translate.dat";
    writeFile(file, tableBytes(20, {{u"Datei", u"File"}}));
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    t.language = 1;
    EXPECT_EQ(t.TranslateText("  Öffnen... "), "  Öffnen... ");
    ASSERT_EQ(t.rowCount(), 2u);
    EXPECT_EQ(t.cellText(1, 0), "Öffnen...");
    for (int c = 1; c < transColumns; ++c)
        EXPECT_EQ(t.cell(1, c), u"");
    EXPECT_EQ(rowCountInFile(file), 2);
    EXPECT_EQ(readFile(file), tableBytes(20, {{u"Datei", u"File"}, {u"Öffnen..."}}));

    // The new key is found at once, also for a text whose first code unit shares the bucket.
    EXPECT_EQ(t.TranslateText(u"\u0144x"), u"\u0144x");  // U+0144 and 'D' (0x44) share bucket 0x44
    EXPECT_EQ(t.TranslateText("Datei"), "File");
    EXPECT_EQ(t.rowCount(), 3u);
    EXPECT_EQ(t.TranslateText("Öffnen..."), "Öffnen...");
    EXPECT_EQ(t.rowCount(), 3u);
    EXPECT_EQ(t.bucket(0x44).count(), 2u);
}

TEST(TranslateText, UntranslatedTextComesBackByteForByte)
{
    TranslationTable t;  // no directories: in memory only
    t.language = 1;
    const std::string odd = "Ma\xDF \xFF";  // not UTF-8
    EXPECT_EQ(t.TranslateText(odd), odd);
    EXPECT_EQ(t.TranslateText(odd), odd);
    EXPECT_EQ(t.rowCount(), 1u);
    EXPECT_FALSE(t.SaveTranslateFile());
}

TEST(GetMessageText, HoldsTheFortyBuiltInMessages)
{
    TranslationTable t;
    const int unassigned[] = {4, 5, 35, 38, 39};
    for (int n = 1; n <= builtinMessages; ++n) {
        SCOPED_TRACE(n);
        std::string text = "unchanged";
        EXPECT_TRUE(t.GetMessageText(n, text));
        const bool none = std::find(std::begin(unassigned), std::end(unassigned), n) !=
                          std::end(unassigned);
        EXPECT_EQ(text.empty(), none);
        EXPECT_EQ(text, builtinMessage(n));
    }
    struct Case { int n; const char* text; };
    const Case exact[] = {
        {1, "Konte die folgende Datei nicht öffnen: "},
        {2, "Bitte schließen Sie das Program und starten Sie es neu."},
        {3, "Übersetzen"},
        {10, "Die DXF Version dieser DXF untersützt keine solchen Spline Objekte."},
        {16, "Grün"},
        {20, "Schwarz"},
        {30, "Sie haben die Längen nicht korrekt eingegeben."},
        {32, "Konnte folgende Datei nicht öffnen: "},
        {34, "unbenannt.dxf"},
        {36, "Die DXF Version dieser DXF untersützt keine mehrzeilen Texte. Es wird nur die erste "
             "Zeile verwendet."},
        {37, "Die DXF Version dieser DXF untersützt keine solchen \"LEADER\" Objekte."},
        {40, "Fehler: Konnte nicht alle Elemente auf dem Blatt unterbringen. Erhöhen Sie die "
             "Blattgröße, verringern Sie die Anzahl der Elemente oder verringern Sie den Abstand."},
    };
    for (const Case& c : exact)
        EXPECT_EQ(t.GetMessageText(c.n), c.text);
    for (int n : {0, 41, -1}) {
        std::string text = "unchanged";
        EXPECT_FALSE(t.GetMessageText(n, text));
        EXPECT_EQ(text, "unchanged");
    }
}

TEST(GetMessageText, RegisterMessagesAddsOneRowPerMessageAndTranslations)
{
    TempDir d;
    const std::string file = d.dir() + "translate.dat";
    writeFile(file, tableBytes(20, {{u"Rot", u"Red"}, {u"Speichern", u"Save"}}));
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    t.language = 1;
    t.RegisterMessages();
    EXPECT_EQ(t.rowCount(), 35u);  // 35 assigned texts, two of them known before
    EXPECT_EQ(rowCountInFile(file), 35);
    t.RegisterMessages();
    EXPECT_EQ(t.rowCount(), 35u);
    EXPECT_EQ(t.GetMessageText(14), "Red");
    EXPECT_EQ(t.GetMessageText(8), "Save");
    EXPECT_EQ(t.GetMessageText(15), "Gelb");  // no English cell yet
    t.language = 0;
    EXPECT_EQ(t.GetMessageText(14), "Rot");
}

TEST(TranslateFile, TableWrittenByTheProgramReadsBackIdentically)
{
    TempDir d;
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    t.language = 1;
    t.TranslateText("Grün");
    t.TranslateText("Zeile\n");
    t.TranslateText("\U0001F600 Größe");
    t.TranslateText("Leer");
    ASSERT_EQ(t.rowCount(), 4u);
    t.SetCellText(0, 1, "Green");
    t.SetCellText(0, 19, "grün-19");
    t.SetCellText(1, 2, std::u16string(1, char16_t(0xD83D)) + u" lone");  // kept as it is
    t.SetCellText(2, 3, "\U0001F600 Grootte");
    ASSERT_TRUE(t.SaveTranslateFile());
    const std::string bytes = readFile(d.dir() + "translate.dat");

    TranslationTable u;
    u.InitTranslation(d.dir(), "");
    ASSERT_EQ(u.rowCount(), t.rowCount());
    for (std::uint32_t r = 0; r < t.rowCount(); ++r)
        for (int c = 0; c < transColumns; ++c)
            EXPECT_EQ(u.cell(r, c), t.cell(r, c)) << r << "," << c;
    ASSERT_TRUE(u.SaveTranslateFile());
    EXPECT_EQ(readFile(d.dir() + "translate.dat"), bytes);
    u.language = 1;
    EXPECT_EQ(u.TranslateText(" Grün"), " Green");
}

TEST(TranslateFile, OtherColumnCountsLoadAndSaveAsTwenty)
{
    struct Case { int cols; };
    for (const Case c : {Case{3}, Case{25}, Case{1}}) {
        SCOPED_TRACE(c.cols);
        TempDir d;
        std::vector<std::u16string> row;
        for (int i = 0; i < c.cols; ++i)
            row.push_back(i == 0 ? u"Text" : u"t" + utf8ToUtf16(std::to_string(i)));
        writeFile(d.dir() + "translate.dat", tableBytes(c.cols, {row, row}));
        TranslationTable t;
        t.InitTranslation(d.dir(), "");
        ASSERT_EQ(t.rowCount(), 2u);
        for (int col = 0; col < transColumns; ++col)
            EXPECT_EQ(t.cell(1, col), col < c.cols ? row[col] : u"");
        ASSERT_TRUE(t.SaveTranslateFile());
        row.resize(std::min(c.cols, transColumns));
        EXPECT_EQ(readFile(d.dir() + "translate.dat"), tableBytes(20, {row, row}));
    }
}

TEST(TranslateFile, DamagedFilesLoadTheCompleteRowsOnly)
{
    const std::string two = tableBytes(20, {{u"Eins", u"One"}, {u"Zwei", u"Two"}});
    auto withCounts = [&](std::int32_t cols, std::int32_t rows) {
        std::string s = two;
        std::string head;
        put32(head, cols);
        put32(head, rows);
        return head + s.substr(8);
    };
    std::string badLength = two.substr(0, 8);
    put32(badLength, 0x7FFFFFFF);  // first cell claims 2^31 - 1 code units
    badLength += "ab";
    std::string negLength = two.substr(0, 8);
    put32(negLength, -5);
    struct Case { const char* name; std::string bytes; std::uint32_t rows; };
    const Case cases[] = {
        {"empty file", "", 0},
        {"header cut", two.substr(0, 6), 0},
        {"rows missing", two.substr(0, 8), 0},
        {"second row cut", two.substr(0, two.size() - 3), 1},
        {"last count cut", two.substr(0, two.size() - 2), 1},
        {"complete", two, 2},
        {"absurd row count", withCounts(20, 0x7FFFFFFF), 2},
        {"negative row count", withCounts(20, -3), 0},
        {"no columns, many rows", withCounts(0, 1000000000), 0},
        {"negative columns", withCounts(-1, 2), 0},
        {"absurd column count", withCounts(0x7FFFFFFF, 2), 0},
        {"absurd string length", badLength, 0},
        {"negative string length", negLength, 0},
        {"garbage", std::string(37, '\xEE'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir d;
        writeFile(d.dir() + "translate.dat", c.bytes);
        TranslationTable t;
        t.InitTranslation(d.dir(), "");
        ASSERT_EQ(t.rowCount(), c.rows);
        t.language = 1;
        if (c.rows > 0) {
            EXPECT_EQ(t.TranslateText("Eins"), "One");
        }
        EXPECT_EQ(t.TranslateText("Drei"), "Drei");  // the table goes on working
        EXPECT_EQ(rowCountInFile(d.dir() + "translate.dat"), std::int32_t(c.rows + 1));
    }
}

TEST(TranslateFile, FileCutAnywhereLoadsExactlyTheRowsBeforeTheCut)
{
    const std::vector<std::vector<std::u16string>> rows = {
        {u"Eins", u"One"}, {u"Zwei", u"", u"Deux"}, {u"\U0001F600"}, {u"Vier", u"Four"}};
    const std::string bytes = tableBytes(3, rows);
    std::vector<std::size_t> rowEnds;  // offset just past each row
    for (std::size_t r = 1; r <= rows.size(); ++r)
        rowEnds.push_back(tableBytes(3, {rows.begin(), rows.begin() + r}).size());
    TempDir d;
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        writeFile(d.dir() + "translate.dat", bytes.substr(0, cut));
        TranslationTable t;
        t.InitTranslation(d.dir(), "");
        std::uint32_t want = 0;
        while (want < rowEnds.size() && rowEnds[want] <= cut)
            ++want;
        ASSERT_EQ(t.rowCount(), want);
        for (std::uint32_t r = 0; r < want; ++r)
            for (int c = 0; c < 3; ++c)
                ASSERT_EQ(t.cell(r, c), c < int(rows[r].size()) ? rows[r][c] : u"");
    }
}

TEST(TranslateFile, RandomlyDamagedFilesNeverBreakTheTable)
{
    const std::string good = tableBytes(
        20, {{u"Datei", u"File"}, {u"Öffnen", u"Open"}, {u"Speichern", u"Save"}});
    TempDir d;
    for (unsigned seed = 1; seed <= 120; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        std::string bytes = good;
        for (int k = 1 + rng() % 6; k > 0; --k)
            bytes[rng() % bytes.size()] = char(rng());
        writeFile(d.dir() + "translate.dat", bytes);
        TranslationTable t;
        t.InitTranslation(d.dir(), "");
        ASSERT_LE(t.rowCount(), 60u);  // at most one row per string in the file
        t.language = 1;
        t.TranslateText(" Datei ");
        t.TranslateText("Neu");
        EXPECT_EQ(t.TranslateText("Neu"), "Neu");
    }
}

TEST(TranslateFile, MissingFileGivesAnEmptyTableAndIsCreatedOnTheFirstAddition)
{
    TempDir d;
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    EXPECT_EQ(t.rowCount(), 0u);
    EXPECT_FALSE(fs::exists(d.dir() + "translate.dat"));
    t.TranslateText("Hallo");
    EXPECT_EQ(readFile(d.dir() + "translate.dat"), tableBytes(20, {{u"Hallo"}}));
}

TEST(TranslateFile, LivesInTheConfigDirectoryWhenTheProgramDirectoryIsNotWritable)
{
    TempDir d;
    const std::string prog = d.dir() + "prog/", conf = d.dir() + "conf/kerbon/";
    fs::create_directories(prog);
    const std::string progFile = prog + "translate.dat", confFile = conf + "translate.dat";

    // Writable program directory: the file goes there; the config directory is not made.
    {
        TranslationTable t;
        t.InitTranslation(prog, conf);
        t.TranslateText("Eins");
        EXPECT_EQ(t.lastSavedPath(), progFile);
        EXPECT_FALSE(fs::exists(conf));
    }
    // Program directory not writable (here: a file stands where the directory should be).
    const std::string blocked = d.dir() + "blocked";
    writeFile(blocked, "x");
    {
        TranslationTable t;
        t.InitTranslation(blocked + "/", conf);
        t.TranslateText("Zwei");
        EXPECT_EQ(t.lastSavedPath(), confFile);
        EXPECT_EQ(readFile(confFile), tableBytes(20, {{u"Zwei"}}));
    }
    // A copy in the config directory is read first and written back there.
    {
        TranslationTable t;
        t.InitTranslation(prog, conf);
        ASSERT_EQ(t.rowCount(), 1u);
        EXPECT_EQ(t.cellText(0, 0), "Zwei");
        t.TranslateText("Drei");
        EXPECT_EQ(t.lastSavedPath(), confFile);
        EXPECT_EQ(readFile(progFile), tableBytes(20, {{u"Eins"}}));
    }
    // Neither place writable: the addition stays in memory, nothing is reported.
    {
        TranslationTable t;
        t.InitTranslation(blocked + "/", blocked + "/conf/");
        EXPECT_EQ(t.TranslateText("Vier"), "Vier");
        EXPECT_EQ(t.rowCount(), 1u);
        EXPECT_FALSE(t.SaveTranslateFile());
        EXPECT_EQ(t.TranslateText("Vier"), "Vier");
        EXPECT_EQ(t.rowCount(), 1u);
    }
    EXPECT_TRUE(fs::is_regular_file(blocked));
    for (const auto& dir : {prog, conf})
        for (const auto& e : fs::directory_iterator(dir))
            EXPECT_EQ(e.path().filename(), "translate.dat");  // no temporary file left
}

TEST(TranslateFile, ShippedTableStandsInForAMissingOneAndFillsInWhatTheUsersLacks)
{
    TempDir d;
    const std::string prog = d.dir() + "prog/", data = d.dir() + "share/kerbon/";
    fs::create_directories(prog);
    fs::create_directories(data);
    const std::string shippedBytes =
        tableBytes(20, {{u"Datei", u"File"}, {u"Eigen", u"Shipped"}, {u"Neu", u"New", u"", u"Nieuw"}});
    writeFile(data + "translate.dat", shippedBytes);
    const std::vector<std::string> dirs = {d.dir() + "nowhere/", data};

    {  // No table of the user's: the shipped one is read; an addition goes to the program's.
        TranslationTable t;
        t.InitTranslation(prog, "", dirs);
        EXPECT_EQ(t.translateFileForReading(), data + "translate.dat");
        EXPECT_EQ(t.rowCount(), 3u);
        t.language = 1;
        EXPECT_EQ(t.TranslateText("Datei"), "File");
        EXPECT_FALSE(fs::exists(prog + "translate.dat"));  // reading writes nothing
        t.TranslateText("Anders");
        EXPECT_EQ(readFile(data + "translate.dat"), shippedBytes);
        EXPECT_EQ(rowCountInFile(prog + "translate.dat"), 4);
    }
    // The user's table wins where it has a translation; the shipped one fills the rest.
    writeFile(prog + "translate.dat",
              tableBytes(20, {{u"Datei", u""}, {u"Eigen", u"Own"}, {u"Nur hier", u"Only here"}}));
    TranslationTable t;
    t.InitTranslation(prog, "", dirs);
    ASSERT_EQ(t.rowCount(), 4u);
    EXPECT_EQ(t.cellText(2, 0), "Nur hier");
    EXPECT_EQ(t.cellText(3, 0), "Neu");
    const std::pair<const char*, const char*> english[] = {
        {"Datei", "File"}, {"Eigen", "Own"}, {"Nur hier", "Only here"}, {"Neu", "New"}};
    t.language = 1;
    for (const auto& [de, en] : english)
        EXPECT_EQ(t.TranslateText(de), en);
    t.language = 3;
    EXPECT_EQ(t.TranslateText("Neu"), "Nieuw");
    EXPECT_EQ(t.rowCount(), 4u);

    EXPECT_EQ(shippedDataDirs("/opt/kerbon/bin/").front(),
              std::string("/opt/kerbon/bin/") + KERBON_DATA_FROM_BIN);
    EXPECT_EQ(shippedDataDirs("").size() + 1, shippedDataDirs("/opt/kerbon/bin/").size());
}

TEST(TranslateFile, UserConfigDirFollowsTheEnvironment)
{
    const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
    const char* oldHome = std::getenv("HOME");
    const std::string keepXdg = oldXdg ? oldXdg : "", keepHome = oldHome ? oldHome : "";
    struct Case { const char* xdg; const char* home; const char* want; };
    const Case cases[] = {
        {"/x/conf", "/home/u", "/x/conf/kerbon/"},
        {"/x/conf/", "/home/u", "/x/conf/kerbon/"},
        {"relative", "/home/u", "/home/u/.config/kerbon/"},  // only absolute paths count
        {nullptr, "/home/u/", "/home/u/.config/kerbon/"},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        c.xdg ? setenv("XDG_CONFIG_HOME", c.xdg, 1) : unsetenv("XDG_CONFIG_HOME");
        c.home ? setenv("HOME", c.home, 1) : unsetenv("HOME");
        EXPECT_EQ(userConfigDir(), c.want);
    }
    oldXdg ? setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
    oldHome ? setenv("HOME", keepHome.c_str(), 1) : unsetenv("HOME");
}

TEST(TranslationIndex, BucketsHoldSortedKeysWithTheirRowNumbers)
{
    // Keys sorted by a plain std::sort are the oracle for the quicksort of the buckets.
    std::mt19937 rng(7);
    std::vector<std::vector<std::u16string>> rows;
    const std::u16string firsts = u"AaÄ\u0141\u0100";  // 'A' and U+0141 share a bucket
    for (int i = 0; i < 600; ++i) {
        std::u16string key(1, firsts[rng() % firsts.size()]);
        for (int k = rng() % 4; k > 0; --k)
            key.push_back(char16_t(u'a' + rng() % 3));
        rows.push_back({key, key + u"-en-" + utf8ToUtf16(std::to_string(i))});
    }
    rows.push_back({u""});  // an empty German text has no key
    TempDir d;
    writeFile(d.dir() + "translate.dat", tableBytes(20, rows));
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    ASSERT_EQ(t.rowCount(), rows.size());
    std::uint32_t keys = 0;
    for (int b = 0; b < transBuckets; ++b) {
        const auto& bucket = t.bucket(b);
        keys += bucket.count();
        std::vector<std::u16string> got, want;
        for (std::uint32_t i = 0; i < bucket.count(); ++i) {
            const TTransKey& k = bucket.recordAt(i);
            ASSERT_EQ(k.key[0] & 0xFF, b);
            ASSERT_EQ(t.cell(std::uint32_t(k.rownr), 0), k.key);
            got.push_back(k.key);
        }
        want = got;
        std::sort(want.begin(), want.end());
        EXPECT_EQ(got, want) << "bucket " << b;
    }
    EXPECT_EQ(keys, rows.size() - 1);

    // Deleting a row renumbers the keys: later rows still answer with their own cells.
    t.language = 1;
    t.deleteRow(5);
    for (std::uint32_t r = 5; r < 20; ++r) {
        const std::u16string german = t.cell(r, 0);
        const std::u16string answer = t.TranslateText(german);
        EXPECT_EQ(answer.substr(0, german.size() + 4), german + u"-en-");  // some row of that key
    }
    EXPECT_EQ(t.rowCount(), rows.size() - 1);
}

TEST(TranslationIndex, ChangedGermanTextIsFoundAfterRebuild)
{
    TempDir d;
    writeFile(d.dir() + "translate.dat", tableBytes(20, {{u"Alt", u"Old"}}));
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    t.language = 1;
    t.SetCellText(0, 0, "Neu");
    t.rebuildIndex();
    EXPECT_EQ(t.TranslateText("Neu"), "Old");
    EXPECT_EQ(t.TranslateText("Alt"), "Alt");
    EXPECT_EQ(t.rowCount(), 2u);
}

TEST(TranslationIndex, SortSurvivesManyEqualAndOrderedKeys)
{
    // Ascending, then many equal, then descending keys, all in bucket 'A'.
    std::vector<std::vector<std::u16string>> rows;
    char buf[16];
    for (int i = 0; i < 1000; ++i) {
        std::snprintf(buf, sizeof buf, "A%05d", i);
        rows.push_back({utf8ToUtf16(buf)});
    }
    rows.insert(rows.end(), 1000, {u"A"});
    for (int i = 1000; i > 0; --i) {
        std::snprintf(buf, sizeof buf, "A%05d", i);
        rows.push_back({utf8ToUtf16(buf)});
    }
    TempDir d;
    writeFile(d.dir() + "translate.dat", tableBytes(1, rows));
    TranslationTable t;
    t.InitTranslation(d.dir(), "");
    const auto& b = t.bucket('A');
    ASSERT_EQ(b.count(), rows.size());
    for (std::uint32_t i = 1; i < b.count(); ++i)
        ASSERT_FALSE(b.recordAt(i).key < b.recordAt(i - 1).key) << i;
}

TEST(WindowTranslation, ComponentTextsAndWalkOrder)
{
    struct Case { ComponentKind kind; std::vector<ComponentText> want; };
    using T = ComponentText;
    const Case cases[] = {
        {ComponentKind::Label, {T::Caption, T::Hint}},
        {ComponentKind::CheckBox, {T::Hint, T::Caption}},
        {ComponentKind::Button, {T::Caption, T::Hint}},
        {ComponentKind::MenuItem, {T::Caption, T::Hint}},
        {ComponentKind::ToolButton, {T::Hint}},
        {ComponentKind::ComboBox, {T::Items, T::Hint}},
        {ComponentKind::FileDialog, {T::Filter}},
        {ComponentKind::Other, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(componentTexts(c.kind), c.want);

    // root owns a, b; a owns c, d; b owns e. Owned components go last to first.
    const std::map<char, std::vector<char>> owned = {
        {'r', {'a', 'b'}}, {'a', {'c', 'd'}}, {'b', {'e'}}};
    std::string order;
    walkOwnedComponents(
        'r',
        [&](char n) {
            auto it = owned.find(n);
            return it == owned.end() ? std::vector<char>{} : it->second;
        },
        [&](char n) { order.push_back(n); });
    EXPECT_EQ(order, "baedc");

    TranslationTable t;
    t.language = 1;
    EXPECT_EQ(t.TranslateComponentText("TMainForm", "Datei1", "Datei"), "Datei");
    EXPECT_EQ(t.rowCount(), 1u);
}
