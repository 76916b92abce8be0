// The property commands.
#include "styles/properties.h"

namespace kerbon::styles {

int propertyCode(Property p)
{
    switch (p) {
    case Property::Colour:     return 62;
    case Property::LineType:   return 6;
    case Property::Layer:      return 8;
    case Property::LineWeight: return 370;
    }
    return 62;
}

const char* propertyCodeLine(Property p)
{
    switch (p) {
    case Property::Colour:     return " 62";
    case Property::LineType:   return " 6";
    case Property::Layer:      return " 8";
    case Property::LineWeight: return "370";
    }
    return " 62";
}

namespace {

// The edits of one object: every pair of `code` in its lines changed (or taken out), and
// the pair added behind the type line when the object's own record has none.
void objectEdits(const LineStore& dxf, const model::tpoly& p, Property prop,
                 const std::string& value, bool remove, EditSet& set)
{
    const int code = propertyCode(prop);
    bool inOwnRecord = true, ownHasCode = false;
    // Pairs from the second one on: the first is the object's "0" and type name.
    for (int k = p.linefrom + 2; k + 1 <= p.linebis && k + 1 < dxf.count(); k += 2) {
        const std::optional<int> c = dxfToInt(dxf[k]);
        if (c == 0)
            inOwnRecord = false;  // a VERTEX or the SEQEND of an old-style polyline
        if (c != code)
            continue;
        ownHasCode |= inOwnRecord;
        if (remove)
            set.erase(k, 2);
        else
            set.replace(k + 1, value);
    }
    if (!ownHasCode && !remove)
        set.insert(p.linefrom + 2, {propertyCodeLine(prop), value});
}

}  // namespace

EditSet propertyEdits(const LineStore& dxf, const model::DisplayModel& m,
                      const LayoutFilter& filter, Property prop, const std::string& value)
{
    const bool remove = prop == Property::LineWeight && dxfToInt(value).value_or(0) < 0;
    EditSet set;
    for (int i = 0; i < m.anzpoly; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (p.selected && filter.passes(p) && p.linefrom + 1 < dxf.count())
            objectEdits(dxf, p, prop, value, remove, set);
    }
    return set;
}

}  // namespace kerbon::styles
