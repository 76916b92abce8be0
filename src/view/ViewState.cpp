// View transform, zoom, wheel, drag tools and the per-tab view memory.
#include "view/ViewState.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dxf/LineStore.h"
#include "dxf/placement.h"

namespace kerbon::view {

int roundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    const double r = std::nearbyint(std::clamp(v, lo, hi));  // default mode: halves to even
    return int(std::clamp(r, lo, hi));
}

int64_t clampScroll(double v)
{
    if (std::isnan(v))
        return 0;
    return int64_t(std::nearbyint(std::clamp(v, -double(scrollLimit), double(scrollLimit))));
}

double clampZoom(double z, double lo, double hi)
{
    if (std::isnan(z))
        return lo;
    return std::clamp(z, lo, std::max(lo, hi));
}

double zoomCeiling(double x, double y)
{
    const double r = std::max({1.0, std::fabs(x), std::fabs(y)});
    return std::isfinite(r) ? zoomPrecision / r : zoomFloorMin;
}

// Rounding to an integral value kept as a double, for sizes that may exceed int.
static double roundReal(double v)
{
    return std::isfinite(v) ? std::nearbyint(v) : v;
}

ScrollBarView scrollBarView(int64_t lo, int64_t hi, int64_t pos)
{
    ScrollBarView b;
    hi = std::max(hi, lo);
    pos = std::clamp(pos, lo, hi);
    constexpr int64_t barSpan = 2000000000;  // what an int scroll bar holds comfortably
    if (lo >= -barSpan && hi <= barSpan) {
        b.minimum = int(lo), b.maximum = int(hi), b.value = int(pos);
        return b;
    }
    b.origin = lo;
    b.unit = (hi - lo) / barSpan + 1;
    b.maximum = int((hi - lo) / b.unit);
    b.value = int((pos - lo) / b.unit);
    b.single = int(std::max<int64_t>(1, scrollSmallStep / b.unit));
    b.page = int(std::max<int64_t>(1, scrollLargeStep / b.unit));
    return b;
}

TabContext tabContext(const model::DisplayModel& m, int t)
{
    TabContext c;
    if (t >= 0 && t < int(m.layouts.size())) {
        c.haslayout = true;
        c.layhan = m.layouts[size_t(t)].layhan;
        c.model = (t == 0);
        if (t > 0) {
            for (const model::tblock& b : m.blocks) {
                if (b.hand == c.layhan && trimDxf(b.blockname) != "*Paper_Space") {
                    c.blockname = b.blockname;
                    break;
                }
            }
        }
    } else {
        c.model = (t != 1);
    }
    return c;
}

static bool countsForExtents(const model::tpoly& p, const TabContext& c)
{
    if (p.xline || p.ray)
        return false;
    if (c.haslayout) {
        if (!(p.layhan == c.layhan || (c.model && p.layhan == 0)))
            return false;
    } else if (p.ispaperspace == c.model) {
        return false;
    }
    if (p.isblock)
        return p.theblockname == c.blockname && !c.blockname.empty();
    return c.blockname.empty();
}

Extents tabExtents(const model::DisplayModel& m, int t, const PageValues& page)
{
    const TabContext c = tabContext(m, t);
    BlockIndex blocks;
    blocks.build(m);
    Bounds b;
    const int n = std::min(m.anzpoly, int(m.polys.size()));
    for (int i = 0; i < n; ++i)
        if (countsForExtents(m.polys[size_t(i)], c))
            b.widen(placedBounds(m, blocks, i));
    Extents e;
    if (!b.empty)
        e = {b.minx, b.miny, b.maxx, b.maxy};
    if (t > 0) {
        const double s = page.scale();
        const double pw = (page.paperWidthMm() - 2 * page.rand) / s;
        const double ph = (page.paperHeightMm() - 2 * page.rand) / s;
        if (std::isfinite(pw))
            e.maxx = std::max(e.maxx, pw);
        if (std::isfinite(ph))
            e.maxy = std::max(e.maxy, ph);
    }
    return e;
}

const Extents& ViewState::currentExtents(const model::DisplayModel& m) const
{
    ExtentsCache& k = cached;
    if (k.model != &m || k.parsecount != m.parsecount || k.anzpoly != m.anzpoly || k.tab != tabindex) {
        k.model = &m, k.parsecount = m.parsecount, k.anzpoly = m.anzpoly, k.tab = tabindex;
        k.box = tabExtents(m, tabindex, k.page);
    }
    return k.box;
}

double ViewState::zoomFloor(const model::DisplayModel& m) const
{
    const Extents& e = currentExtents(m);
    // The zoom at which the box fills the area, from halves: the width of a box from
    // -1e308 to 1e308 is no double.
    const double hw = e.maxx / 2 - e.minx / 2, hh = e.maxy / 2 - e.miny / 2;
    const double fill = std::min(hw > 0 ? 50 * W / hw : INFINITY, hh > 0 ? 50 * H / hh : INFINITY);
    if (!(fill > 0) || !std::isfinite(fill))
        return zoomMin;
    return std::max(zoomFloorMin, std::min(zoomMin, fill / 100));
}

ScrollRange ViewState::scrollRange(const model::DisplayModel& m) const
{
    ScrollRange r;
    const Extents& e = currentExtents(m);
    const double z = zoomedvalue;
    const auto at = [](double v) { return clampScroll(v); };
    r.hmin = std::min(r.hmin, at(e.minx * z - 100.0 * W));
    r.hmax = std::max(r.hmax, at(e.maxx * z));
    r.vmin = std::min(r.vmin, at(-e.maxy * z));
    r.vmax = std::max(r.vmax, at(100.0 * (H - 1) - e.miny * z));
    return r;
}

void ViewState::DXF2Bildschirm(double x, double y, double& xx, double& yy) const
{
    xx = x * zoomedvalue / 100 - scrollx / 100.0;
    yy = (H - 1) - y * zoomedvalue / 100 - scrolly / 100.0;
}

void ViewState::Bildschirm2DXF(double x, double y, double& xx, double& yy) const
{
    xx = (x + scrollx / 100.0) * 100 / zoomedvalue;
    yy = ((H - 1) - (y + scrolly / 100.0)) * 100 / zoomedvalue;
}

void ViewState::setScroll(double h, double v, model::DisplayModel& m)
{
    const ScrollRange r = scrollRange(m);
    scrollx = std::clamp(clampScroll(h), r.hmin, r.hmax);
    scrolly = std::clamp(clampScroll(v), r.vmin, r.vmax);
    StoreZoom(m);
}

void ViewState::placePoint(double x, double y, double px, double py, model::DisplayModel& m)
{
    donotdrawnow = true;
    setScroll((x * zoomedvalue / 100 - px) * 100, ((H - 1) - y * zoomedvalue / 100 - py) * 100, m);
    donotdrawnow = false;
}

void ViewState::zoomAbout(double px, double py, double f, model::DisplayModel& m)
{
    double x = 0, y = 0;
    Bildschirm2DXF(px, py, x, y);
    zoomedvalue = clampZoom(zoomedvalue * f, zoomFloor(m), zoomCeiling(x, y));
    placePoint(x, y, px, py, m);
}

void ViewState::ZoomInBtnClick(model::DisplayModel& m)
{
    zoomAbout(W / 2, H / 2, zoomStep, m);
}

void ViewState::ZoomOutBtnClick(model::DisplayModel& m)
{
    zoomAbout(W / 2, H / 2, 1 / zoomStep, m);
}

void ViewState::mouseWheel(bool up, double px, double py, bool shift, bool ctrl,
                           model::DisplayModel& m)
{
    const int step = up ? -scrollSmallStep : scrollSmallStep;
    if (shift)
        setScroll(double(scrollx) + step, scrolly, m);
    else if (ctrl)
        setScroll(scrollx, double(scrolly) + step, m);
    else
        zoomAbout(px, py, up ? zoomStep : 1 / zoomStep, m);
}

void ViewState::ZoomFullIn(model::DisplayModel& m, const PageValues& page)
{
    cached.page = page;
    cached.model = nullptr;  // the extents afresh, with these page values
    const Extents e = currentExtents(m);
    double z = zoomedvalue;
    // Half the box's width or height: the difference of any two finite coordinates.
    const double hw = e.maxx / 2 - e.minx / 2, hh = e.maxy / 2 - e.miny / 2;
    // The box in pixels at zoom z; beyond the double range, infinite.
    const auto pixels = [](double half, double zz) { return 2 * (half * zz / 100); };
    // The fit below measures the box at the current zoom and adds 10 pixels; a box that is
    // smaller than those 10 pixels there (a drawing in metres seen at a zoom for
    // millimetres) or beyond any number is measured at the zoom that makes it as large as
    // the area instead, so that it fills the area whatever the zoom it starts from.
    const double bw = pixels(hw, z), bh = pixels(hh, z);
    if ((bw < 10 && bh < 10 && (bw > 0 || bh > 0)) || !std::isfinite(bw) || !std::isfinite(bh)) {
        const double fill = std::min(hw > 0 ? 50 * W / hw : INFINITY, hh > 0 ? 50 * H / hh : INFINITY);
        if (std::isfinite(fill) && fill > 0)
            z = std::max(zoomFloorMin, fill);
    }
    const double fx = W / (roundReal(pixels(hw, z)) + 10);
    const double fy = H / (roundReal(pixels(hh, z)) + 10);
    const double corner = std::max({std::fabs(e.minx), std::fabs(e.maxx), std::fabs(e.miny), std::fabs(e.maxy)});
    z = clampZoom(z * std::min(fx, fy) * 0.95, zoomFloor(m), zoomCeiling(corner, corner));
    zoomedvalue = z;
    const double dx = roundReal(pixels(hw, z));
    const double dy = roundReal(pixels(hh, z));
    donotdrawnow = true;
    setScroll((e.minx * z / 100 - (W - dx - 10) / 2) * 100,
              ((H - dy - 10) / 2 - e.miny * z / 100) * 100, m);
    donotdrawnow = false;
}

void ViewState::startZoomTool()
{
    inzoom = true;
}

void ViewState::startHandTool()
{
    inhand = true;
}

bool ViewState::mouseDown(double px, double py, bool rightButton)
{
    if (!inzoom && !inhand)
        return false;
    if (rightButton) {
        inzoom = inzoomit = false;
        inhand = inpan = false;
        return true;
    }
    if (inzoom) {
        inzoomit = true;
        pansy = roundHalfEven(py);
        pansy2 = zoomedvalue;
    } else {
        inpan = true;
        pansx = roundHalfEven(px);
        pansy = roundHalfEven(py);
        pansx0 = scrollx;
        pansy0 = scrolly;
    }
    return true;
}

bool ViewState::mouseMove(double px, double py, model::DisplayModel& m)
{
    if (inzoomit) {
        if (H <= 0)
            return false;
        double x = 0, y = 0;
        Bildschirm2DXF(px, py, x, y);
        zoomedvalue = clampZoom(pansy2 - (py - pansy) * zoomedvalue / H, zoomFloor(m), zoomCeiling(x, y));
        placePoint(x, y, px, py, m);
        return true;
    }
    if (inpan) {
        setScroll(pansx0 + (pansx - px) * 100, pansy0 + (pansy - py) * 100, m);
        return true;
    }
    return false;
}

void ViewState::mouseUp()
{
    inzoomit = false;
    inpan = false;
}

ZoomSlot* ViewState::slotFor(model::DisplayModel& m, model::Tlayout** layout)
{
    *layout = nullptr;
    if (tabindex >= 0 && tabindex < int(m.layouts.size())) {
        *layout = &m.layouts[size_t(tabindex)];
        return nullptr;
    }
    return tabindex != 0 ? &slot1 : &slot0;
}

void ViewState::StoreZoom(model::DisplayModel& m)
{
    if (donotstorenow)
        return;
    model::Tlayout* l = nullptr;
    if (ZoomSlot* s = slotFor(m, &l)) {
        *s = {true, zoomedvalue, scrollx, scrolly};
        return;
    }
    l->zoomsetted = true;
    l->zoomvalue = zoomedvalue;
    l->scrollxvalue = scrollx;
    l->scrollyvalue = scrolly;
}

void ViewState::restoreZoom(model::DisplayModel& m, const PageValues& page)
{
    donotstorenow = true;
    model::Tlayout* l = nullptr;
    ZoomSlot s;
    if (ZoomSlot* fixed = slotFor(m, &l))
        s = *fixed;
    else
        s = {l->zoomsetted, l->zoomvalue, l->scrollxvalue, l->scrollyvalue};
    if (s.zoomsetted) {
        cached.page = page;
        zoomedvalue = clampZoom(s.zoomvalue, zoomFloorMin, INFINITY);
        donotdrawnow = true;
        setScroll(s.scrollxvalue, s.scrollyvalue, m);
        donotdrawnow = false;
    } else {
        ZoomFullIn(m, page);
    }
    donotstorenow = false;
}

}  // namespace kerbon::view
