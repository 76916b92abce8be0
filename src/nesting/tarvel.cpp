// Allocation failure reporting of the record array, UTF-8/UTF-16 conversion and the
// length-prefixed UTF-16 strings of the translation file.
#include "nesting/tarvel.h"

#include "dxf/encoding.h"

#include <istream>
#include <ostream>

namespace kerbon {

namespace {

std::function<void(const std::string&)>& allocFailureHandler()
{
    static std::function<void(const std::string&)> handler;
    return handler;
}

constexpr char16_t replacementChar = 0xFFFD;

void appendUtf16(std::u16string& out, char32_t cp)
{
    if (cp < 0x10000) {
        out.push_back(char16_t(cp));
    } else {
        cp -= 0x10000;
        out.push_back(char16_t(0xD800 + (cp >> 10)));
        out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
    }
}

bool readInt32(std::istream& file, std::int32_t& value)
{
    unsigned char b[4];
    if (!file.read(reinterpret_cast<char*>(b), 4))
        return false;
    value = std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 |
                         std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24);
    return true;
}

}  // namespace

std::string allocFailureText(int kind, std::size_t bytes)
{
    return "Error " + std::to_string(kind) + " while trying to allocate " + std::to_string(bytes) +
           " bytes of RAM. Not enough memory.";
}

void setAllocFailureHandler(std::function<void(const std::string&)> handler)
{
    allocFailureHandler() = std::move(handler);
}

void reportAllocFailure(int kind, std::size_t bytes)
{
    if (allocFailureHandler())
        allocFailureHandler()(allocFailureText(kind, bytes));
}

std::u16string utf8ToUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        const char32_t cp = enc::nextCodePoint(s, i);
        // one replacement per undecodable byte
        appendUtf16(out, cp == enc::invalidCodePoint ? char32_t(replacementChar) : cp);
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char16_t u = s[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] <= 0xDFFF) {
            enc::appendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (s[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            enc::appendUtf8(out, replacementChar);
        } else {
            enc::appendUtf8(out, u);
        }
    }
    return out;
}

bool WriteWideString(std::ostream& file, std::u16string_view text)
{
    const std::uint32_t n = std::uint32_t(text.size() > INT32_MAX ? INT32_MAX : text.size());
    const unsigned char head[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                   static_cast<unsigned char>(n >> 16),
                                   static_cast<unsigned char>(n >> 24)};
    file.write(reinterpret_cast<const char*>(head), 4);
    std::string bytes;
    bytes.resize(std::size_t(n) * 2);
    for (std::uint32_t i = 0; i < n; ++i) {
        bytes[2 * i] = char(text[i] & 0xFF);
        bytes[2 * i + 1] = char(text[i] >> 8);
    }
    file.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(file);
}

bool WriteWideString(std::ostream& file, std::string_view utf8text)
{
    return WriteWideString(file, std::u16string_view(utf8ToUtf16(utf8text)));
}

std::optional<std::u16string> ReadWideString(std::istream& file)
{
    std::int32_t n = 0;
    if (!readInt32(file, n) || n < 0)
        return std::nullopt;
    // Read in slices so that a count far beyond the end of a damaged file costs no more
    // memory than the bytes that are really there.
    constexpr std::size_t slice = 8192;
    std::u16string text;
    unsigned char buf[2 * slice];
    std::size_t left = std::size_t(n);
    while (left > 0) {
        const std::size_t k = left < slice ? left : slice;
        if (!file.read(reinterpret_cast<char*>(buf), std::streamsize(2 * k)))
            return std::nullopt;
        for (std::size_t i = 0; i < k; ++i)
            text.push_back(char16_t(buf[2 * i] | buf[2 * i + 1] << 8));
        left -= k;
    }
    return text;
}

std::optional<std::string> ReadWideStringUtf8(std::istream& file)
{
    auto text = ReadWideString(file);
    if (!text)
        return std::nullopt;
    return utf16ToUtf8(*text);
}

}  // namespace kerbon
