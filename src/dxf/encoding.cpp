// Byte encodings of DXF files to and from the UTF-8 of the line list.
#include "dxf/encoding.h"

namespace kerbon::enc {

namespace {

// Code points of the bytes 80..9F; the undefined bytes map to themselves (U+0081 etc.).
constexpr char32_t cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

bool isContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

void putUnit(std::string& out, char16_t u, bool bigEndian)
{
    const char hi = char(u >> 8), lo = char(u & 0xFF);
    if (bigEndian) {
        out += hi;
        out += lo;
    } else {
        out += lo;
        out += hi;
    }
}

}  // namespace

char32_t nextCodePoint(std::string_view s, size_t& i, bool allowSurrogates)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    size_t len = 0;
    char32_t c = 0, min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, c = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, c = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, c = b0 & 0x07, min = 0x10000;
    } else {
        ++i;
        return invalidCodePoint;
    }
    if (i + len > s.size()) {
        ++i;
        return invalidCodePoint;
    }
    for (size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (!isContinuation(b)) {
            ++i;
            return invalidCodePoint;
        }
        c = (c << 6) | (b & 0x3F);
    }
    const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
    if (c < min || c > 0x10FFFF || (surrogate && !allowSurrogates)) {
        ++i;
        return invalidCodePoint;
    }
    i += len;
    return c;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

bool isValidUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        if (static_cast<unsigned char>(s[i]) < 0x80) {
            ++i;
            continue;
        }
        if (nextCodePoint(s, i) == invalidCodePoint)
            return false;
    }
    return true;
}

char32_t cp1252ToUnicode(unsigned char b)
{
    return b >= 0x80 && b < 0xA0 ? cp1252High[b - 0x80] : char32_t(b);
}

int unicodeToCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    for (int k = 0; k < 32; ++k)
        if (cp1252High[k] == c)
            return 0x80 + k;
    return -1;
}

std::string decodeCp1252(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80)
            out += ch;
        else
            appendUtf8(out, cp1252ToUnicode(b));
    }
    return out;
}

std::string encodeCp1252(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        if (static_cast<unsigned char>(utf8[i]) < 0x80) {
            out += utf8[i++];
            continue;
        }
        const char32_t c = nextCodePoint(utf8, i);
        const int b = c == invalidCodePoint ? -1 : unicodeToCp1252(c);
        out += b < 0 ? '?' : char(b);
    }
    return out;
}

std::string decodeUtf16(std::string_view bytes, bool bigEndian)
{
    std::string out;
    out.reserve(bytes.size());
    const size_t units = bytes.size() / 2;
    auto unit = [&](size_t k) -> char16_t {
        const auto a = static_cast<unsigned char>(bytes[2 * k]);
        const auto b = static_cast<unsigned char>(bytes[2 * k + 1]);
        return bigEndian ? char16_t((a << 8) | b) : char16_t((b << 8) | a);
    };
    for (size_t k = 0; k < units; ++k) {
        const char16_t u = unit(k);
        if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
            const char16_t v = unit(k + 1);
            if (v >= 0xDC00 && v <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (v - 0xDC00));
                ++k;
                continue;
            }
        }
        appendUtf8(out, u);  // unpaired surrogates too, so they are written back as read
    }
    if (bytes.size() % 2 != 0)
        appendUtf8(out, 0xFFFD);
    return out;
}

std::string encodeUtf16(std::string_view utf8, bool bigEndian)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    size_t i = 0;
    while (i < utf8.size()) {
        char32_t c = nextCodePoint(utf8, i, true);
        if (c == invalidCodePoint)
            c = 0xFFFD;
        if (c >= 0x10000) {
            putUnit(out, char16_t(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
            putUnit(out, char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
        } else {
            putUnit(out, char16_t(c), bigEndian);
        }
    }
    return out;
}

}  // namespace kerbon::enc
