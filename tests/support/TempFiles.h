// A scratch directory for tests that read and write files; removed with everything in it
// when the object goes out of scope.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace kerbon::test {

class TempDir {
public:
    TempDir()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "kerbon-test-XXXXXX").string();
        if (!mkdtemp(templ.data()))
            throw std::runtime_error("cannot create a temporary directory");
        dir = templ;
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(dir, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string path(const std::string& name) const { return (dir / name).string(); }

    std::filesystem::path dir;
};

inline void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

inline std::string readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace kerbon::test
