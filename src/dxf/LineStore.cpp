// Loading, saving and the text conventions of the DXF line list.
#include "dxf/LineStore.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <set>

#include "dxf/encoding.h"

namespace kerbon {

namespace fs = std::filesystem;

const char* encodingName(Encoding e)
{
    switch (e) {
    case Encoding::Ansi:    return "ansi";
    case Encoding::Utf8:    return "utf-8";
    case Encoding::Utf8Bom: return "utf-8-bom";
    case Encoding::Utf16LE: return "utf-16le";
    case Encoding::Utf16BE: return "utf-16be";
    }
    return "ansi";
}

std::optional<Encoding> encodingFromName(std::string_view name)
{
    for (Encoding e : {Encoding::Ansi, Encoding::Utf8, Encoding::Utf8Bom, Encoding::Utf16LE,
                       Encoding::Utf16BE})
        if (name == encodingName(e))
            return e;
    return std::nullopt;
}

const char* lineEndingName(LineEnding e)
{
    switch (e) {
    case LineEnding::CrLf:  return "crlf";
    case LineEnding::Lf:    return "lf";
    case LineEnding::Cr:    return "cr";
    case LineEnding::Mixed: return "mixed";
    }
    return "crlf";
}

// ---------------------------------------------------------------------------------------
// Loading

namespace {

bool readWholeFile(const std::string& path, std::string& bytes)
{
    std::error_code ec;
    // Only regular files: a directory fails to read, and a pipe or device could block.
    if (!fs::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::string data;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || !in)
        return false;
    data.resize(size_t(size));
    in.read(data.data(), size);
    if (in.gcount() != size)
        return false;  // shorter than its size said: changed while being read
    if (in.peek() != std::char_traits<char>::eof())
        return false;  // longer: the same
    bytes = std::move(data);
    return true;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

// Splits at CR LF, lone CR and lone LF into `lines`. A final break makes no empty last
// line. False, with `lines` untouched, when there are more lines than an int can count.
bool splitLines(std::string_view text, LineList& lines, LineEnding& ending)
{
    size_t breaks = 0, breakBytes = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || text[i] == '\r') {
            ++breakBytes;
            breaks += !(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
        }
    const bool endsWithBreak = !text.empty() && (text.back() == '\n' || text.back() == '\r');
    const size_t count = breaks + (text.empty() || endsWithBreak ? 0 : 1);
    if (count > size_t(std::numeric_limits<int>::max()))
        return false;
    LineList out;
    out.reserve(count, text.size() - breakBytes);
    bool sawCrLf = false, sawCr = false, sawLf = false;
    size_t start = 0;
    while (start < text.size()) {
        const size_t brk = text.find_first_of("\r\n", start);
        if (brk == std::string_view::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, brk - start));
        if (text[brk] == '\r' && brk + 1 < text.size() && text[brk + 1] == '\n') {
            sawCrLf = true;
            start = brk + 2;
        } else {
            (text[brk] == '\r' ? sawCr : sawLf) = true;
            start = brk + 1;
        }
    }
    const int kinds = int(sawCrLf) + int(sawCr) + int(sawLf);
    ending = kinds > 1 ? LineEnding::Mixed
             : sawLf   ? LineEnding::Lf
             : sawCr   ? LineEnding::Cr
                       : LineEnding::CrLf;
    lines = std::move(out);
    return true;
}

bool isAscii(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// First version whose files are UTF-8 when they carry no byte-order mark.
constexpr int firstUtf8Version = 1021;

bool decodeInto(std::string_view bytes, LineStore& out)
{
    if (startsWith(bytes, "\xEF\xBB\xBF")) {
        out.encoding = Encoding::Utf8Bom;
        return splitLines(bytes.substr(3), out.lines, out.lineEnding);
    }
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        const bool be = bytes[0] == '\xFE';
        out.encoding = be ? Encoding::Utf16BE : Encoding::Utf16LE;
        return splitLines(enc::decodeUtf16(bytes.substr(2), be), out.lines, out.lineEnding);
    }
    // Both candidates keep CR and LF as single bytes, so lines can be split first.
    if (!splitLines(bytes, out.lines, out.lineEnding))
        return false;
    const auto version = acadVersionNumber(acadVersion(out.lines));
    if (version && *version >= firstUtf8Version && enc::isValidUtf8(bytes)) {
        out.encoding = Encoding::Utf8;
    } else {
        out.encoding = Encoding::Ansi;
        if (!isAscii(bytes)) {
            for (size_t i = 0; i < out.lines.size(); ++i)
                if (!isAscii(out.lines[i]))
                    out.lines.replace(i, enc::decodeCp1252(out.lines[i]));
            out.lines.reclaim();
        }
    }
    return true;
}

}  // namespace

LineStore decodeLines(std::string_view bytes)
{
    LineStore out;
    decodeInto(bytes, out);
    return out;
}

bool isBinaryDxf(std::string_view head)
{
    static constexpr std::string_view sentinel("Binary DXF\r\n\x1a\0", 14);
    return head.substr(0, 32).find(sentinel) != std::string_view::npos;
}

bool isBinaryDxfFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    char head[32];
    f.read(head, sizeof head);
    return isBinaryDxf(std::string_view(head, size_t(f.gcount())));
}

bool loadLines(const std::string& path, LineStore& store)
{
    std::string bytes;
    LineStore read;
    if (!readWholeFile(path, bytes) || !decodeInto(bytes, read))
        return false;
    bytes = std::string();  // the file's bytes, the new lines and the old are never all held
    store = std::move(read);
    return true;
}

std::string acadVersion(const LineList& lines)
{
    PairReader rd{lines};
    bool armed = false;
    while (!rd.atEnd()) {
        const std::string_view code = rd.readLine(), value = rd.readLine();
        if (code == "0" && value == "ENDSEC")
            break;  // the variable belongs to the header, the first section
        if (code == "9")
            armed = value == "$ACADVER";
        else if (armed && code == "1")
            return std::string(value);
    }
    return {};
}

std::optional<int> acadVersionNumber(std::string_view version)
{
    if (!startsWith(version, "AC") || version.size() < 3)
        return std::nullopt;
    int v = 0;
    const char* first = version.data() + 2;
    const char* last = version.data() + version.size();
    auto [p, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || p != last || *first == '-')
        return std::nullopt;
    return v;
}

// ---------------------------------------------------------------------------------------
// Saving

std::string encodeLines(const LineStore& store)
{
    size_t total = 3;
    for (const std::string_view l : store.lines)
        total += l.size() + 2;
    std::string out;
    switch (store.encoding) {
    case Encoding::Ansi:
    case Encoding::Utf8:
    case Encoding::Utf8Bom:
        out.reserve(total);
        if (store.encoding == Encoding::Utf8Bom)
            out += "\xEF\xBB\xBF";
        for (const std::string_view l : store.lines) {
            // Lines read from an ANSI file that were never edited are plain ASCII more
            // often than not; they need no conversion.
            if (store.encoding == Encoding::Ansi && !isAscii(l))
                out += enc::encodeCp1252(l);
            else
                out += l;
            out += "\r\n";
        }
        break;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        const bool be = store.encoding == Encoding::Utf16BE;
        out.reserve(total * 2);
        out += be ? "\xFE\xFF" : "\xFF\xFE";
        const std::string crlf = enc::encodeUtf16("\r\n", be);
        for (const std::string_view l : store.lines) {
            out += enc::encodeUtf16(l, be);
            out += crlf;
        }
        break;
    }
    }
    return out;
}

std::vector<char32_t> unrepresentable(const LineStore& store)
{
    std::vector<char32_t> lost;
    if (store.encoding == Encoding::Utf8 || store.encoding == Encoding::Utf8Bom)
        return lost;  // the bytes are written exactly as held
    const bool ansi = store.encoding == Encoding::Ansi;
    std::set<char32_t> seen;
    for (const std::string_view l : store.lines) {
        size_t i = 0;
        while (i < l.size()) {
            if (static_cast<unsigned char>(l[i]) < 0x80) {
                ++i;
                continue;
            }
            char32_t c = enc::nextCodePoint(l, i, !ansi);
            bool fits = c != enc::invalidCodePoint && (!ansi || enc::unicodeToCp1252(c) >= 0);
            if (c == enc::invalidCodePoint)
                c = 0xFFFD;
            if (!fits && seen.insert(c).second)
                lost.push_back(c);
        }
    }
    return lost;
}

std::string describeChars(const std::vector<char32_t>& chars)
{
    std::string s;
    for (char32_t c : chars) {
        if (!s.empty())
            s += ", ";
        const bool shows = c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0) &&
                           !(c >= 0xD800 && c <= 0xDFFF) && c != 0xFFFD && c <= 0x10FFFF;
        if (shows) {
            enc::appendUtf8(s, c);
            s += " (";
        }
        char buf[16];
        std::snprintf(buf, sizeof buf, "U+%04X", unsigned(c));
        s += buf;
        if (shows)
            s += ")";
    }
    return s;
}

namespace {

bool writeAll(int fd, std::string_view data)
{
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data.remove_prefix(size_t(n));
    }
    return true;
}

// Writes `data` to a new file beside `target`, syncs it, and renames it over `target`.
// A symbolic link as target is followed, so the link stays and its file is replaced.
bool replaceFileContent(const std::string& path, std::string_view data)
{
    std::error_code ec;
    fs::path target = path;
    if (fs::is_symlink(target, ec)) {
        fs::path resolved = fs::canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const fs::path dir = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!target.has_filename())
        return false;

    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return false;

    static unsigned counter = 0;
    std::string tmp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        // A hidden name beside the target, so the rename stays within one file system.
        std::string name = ".";
        name += target.filename().string();
        name += ".save" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        tmp = (dir / name).string();
        fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, data);
    if (ok && exists)
        ::fchmod(fd, old.st_mode & 07777);  // keep the file's permissions
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(tmp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(tmp.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here no longer affects the content.
    const int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    return true;
}

}  // namespace

bool saveLines(const std::string& path, const LineStore& store)
{
    if (path.empty())
        return false;
    return replaceFileContent(path, encodeLines(store));
}

// ---------------------------------------------------------------------------------------
// Pair reading and number conversion

std::string_view trimDxf(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

namespace {

// Drops one leading '+' when a digit or '.' follows ("+5" reads as 5, "+-5" does not read).
std::string_view dropPlus(std::string_view s)
{
    if (s.size() > 1 && s[0] == '+' && (std::isdigit(static_cast<unsigned char>(s[1])) || s[1] == '.'))
        s.remove_prefix(1);
    return s;
}

}  // namespace

std::optional<double> dxfToDouble(std::string_view s)
{
    s = dropPlus(trimDxf(s));
    // from_chars also reads "inf", "nan" and "infinity"; a DXF number starts with a digit,
    // a point or a minus sign followed by one of them.
    const std::string_view body = !s.empty() && s[0] == '-' ? s.substr(1) : s;
    if (body.empty() || !(std::isdigit(static_cast<unsigned char>(body[0])) || body[0] == '.'))
        return std::nullopt;
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (ec != std::errc() || p != s.data() + s.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::optional<int> dxfToInt(std::string_view s)
{
    s = dropPlus(trimDxf(s));
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<int32_t> dxfHexToInt(std::string_view s)
{
    s = trimDxf(s);
    if (s.empty() || s.size() > 8)
        return std::nullopt;
    uint32_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return int32_t(v);
}

std::string floattodxf(double x)
{
    if (!std::isfinite(x) || x == 0)
        return "0";
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    const std::string generalText(buf, r.ptr);
    if (generalText.find('e') == std::string::npos)
        return generalText;
    if (std::fabs(x) >= 1e18) {
        // Exponent written as a general format of this kind does: "1E18", "-2.5E20".
        // Near the largest double, 15 digits round past it and the text would no longer
        // read back; the shortest exact digits are used there instead.
        std::string general = generalText;
        double back = 0;
        if (std::from_chars(general.data(), general.data() + general.size(), back).ec !=
            std::errc()) {
            r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general);
            general.assign(buf, r.ptr);
        }
        const size_t e = general.find('e');
        std::string exponent = general.substr(e + 1);
        std::string sign;
        if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
            if (exponent[0] == '-')
                sign = "-";
            exponent.erase(0, 1);
        }
        const size_t nz = exponent.find_first_not_of('0');
        exponent = nz == std::string::npos ? "0" : exponent.substr(nz);
        return general.substr(0, e) + "E" + sign + exponent;
    }
    r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, 18);
    std::string fixed(buf, r.ptr);
    if (fixed[0] == '-' && fixed.find_first_of("123456789") == std::string::npos)
        fixed.erase(0, 1);  // a tiny negative value rounded to zero has no sign
    return fixed;
}

std::string handleText(int32_t h)
{
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, uint32_t(h), 16);
    std::string s(buf, r.ptr);
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    if (s.size() < 2)
        s.insert(0, 1, '0');
    return s;
}

std::string_view PairReader::readLine()
{
    if (pos < 0 || pos >= int(dxf.size()))
        return {};
    std::string_view l = dxf[size_t(pos)];
    if (pos + 1 < int(dxf.size()))
        ++pos;
    else
        return {};
    return trimDxf(l);
}

}  // namespace kerbon
