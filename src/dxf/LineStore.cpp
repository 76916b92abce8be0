// Loading, saving and the text conventions of the DXF line list.
// Placeholder implementation: UTF-8 only; the full encodings come with the line store work.
#include "dxf/LineStore.h"

#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace kerbon {

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

bool loadLines(const std::string& path, LineStore& store)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream ss;
    ss << in.rdbuf();
    const std::string bytes = ss.str();
    LineStore out;
    std::string cur;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char c = bytes[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            out.lines.push_back(std::move(cur));
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        out.lines.push_back(std::move(cur));
    store = std::move(out);
    return true;
}

bool saveLines(const std::string& path, const LineStore& store)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;
    for (const std::string& l : store.lines)
        out << l << "\r\n";
    return bool(out);
}

std::string_view trimDxf(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

std::optional<double> dxfToDouble(std::string_view s)
{
    s = trimDxf(s);
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<int> dxfToInt(std::string_view s)
{
    s = trimDxf(s);
    int v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
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
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", x);
    return buf;
}

std::string handleText(int32_t h)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02X", unsigned(h));
    return buf;
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
