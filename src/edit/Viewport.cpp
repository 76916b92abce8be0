// Viewport defaults, the VIEWPORT text and the viewports a layout tab lacks.
#include "edit/Viewport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>

#include "dxf/extents.h"
#include "edit/LayoutFilter.h"

namespace kerbon {

namespace {

// The sheet keeps this much room, in millimetres, between the printable area's edge and
// a default viewport.
constexpr double viewportInset = 12;

struct Pair {
    const char* code;
    const char* value;
};

void addAll(EntityText& t, std::initializer_list<Pair> pairs)
{
    for (const Pair& p : pairs)
        t.add(p.code, p.value);
}

}  // namespace

ViewportValues viewportDefaults(const model::DisplayModel& m, const view::PageValues& page)
{
    ViewportValues v;
    const double s = page.scale();
    v.breite = (page.paperWidthMm() - 2 * page.rand - 2 * viewportInset) / s;
    v.hoehe = (page.paperHeightMm() - 2 * page.rand - 2 * viewportInset) / s;
    // The printable area's lower-left corner lies at (-xoffset, -yoffset) mm on the sheet.
    v.mitteX = v.breite / 2 + (viewportInset - page.xoffset) / s;
    v.mitteY = v.hoehe / 2 + (viewportInset - page.yoffset) / s;
    showWholeModel(m, v);
    return v;
}

void showWholeModel(const model::DisplayModel& m, ViewportValues& v)
{
    double minx = 0, miny = 0, maxx = 0, maxy = 0;
    getdimtab0(m, minx, miny, maxx, maxy);
    v.inhaltX = minx + (maxx - minx) / 2;
    v.inhaltY = miny + (maxy - miny) / 2;
    v.heiCont = std::fabs(maxy - miny) * 2;
    // A drawing wider than the viewport's shape needs more height to show all of it.
    if (v.breite > 0 && v.hoehe > 0)
        v.heiCont = std::max(v.heiCont, std::fabs(maxx - minx) * 2 * v.hoehe / v.breite);
    if (!(v.heiCont > 0))
        v.heiCont = v.hoehe > 0 ? v.hoehe : 1;
}

Written viewportText(const WriteContext& ctx, const ViewportValues& v, bool mustbenr1)
{
    EntityText t(ctx);
    t.begin("VIEWPORT", "AcDbViewport");
    t.point("  10", "  20", "  30", v.mitteX, v.mitteY, 0);
    t.real("  40", v.breite);
    t.real("  41", v.hoehe);
    if (mustbenr1) {
        addAll(t, {{"68", "1"}, {"69", "1"}});
    } else {
        const std::string id = std::to_string(int64_t(ctx.m.maxviewportid) + 1);
        t.add("68", id);
        t.add(ctx.r12() ? "69" : "  69", id);
    }
    if (!ctx.r12()) {
        t.real("  12", v.inhaltX);
        t.real("  22", v.inhaltY);
        addAll(t, {{"  13", "0.0"}, {"  23", "0.0"}, {"  14", "10.0"}, {"  24", "10.0"},
                   {"  15", "10.0"}, {"  25", "10.0"}, {"  16", "0.0"}, {"  26", "0.0"},
                   {"  36", "1.0"}, {"  17", "0.0"}, {"  27", "0.0"}, {"  37", "0.0"},
                   {"  42", "50.0"}, {"  43", "0.0"}, {"  44", "0.0"}});
        t.real("  45", v.heiCont);
        addAll(t, {{"  50", "0.0"}, {"  51", "0.0"}, {"  72", "1000"}, {"  90", "33056"},
                   {"  1", ""}, {"  281", "0"}, {"  71", "1"}, {"  74", "0"},
                   {"  110", "0.0"}, {"  120", "0.0"}, {"  130", "0.0"}, {"  111", "1.0"},
                   {"  121", "0.0"}, {"  131", "0.0"}, {"  112", "0.0"}, {"  122", "1.0"},
                   {"  132", "0.0"}, {"  79", "0"}, {"  146", "0.0"}, {"  170", "0"}});
        return t.finish();
    }
    // The view of an older drawing: MVIEW extended data (view direction, height, centre,
    // lens length, clipping, and the flags and grid values a reader expects).
    addAll(t, {{"1001", "ACAD"}, {"1000", "MVIEW"}, {"1002", "{"}, {"1070", "    16"},
               {"1010", "0.0"}, {"1020", "0.0"}, {"1030", "0.0"}, {"1010", "0.0"},
               {"1020", "0.0"}, {"1030", "1.0"}, {"1040", "0.0"}});
    t.real("1040", v.heiCont);
    t.real("1040", v.inhaltX);
    t.real("1040", v.inhaltY);
    addAll(t, {{"1040", "50.0"}, {"1040", "0.0"}, {"1040", "0.0"}, {"1070", "     0"},
               {"1070", "  1000"}, {"1070", "     1"}, {"1070", "     3"}, {"1070", "     0"},
               {"1070", "     0"}, {"1070", "     0"}, {"1070", "     0"}, {"1040", "0.0"},
               {"1040", "0.0"}, {"1040", "0.0"}, {"1040", "10.0"}, {"1040", "10.0"},
               {"1040", "10.0"}, {"1040", "10.0"}, {"1070", "     0"}, {"1002", "{"},
               {"1002", "}"}, {"1002", "}"}});
    return t.finish();
}

MissingViewports missingViewports(const model::DisplayModel& m, int tabindex)
{
    const LayoutFilter f = currentLayoutFilter(m, tabindex);
    bool sheet = false, view = false;
    const int n = std::min(m.anzpoly, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (!p.isviewport || !f.passes(p))
            continue;
        (p.viewid == 1 ? sheet : view) = true;
    }
    return {!f.block.empty() && !sheet, !view};
}

}  // namespace kerbon
