// Small DXF files for the contour tool's tests, written into a fresh folder per test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace kerbon::contour::test {

// Lines joined with CR LF (the form the writers produce), each line ending with it.
inline std::string crlf(const std::vector<std::string>& lines)
{
    std::string s;
    for (const std::string& l : lines)
        s += l + "\r\n";
    return s;
}

// A minimal drawing: header with $ACADVER (left out when empty) and $HANDSEED, a block
// holding one LINE, and the given ENTITIES lines.
inline std::vector<std::string> drawing(const std::string& acadver,
                                        const std::vector<std::string>& entities)
{
    std::vector<std::string> l = {"  0", "SECTION", "  2", "HEADER"};
    if (!acadver.empty())
        l.insert(l.end(), {"  9", "$ACADVER", "  1", acadver});
    l.insert(l.end(), {"  9", "$HANDSEED", "  5", "2F", "  0", "ENDSEC",
                       "  0", "SECTION", "  2", "BLOCKS", "  0", "BLOCK", "  2", "B",
                       "  0", "LINE", "  8", "0", " 10", "0", " 20", "0", " 11", "1", " 21", "1",
                       "  0", "ENDBLK", "  0", "ENDSEC", "  0", "SECTION", "  2", "ENTITIES"});
    l.insert(l.end(), entities.begin(), entities.end());
    l.insert(l.end(), {"  0", "ENDSEC", "  0", "EOF"});
    return l;
}

// LINE entity text with handle (empty: none), layer and end points.
inline std::vector<std::string> line(const std::string& handle, double x1, double y1, double x2,
                                     double y2)
{
    auto num = [](double v) {
        std::ostringstream s;
        s << v;
        return s.str();
    };
    std::vector<std::string> l = {"  0", "LINE"};
    if (!handle.empty())
        l.insert(l.end(), {"  5", handle});
    l.insert(l.end(), {"  8", "CUT", " 10", num(x1), " 20", num(y1), " 30", "0",
                       " 11", num(x2), " 21", num(y2), " 31", "0"});
    return l;
}

inline std::vector<std::string> operator+(std::vector<std::string> a,
                                          const std::vector<std::string>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class TempDir : public ::testing::Test {
protected:
    std::filesystem::path dir;
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              (std::string("kerbon-contour-") + info->test_suite_name() + "-" + info->name() + "-" +
               std::to_string(::getpid()));  // test runs of other work trees at the same time
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir, ec);
    }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    std::string put(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    std::string put(const std::string& name, const std::vector<std::string>& lines) const
    {
        return put(name, crlf(lines));
    }
    std::string get(const std::string& name) const
    {
        std::ifstream f(path(name), std::ios::binary);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path(name)); }
};

}  // namespace kerbon::contour::test
