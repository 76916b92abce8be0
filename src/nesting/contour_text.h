// Streaming DXF text for the contour tool: lines as raw bytes (8-bit code page, never
// decoded), read pair by pair with one pair of look-ahead, and a buffered target writer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbon::contour {

// Reads a file line by line. A line ends at CR LF, LF or a lone CR; the break characters are
// not part of the line. A last line without a break is still a line.
class LineSource {
public:
    explicit LineSource(const std::string& path, size_t chunk = size_t(1) << 20);
    ~LineSource();
    LineSource(const LineSource&) = delete;
    LineSource& operator=(const LineSource&) = delete;

    bool isOpen() const { return f != nullptr; }
    bool readError() const { return failed; }
    // The next line as its position since the start of the file and its length; false at
    // the end of the file. The bytes stay readable through view() until the next call to
    // next() after keepFromHere() is called again.
    bool next(uint64_t& at, size_t& len);
    // Keeps every line from the next one on readable, until this is called again.
    void keepFromHere() { keep = pos; }
    std::string_view view(uint64_t at, size_t len) const
    {
        return std::string_view(buf.data() + size_t(at - dropped), len);
    }

private:
    bool fill();  // reads more bytes behind the kept ones; false when nothing more came

    std::FILE* f = nullptr;
    std::vector<char> buf;
    size_t pos = 0, end = 0, keep = 0;
    uint64_t dropped = 0;  // bytes of the file before buf[0]
    bool eof = false, failed = false;
};

// One group-code line and its value line, both exactly as read, and their trimmed forms.
// The text stays valid until the next pair is read.
struct Pair {
    std::string_view codeLine, valueLine;
    std::string_view code() const;   // trimmed
    std::string_view value() const;  // trimmed
};

// Pairs of a file. When the file ends right after a code line, the value is empty.
class PairStream {
public:
    explicit PairStream(const std::string& path) : src(path) {}
    bool isOpen() const { return src.isOpen(); }
    bool readError() const { return src.readError(); }
    // The next pair, or the one handed back by pushBack; false at the end of the file.
    bool next();
    // Makes the current pair the next one again (the pair that ended an entity).
    void pushBack() { again = true; }
    const Pair& pair() const { return cur; }
    // While set, every pair with code 5 read raises *to to its handle value when larger.
    void trackHandles(uint64_t* to) { maxHandle = to; }

private:
    LineSource src;
    Pair cur;
    bool again = false;
    uint64_t* maxHandle = nullptr;
};

// Follows the section a pair belongs to: on at 2/ENTITIES, off at 0/SECTION and 0/ENDSEC.
// Readers and writers track it alike, so they count the same entities.
inline void trackSection(const Pair& p, bool& inEntities)
{
    const std::string_view c = p.code(), v = p.value();
    if (c == "0" && (v == "SECTION" || v == "ENDSEC"))
        inEntities = false;
    else if (c == "2" && v == "ENTITIES")
        inEntities = true;
}

// Writes lines, each followed by CR LF, through a large buffer.
class LineSink {
public:
    explicit LineSink(std::FILE* f) : f(f) { buf.reserve(1 << 20); }
    ~LineSink() { flush(); }
    void line(std::string_view s)
    {
        buf.append(s);
        buf.append("\r\n", 2);
        if (buf.size() >= (1 << 20))
            flush();
    }
    bool flush();
    bool ok() const { return good; }

private:
    std::FILE* f;
    std::string buf;
    bool good = true;
};

// Blanks and control characters (code <= 32) removed at both ends.
std::string_view trimText(std::string_view s);
// A real number in value text (trimmed, point as decimal separator, optional sign);
// nullopt when the text is not a number.
std::optional<double> parseReal(std::string_view s);
// A decimal integer (trimmed, optional sign); nullopt when the text is not one.
std::optional<int64_t> parseInteger(std::string_view s);
// A hexadecimal handle of at most 16 digits (trimmed); nullopt otherwise.
std::optional<uint64_t> parseHandle(std::string_view s);
// Value text of a number negated, keeping its digits ("1.5" -> "-1.5", "-2" -> "2"); a
// zero stays as it is.
std::string negatedText(std::string_view s);
// Handle text: upper-case hexadecimal with at least two digits.
std::string handleHex(uint64_t h);

}  // namespace kerbon::contour
