// The layer table.
#include "styles/layers.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "dxf/LineStore.h"
#include "edit/EntityText.h"
#include "styles/names.h"
#include "view/tables.h"

namespace kerbon::styles {

std::vector<LayerRow> layerRows(const model::DisplayModel& m)
{
    std::vector<LayerRow> rows;
    for (int i = 0; i < m.anzlayer; ++i) {
        const model::TLayer& l = m.layers[size_t(i)];
        LayerRow r;
        r.name = l.name;
        r.colour = l.colornr == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max()
                                                                 : std::abs(l.colornr);
        r.visible = l.colornr >= 0;
        r.locked = (l.flag & 4) != 0;
        r.ltname = l.ltname;
        r.lineweight = l.linweightpresent ? l.lineweight : 0;
        rows.push_back(std::move(r));
    }
    return rows;
}

std::array<std::string, 6> layerRowTexts(const LayerRow& r, const LayerWords& w)
{
    return {r.name,
            view::colorName(r.colour, w.colours),
            r.visible ? w.visible : w.invisible,
            r.locked ? w.locked : w.unlocked,
            r.ltname,
            floattodxf(r.lineweight / 100.0)};
}

std::vector<std::string> layerBoxNames(std::vector<std::string> names, const std::string& chosen)
{
    const auto it = std::find_if(names.begin(), names.end(), [&](const std::string& n) {
        return view::trimmedLayerName(n) == view::trimmedLayerName(chosen);
    });
    if (!chosen.empty() && it != names.end())
        std::rotate(names.begin(), it, it + 1);
    return names;
}

std::vector<std::string> lineTypeChoices(const model::DisplayModel& m)
{
    std::vector<std::string> names;
    for (int i = 0; i < m.anzlt; ++i) {
        const std::string& n = m.linetype[size_t(i)].name;
        if (n != "ByLayer" && n != "ByBlock")
            names.push_back(n);
    }
    return names;
}

const std::array<const char*, 23> layerWeightItems = {
    "Standard", "0.00 mm", "0.05 mm", "0.09 mm", "0.13 mm", "0.15 mm", "0.20 mm", "0.25 mm",
    "0.30 mm",  "0.35 mm", "0.40 mm", "0.50 mm", "0.60 mm", "0.70 mm", "0.80 mm", "0.90 mm",
    "1.00 mm",  "1.06 mm", "1.20 mm", "1.40 mm", "1.58 mm", "2.00 mm", "2.11 mm"};

int layerWeightOfIndex(int index)
{
    // The same values as the property bar's list, whose first entry is -3 as well.
    return std::stoi(view::lineWeightOfBoxIndex(index));
}

EditSet layerTableEdits(const model::DisplayModel& m, const std::vector<LayerRow>& rows)
{
    EditSet set;
    const int n = std::min(m.anzlayer, int(rows.size()));
    for (int i = 0; i < n; ++i) {
        const model::TLayer& l = m.layers[size_t(i)];
        const LayerRow& r = rows[size_t(i)];
        const int colour = r.visible ? r.colour : -r.colour;
        const int flag = r.locked ? l.flag | 4 : l.flag & ~4;
        if (l.colorpresent && colour != l.colornr)
            set.replace(l.colorlinenr, std::to_string(colour));
        if (l.flagpresent && flag != l.flag)
            set.replace(l.flaglinenr, std::to_string(flag));
        if (l.ltnamepresent && r.ltname != l.ltname)
            set.replace(l.ltnamelinenr, r.ltname);
        if (l.linweightpresent && r.lineweight != l.lineweight)
            set.replace(l.lineweightlinenr, std::to_string(r.lineweight));
    }
    return set;
}

StyleEdit newLayerText(const model::DisplayModel& m, const NewLayer& layer)
{
    switch (checkNewLayerName(m, layer.name)) {
    case NameCheck::Empty:        return {StyleStatus::EmptyLayerName, {}};
    case NameCheck::BadCharacter: return {StyleStatus::BadLayerName, {}};
    case NameCheck::Exists:       return {StyleStatus::LayerExists, {}};
    case NameCheck::Ok:           break;
    }
    if (m.layerinsertlinenr < 0)
        return {StyleStatus::NoTable, {}};
    const std::optional<int32_t> h = nextHandle(m);
    if (!h)
        return {StyleStatus::NoHandles, {}};
    const bool r12 = m.cadver < 1010;
    std::vector<std::string> lines = {"  0", "LAYER", "  5", handleText(*h)};
    if (!r12)
        lines.insert(lines.end(), {"100", "AcDbSymbolTableRecord", "100", "AcDbLayerTableRecord"});
    lines.insert(lines.end(), {"  2", std::string(trimmedName(layer.name)), " 70", "0", " 62",
                               std::to_string(layer.colour)});
    if (!layer.linetype.empty())
        lines.insert(lines.end(), {" 6", layer.linetype});
    if (!r12) {
        lines.insert(lines.end(), {" 370", std::to_string(layer.lineweight)});
        if (!m.plotstylereaded.empty())
            lines.insert(lines.end(), {" 390", m.plotstylereaded});
    }
    return {StyleStatus::Ok, InsertCode(m, m.layerinsertlinenr, std::move(lines), *h)};
}

}  // namespace kerbon::styles
