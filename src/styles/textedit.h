// Editing the text of a text object (TEXT, MTEXT, DIMENSION) in place: the text as
// stored, as the text dialog shows it, and the edits that store a new one.
//
// An MTEXT keeps a long text as code-3 chunks of 250 characters in front of its code-1
// value; a TEXT keeps one line in its code-1 value; a DIMENSION keeps its text in code 1
// (its code 3 names the dimension style).
#pragma once

#include <string>
#include <string_view>

#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "edit/LineEdits.h"

namespace kerbon::styles {

enum class TextKind { None, Text, MText, Dimension };

// Characters in one value line of a long text.
constexpr size_t textChunkLength = 250;

// What kind of text the object is; None for an object without text.
TextKind textKind(const LineStore& dxf, const model::tpoly& p);

// The object's text exactly as its lines hold it: the values of the text's pairs joined as
// they stand ("\P" marks a line break in an MTEXT or a dimension).
std::string storedText(const LineStore& dxf, const model::tpoly& p);

// True when the object has a pair that holds its text (a code-1 value or a chunk).
bool holdsText(const LineStore& dxf, const model::tpoly& p);

// The text as the dialog shows it: "\P" as a line break ("\n"), except in a TEXT, which
// has no line breaks.
std::string textForEditing(TextKind kind, std::string_view stored);
// The typed text as it is stored: line breaks become "\P" (a "\r" is dropped, and so
// is a break behind the last line); a TEXT keeps its first line only, and `cut` tells
// that more lines were typed.
std::string textFromEditing(TextKind kind, std::string_view typed, bool& cut);

// The byte length of the first `chars` characters of UTF-8 text (all of it when shorter).
size_t utf8Prefix(std::string_view s, size_t chars);

// The edits that store `text` (stored form) in the object. An MTEXT's chunk lines are
// filled in order (a shorter text leaves the rest empty) and further "  3" pairs go in
// front of its code-1 pair as needed; a TEXT or DIMENSION takes the whole text into its
// code-1 value. Empty when the text is the one stored.
EditSet textEdits(const LineStore& dxf, const model::tpoly& p, std::string_view text);

}  // namespace kerbon::styles
