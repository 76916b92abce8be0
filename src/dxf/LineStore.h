// The document text: a DXF file held as an ordered list of lines, plus the conventions
// every reader and writer of that list follows (pairs, numbers, handles).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/LineList.h"

namespace kerbon {

// Text encoding of a file, remembered on load and used again on save.
enum class Encoding { Ansi, Utf8, Utf8Bom, Utf16LE, Utf16BE };
// Line-break style found on load (saving always writes CR LF).
enum class LineEnding { CrLf, Lf, Cr, Mixed };

const char* encodingName(Encoding e);      // "ansi", "utf-8", "utf-8-bom", "utf-16le", "utf-16be"
const char* lineEndingName(LineEnding e);  // "crlf", "lf", "cr", "mixed"
// The encoding named by encodingName's text; nullopt for any other text.
std::optional<Encoding> encodingFromName(std::string_view name);

// The line list `dxf`. Lines are held as UTF-8 without line-break characters.
// Index 0 is the first line of the file; a code line at i has its value at i + 1.
// Views of lines follow the rules of LineList.
struct LineStore {
    LineList lines;
    Encoding encoding = Encoding::Ansi;
    LineEnding lineEnding = LineEnding::CrLf;

    int count() const { return int(lines.size()); }
    std::string_view operator[](int i) const { return lines[size_t(i)]; }
    void insert(int i, std::string_view line) { lines.insert(size_t(i), line); }
    void erase(int i) { lines.erase(size_t(i)); }
    void replace(int i, std::string_view line) { lines.replace(size_t(i), line); }
};

// Replaces `store` by the lines of the file. On failure (missing, unreadable, not a
// regular file, more lines than a line index can count) `store` is unchanged and false is
// returned.
// The encoding comes from the byte-order mark (UTF-8, UTF-16 LE/BE). Without a mark the
// file is Windows-1252, except a drawing of version AC1021 or later whose bytes are valid
// UTF-8: that is UTF-8 by the format's own rule, and is kept as UTF-8 without a mark.
// Lines break at CR LF, lone CR and lone LF; a final break makes no empty last line.
bool loadLines(const std::string& path, LineStore& store);

// Writes the lines, each followed by CR LF, in the remembered encoding (with its byte
// order mark where it has one). The bytes go to a temporary file beside the target,
// which is synced and then renamed over the target: a failure leaves an existing file
// untouched. Characters the encoding cannot hold are written as '?' (Windows-1252) or
// U+FFFD (UTF-16); ask `unrepresentable` first to warn about them.
bool saveLines(const std::string& path, const LineStore& store);

// Whether file content starts like a binary DXF file (a sentinel line ending in CR LF,
// SUB, NUL), which the line store cannot hold as text.
bool isBinaryDxf(std::string_view head);
// Whether the file at path is a binary DXF file; false when it cannot be read.
bool isBinaryDxfFile(const std::string& path);

// The store loadLines makes of a file's content (encoding, lines, line-break style).
LineStore decodeLines(std::string_view bytes);
// The file content saveLines writes for `store`, byte-order mark included.
std::string encodeLines(const LineStore& store);

// The distinct characters of the lines that saving in `store.encoding` would lose, in the
// order of their first appearance. Ill-formed UTF-8 that would be lost counts as U+FFFD.
std::vector<char32_t> unrepresentable(const LineStore& store);
// A list of characters for a message: "Ω (U+03A9), 日 (U+65E5)"; characters that would
// not show (controls, U+FFFD) by their number alone.
std::string describeChars(const std::vector<char32_t>& chars);

// The text of the $ACADVER variable (the code 1 value after the 9/$ACADVER pair, e.g.
// "AC1015"), read pair by pair up to the end of the first section; empty when there is none.
std::string acadVersion(const LineList& lines);
// The number of an "AC1xxx" version text (1015 for "AC1015"); nullopt for other text.
std::optional<int> acadVersionNumber(std::string_view version);

// Blank and control characters (code <= 32) removed at both ends.
std::string_view trimDxf(std::string_view s);

// Number conversions of value text (trimmed first); nullopt when the text does not
// convert. No locale is involved.
// Real: optional sign ('+' or '-'), digits with an optional "." part, optional exponent
// ("1.5", "-.25", "1E-5", "2e3"). Not accepted: "inf", "nan", hexadecimal forms, a comma,
// and values out of the range of a double (so the result is always finite).
std::optional<double> dxfToDouble(std::string_view s);
// Integer: optional sign and decimal digits, within 32 bits.
std::optional<int> dxfToInt(std::string_view s);
// Handle: 1 to 8 hexadecimal digits (either case), read into 32 bits ("FFFFFFFF" is -1).
std::optional<int32_t> dxfHexToInt(std::string_view s);

// Value text of a real number: shortest general form with up to 15 significant digits,
// or fixed point with 18 decimals where the general form would need an exponent.
// Magnitudes of 1E18 and more keep the exponent form, written "1E18", "-2.5E20" (no '+',
// no leading zeros in the exponent). Negative zero is written "0"; NaN and infinities,
// which no DXF reader could convert back, are written "0" as well.
std::string floattodxf(double x);
// Handle text: upper-case hexadecimal, at least two digits ("0A", "FF", "1000").
std::string handleText(int32_t h);

// The parser's sequential reader over `dxf`. Reading the last line yields "" and does not
// advance, so the closing line of a file is never read.
struct PairReader {
    const LineList& dxf;
    int pos = 0;
    // Returns the trimmed line at pos and advances when pos + 1 < count.
    std::string_view readLine();
    bool atEnd() const { return int(dxf.size()) - pos < 2; }
};

}  // namespace kerbon
