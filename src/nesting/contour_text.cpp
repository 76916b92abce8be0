// Streaming line and pair reading, buffered writing and number text of the contour tool.
#include "nesting/contour_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace kerbon::contour {

LineSource::LineSource(const std::string& path, size_t chunk)
{
    f = std::fopen(path.c_str(), "rb");
    if (f)
        buf.resize(std::max<size_t>(chunk, 1));
}

LineSource::~LineSource()
{
    if (f)
        std::fclose(f);
}

bool LineSource::fill()
{
    if (eof || !f)
        return false;
    const size_t from = std::min(pos, keep);
    if (from > 0) {  // drop what is read and not kept
        std::memmove(buf.data(), buf.data() + from, end - from);
        end -= from;
        pos -= from;
        keep -= from;
        dropped += from;
    }
    if (end == buf.size())  // a long line: let the buffer grow
        buf.resize(buf.size() * 2);
    const size_t got = std::fread(buf.data() + end, 1, buf.size() - end, f);
    if (got == 0) {
        eof = true;
        if (std::ferror(f))
            failed = true;
        return false;
    }
    end += got;
    return true;
}

bool LineSource::next(uint64_t& at, size_t& len)
{
    if (!f)
        return false;
    size_t k = pos;
    for (;;) {
        const char* p = buf.data();
        while (k < end && p[k] != '\n' && p[k] != '\r')
            ++k;
        if (k + 1 < end || (k < end && (p[k] == '\n' || eof))) {
            at = dropped + pos;
            len = k - pos;
            size_t after = k + 1;
            if (p[k] == '\r' && after < end && p[after] == '\n')
                ++after;
            pos = after;
            return true;
        }
        // No break yet, or a CR as the last byte read (an LF may follow): read on.
        const size_t scanned = k - pos;
        if (!fill()) {
            if (pos == end)
                return false;
            at = dropped + pos;  // the last line, without a break
            len = end - pos;
            if (len > 0 && buf[end - 1] == '\r')
                --len;
            pos = end;
            return true;
        }
        k = pos + scanned;
    }
}

std::string_view Pair::code() const { return trimText(codeLine); }
std::string_view Pair::value() const { return trimText(valueLine); }

bool PairStream::next()
{
    if (again) {
        again = false;
        return true;
    }
    src.keepFromHere();
    uint64_t codeAt = 0, valueAt = 0;
    size_t codeLen = 0, valueLen = 0;
    if (!src.next(codeAt, codeLen))
        return false;
    const bool hasValue = src.next(valueAt, valueLen);
    cur.codeLine = src.view(codeAt, codeLen);
    cur.valueLine = hasValue ? src.view(valueAt, valueLen) : std::string_view();
    if (maxHandle && cur.code() == "5")
        if (auto h = parseHandle(cur.valueLine); h && *h > *maxHandle)
            *maxHandle = *h;
    return true;
}

bool LineSink::flush()
{
    if (!buf.empty() && good && std::fwrite(buf.data(), 1, buf.size(), f) != buf.size())
        good = false;
    buf.clear();
    return good;
}

std::string_view trimText(std::string_view s)
{
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32)
        s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32)
        s.remove_suffix(1);
    return s;
}

std::optional<double> parseReal(std::string_view s)
{
    s = trimText(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+' || s.front() == ' ')
        return std::nullopt;
    double v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<int64_t> parseInteger(std::string_view s)
{
    s = trimText(s);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    if (s.empty() || s.front() == '+')
        return std::nullopt;
    int64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::optional<uint64_t> parseHandle(std::string_view s)
{
    s = trimText(s);
    if (s.empty() || s.size() > 16)
        return std::nullopt;
    uint64_t v = 0;
    auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), v, 16);
    if (ec != std::errc() || p != s.data() + s.size())
        return std::nullopt;
    return v;
}

std::string negatedText(std::string_view s)
{
    s = trimText(s);
    if (s.empty() || parseReal(s) == 0.0)
        return std::string(s);
    if (s.front() == '-')
        return std::string(s.substr(1));
    if (s.front() == '+')
        s.remove_prefix(1);
    return "-" + std::string(s);
}

std::string handleHex(uint64_t h)
{
    static const char digits[] = "0123456789ABCDEF";
    char tmp[17];
    int n = 0;
    do {
        tmp[n++] = digits[h & 15];
        h >>= 4;
    } while (h != 0);
    if (n < 2)
        tmp[n++] = '0';
    std::string s(size_t(n), '0');
    for (int i = 0; i < n; ++i)
        s[size_t(i)] = tmp[n - 1 - i];
    return s;
}

}  // namespace kerbon::contour
