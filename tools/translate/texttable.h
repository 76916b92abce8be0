// The plain-text form of the translation table that is kept in the repository and reviewed
// in diffs; kerbon-translate makes data/translate.dat from it. One entry per German text:
//
//     # a comment (where the text is shown)
//     de: Linien zusammenfügen...
//     en: Join lines...
//
// "de:" starts an entry; "en:", "fr:" and "nl:" give its translations (table columns 1, 2, 3);
// an empty or missing line means not yet translated. Blank lines and lines starting with "#"
// are comments. Texts are trimmed; inside a text a line break is written \n, a tab \t and a
// backslash \\.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/translateunit.h"

namespace kerbon::texts {

struct Entry {
    std::array<std::string, transColumns> cells;  // UTF-8; 0 the German text
    int line = 0;                                  // line of its "de:" in the file
};

struct TextTable {
    std::vector<Entry> entries;  // in file order
    // The entry of a German text, or nullptr.
    const Entry* find(std::string_view german) const;
};

// Reads the text form. On a malformed line (unknown prefix, a translation before any "de:",
// a column given twice, an empty or repeated German text) returns false with `error` naming
// the line; `table` then holds the entries before it.
bool parseTextTable(std::string_view text, TextTable& table, std::string& error);

// One entry in the text form, ending with a blank line: an optional "# comment" line, the
// "de:" line and a line for each translated column; `withEmptyEnglish` writes "en:" even
// when there is no English yet, for a developer to fill in.
std::string formatEntry(const Entry& e, std::string_view comment, bool withEmptyEnglish);

// Escaping of one text for a line of the file, and back.
std::string escapeText(std::string_view s);
std::string unescapeText(std::string_view s);

// translate.dat as the program reads it: one row per entry, in file order.
std::string translateFileBytes(const TextTable& table);

}  // namespace kerbon::texts
