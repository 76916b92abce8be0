// New line types.
#include "styles/linetypes.h"

#include <cmath>

#include "dxf/LineStore.h"
#include "edit/EntityText.h"
#include "styles/names.h"

namespace kerbon::styles {

const std::array<LineTypePreset, 5> lineTypePresets = {{
    {"Punkte", {"0.0", "-0.635"}},
    {"Striche", {"1.27", "-0.635"}},
    {"Center", {"6.4", "-1.27", "1.27", "-1.27"}},
    {"Center 2x", {"12.7", "-2.54", "2.54", "-2.54"}},
    {"Phantom", {"6.4", "-1.27", "1.27", "-1.27", "1.27", "-1.27"}},
}};

std::vector<double> patternLengths(const std::vector<std::string>& lines)
{
    std::vector<double> out;
    for (std::string s : lines) {
        for (char& c : s)
            if (c == ',')
                c = '.';
        if (const std::optional<double> v = dxfToDouble(s))
            out.push_back(*v);
    }
    return out;
}

StyleEdit newLineTypeText(const model::DisplayModel& m, std::string_view name,
                          std::string_view description, const std::vector<double>& pattern)
{
    double total = 0;
    for (const double p : pattern)
        total += std::fabs(p);
    const NameCheck check = checkNewLineTypeName(m, name);
    if (check == NameCheck::Empty)
        return {StyleStatus::EmptyLineTypeName, {}};
    if (check == NameCheck::BadCharacter)
        return {StyleStatus::BadLineTypeName, {}};
    if (pattern.empty() || !std::isfinite(total))
        return {StyleStatus::NoLengths, {}};
    if (check == NameCheck::Exists)
        return {StyleStatus::LineTypeExists, {}};
    if (m.ltypeinsetlinenr < 0)
        return {StyleStatus::NoTable, {}};
    const std::optional<int32_t> h = nextHandle(m);
    if (!h)
        return {StyleStatus::NoHandles, {}};
    std::string desc(trimmedName(description));
    for (char& c : desc)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    std::vector<std::string> lines = {"  0", "LTYPE", "  5", handleText(*h)};
    if (m.cadver >= 1010)
        lines.insert(lines.end(),
                     {"100", "AcDbSymbolTableRecord", "100", "AcDbLinetypeTableRecord"});
    lines.insert(lines.end(), {"  2", std::string(trimmedName(name)), " 70", "0", "  3", desc,
                               " 72", "65", " 73", std::to_string(pattern.size()), " 40",
                               floattodxf(total)});
    for (const double p : pattern)
        lines.insert(lines.end(), {"  49", floattodxf(p), "  74", "0"});
    return {StyleStatus::Ok, InsertCode(m, m.ltypeinsetlinenr, std::move(lines), *h)};
}

}  // namespace kerbon::styles
