// Recovery files: name, content, the owner's lock and the search for files left behind.
#include "edit/Recovery.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <random>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kerbon {

namespace fs = std::filesystem;

namespace {

const char* const markCode = "999";
const char* const mark = "Kerbon recovery";
constexpr int headerLines = 6;
const char* const lockSuffix = ".lock";

// The path on one line: "%" and line breaks written as %25, %0D, %0A.
std::string escapeLine(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '%')
            out += "%25";
        else if (c == '\r')
            out += "%0D";
        else if (c == '\n')
            out += "%0A";
        else
            out += c;
    }
    return out;
}

std::string unescapeLine(std::string_view s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        const std::string_view esc = s.substr(i, 3);
        if (esc == "%25" || esc == "%0D" || esc == "%0A") {
            out += esc == "%25" ? '%' : esc == "%0D" ? '\r' : '\n';
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::string hex(uint64_t v, int digits)
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%0*llx", digits, static_cast<unsigned long long>(v));
    return buf;
}

uint64_t pathNumber(const std::string& s)
{
    uint64_t h = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : s)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

bool isRecoveryName(const std::string& name)
{
    return !name.empty() && name[0] != '.' && name.size() > 4 &&
           name.compare(name.size() - 4, 4, ".dxf") == 0;
}

}  // namespace

std::string recoveryFileName(const std::string& drawingPath, const std::string& token)
{
    std::string base = drawingPath.empty() ? "unbenannt" : fs::path(drawingPath).stem().string();
    // A readable name of bounded length without control characters; never hidden (hidden
    // names are the temporary files of a write in progress).
    for (char& c : base)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\\')
            c = '_';
    if (base.size() > 60) {
        size_t cut = 60;
        while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80)
            --cut;  // not inside a UTF-8 sequence
        base.resize(cut);
    }
    if (base.empty() || base[0] == '.')
        base = "_" + base;
    return base + "-" + hex(pathNumber(drawingPath), 16) + "-" + token + ".dxf";
}

std::string newRecoveryToken()
{
    std::random_device rd;
    return hex((uint64_t(rd()) << 32 | rd()) ^ uint64_t(::getpid()), 16);
}

bool writeRecovery(const std::string& path, const LineStore& doc, const std::string& drawingPath)
{
    LineStore out;
    out.encoding = Encoding::Utf8Bom;
    out.lines = {markCode, mark, markCode, escapeLine(drawingPath), markCode,
                 encodingName(doc.encoding)};
    out.lines.insert(out.lines.size(), doc.lines);
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    return saveLines(path, out);
}

std::optional<Recovered> readRecovery(const std::string& path)
{
    LineStore in;
    if (!loadLines(path, in) || in.encoding != Encoding::Utf8Bom || in.count() < headerLines ||
        in[0] != markCode || in[1] != mark || in[2] != markCode || in[4] != markCode)
        return std::nullopt;
    const auto encoding = encodingFromName(in[5]);
    if (!encoding)
        return std::nullopt;
    Recovered r;
    r.drawingPath = unescapeLine(in[3]);
    r.doc.encoding = *encoding;
    r.doc.lines = LineList(in.lines.begin() + headerLines, in.lines.end());
    return r;
}

bool RecoveryLock::take(const std::string& path)
{
    release();
    const std::string lockPath = path + lockSuffix;
    std::error_code ec;
    fs::create_directories(fs::path(lockPath).parent_path(), ec);
    fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        fd = -1;
        return false;
    }
    return true;
}

void RecoveryLock::release()
{
    if (fd >= 0)
        ::close(fd);  // closing lets go of the lock
    fd = -1;
}

void removeRecoveryFile(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
    fs::remove(path + lockSuffix, ec);
}

std::vector<LeftRecovery> leftRecoveries(const std::string& dir)
{
    std::vector<LeftRecovery> out;
    std::error_code ec;
    if (dir.empty() || !fs::is_directory(dir, ec))
        return out;
    for (const fs::directory_entry& e : fs::directory_iterator(dir, ec)) {
        const std::string path = e.path().string();
        if (!isRecoveryName(e.path().filename().string()) || !e.is_regular_file(ec))
            continue;
        const auto r = readRecovery(path);
        if (!r)
            continue;
        RecoveryLock probe;
        if (!probe.take(path))
            continue;  // a running editor owns it
        const auto written = fs::last_write_time(path, ec);
        if (ec)
            continue;
        std::error_code dec;
        const auto drawingTime = r->drawingPath.empty()
                                     ? fs::file_time_type::min()
                                     : fs::last_write_time(r->drawingPath, dec);
        if (!dec && drawingTime >= written) {
            probe.release();
            removeRecoveryFile(path);  // saved after it was written: nothing to recover
            continue;
        }
        out.push_back({path, r->drawingPath, written});
    }
    std::sort(out.begin(), out.end(),
              [](const LeftRecovery& a, const LeftRecovery& b) { return a.written > b.written; });
    return out;
}

std::string recoveryTimeText(fs::file_time_type t)
{
    const auto sys = std::chrono::file_clock::to_sys(t);
    const std::time_t tt = std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
    std::tm local{};
    localtime_r(&tt, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%d.%m.%Y %H:%M", &local);
    return buf;
}

}  // namespace kerbon
