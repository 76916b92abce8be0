// German texts that the program looks up while it runs (message boxes, questions, file
// dialog filters) rather than keeping them in a window: found in the source code as the
// string literal given straight to translate(...), tr(...) or TranslateText(...), and the
// filter literal assigned to a file dialog's `filter` (its descriptions, the parts before
// each "|").
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kerbon::texts {

struct SourceText {
    std::string german;  // as the lookup sees it: without leading and trailing blanks
    int line = 0;        // where the literal starts
};

// The texts of one source file, in the order they appear.
std::vector<SourceText> findSourceTexts(std::string_view code);

}  // namespace kerbon::texts
