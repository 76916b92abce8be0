// Streaming line and pair reading, buffered writing and number text of the contour tool.
#include "nesting/contour_text.h"

#include <charconv>
#include <cstring>

namespace kerbon::contour {

namespace {
constexpr size_t chunk = size_t(1) << 20;
}

LineSource::LineSource(const std::string& path)
{
    f = std::fopen(path.c_str(), "rb");
    if (f)
        buf.resize(chunk);
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
    if (pos > 0) {  // keep the unread bytes at the front
        std::memmove(buf.data(), buf.data() + pos, end - pos);
        end -= pos;
        pos = 0;
    }
    if (end == buf.size())  // one line longer than the buffer: let it grow
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

bool LineSource::next(std::string_view& line)
{
    if (!f)
        return false;
    size_t scanFrom = pos;
    for (;;) {
        size_t k = scanFrom;
        while (k < end && buf[k] != '\n' && buf[k] != '\r')
            ++k;
        if (k < end) {
            if (buf[k] == '\r' && k + 1 == end && !eof) {  // CR at the edge: is LF next?
                const size_t off = k - pos;
                if (fill()) {
                    scanFrom = pos + off;
                    continue;
                }
                k = pos + off;
            }
            line = std::string_view(buf.data() + pos, k - pos);
            size_t after = k + 1;
            if (buf[k] == '\r' && after < end && buf[after] == '\n')
                ++after;
            pos = after;
            return true;
        }
        const size_t scanned = end - pos;
        if (!fill()) {
            if (pos == end)
                return false;
            line = std::string_view(buf.data() + pos, end - pos);  // last line, no break
            pos = end;
            return true;
        }
        scanFrom = pos + scanned;
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
    std::string_view l;
    if (!src.next(l))
        return false;
    cur.codeLine.assign(l);
    if (src.next(l))
        cur.valueLine.assign(l);
    else
        cur.valueLine.clear();
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
