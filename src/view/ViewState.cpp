// View transform, zoom, wheel, drag tools and the per-tab view memory.
#include "view/ViewState.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "dxf/LineStore.h"

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

int clampScroll(double v)
{
    if (std::isnan(v))
        return 0;
    return roundHalfEven(std::clamp(v, double(scrollMin), double(scrollMax)));
}

double clampZoom(double z)
{
    if (std::isnan(z))
        return zoomMin;
    return std::clamp(z, zoomMin, zoomMax);
}

// Rounding to an integral value kept as a double, for sizes that may exceed int.
static double roundReal(double v)
{
    return std::isfinite(v) ? std::nearbyint(v) : v;
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
    Extents e;
    const TabContext c = tabContext(m, t);
    bool first = true;
    const int n = std::min(m.anzpoly, int(m.polys.size()));
    for (int i = 0; i < n; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (!countsForExtents(p, c))
            continue;
        const int np = std::min(p.anzp, int(p.ps.size()));
        for (int k = 0; k < np; ++k) {
            const double x = roundReal(p.ps[size_t(k)].x);
            const double y = roundReal(p.ps[size_t(k)].y);
            if (!std::isfinite(x) || !std::isfinite(y))
                continue;  // a broken vertex must not blow the box up to infinity
            if (first) {
                e.minx = e.maxx = x;
                e.miny = e.maxy = y;
                first = false;
            } else {
                e.minx = std::min(e.minx, x);
                e.maxx = std::max(e.maxx, x);
                e.miny = std::min(e.miny, y);
                e.maxy = std::max(e.maxy, y);
            }
        }
    }
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
    scrollx = clampScroll(h);
    scrolly = clampScroll(v);
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
    zoomedvalue = clampZoom(zoomedvalue * f);
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
    const Extents e = tabExtents(m, tabindex, page);
    double z = zoomedvalue;
    const double fx = W / (roundReal((e.maxx - e.minx) * z / 100) + 10);
    const double fy = H / (roundReal((e.maxy - e.miny) * z / 100) + 10);
    z = clampZoom(z * std::min(fx, fy) * 0.95);
    zoomedvalue = z;
    const double dx = roundReal((e.maxx - e.minx) * z / 100);
    const double dy = roundReal((e.maxy - e.miny) * z / 100);
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
        zoomedvalue = clampZoom(pansy2 - (py - pansy) * zoomedvalue / H);
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
        zoomedvalue = clampZoom(s.zoomvalue);
        donotdrawnow = true;
        setScroll(s.scrollxvalue, s.scrollyvalue, m);
        donotdrawnow = false;
    } else {
        ZoomFullIn(m, page);
    }
    donotstorenow = false;
}

}  // namespace kerbon::view
