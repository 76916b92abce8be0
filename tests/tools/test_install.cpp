// Installing Kerbon with `cmake --install` into a fresh prefix: the programs, the shipped
// data, the desktop entry with icon and type, the manual page; the installed programs tell
// their version and find their data beside themselves, also after the install was moved.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempFiles.h"

namespace fs = std::filesystem;
using kerbon::test::readBytes;

namespace {

// Runs a shell command; its standard output, or nullopt when it failed.
std::optional<std::string> run(const std::string& command)
{
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return std::nullopt;
    std::string out;
    char buf[4096];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p))
        out.append(buf, n);
    return pclose(p) == 0 ? std::optional(out) : std::nullopt;
}

std::string quoted(const fs::path& p)
{
    return "'" + p.string() + "'";
}

std::string sourceFile(const std::string& name)
{
    const char* d = std::getenv("KERBON_TEST_DATA");
    return std::string(d ? d : "data/") + "../" + name;
}

}  // namespace

TEST(Install, PutsEverythingInTheUsualPlacesAndFindsItsDataThere)
{
    kerbon::test::TempDir tmp;
    const fs::path prefix = tmp.dir / "usr";
    ASSERT_TRUE(run(std::string(KERBON_CMAKE) + " --install " + quoted(KERBON_BUILD_DIR) +
                    " --prefix " + quoted(prefix) + " >/dev/null"));

    const char* const files[] = {
        "bin/kerbon", "bin/kerbon-cli", "share/kerbon/template0.dat",
        "share/kerbon/template1.dat", "share/kerbon/translate.dat",
        "share/kerbon/examples/parts.dxf", "share/applications/kerbon.desktop",
        "share/icons/hicolor/scalable/apps/kerbon.svg",
        "share/icons/hicolor/256x256/apps/kerbon.png", "share/man/man1/kerbon-cli.1"};
    for (const char* f : files)
        EXPECT_TRUE(fs::is_regular_file(prefix / f)) << f;
    EXPECT_EQ(readBytes((prefix / "share/kerbon/translate.dat").string()),
              readBytes(sourceFile("data/translate.dat")));
    const std::string desktop = readBytes((prefix / "share/applications/kerbon.desktop").string());
    for (const char* line : {"\nExec=kerbon %f\n", "\nIcon=kerbon\n", "\nMimeType=image/vnd.dxf;\n"})
        EXPECT_NE(desktop.find(line), std::string::npos) << line;

    EXPECT_EQ(run(quoted(prefix / "bin/kerbon-cli") + " --version"), "kerbon-cli " KERBON_VERSION "\n");
    EXPECT_EQ(run(quoted(prefix / "bin/kerbon") + " --version"), "kerbon " KERBON_VERSION "\n");

    // The installed template is the one a new drawing starts from (marked here by a
    // comment line), not the source tree's, even when the whole install has been moved.
    const fs::path tmpl = prefix / "share/kerbon/template1.dat";
    const std::string marked = "999\r\nfrom the installed data\r\n" + readBytes(tmpl.string());
    kerbon::test::writeBytes(tmpl.string(), marked);
    const fs::path moved = tmp.dir / "elsewhere";
    fs::rename(prefix, moved);
    const fs::path out = tmp.dir / "new.dxf";
    ASSERT_TRUE(run("cd " + quoted(tmp.dir) + " && " + quoted(moved / "bin/kerbon-cli") +
                    " edit new " + quoted(out) + " 2>&1"));
    EXPECT_NE(readBytes(out.string()).find("from the installed data"), std::string::npos);
}

// Every verb kerbon-cli knows is in the manual page and in the README.
TEST(Install, ManualPageAndReadmeNameEveryCommand)
{
    const auto usage = run(quoted(KERBON_CLI_DEFAULT) + " 2>&1 >/dev/null; true");
    ASSERT_TRUE(usage);
    const std::string manual = readBytes(sourceFile("docs/kerbon-cli.1"));
    const std::string readme = readBytes(sourceFile("README.md"));
    std::istringstream lines(*usage);
    int verbs = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line.substr(line.find("kerbon-cli") + 10));
        std::string verb;
        if (line.find("kerbon-cli") == std::string::npos || !(words >> verb))
            continue;
        ++verbs;
        const std::string roff = verb.starts_with("--") ? "\\-\\-" + verb.substr(2) : verb;
        EXPECT_NE(manual.find(".B kerbon-cli " + roff), std::string::npos)
            << "docs/kerbon-cli.1 lacks \"" << verb << "\" in its synopsis";
        EXPECT_NE(readme.find("kerbon-cli " + verb), std::string::npos)
            << "README.md lacks \"kerbon-cli " << verb << "\"";
    }
    EXPECT_GE(verbs, 5);
}
