// The line store: loading with encodings and line breaks, saving, the pair reader and the
// number and handle conventions of value text.
#include <gtest/gtest.h>

#include <iconv.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <set>

#include "dxf/LineStore.h"
#include "dxf/encoding.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::readBytes;
using kerbon::test::TempDir;
using kerbon::test::writeBytes;

namespace {

using Lines = std::vector<std::string>;

// UTF-16 bytes of the given code units, without a mark.
std::string u16(std::u16string_view units, bool bigEndian)
{
    std::string out;
    for (char16_t u : units) {
        const char hi = char(u >> 8), lo = char(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

LineStore loaded(const TempDir& tmp, const std::string& bytes)
{
    const std::string path = tmp.path("in.dxf");
    writeBytes(path, bytes);
    LineStore store;
    EXPECT_TRUE(loadLines(path, store));
    return store;
}

std::string everyByteButBreaks()
{
    std::string s;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            s += char(b);
    return s;
}

size_t filesIn(const std::filesystem::path& dir)
{
    return size_t(std::distance(std::filesystem::directory_iterator(dir),
                                std::filesystem::directory_iterator()));
}

}  // namespace

TEST(loadLines, DetectsMarkAndSplitsAtEveryLineBreak)
{
    struct Case {
        const char* name;
        std::string bytes;
        Encoding encoding;
        Lines lines;
        LineEnding ending;
    };
    const Case cases[] = {
        {"crlf", "0\r\nEOF\r\n", Encoding::Ansi, {"0", "EOF"}, LineEnding::CrLf},
        {"lf, no final break", "0\nEOF", Encoding::Ansi, {"0", "EOF"}, LineEnding::Lf},
        {"lone cr", "0\rEOF\r", Encoding::Ansi, {"0", "EOF"}, LineEnding::Cr},
        {"mixed", "0\r\nA\nB\rC", Encoding::Ansi, {"0", "A", "B", "C"}, LineEnding::Mixed},
        {"lf then cr is two breaks", "\n\r", Encoding::Ansi, {"", ""}, LineEnding::Mixed},
        {"empty lines kept", "\r\n\r\n", Encoding::Ansi, {"", ""}, LineEnding::CrLf},
        {"empty file", "", Encoding::Ansi, {}, LineEnding::CrLf},
        {"ansi high bytes", "\xE4\x80\x81 \x9F\r\n", Encoding::Ansi,
         {"\u00E4\u20AC\u0081 \u0178"}, LineEnding::CrLf},
        {"utf-8 mark", "\xEF\xBB\xBF" "0\r\n\xC3\xA4\r\n", Encoding::Utf8Bom, {"0", "\u00E4"},
         LineEnding::CrLf},
        {"utf-8 mark only", "\xEF\xBB\xBF", Encoding::Utf8Bom, {}, LineEnding::CrLf},
        {"utf-16le", "\xFF\xFE" + u16(u"0\r\n\u00E4\U0001F600\n", false), Encoding::Utf16LE,
         {"0", "\u00E4\U0001F600"}, LineEnding::Mixed},
        {"utf-16be", "\xFE\xFF" + u16(u"0\r\u20AC\r", true), Encoding::Utf16BE,
         {"0", "\u20AC"}, LineEnding::Cr},
        {"utf-16 odd final byte", "\xFF\xFE" + u16(u"A", false) + "B", Encoding::Utf16LE,
         {"A\uFFFD"}, LineEnding::CrLf},
    };
    TempDir tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const LineStore s = loaded(tmp, c.bytes);
        EXPECT_EQ(s.encoding, c.encoding);
        EXPECT_EQ(s.lines, c.lines);
        EXPECT_EQ(s.lineEnding, c.ending);
    }
}

// Every byte of the ANSI code page decodes as the C library's converter decodes it; the
// five bytes it leaves undefined become U+0081, U+008D, U+008F, U+0090 and U+009D.
TEST(cp1252, AgreesWithTheSystemConverterForEveryByte)
{
    iconv_t cd = iconv_open("UTF-8", "WINDOWS-1252");
    if (cd == iconv_t(-1))
        GTEST_SKIP() << "no WINDOWS-1252 converter";
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        char in[1] = {char(b)}, out[8] = {};
        char* ip = in;
        char* op = out;
        size_t il = 1, ol = sizeof out;
        const bool defined = iconv(cd, &ip, &il, &op, &ol) != size_t(-1);
        const std::string mine = enc::decodeCp1252(std::string(1, char(b)));
        if (defined) {
            EXPECT_EQ(mine, std::string(out, size_t(op - out)));
        } else {
            EXPECT_TRUE(b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D);
            std::string want;
            enc::appendUtf8(want, char32_t(b));
            EXPECT_EQ(mine, want);
        }
        EXPECT_EQ(enc::encodeCp1252(mine), std::string(1, char(b)));
    }
    iconv_close(cd);
}

TEST(loadLines, VersionsFromAC1021WithoutMarkAreUtf8WhenTheBytesAre)
{
    const std::string head = "  9\r\n$ACADVER\r\n  1\r\n";
    struct Case {
        std::string version, text;
        Encoding encoding;
        std::string line;  // the text line as held
    };
    const Case cases[] = {
        {"AC1021", "\xC3\xA4", Encoding::Utf8, "\u00E4"},
        {"AC1032", "\xE2\x82\xAC", Encoding::Utf8, "\u20AC"},
        {"AC1018", "\xC3\xA4", Encoding::Ansi, "\u00C3\u00A4"},  // older: bytes are ANSI
        {"AC1021", "\xE4", Encoding::Ansi, "\u00E4"},            // not UTF-8: ANSI after all
        {"AC1021", "\xED\xA0\x80", Encoding::Ansi, "\u00ED\u00A0\u20AC"},  // surrogate form
        {"R2007", "\xC3\xA4", Encoding::Ansi, "\u00C3\u00A4"},
    };
    TempDir tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version + " " + c.text);
        const std::string bytes = head + c.version + "\r\n  1\r\n" + c.text + "\r\n";
        const LineStore s = loaded(tmp, bytes);
        EXPECT_EQ(s.encoding, c.encoding);
        ASSERT_EQ(s.count(), 6);
        EXPECT_EQ(s[5], c.line);
        EXPECT_EQ(encodeLines(s), bytes);  // saved back exactly as it came
    }
}

TEST(saveLines, RoundTripsCrLfFilesByteForByte)
{
    const std::u16string utf16Text =
        u"  0\r\nTEXT\r\n\u00E4\u20AC\U0001F600\r\n\xD800 lone\r\n\xDC00\r\nEOF\r\n";
    const std::pair<const char*, std::string> files[] = {
        {"ansi, every byte", everyByteButBreaks() + "\r\n\r\nEOF\r\n"},
        {"utf-8 mark", "\xEF\xBB\xBF  0\r\n\xC3\xA4\xF0\x9F\x98\x80\r\n\xFF\xC3(\r\nEOF\r\n"},
        {"utf-8, AC1021", "  9\r\n$ACADVER\r\n  1\r\nAC1021\r\n  1\r\n\xC3\xA4\r\n"},
        {"utf-16le", "\xFF\xFE" + u16(utf16Text, false)},
        {"utf-16be", "\xFE\xFF" + u16(utf16Text, true)},
    };
    TempDir tmp;
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const LineStore s = loaded(tmp, bytes);
        ASSERT_TRUE(saveLines(tmp.path("out.dxf"), s));
        EXPECT_EQ(readBytes(tmp.path("out.dxf")), bytes);
    }
}

// Random files in every encoding, lone surrogates, stray bytes and every kind of line break
// included: loading never fails on content, and what is saved loads back as the same lines
// in the same encoding. Files that already end every line with CR LF come back byte for byte.
TEST(saveLines, RandomFilesLoadBackAsTheSameLines)
{
    std::mt19937 rng(20261210);
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    for (int round = 0; round < 2000; ++round) {
        const int kind = round % 5;  // ansi, utf-8 mark, utf-8 AC1021, utf-16le, utf-16be
        std::u16string units;        // the text of a UTF-16 file, or bytes as units
        const int len = pick(60);
        if (kind == 2)
            for (char c : std::string("  9\r\n$ACADVER\r\n  1\r\nAC1021\r\n"))
                units += char16_t(c);
        for (int k = 0; k < len; ++k) {
            static const char16_t utf16Pool[] = {'\r', '\n', 'A', ' ', 0, 0xE4, 0x20AC,
                                                 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xFFFE};
            static const char16_t bytePool[] = {'\r', '\n', 'A', ' ', 0, 0x80, 0x81, 0x9D,
                                                0xC3, 0xA4, 0xE2, 0x82, 0xAC, 0xED, 0xA0, 0xFF};
            units += kind >= 3 ? utf16Pool[pick(12)] : bytePool[pick(16)];
        }
        std::string bytes = kind == 1 ? "\xEF\xBB\xBF" : kind == 3 ? "\xFF\xFE" : kind == 4 ? "\xFE\xFF" : "";
        if (kind >= 3)
            bytes += u16(units, kind == 4);
        else
            for (char16_t u : units)
                bytes += char(u);
        if (kind == 0 && bytes.rfind("\xEF\xBB\xBF", 0) == 0)
            continue;  // that would be a mark
        bool allCrLf = units.empty() || units.back() == '\n';
        for (size_t k = 0; k < units.size(); ++k)
            if ((units[k] == '\r') != (k + 1 < units.size() && units[k + 1] == '\n') ||
                (units[k] == '\n' && (k == 0 || units[k - 1] != '\r')))
                allCrLf = false;

        SCOPED_TRACE(round);
        const LineStore first = decodeLines(bytes);
        const std::string saved = encodeLines(first);
        const LineStore second = decodeLines(saved);
        EXPECT_EQ(second.lines, first.lines);
        EXPECT_EQ(second.encoding, first.encoding);
        EXPECT_EQ(encodeLines(second), saved);
        if (allCrLf) {
            EXPECT_EQ(saved, bytes);
        }
    }
}

TEST(saveLines, WritesEveryLineWithCrLfInTheStoreEncoding)
{
    struct Case {
        Encoding encoding;
        std::string bytes;
        std::vector<char32_t> lost;
    };
    const Case cases[] = {
        {Encoding::Ansi, "\xE4\x80\r\n?\r\n", {U'\u03A9'}},
        {Encoding::Utf8, "\xC3\xA4\xE2\x82\xAC\r\n\xCE\xA9\r\n", {}},
        {Encoding::Utf8Bom, "\xEF\xBB\xBF\xC3\xA4\xE2\x82\xAC\r\n\xCE\xA9\r\n", {}},
        {Encoding::Utf16LE, "\xFF\xFE" + u16(u"\u00E4\u20AC\r\n\u03A9\r\n", false), {}},
        {Encoding::Utf16BE, "\xFE\xFF" + u16(u"\u00E4\u20AC\r\n\u03A9\r\n", true), {}},
    };
    TempDir tmp;
    for (const Case& c : cases) {
        SCOPED_TRACE(encodingName(c.encoding));
        LineStore s;
        s.lines = {"\u00E4\u20AC", "\u03A9"};
        s.encoding = c.encoding;
        s.lineEnding = LineEnding::Lf;  // saving writes CR LF whatever was read
        EXPECT_EQ(unrepresentable(s), c.lost);
        ASSERT_TRUE(saveLines(tmp.path("out.dxf"), s));
        EXPECT_EQ(readBytes(tmp.path("out.dxf")), c.bytes);
    }
}

TEST(unrepresentable, ListsEachLostCharacterOnceInOrderOfAppearance)
{
    LineStore s;
    s.lines = {"a\u03A9b", "\u65E5\u03A9", "\u00E4\u0081\u20AC", "bad \xFF byte"};
    s.encoding = Encoding::Ansi;
    EXPECT_EQ(unrepresentable(s), (std::vector<char32_t>{U'\u03A9', U'\u65E5', U'\uFFFD'}));
    s.encoding = Encoding::Utf16LE;  // every character fits; the stray byte does not
    EXPECT_EQ(unrepresentable(s), std::vector<char32_t>{U'\uFFFD'});
    s.encoding = Encoding::Utf8Bom;  // bytes are written as held
    EXPECT_TRUE(unrepresentable(s).empty());
}

TEST(loadLines, FailureLeavesTheStoreUnchanged)
{
    TempDir tmp;
    const std::string fifo = tmp.path("pipe");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {tmp.path("missing.dxf"), tmp.dir.string(), fifo,
                                    std::string()}) {
        SCOPED_TRACE(path);
        LineStore s;
        s.lines = {"keep"};
        s.encoding = Encoding::Utf16BE;
        s.lineEnding = LineEnding::Mixed;
        EXPECT_FALSE(loadLines(path, s));
        EXPECT_EQ(s.lines, Lines{"keep"});
        EXPECT_EQ(s.encoding, Encoding::Utf16BE);
        EXPECT_EQ(s.lineEnding, LineEnding::Mixed);
    }
}

// Saving used to truncate the file before writing, so a write that failed half way lost
// the drawing. A file size limit makes the write fail after the first kilobyte.
TEST(saveLines, WriteFailingHalfWayKeepsTheOldFile)
{
    TempDir tmp;
    const std::string path = tmp.path("part.dxf");
    writeBytes(path, "  0\r\nEOF\r\n");
    LineStore big;
    big.lines = std::vector<std::string>(2000, "  0");

    signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveLines(path, big);
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(saved);
    EXPECT_EQ(readBytes(path), "  0\r\nEOF\r\n");
    EXPECT_EQ(filesIn(tmp.dir), 1u);  // no temporary file left behind
}

TEST(saveLines, FailsOnTargetsThatCannotBeWritten)
{
    TempDir tmp;
    std::filesystem::create_directory(tmp.path("dir"));
    writeBytes(tmp.path("dir/inside"), "x");
    LineStore s;
    s.lines = {"  0", "EOF"};
    for (const std::string& path : {tmp.path("dir"), tmp.path("no/such/dir.dxf"),
                                    tmp.path("dir/inside/x.dxf"), std::string()}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(saveLines(path, s));
    }
    EXPECT_EQ(readBytes(tmp.path("dir/inside")), "x");
    EXPECT_EQ(filesIn(tmp.path("dir")), 1u);
}

TEST(saveLines, KeepsPermissionsAndFollowsASymbolicLink)
{
    TempDir tmp;
    const std::string real = tmp.path("real.dxf"), link = tmp.path("link.dxf");
    writeBytes(real, "old");
    ASSERT_EQ(chmod(real.c_str(), 0640), 0);
    std::filesystem::create_symlink("real.dxf", link);
    LineStore s;
    s.lines = {"new"};
    ASSERT_TRUE(saveLines(link, s));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readBytes(real), "new\r\n");
    struct stat st {};
    ASSERT_EQ(stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(PairReader, TrimsBothLinesAndNeverReadsTheLastLine)
{
    const LineList dxf = {"  0", "\tSECTION  ", "     0", " EOF"};
    PairReader r{dxf};
    EXPECT_EQ(r.readLine(), "0");
    EXPECT_EQ(r.readLine(), "SECTION");
    EXPECT_FALSE(r.atEnd());
    EXPECT_EQ(r.readLine(), "0");
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.readLine(), "");  // the closing line stays unread
    EXPECT_EQ(r.pos, 3);
    EXPECT_EQ(r.readLine(), "");
}

TEST(dxfToDouble, ReadsPointDecimalsAndRejectsEverythingElse)
{
    struct Case {
        const char* text;
        std::optional<double> want;
    };
    const Case cases[] = {
        {"1.5", 1.5},  {" -0.25 ", -0.25}, {"1E-5", 1e-5},  {"2e3", 2000},  {"+4", 4},
        {".5", 0.5},   {"-.5", -0.5},      {"7.", 7},       {"\t10\r", 10}, {"1e308", 1e308},
        {"1,5", {}},   {"", {}},           {"  ", {}},      {"inf", {}},    {"-inf", {}},
        {"nan", {}},   {"infinity", {}},   {"0x1p3", {}},   {"1e", {}},     {"+-1", {}},
        {"++1", {}},   {"1e999", {}},      {"-1e999", {}},  {"1.5.2", {}},  {"12abc", {}},
        {"1 2", {}},   {"-", {}},          {".", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dxfToDouble(c.text), c.want);
    }
}

TEST(dxfToInt, ReadsDecimalWithin32Bits)
{
    struct Case {
        const char* text;
        std::optional<int> want;
    };
    const Case cases[] = {
        {"70", 70},   {"  -3", -3},  {"+8", 8},  {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<int>::min()}, {"2147483648", {}},
        {"1.0", {}},  {"0x10", {}},  {"$10", {}}, {"", {}}, {"1 0", {}}, {"-", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dxfToInt(c.text), c.want);
    }
}

TEST(dxfHexToInt, ReadsUpToEightHexDigits)
{
    struct Case {
        const char* text;
        std::optional<int32_t> want;
    };
    const Case cases[] = {
        {"1F", 0x1F},     {" ff ", 0xFF},   {"20000", 0x20000}, {"7FFFFFFF", 0x7FFFFFFF},
        {"FFFFFFFF", -1}, {"00000001", 1},  {"100000000", {}},  {"000000001", {}},
        {"", {}},         {"-1", {}},       {"+1", {}},         {"0x1F", {}}, {"1G", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dxfHexToInt(c.text), c.want);
    }
}

TEST(floattodxf, WritesShortestTextOrFixedPoint)
{
    struct Case {
        double x;
        const char* want;
    };
    const Case cases[] = {
        {1, "1"},
        {0.1, "0.1"},
        {1.0 / 3, "0.333333333333333"},
        {-0.00001, "-0.000010000000000000"},
        {0, "0"},
        {-0.0, "0"},
        {10, "10"},
        {0.5, "0.5"},
        {-3.25, "-3.25"},
        {250.125, "250.125"},
        {0.00005, "0.000050000000000000"},
        {6.123E-17, "0.000000000000000061"},
        {0.0001, "0.0001"},                             // smallest without exponent
        {0.0000999, "0.000099900000000000"},            // just below: fixed point
        {0.00009999999999999999, "0.0001"},             // rounds up to 15 digits first
        {-1e-20, "0.000000000000000000"},               // rounds to zero: no sign
        {1e14, "100000000000000"},
        {1e15, "1000000000000000.000000000000000000"},  // 16 integer digits
        {1e16, "10000000000000000.000000000000000000"},
        {123456789012345.6, "123456789012346"},         // rounded at the 15th digit
        {0.1 + 0.2, "0.3"},
        {2.0000000000000004, "2"},
        {1e18, "1E18"},
        {-2.5e20, "-2.5E20"},
        {1.7976931348623157e308, "1.7976931348623157E308"},  // 15 digits would overflow
        {1.2345678901234567e300, "1.23456789012346E300"},
        {std::nan(""), "0"},
        {std::numeric_limits<double>::infinity(), "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.want);
        EXPECT_EQ(floattodxf(c.x), c.want);
        EXPECT_TRUE(dxfToDouble(floattodxf(c.x)).has_value());  // whatever is written reads back
    }
}

TEST(handleText, IsUpperCaseHexWithAtLeastTwoDigits)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "00"}, {10, "0A"}, {255, "FF"}, {4096, "1000"}, {0x1FFFF, "1FFFF"}, {-1, "FFFFFFFF"}};
    for (const auto& [h, want] : cases) {
        EXPECT_EQ(handleText(h), want);
        EXPECT_EQ(dxfHexToInt(handleText(h)), h);
    }
}

// The templates a new drawing starts from must hold what the writers insert into.
TEST(templates, HoldTheSectionsAndPositionsNewDrawingsNeed)
{
    struct Case {
        const char* file;
        const char* version;
        bool objects;
    };
    for (const Case& c : {Case{"template0.dat", "AC1009", false},
                          Case{"template1.dat", "AC1015", true}}) {
        SCOPED_TRACE(c.file);
        LineStore s;
        ASSERT_TRUE(loadLines(std::string(std::getenv("KERBON_TEST_DATA")) + c.file, s));
        EXPECT_EQ(s.encoding, Encoding::Ansi);
        EXPECT_EQ(s.lineEnding, LineEnding::CrLf);
        EXPECT_EQ(acadVersion(s.lines), c.version);
        EXPECT_EQ(s.lines.back(), "EOF");

        std::string section, table, entity;
        std::set<std::string> found;
        PairReader r{s.lines};
        while (!r.atEnd()) {
            const std::string code(r.readLine()), value(r.readLine());
            if (section == "HEADER" && code == "9" && (value == "$ACADVER" || value == "$HANDSEED"))
                found.insert(value);
            if (code == "5" || code == "105") {
                EXPECT_TRUE(dxfHexToInt(value).has_value()) << value;
            }
            if (code == "0") {
                entity = value;
                if (value == "ENDTAB")
                    found.insert(table + " ENDTAB");
                if (value == "ENDSEC")
                    found.insert(section + " ENDSEC");
            } else if (code == "2" && (entity == "SECTION" || entity == "TABLE")) {
                (entity == "SECTION" ? section : table) = value;
                entity.clear();  // only the first name names the section or table
            } else if (code == "1" && entity == "LAYOUT") {
                found.insert("LAYOUT " + value);
            }
        }
        for (const char* want : {"$ACADVER", "$HANDSEED", "LTYPE ENDTAB", "LAYER ENDTAB",
                                 "HEADER ENDSEC", "TABLES ENDSEC", "BLOCKS ENDSEC",
                                 "ENTITIES ENDSEC"})
            EXPECT_TRUE(found.count(want)) << want;
        EXPECT_EQ(found.count("OBJECTS ENDSEC") + found.count("LAYOUT Model") +
                      found.count("LAYOUT Layout1"),
                  c.objects ? 3u : 0u);
    }
}
