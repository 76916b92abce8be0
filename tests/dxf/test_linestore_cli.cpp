// kerbon-cli save and info on files in every encoding and line-break style.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/RunCli.h"
#include "support/TempFiles.h"

using kerbon::test::CliRun;
using kerbon::test::readBytes;
using kerbon::test::runCli;
using kerbon::test::TempDir;
using kerbon::test::writeBytes;

namespace {

std::string q(const std::string& path) { return "'" + path + "'"; }

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

const std::u16string utf16Drawing =
    u"  0\r\nSECTION\r\n  2\r\nHEADER\r\n  9\r\n$ACADVER\r\n  1\r\nAC1015\r\n  0\r\nENDSEC\r\n"
    u"  0\r\nTEXT\r\n  1\r\nMa\u00DF \u2264 5\U0001F529\r\n  0\r\nEOF\r\n";

class CliTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv("KERBON_CLI"))
            GTEST_SKIP() << "KERBON_CLI not set";
    }
    TempDir tmp;
};

}  // namespace

TEST_F(CliTest, SaveRoundTripsCrLfFilesByteForByteInEveryEncoding)
{
    std::string everyByte;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            everyByte += char(b);
    const std::pair<const char*, std::string> files[] = {
        {"ansi", "  0\r\nTEXT\r\n  1\r\n" + everyByte + "\r\n  0\r\nEOF\r\n"},
        {"utf-8 mark", "\xEF\xBB\xBF  1\r\nMa\xC3\x9F\r\n  0\r\nEOF\r\n"},
        {"utf-8, AC1024", "  9\r\n$ACADVER\r\n  1\r\nAC1024\r\n  1\r\n\xE2\x89\xA4\r\n"},
        {"utf-16le", "\xFF\xFE" + u16(utf16Drawing, false)},
        {"utf-16be", "\xFE\xFF" + u16(utf16Drawing, true)},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        writeBytes(tmp.path("src.dxf"), bytes);
        const CliRun r = runCli(tmp, "save " + q(tmp.path("src.dxf")) + " " + q(tmp.path("dst.dxf")));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(readBytes(tmp.path("dst.dxf")), bytes);
    }
}

TEST_F(CliTest, SaveWritesTheSameLinesWithCrLf)
{
    const std::pair<const char*, std::string> files[] = {
        {"lf", "  0\nSECTION\n  2\nENTITIES\n\n  0\nENDSEC\n  0\nEOF\n"},
        {"lf, no final break", "  0\nSECTION\n  2\nENTITIES\n\n  0\nENDSEC\n  0\nEOF"},
        {"cr", "  0\rSECTION\r  2\rENTITIES\r\r  0\rENDSEC\r  0\rEOF\r"},
        {"mixed", "  0\r\nSECTION\n  2\rENTITIES\n\n  0\r\nENDSEC\r  0\nEOF"},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        writeBytes(tmp.path("src.dxf"), bytes);
        const CliRun r = runCli(tmp, "save " + q(tmp.path("src.dxf")) + " " + q(tmp.path("dst.dxf")));
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(readBytes(tmp.path("dst.dxf")),
                  "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
    }
}

TEST_F(CliTest, SaveNamesCharactersTheEncodingCannotHold)
{
    writeBytes(tmp.path("src.dxf"), "\xEF\xBB\xBF  1\r\n\xCE\xA9 \xC3\xA4\r\n");
    const std::string args = "save " + q(tmp.path("src.dxf")) + " " + q(tmp.path("dst.dxf")) +
                             " --encoding ansi";

    CliRun r = runCli(tmp, args + " --strict");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("U+03A9"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(tmp.path("dst.dxf")));

    r = runCli(tmp, args);
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.err.find("\xCE\xA9 (U+03A9)"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("U+00E4"), std::string::npos) << r.err;  // ä fits
    EXPECT_EQ(readBytes(tmp.path("dst.dxf")), "  1\r\n? \xE4\r\n");
}

TEST_F(CliTest, SaveReportsErrorsWithNonZeroExit)
{
    writeBytes(tmp.path("src.dxf"), "  0\r\nEOF\r\n");
    const std::string src = q(tmp.path("src.dxf"));
    struct Case {
        std::string args;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"save " + q(tmp.path("missing.dxf")) + " " + q(tmp.path("d.dxf")), 1, "cannot open"},
        {"save " + src + " " + q(tmp.path("no/dir/d.dxf")), 1, "cannot write"},
        {"save " + src + " " + q(tmp.dir.string()), 1, "cannot write"},
        {"save " + src, 2, "usage"},
        {"save " + src + " " + q(tmp.path("d.dxf")) + " --encoding latin1", 2, "usage"},
        {"info " + q(tmp.path("missing.dxf")), 1, "cannot open"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun r = runCli(tmp, c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(tmp.path("d.dxf")));
    EXPECT_EQ(readBytes(tmp.path("src.dxf")), "  0\r\nEOF\r\n");
}

TEST_F(CliTest, InfoReportsVersionEncodingLineEndingAndLineCount)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* want;
    };
    const Case cases[] = {
        {"utf-16be", "\xFE\xFF" + u16(utf16Drawing, true),
         "\"version\": \"AC1015\", \"cadver\": 1015, \"encoding\": \"utf-16be\", "
         "\"line_ending\": \"crlf\", \"lines\": 16"},
        {"utf-16le", "\xFF\xFE" + u16(utf16Drawing, false), "\"encoding\": \"utf-16le\""},
        {"ansi, lf", "  9\n$ACADVER\n  1\nAC1009\n  0\nENDSEC\n",
         "\"version\": \"AC1009\", \"cadver\": 1009, \"encoding\": \"ansi\", "
         "\"line_ending\": \"lf\", \"lines\": 6"},
        {"utf-8, cr", "  9\r$ACADVER\r  1\rAC1021\r  1\r\xC3\xA4\r",
         "\"encoding\": \"utf-8\", \"line_ending\": \"cr\""},
        {"utf-8 mark, mixed", "\xEF\xBB\xBF" "0\r\nEOF\n", "\"version\": \"\""},
        {"utf-8 mark, mixed", "\xEF\xBB\xBF" "0\r\nEOF\n",
         "\"encoding\": \"utf-8-bom\", \"line_ending\": \"mixed\", \"lines\": 2"},
        {"version with a quote and a control character", "  9\n$ACADVER\n  1\nA\"\x01Z\n  0\nEOF\n",
         "\"version\": \"A\\\"\\u0001Z\""},
        {"utf-8 mark, byte that is not utf-8", "\xEF\xBB\xBF  9\n$ACADVER\n  1\nA\xFFZ\n  0\nEOF\n",
         "\"version\": \"A\\ufffdZ\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes(tmp.path("src.dxf"), c.bytes);
        const CliRun r = runCli(tmp, "info " + q(tmp.path("src.dxf")) + " --json");
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find(c.want), std::string::npos) << r.out;
    }
}

TEST_F(CliTest, InfoOnTheR2000Template)
{
    const std::string path = std::string(std::getenv("KERBON_TEST_DATA")) + "template1.dat";
    const CliRun r = runCli(tmp, "info " + q(path));
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("version: AC1015\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("encoding: ansi\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("line ending: crlf\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("layouts: Model, Layout1\n"), std::string::npos) << r.out;
}
