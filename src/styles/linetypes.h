// New line types: the pattern as the user types it, the preset patterns, and the LTYPE
// record.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/model.h"
#include "styles/StyleEdit.h"

namespace kerbon::styles {

// A preset pattern of the line type dialog: its button and its lines.
struct LineTypePreset {
    const char* caption;
    std::vector<std::string> lines;
};
extern const std::array<LineTypePreset, 5> lineTypePresets;  // "Punkte" ... "Phantom"

// The lengths of a typed pattern, one per line: a "," counts as ".", and a line that is
// not a number is skipped. Positive lengths are dashes, negative ones gaps, 0 a dot.
std::vector<double> patternLengths(const std::vector<std::string>& lines);

// The LTYPE record of a new line type before the end of the table, or why it cannot be
// added (an empty, unfit or existing name, no lengths, no table, no handle left). The name
// and the description are written without the blanks around them; control characters in
// the description become blanks.
StyleEdit newLineTypeText(const model::DisplayModel& m, std::string_view name,
                          std::string_view description, const std::vector<double>& pattern);

}  // namespace kerbon::styles
