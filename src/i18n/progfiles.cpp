// Where translate.dat and options.dat are read from and written to.
#include "i18n/progfiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

namespace kerbon {

namespace fs = std::filesystem;

namespace {

bool isFile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

// Writes into dir only; the directory itself must exist.
bool writeWhole(const std::string& dir, std::string_view name, std::string_view bytes)
{
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec))
        return false;
    const std::string target = dir + std::string(name);
    // A name of its own, so that two running programs never write into the same file.
    const std::string tmp = target + ".tmp" + std::to_string(std::random_device{}());
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out)
            return false;
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        if (!out) {
            fs::remove(tmp, ec);
            return false;
        }
    }
    fs::rename(tmp, target, ec);
    if (ec) {
        fs::remove(tmp, ec);
        return false;
    }
    return true;
}

}  // namespace

std::string userConfigDir()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && xdg[0] == '/')
        return std::string(xdg) + (std::string_view(xdg).ends_with('/') ? "" : "/") + "kerbon/";
    const char* home = std::getenv("HOME");
    if (home && home[0] != '\0')
        return std::string(home) + (std::string_view(home).ends_with('/') ? "" : "/") +
               ".config/kerbon/";
    return "";
}

std::string progFileForReading(const std::string& progpath, const std::string& configdir,
                               std::string_view name)
{
    if (!configdir.empty() && isFile(configdir + std::string(name)))
        return configdir + std::string(name);
    if (!progpath.empty())
        return progpath + std::string(name);
    return "";
}

std::string writeProgFile(const std::string& progpath, const std::string& configdir,
                          std::string_view name, std::string_view bytes)
{
    if (!configdir.empty() && isFile(configdir + std::string(name)))
        return writeWhole(configdir, name, bytes) ? configdir + std::string(name) : "";
    if (writeWhole(progpath, name, bytes))
        return progpath + std::string(name);
    if (configdir.empty())
        return "";
    std::error_code ec;
    fs::create_directories(configdir, ec);
    return writeWhole(configdir, name, bytes) ? configdir + std::string(name) : "";
}

std::string executableDir()
{
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec || exe.empty())
        return "";
    const std::string dir = exe.parent_path().string();
    return dir.ends_with('/') ? dir : dir + "/";
}

std::vector<std::string> shippedDataDirs(const std::string& progpath)
{
    std::vector<std::string> dirs;
    if (!progpath.empty())
        dirs.push_back(progpath + KERBON_DATA_FROM_BIN);
#ifdef KERBON_DATA_DIR
    dirs.push_back(KERBON_DATA_DIR);
#endif
#ifdef KERBON_SOURCE_DATA_DIR
    dirs.push_back(KERBON_SOURCE_DATA_DIR);
#endif
    return dirs;
}

}  // namespace kerbon
