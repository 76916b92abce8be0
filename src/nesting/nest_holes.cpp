// Containment of objects in closed outlines, for keeping holes and engravings with their part.
#include "nesting/nest_holes.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kerbon::nest {

namespace {

struct Box {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty = true;
    void add(const TFPoint& p)
    {
        if (empty) {
            x0 = x1 = p.x, y0 = y1 = p.y;
            empty = false;
        } else {
            x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
        }
    }
    double area() const { return (x1 - x0) * (y1 - y0); }
    bool within(const Box& o) const
    {
        return !empty && !o.empty && x0 >= o.x0 && x1 <= o.x1 && y0 >= o.y0 && y1 <= o.y1;
    }
};

Box boxOf(std::span<const TFPoint> ps)
{
    Box b;
    for (const TFPoint& p : ps)
        b.add(p);
    return b;
}

// Sign of the turn a -> b -> c: > 0 left, < 0 right, 0 on one line.
double turn(const TFPoint& a, const TFPoint& b, const TFPoint& c)
{
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

bool onSegment(const TFPoint& p, const TFPoint& a, const TFPoint& b)
{
    return turn(a, b, p) == 0 && p.x >= std::min(a.x, b.x) && p.x <= std::max(a.x, b.x) &&
           p.y >= std::min(a.y, b.y) && p.y <= std::max(a.y, b.y);
}

// Segments a-b and c-d meet (touching counts).
bool segmentsMeet(const TFPoint& a, const TFPoint& b, const TFPoint& c, const TFPoint& d)
{
    const double d1 = turn(c, d, a), d2 = turn(c, d, b), d3 = turn(a, b, c), d4 = turn(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return true;
    return onSegment(a, c, d) || onSegment(b, c, d) || onSegment(c, a, b) || onSegment(d, a, b);
}

// p lies strictly inside the closed polygon by the even-odd rule (on an edge is outside).
bool strictlyInside(const TFPoint& p, std::span<const TFPoint> poly)
{
    bool in = false;
    const size_t n = poly.size();
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
        const TFPoint& a = poly[i];
        const TFPoint& b = poly[j];
        if (onSegment(p, a, b))
            return false;
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// Every point of `inner` strictly inside `outline`, and no segment of any of its contours
// meeting an edge of the outline.
bool whollyInside(const Shape& inner, std::span<const TFPoint> outline, const Box& innerBox)
{
    const std::span<const TFPoint> pts = inner.ps.empty() ? std::span<const TFPoint>(inner.probe)
                                                          : std::span<const TFPoint>(inner.ps);
    for (const TFPoint& p : pts)
        if (!strictlyInside(p, outline))
            return false;
    // Only outline edges whose box reaches the inner object's box can meet it.
    const size_t n = outline.size();
    bool crosses = false;
    forEachContour(inner.ps, inner.ends, [&](std::span<const TFPoint> c) {
        for (size_t k = 0; !crosses && k + 1 < c.size(); ++k) {
            for (size_t i = 0, j = n - 1; i < n; j = i++) {
                const TFPoint& a = outline[i];
                const TFPoint& b = outline[j];
                if (std::max(a.x, b.x) < innerBox.x0 || std::min(a.x, b.x) > innerBox.x1 ||
                    std::max(a.y, b.y) < innerBox.y0 || std::min(a.y, b.y) > innerBox.y1)
                    continue;
                if (segmentsMeet(c[k], c[k + 1], a, b)) {
                    crosses = true;
                    break;
                }
            }
        }
    });
    return !crosses;
}

}  // namespace

bool closesOnItself(std::span<const TFPoint> ps, bool closedFlag)
{
    if (ps.size() < 3)
        return false;
    if (closedFlag)
        return true;
    const Box b = boxOf(ps);
    const double tolerance = 1e-9 * std::max(b.x1 - b.x0, b.y1 - b.y0);
    return std::fabs(ps.front().x - ps.back().x) <= tolerance &&
           std::fabs(ps.front().y - ps.back().y) <= tolerance;
}

std::vector<int> outerShapes(std::span<const Shape> shapes)
{
    const size_t n = shapes.size();
    std::vector<Box> boxes(n);
    std::vector<size_t> outlines;
    for (size_t i = 0; i < n; ++i) {
        boxes[i] = shapes[i].ps.empty() ? boxOf(shapes[i].probe) : boxOf(shapes[i].ps);
        if (shapes[i].closed)
            outlines.push_back(i);
    }
    // Largest box first, the earlier object first among equals: the first outline that
    // holds an object is its outermost container.
    auto above = [&](size_t a, size_t b) {
        const double aa = boxes[a].area(), ab = boxes[b].area();
        return aa > ab || (aa == ab && a < b);
    };
    std::sort(outlines.begin(), outlines.end(), above);
    std::vector<int> outer(n, -1);
    for (size_t i = 0; i < n; ++i) {
        if (boxes[i].empty)
            continue;
        for (size_t o : outlines) {
            if (o == i)
                continue;
            if (shapes[i].closed && !above(o, i))
                break;  // the remaining outlines rank below this one
            if (boxes[i].within(boxes[o]) && whollyInside(shapes[i], shapes[o].ps, boxes[i])) {
                outer[i] = int(o);
                break;
            }
        }
    }
    return outer;
}

}  // namespace kerbon::nest
