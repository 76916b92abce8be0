// Take-over of a drawing into nesting elements, their normalisation, the proposed sheet
// and the check of the search settings.
#include "nesting/nest_elements.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <unordered_map>

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

// The drawn vertices of p, moved by (dx, dy), as one more contour of s. Vertices that are
// not finite numbers are left out.
void addDrawnContour(const tpoly& p, double dx, double dy, Shape& s)
{
    const size_t from = s.ps.size();
    const int n = vertexCount(p);
    for (int k = 0; k < n; ++k) {
        const model::Tmypoi& v = p.ps[size_t(k)];
        const double x = v.x + dx, y = v.y + dy;
        if (!v.donotdraw && finitePoint(x, y))
            s.ps.push_back({x, y});
    }
    if (s.ps.size() > from)
        s.ends.push_back(uint32_t(s.ps.size()));
}

bool hasSeveralStrokes(const tpoly& p)
{
    const int n = vertexCount(p);
    for (int k = 1; k < n; ++k)
        if (p.ps[size_t(k)].moveonly && !p.ps[size_t(k)].donotdraw)
            return true;
    return false;
}

// Block members by block name, in object order.
using BlockMembers = std::unordered_map<std::string_view, std::vector<int>>;

BlockMembers blockMembers(const model::DisplayModel& m, int n)
{
    BlockMembers b;
    for (int i = 0; i < n; ++i)
        if (m.polys[size_t(i)].isblock)
            b[m.polys[size_t(i)].theblockname].push_back(i);
    return b;
}

// The drawn contours of block `name` inserted at (ox, oy): each member moved from the
// block's base point to the insertion point, inserts inside the block followed into their
// own blocks. A block that is already being followed is not entered again.
void addBlockContours(const model::DisplayModel& m, const BlockMembers& blocks,
                      std::string_view name, double ox, double oy,
                      std::vector<std::string_view>& following, Shape& s)
{
    constexpr size_t maxDepth = 32;
    const auto it = blocks.find(name);
    if (it == blocks.end() || following.size() >= maxDepth ||
        std::find(following.begin(), following.end(), name) != following.end())
        return;
    following.push_back(name);
    for (int i : it->second) {
        const tpoly& q = m.polys[size_t(i)];
        if (q.xline || q.ray)
            continue;
        const double dx = ox - q.blockbasex, dy = oy - q.blockbasey;
        if (q.insertstr.empty()) {
            addDrawnContour(q, dx, dy, s);
        } else if (vertexCount(q) > 0) {
            addBlockContours(m, blocks, q.insertstr, q.ps[0].x + dx, q.ps[0].y + dy, following, s);
        } else {
            addBlockContours(m, blocks, q.insertstr, dx, dy, following, s);
        }
    }
    following.pop_back();
}

// Object p as the take-over sees it: its drawn contour (an INSERT: its block's contours at
// the insertion point), where it lies when nothing of it is drawn, and whether it is one
// closed outline.
Shape shapeOf(const model::DisplayModel& m, const BlockMembers& blocks, const tpoly& p)
{
    Shape s;
    if (!p.insertstr.empty()) {
        std::vector<std::string_view> following;
        const bool at = vertexCount(p) > 0;
        addBlockContours(m, blocks, p.insertstr, at ? p.ps[0].x : 0, at ? p.ps[0].y : 0,
                         following, s);
    }
    if (s.ps.empty())
        addDrawnContour(p, 0, 0, s);
    if (s.ps.empty()) {
        const int n = vertexCount(p);
        for (int k = 0; k < n; ++k)
            if (finitePoint(p.ps[size_t(k)].x, p.ps[size_t(k)].y))
                s.probe.push_back({p.ps[size_t(k)].x, p.ps[size_t(k)].y});
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
    const LayoutFilter tc = currentLayoutFilter(m, tab);
    const BlockMembers blocks = blockMembers(m, n);
    std::vector<int> objs;
    std::vector<Shape> shapes;
    for (int k = 0; k < n; ++k) {
        const tpoly& p = m.polys[size_t(k)];
        if (p.xline || p.ray || !tc.passes(p))
            continue;
        objs.push_back(k);
        shapes.push_back(shapeOf(m, blocks, p));
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
