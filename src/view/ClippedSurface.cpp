// Cutting straight figures to a rectangle: strokes with their dash phase, fills and clips.
#include "view/ClippedSurface.h"

#include <algorithm>
#include <cmath>

namespace kerbon::view {

namespace {

using Kind = Path::Elem::Kind;

struct Pt {
    double x = 0, y = 0;
};

PixelRect inflated(const PixelRect& r, double d)
{
    return {r.left - d, r.top - d, r.right + d, r.bottom + d};
}

bool inside(const Pt& p, const PixelRect& r)
{
    return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

// Halves of a difference, so that coordinates near the largest double do not overflow.
Pt halfDelta(const Pt& a, const Pt& b)
{
    return {b.x / 2 - a.x / 2, b.y / 2 - a.y / 2};
}

// The point at parameter t of a -> b, from the nearer end.
Pt pointAt(const Pt& a, const Pt& b, double t)
{
    const Pt h = halfDelta(a, b);
    if (t <= 0.5)
        return {a.x + 2 * t * h.x, a.y + 2 * t * h.y};
    return {b.x - 2 * (1 - t) * h.x, b.y - 2 * (1 - t) * h.y};
}

double length(const Pt& a, const Pt& b)
{
    const Pt h = halfDelta(a, b);
    return 2 * std::hypot(h.x, h.y);
}

// The part of a -> b inside r (Liang-Barsky): its parameters t0 <= t1 and the points at
// them. A point on a side of r gets that side's coordinate exactly: far-off ends leave too
// few digits to find it from the parameter. False when no part is inside.
bool clipSegment(const Pt& a, const Pt& b, const PixelRect& r, double& t0, double& t1, Pt& p0, Pt& p1)
{
    t0 = 0, t1 = 1;
    int side0 = -1, side1 = -1;  // the sides that set t0 and t1: left, right, top, bottom
    const Pt h = halfDelta(a, b);
    const double p[4] = {-h.x, h.x, -h.y, h.y};
    const double q[4] = {a.x / 2 - r.left / 2, r.right / 2 - a.x / 2, a.y / 2 - r.top / 2,
                         r.bottom / 2 - a.y / 2};
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(p[i]) || !std::isfinite(q[i]))
            return false;
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1)
                return false;
            if (t > t0)
                t0 = t, side0 = i;
        } else {
            if (t < t0)
                return false;
            if (t < t1)
                t1 = t, side1 = i;
        }
    }
    const auto place = [&](double t, int side) {
        Pt pt = pointAt(a, b, t);
        pt.x = std::clamp(pt.x, r.left, r.right);
        pt.y = std::clamp(pt.y, r.top, r.bottom);
        const double sides[4] = {r.left, r.right, r.top, r.bottom};
        if (side >= 0)
            (side < 2 ? pt.x : pt.y) = sides[side];
        return pt;
    };
    p0 = side0 < 0 ? a : place(t0, side0);
    p1 = side1 < 0 ? b : place(t1, side1);
    return true;
}

// The figures of a path as point lists; `closed` for those ending in Close.
struct Figure {
    std::vector<Pt> pts;
    bool closed = false;
};

void figuresOf(const Path& path, std::vector<Figure>& out)
{
    out.clear();
    for (const Path::Elem& e : path.elems) {
        if (e.kind == Kind::MoveTo || out.empty() || out.back().closed)
            out.emplace_back();
        if (e.kind == Kind::Close)
            out.back().closed = true;
        else
            out.back().pts.push_back({e.x, e.y});
    }
}

void addFigure(Path& p, const std::vector<Pt>& pts, bool closed)
{
    if (pts.empty())
        return;
    p.elems.push_back({Kind::MoveTo, pts[0].x, pts[0].y});
    for (size_t i = 1; i < pts.size(); ++i)
        p.elems.push_back({Kind::LineTo, pts[i].x, pts[i].y});
    if (closed)
        p.elems.push_back({Kind::Close, 0, 0});
}

bool allInside(const std::vector<Pt>& pts, const PixelRect& r)
{
    return std::all_of(pts.begin(), pts.end(), [&](const Pt& p) { return inside(p, r); });
}

// One edge of the rectangle for the polygon cut: which side of it is kept.
enum class Edge { Left, Right, Top, Bottom };

bool keeps(Edge e, const Pt& p, const PixelRect& r)
{
    switch (e) {
    case Edge::Left:   return p.x >= r.left;
    case Edge::Right:  return p.x <= r.right;
    case Edge::Top:    return p.y >= r.top;
    case Edge::Bottom: return p.y <= r.bottom;
    }
    return true;
}

// Where a -> b crosses the edge (one end kept, the other not). The crossing coordinate is
// set exactly, the other one taken at the crossing's parameter.
Pt crossing(Edge e, const Pt& a, const Pt& b, const PixelRect& r)
{
    const Pt h = halfDelta(a, b);
    const bool vertical = e == Edge::Left || e == Edge::Right;
    const double at = e == Edge::Left ? r.left : e == Edge::Right ? r.right : e == Edge::Top ? r.top : r.bottom;
    const double t = vertical ? (at / 2 - a.x / 2) / h.x : (at / 2 - a.y / 2) / h.y;
    Pt p = pointAt(a, b, std::clamp(t, 0.0, 1.0));
    (vertical ? p.x : p.y) = at;
    return p;
}

// The polygon cut to the rectangle, one edge after the other (Sutherland-Hodgman).
void cutPolygon(std::vector<Pt>& pts, const PixelRect& r)
{
    std::vector<Pt> next;
    for (Edge e : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom}) {
        next.clear();
        for (size_t i = 0; i < pts.size(); ++i) {
            const Pt& a = pts[i];
            const Pt& b = pts[(i + 1) % pts.size()];
            const bool ka = keeps(e, a, r), kb = keeps(e, b, r);
            if (ka)
                next.push_back(a);
            if (ka != kb)
                next.push_back(crossing(e, a, b, r));
        }
        pts.swap(next);
    }
}

bool finitePoints(const std::vector<Pt>& pts)
{
    return std::all_of(pts.begin(), pts.end(),
                       [](const Pt& p) { return std::isfinite(p.x) && std::isfinite(p.y); });
}

}  // namespace

bool ClippedSurface::passThrough(const Path& path) const
{
    return transformed || !path.texts.empty();
}

void ClippedSurface::strokePath(const Path& path, const Pen& pen)
{
    if (passThrough(path)) {
        target.strokePath(path, pen);
        return;
    }
    // The unit of the dash lengths: the pen width, at least one pixel.
    const double unit = std::isfinite(pen.width) && pen.width > 1 ? std::min(pen.width, 1e6) : 1.0;
    const PixelRect r = inflated(box, unit / 2 + 2);
    double period = 0;
    for (double d : pen.dashes)
        period += d;
    if (pen.dashes.size() % 2 == 1)
        period *= 2;  // an odd list repeats with on and off swapped
    const bool dashed = !pen.dashes.empty() && std::isfinite(period) && period > 0;

    out.clear();
    std::vector<Pt> part;
    double phase = 0;  // length of the figure before the part, in pixels
    // A part that starts where its figure starts is stroked with the others; a later one on
    // its own, its dash offset moved on by the length cut away before it.
    const auto flush = [&] {
        if (part.size() >= 2) {
            if (phase == 0 || !dashed) {
                addFigure(out, part, false);
            } else {
                Pen shifted = pen;
                const double offset = std::fmod(pen.dashOffset + phase / unit, period);
                shifted.dashOffset = std::isfinite(offset) ? offset : 0;
                run.clear();
                addFigure(run, part, false);
                target.strokePath(run, shifted);
            }
        }
        part.clear();
    };
    std::vector<Figure> figures;
    figuresOf(path, figures);
    for (Figure& f : figures) {
        if (allInside(f.pts, r)) {
            addFigure(out, f.pts, f.closed);
            continue;
        }
        if (f.closed)
            f.pts.push_back(f.pts.front());
        double along = 0;
        for (size_t k = 0; k + 1 < f.pts.size(); ++k) {
            const Pt& a = f.pts[k];
            const Pt& b = f.pts[k + 1];
            const double len = length(a, b);
            double t0 = 0, t1 = 1;
            Pt p0, p1;
            if (clipSegment(a, b, r, t0, t1, p0, p1)) {
                if (part.empty() || t0 > 0) {
                    flush();
                    part.push_back(p0);
                    phase = std::isfinite(len) ? along + t0 * len : 0;
                }
                part.push_back(p1);
                if (t1 < 1)
                    flush();
            } else {
                flush();
            }
            along += std::isfinite(len) ? len : 0;
        }
        flush();
    }
    if (!out.empty())
        target.strokePath(out, pen);
}

void ClippedSurface::cutFigures(const Path& path, double pad)
{
    const PixelRect r = inflated(box, pad);
    out.clear();
    std::vector<Figure> figures;
    figuresOf(path, figures);
    for (Figure& f : figures) {
        if (!finitePoints(f.pts))
            continue;
        if (!allInside(f.pts, r))
            cutPolygon(f.pts, r);
        if (f.pts.size() >= 3)
            addFigure(out, f.pts, true);
    }
}

void ClippedSurface::fillPath(const Path& path, const Brush& brush)
{
    if (passThrough(path)) {
        target.fillPath(path, brush);
        return;
    }
    cutFigures(path, 2);
    if (!out.empty())
        target.fillPath(out, brush);
}

void ClippedSurface::clipPath(const Path& path, bool replace)
{
    if (passThrough(path)) {
        target.clipPath(path, replace);
        return;
    }
    cutFigures(path, 2);
    target.clipPath(out, replace);  // nothing left: nothing shows
}

void ClippedSurface::setTransform(const Matrix& m)
{
    transformed = !(m == Matrix{});
    target.setTransform(m);
}

void ClippedSurface::resetTransform()
{
    transformed = false;
    target.resetTransform();
}

void ClippedSurface::save()
{
    saved.push_back(transformed);
    target.save();
}

void ClippedSurface::restore()
{
    if (!saved.empty()) {
        transformed = saved.back();
        saved.pop_back();
    }
    target.restore();
}

}  // namespace kerbon::view
