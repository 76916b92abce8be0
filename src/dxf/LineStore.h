// The document text: a DXF file held as an ordered list of lines, plus the conventions
// every reader and writer of that list follows (pairs, numbers, handles).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kerbon {

// Text encoding of a file, remembered on load and used again on save.
enum class Encoding { Ansi, Utf8, Utf8Bom, Utf16LE, Utf16BE };
// Line-break style found on load (saving always writes CR LF).
enum class LineEnding { CrLf, Lf, Cr, Mixed };

const char* encodingName(Encoding e);      // "ansi", "utf-8", "utf-8-bom", "utf-16le", "utf-16be"
const char* lineEndingName(LineEnding e);  // "crlf", "lf", "cr", "mixed"

// The line list `dxf`. Lines are held as UTF-8 without line-break characters.
// Index 0 is the first line of the file; a code line at i has its value at i + 1.
struct LineStore {
    std::vector<std::string> lines;
    Encoding encoding = Encoding::Ansi;
    LineEnding lineEnding = LineEnding::CrLf;

    int count() const { return int(lines.size()); }
    const std::string& operator[](int i) const { return lines[size_t(i)]; }
    void insert(int i, std::string line) { lines.insert(lines.begin() + i, std::move(line)); }
    void erase(int i) { lines.erase(lines.begin() + i); }
    void replace(int i, std::string line) { lines[size_t(i)] = std::move(line); }
};

// Replaces `store` by the lines of the file. On failure `store` is unchanged and false
// is returned.
bool loadLines(const std::string& path, LineStore& store);

// Writes the lines, each followed by CR LF, in the remembered encoding (with its byte
// order mark where it has one). The target is replaced only after everything was
// written, so a failure leaves an existing file untouched.
bool saveLines(const std::string& path, const LineStore& store);

// Blank and control characters (code <= 32) removed at both ends.
std::string_view trimDxf(std::string_view s);

// Number conversions of value text; nullopt when the text does not convert.
std::optional<double> dxfToDouble(std::string_view s);
std::optional<int> dxfToInt(std::string_view s);
std::optional<int32_t> dxfHexToInt(std::string_view s);  // handles, at most 8 hex digits

// Value text of a real number: shortest general form with up to 15 significant digits,
// or fixed point with 18 decimals where the general form would need an exponent.
std::string floattodxf(double x);
// Handle text: upper-case hexadecimal, at least two digits ("0A", "FF", "1000").
std::string handleText(int32_t h);

// The parser's sequential reader over `dxf`. Reading the last line yields "" and does not
// advance, so the closing line of a file is never read.
struct PairReader {
    const std::vector<std::string>& dxf;
    int pos = 0;
    // Returns the trimmed line at pos and advances when pos + 1 < count.
    std::string_view readLine();
    bool atEnd() const { return int(dxf.size()) - pos < 2; }
};

}  // namespace kerbon
