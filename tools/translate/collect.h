// Every German text the program can show, gathered by running it: needs a QApplication
// (any platform, the offscreen one will do).
#pragma once

#include <string>
#include <vector>

namespace kerbon::texts {

struct FoundText {
    std::string german;  // without leading and trailing blanks, as the table keys it
    std::string origin;  // where it was met: "message 7", a window class, "src/...:line"
};

// The built-in messages; the captions, hints and items of every window as the window
// translation meets them; whatever else start-up looks up in a language other than German;
// and the looked-up literals of the source files under sourceRoot + "src/" (sourceRoot ends
// in "/"). Each text once, first origin kept, in that order.
std::vector<FoundText> collectProgramTexts(const std::string& sourceRoot);

}  // namespace kerbon::texts
