// Conversions between the byte encodings a DXF file may use and the UTF-8 the line list
// holds: Windows-1252 (the ANSI code page), UTF-8 and UTF-16 in both byte orders.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kerbon::enc {

inline constexpr char32_t invalidCodePoint = 0xFFFFFFFF;

// Decodes the code point starting at s[i] and advances i past it. An ill-formed sequence
// yields invalidCodePoint and advances i by one byte. With allowSurrogates, the three-byte
// forms of U+D800..U+DFFF are accepted: that is how an unpaired UTF-16 surrogate is kept
// in the line list so that it can be written back unchanged.
char32_t nextCodePoint(std::string_view s, size_t& i, bool allowSurrogates = false);

// Appends the UTF-8 form of c (surrogate code points included, see above).
void appendUtf8(std::string& out, char32_t c);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool isValidUtf8(std::string_view s);

// Windows-1252. Every byte maps to exactly one code point; the five bytes the code page
// leaves undefined (81 8D 8F 90 9D) map to U+0081 etc., so any byte string round-trips.
char32_t cp1252ToUnicode(unsigned char b);
// The byte for c, or -1 when the code page has none.
int unicodeToCp1252(char32_t c);

std::string decodeCp1252(std::string_view bytes);
// Characters without a byte (and ill-formed UTF-8) are written as '?'.
std::string encodeCp1252(std::string_view utf8);

// UTF-16 without byte-order mark. Decoding pairs surrogates; an unpaired one is kept as
// its three-byte form, and an odd final byte becomes U+FFFD.
std::string decodeUtf16(std::string_view bytes, bool bigEndian);
// Ill-formed UTF-8 bytes are written as U+FFFD.
std::string encodeUtf16(std::string_view utf8, bool bigEndian);

}  // namespace kerbon::enc
