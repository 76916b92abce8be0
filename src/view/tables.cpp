// Colour, line weight and line type tables.
#include "view/tables.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kerbon::view {

Rgb getcolornr(int nr, bool showmodel)
{
    if (nr < 0)
        return {255, 255, 255};
    switch (nr) {
    case 1: return {255, 0, 0};
    case 2: return {255, 255, 0};
    case 3: return {0, 255, 0};
    case 4: return {0, 255, 255};
    case 5: return {0, 0, 255};
    case 6: return {255, 0, 255};
    case 8: return {128, 128, 128};
    case 9: return {192, 192, 192};
    case 250: return {45, 45, 45};
    case 251: return {91, 91, 91};
    case 252: return {137, 137, 137};
    case 254: return {183, 183, 183};
    case 255: return {179, 179, 179};
    default: break;
    }
    return showmodel ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
}

const std::array<const char*, 9> colornames = {"Rot",  "Gelb",    "Grün", "Hellblau", "Blau",
                                               "Rosa", "Schwarz", "Grau", "Hellgrau"};

std::string colorName(int n, const std::array<std::string, 9>& names)
{
    const int a = n < 0 ? -(long long)n > 9 ? 0 : -n : n;
    if (a >= 1 && a <= 9)
        return names[a - 1];
    return std::to_string(n);
}

int colorNumberOfName(std::string_view text, const std::array<std::string, 9>& names)
{
    for (int i = 0; i < 9; ++i)
        if (text == names[i])
            return i + 1;
    int v = 0;
    const char* b = text.data();
    const char* e = b + text.size();
    if (b != e && *b == '+')
        ++b;
    auto [ptr, ec] = std::from_chars(b, e, v);
    if (ec != std::errc() || ptr != e || b == e)
        return 7;
    return v;
}

const std::array<const char*, 11> colorBoxItems = {"Wie Ebene", "Wie Block", "Rot",  "Gelb",
                                                   "Grün",      "Hellblau",  "Blau", "Rosa",
                                                   "Schwarz",   "Grau",      "Hellgrau"};

int colorNumberOfBoxIndex(int index)
{
    if (index == 0)
        return 256;
    if (index == 1)
        return 0;
    if (index >= 2 && index <= 10)
        return index - 1;
    return 256;
}

const std::array<const char*, 23> lineWeightBoxItems = {
    "Wie Ebene", "0.00 mm", "0.05 mm", "0.09 mm", "0.13 mm", "0.15 mm", "0.20 mm", "0.25 mm",
    "0.30 mm",   "0.35 mm", "0.40 mm", "0.50 mm", "0.60 mm", "0.70 mm", "0.80 mm", "0.90 mm",
    "1.00 mm",   "1.06 mm", "1.20 mm", "1.40 mm", "1.58 mm", "2.00 mm", "2.11 mm"};

std::string lineWeightOfBoxIndex(int index)
{
    static const int weights[22] = {0,  5,  9,  13, 15, 20,  25,  30,  35,  40,  50,
                                    60, 70, 80, 90, 100, 106, 120, 140, 158, 200, 211};
    if (index < 1 || index > 22)
        return "-3";
    return std::to_string(weights[index - 1]);
}

std::string_view trimmedLayerName(std::string_view s)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

int findLayer(const model::DisplayModel& m, std::string_view name)
{
    const std::string_view want = trimmedLayerName(name);
    const int n = std::min<int>(m.anzlayer, int(m.layers.size()));
    for (int i = 0; i < n; ++i)
        if (trimmedLayerName(m.layers[i].name) == want)
            return i;
    return -1;
}

LayerStyle layerStyleAt(const model::DisplayModel& m, int layerIndex)
{
    LayerStyle s;
    if (layerIndex < 0)
        return s;
    const model::TLayer& l = m.layers[layerIndex];
    s.found = true;
    s.colornr = l.colornr;
    s.hasLineweight = l.linweightpresent;
    s.lineweight = l.lineweight;
    s.ltname = l.ltname;
    s.locked = (l.flag & 4) != 0;
    return s;
}

LayerStyle layerOf(const model::DisplayModel& m, const model::tpoly& p)
{
    if (!p.layerpresent || p.layer.empty())
        return {};
    return layerStyleAt(m, findLayer(m, p.layer));
}

int entityColorNr(const model::tpoly& p, const LayerStyle& layer)
{
    if (p.colorispresent && p.colornr < 256)
        return p.colornr;
    return layer.colornr;
}

double penWidthOf(const model::tpoly& p, const LayerStyle& layer, int dpi, bool showweight)
{
    if (!showweight)
        return 1;
    if (p.linweightpresent && p.lineweight >= 0)
        return dpi * (p.lineweight / 100.0) / 25.39995 * 2;
    if (layer.hasLineweight && layer.lineweight > 0)
        return dpi * (layer.lineweight / 100.0) / 25.39995 * 2;
    return 1;
}

const model::TLineType* lineTypeOf(const model::DisplayModel& m, const model::tpoly& p,
                                   const LayerStyle& layer)
{
    std::string_view name = layer.ltname;
    if (p.ltnamepresent && !p.ltname.empty() && p.ltname != "ByLayer" && p.ltname != "ByBlock")
        name = p.ltname;
    if (name.empty())
        return nullptr;
    const int n = std::min<int>(m.anzlt, int(m.linetype.size()));
    for (int i = 0; i < n; ++i)
        if (m.linetype[i].name == name)
            return m.linetype[i].parts.empty() ? nullptr : &m.linetype[i];
    return nullptr;
}

void dashPattern(const model::TLineType& lt, double z, std::vector<double>& dashes, double& offset)
{
    dashes.clear();
    offset = 0;
    for (size_t i = 0; i < lt.parts.size(); ++i) {
        const double p = lt.parts[i];
        if (i == 0 && p < 0)
            offset = std::fabs(p) * z / 100;
        else if (p != 0)
            dashes.push_back(std::fabs(p) * z / 100);
        else
            dashes.push_back(1.0);
    }
}

double roundEven(double v)
{
    // Adding and taking away 2^52 leaves the nearest integer, ties to even, under the
    // default rounding mode; larger magnitudes are whole numbers already. Same results as
    // std::nearbyint, without a library call per vertex.
    constexpr double big = 4503599627370496.0;
    const double a = std::fabs(v);
    if (!(a < big))
        return v;
    return std::copysign((a + big) - big, v);  // not folded: floating-point addition is not associative
}

int roundPixel(double v)
{
    if (!std::isfinite(v))
        return 0;
    if (v > 1e9)
        return 1000000000;
    if (v < -1e9)
        return -1000000000;
    return int(std::nearbyint(v));
}

}  // namespace kerbon::view
