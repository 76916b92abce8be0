// kerbon-cli info --json on a small drawing: what the parse recognised, as one object.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "support/ParseFixture.h"

namespace {

std::string runCli(const std::string& args)
{
    const char* cli = std::getenv("KERBON_CLI");
    if (!cli)
        return {};
    std::string out;
    if (FILE* f = popen((std::string(cli) + " " + args).c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            out.append(buf, n);
        pclose(f);
    }
    return out;
}

}  // namespace

TEST(kerbonCliInfo, JsonReportsWhatTheParseRecognised)
{
    if (!std::getenv("KERBON_CLI"))
        GTEST_SKIP() << "KERBON_CLI not set";
    const std::string path = ::testing::TempDir() + "kerbon_info_test.dxf";
    {
        std::ofstream f(path, std::ios::binary);
        for (const std::string& line : kerbon::test::splitLines(
                 "0|SECTION|2|HEADER|9|$ACADVER|1|AC1015|9|$HANDSEED|5|30|0|ENDSEC|"
                 "0|SECTION|2|TABLES|0|TABLE|2|LTYPE|0|LTYPE|2|CONTINUOUS|0|ENDTAB|"
                 "0|TABLE|2|LAYER|0|LAYER|2|0|0|LAYER|2|Kontur \"A\"|0|ENDTAB|0|ENDSEC|"
                 "0|SECTION|2|BLOCKS|0|BLOCK|3|Schraube|0|CIRCLE|8|0|0|ENDBLK|0|ENDSEC|"
                 "0|SECTION|2|ENTITIES|0|LINE|5|3A|8|0|0|LINE|8|0|0|INSERT|2|Schraube|"
                 "0|ATTRIB|8|0|0|ENDSEC|"
                 "0|SECTION|2|OBJECTS|0|LAYOUT|1|Layout1|71|1|0|LAYOUT|1|Model|71|0|0|ENDSEC|0|EOF"))
            f << line << "\r\n";
    }
    const std::string out = runCli("info " + path + " --json");
    std::remove(path.c_str());
    const char* const expected[] = {
        "\"version\": \"AC1015\"",
        "\"cadver\": 1015",
        "\"encoding\": \"ansi\"",
        "\"line_ending\": \"crlf\"",
        "\"entities\": {\"INSERT\": 1, \"LINE\": 2}",
        "\"block_entities\": {\"CIRCLE\": 1}",
        "\"layers\": [\"0\", \"Kontur \\\"A\\\"\"]",
        "\"linetypes\": [\"CONTINUOUS\"]",
        "\"layouts\": [\"Model\", \"Layout1\"]",
        "\"blocks\": [\"Schraube\"]",
        "\"maxhandle\": 58",
        "\"extents\": [",
        "\"parse_seconds\": ",
    };
    for (const char* e : expected)
        EXPECT_NE(out.find(e), std::string::npos) << e << "\nin: " << out;
    EXPECT_EQ(out.front(), '{');
    EXPECT_EQ(out.substr(out.size() - 2), "}\n");
}

TEST(kerbonCliInfo, ExtentsOfTheExamplePrintWithoutNegativeZeros)
{
    if (!std::getenv("KERBON_CLI") || !std::getenv("KERBON_TEST_DATA"))
        GTEST_SKIP() << "KERBON_CLI or KERBON_TEST_DATA not set";
    const std::string out =
        runCli("info " + std::string(std::getenv("KERBON_TEST_DATA")) + "examples/parts.dxf");
    EXPECT_NE(out.find("extents: 0 0 360 170\n"), std::string::npos) << out;
}
