// Take-over of a drawing into nesting elements, their normalisation, the proposed sheet
// and the check of the search settings.
#include "nesting/nest_elements.h"

#include <algorithm>
#include <cmath>

#include "dxf/placement.h"
#include "edit/LayoutFilter.h"
#include "nesting/nest_holes.h"

namespace kerbon::nest {

using model::tpoly;

namespace {

int vertexCount(const tpoly& p)
{
    return std::clamp(p.anzp, 0, int(p.ps.size()));
}

bool finitePoint(double x, double y)
{
    return std::isfinite(x) && std::isfinite(y);
}

// The drawn vertices of p placed by `place`, as one more contour of s. Vertices that are
// not finite numbers are left out.
void addDrawnContour(const tpoly& p, const Placement& place, Shape& s)
{
    const size_t from = s.ps.size();
    const int n = vertexCount(p);
    auto it = p.ps.begin();
    for (int k = 0; k < n; ++k, ++it) {
        const model::Tmypoi v = *it;
        const double x = place.mapX(v.x, v.y), y = place.mapY(v.x, v.y);
        if (!v.donotdraw && finitePoint(x, y))
            s.ps.push_back({x, y});
    }
    if (s.ps.size() > from)
        s.ends.push_back(uint32_t(s.ps.size()));
}

bool hasSeveralStrokes(const tpoly& p)
{
    const int n = vertexCount(p);
    auto it = p.ps.begin();
    for (int k = 0; k < n; ++k, ++it)
        if (const model::Tmypoi v = *it; k > 0 && v.moveonly && !v.donotdraw)
            return true;
    return false;
}

// Object k as the take-over sees it: what it draws where it draws it (an INSERT: the
// contours of its block's objects where the insert places them), where it lies when
// nothing of it is drawn, and whether it is one closed outline.
Shape shapeOf(const model::DisplayModel& m, const BlockIndex& blocks, int k)
{
    const tpoly& p = m.polys[size_t(k)];
    Shape s;
    anyPlaced(m, blocks, k, [&](const tpoly& q, const Placement& place) {
        if (!q.xline && !q.ray)
            addDrawnContour(q, place, s);
        return false;
    });
    if (s.ps.empty()) {
        const int n = vertexCount(p);
        for (int v = 0; v < n; ++v)
            if (finitePoint(p.ps[size_t(v)].x, p.ps[size_t(v)].y))
                s.probe.push_back({p.ps[size_t(v)].x, p.ps[size_t(v)].y});
    }
    s.closed = p.insertstr.empty() && s.ends.size() == 1 && !hasSeveralStrokes(p) &&
               closesOnItself(s.ps, p.isclosed);
    return s;
}

void appendContours(TFPointArray& to, std::vector<uint32_t>& toEnds, const TFPointArray& ps,
                    const std::vector<uint32_t>& ends)
{
    const uint32_t base = uint32_t(to.size());
    to.insert(to.end(), ps.begin(), ps.end());
    for (uint32_t e : ends)
        toEnds.push_back(base + e);
}

}  // namespace

void Schachtelung::ClearElemente()
{
    elemente.Clear();  // records are destroyed with their point lists
}

void Schachtelung::Uebernehmen(const model::DisplayModel& m, int tab, bool keepHoles)
{
    ClearElemente();
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    const LayoutFilter filter = currentLayoutFilter(m, tab);
    BlockIndex blocks;
    blocks.build(m);
    std::vector<int> objs;
    std::vector<Shape> shapes;
    for (int k = 0; k < n; ++k) {
        const tpoly& p = m.polys[size_t(k)];
        if (p.xline || p.ray || !filter.passes(p))
            continue;
        objs.push_back(k);
        shapes.push_back(shapeOf(m, blocks, k));
    }
    std::vector<int> outer(shapes.size(), -1);
    if (keepHoles)
        outer = outerShapes(shapes);
    // Each object joins the element of its outermost container; containers always rank
    // above what they contain, so the walk ends. Elements follow the order of their outlines.
    std::vector<size_t> root(shapes.size());
    for (size_t i = 0; i < shapes.size(); ++i) {
        root[i] = i;
        while (outer[root[i]] >= 0)
            root[i] = size_t(outer[root[i]]);
    }
    std::vector<int> elementOf(shapes.size(), -1);
    for (size_t i = 0; i < shapes.size(); ++i) {
        if (root[i] != i)
            continue;
        TNestElement* e = elemente.Add();
        if (!e)
            break;  // out of memory: the failure has been reported, keep what was taken
        elementOf[i] = int(elemente.count()) - 1;
        e->ps = std::move(shapes[i].ps);
        e->ends = std::move(shapes[i].ends);
        e->objs.push_back(objs[i]);
    }
    for (size_t i = 0; i < shapes.size(); ++i) {
        const int el = elementOf[root[i]];
        if (root[i] == i || el < 0)
            continue;
        TNestElement& e = *elemente.GetObject(el);
        const Shape& s = shapes[i];
        appendContours(e.inner, e.innerEnds, s.ps, s.ends);
        if (s.ps.empty() && !s.probe.empty())
            appendContours(e.inner, e.innerEnds, s.probe, {uint32_t(s.probe.size())});
        e.objs.push_back(objs[i]);
    }
    CalcNormierung();
}

void Schachtelung::CalcNormierung()
{
    bool first = true;
    gminx = gminy = gmaxx = gmaxy = 0;
    for (uint32_t i = 0; i < elemente.count(); ++i) {
        TNestElement& e = *elemente.GetObject(i);
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        for (size_t k = 0; k < e.ps.size(); ++k) {
            const TFPoint& p = e.ps[k];
            if (k == 0) {
                x0 = x1 = p.x;
                y0 = y1 = p.y;
            } else {
                x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
                y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
            }
        }
        e.minx = x0, e.miny = y0;
        e.w = x1 - x0, e.h = y1 - y0;
        e.x = x0, e.y = y0;
        if (e.ps.empty())
            continue;
        if (first) {
            gminx = x0, gminy = y0, gmaxx = x1, gmaxy = y1;
            first = false;
        } else {
            gminx = std::min(gminx, x0), gminy = std::min(gminy, y0);
            gmaxx = std::max(gmaxx, x1), gmaxy = std::max(gmaxy, y1);
        }
    }
}

double round2(double v)
{
    const double r = std::round(v * 100) / 100;
    return std::isfinite(r) ? r : v;
}

SheetProposal Schachtelung::proposal() const
{
    SheetProposal s;
    s.width = round2((gmaxx - gminx) * 1.1);
    s.height = round2((gmaxy - gminy) * 1.1);
    s.spacing = round2(s.width * 1 / 100);
    s.margin = round2(s.width * 1 / 100);
    return s;
}

int Schachtelung::objectCount() const
{
    int n = 0;
    for (uint32_t i = 0; i < elemente.count(); ++i)
        n += int(elemente.recordAt(i).objs.size());
    return n;
}

int64_t rasterRows(const NestSettings& s)
{
    return int64_t(std::trunc(s.pixbreite * s.ph / s.pw));
}

NestProblem checkSettings(const NestSettings& s)
{
    if (!std::isfinite(s.pw) || !(s.pw > 0))
        return NestProblem::SheetWidth;
    if (!std::isfinite(s.ph) || !(s.ph > 0))
        return NestProblem::SheetHeight;
    if (!std::isfinite(s.distance) || !(s.distance >= 0) || !(s.distance < s.pw))
        return NestProblem::Spacing;
    if (!std::isfinite(s.seitenrand) || !(s.seitenrand >= 0) || !(2 * s.seitenrand < s.pw) ||
        !(2 * s.seitenrand < s.ph))
        return NestProblem::Margin;
    if (s.pixbreite < minPixbreite || s.pixbreite > maxPixbreite)
        return NestProblem::Pixels;
    if (s.anziterations < 1 || s.anziterations > maxIterations)
        return NestProblem::Iterations;
    const double rows = s.pixbreite * s.ph / s.pw;
    if (!(rows < double(maxRasterCells) / s.pixbreite))
        return NestProblem::RasterSize;
    if (rasterRows(s) < 1)
        return NestProblem::RasterHeight;
    const double r = s.pixbreite / s.pw;  // pixels per unit must stay a usable number
    if (!std::isfinite(r) || !(r > 0) || !std::isfinite(s.pw / s.pixbreite))
        return NestProblem::SheetWidth;
    return NestProblem::None;
}

}  // namespace kerbon::nest
