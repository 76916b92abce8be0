// HATCH: the boundary paths read into one filled outline. Polyline paths give their
// vertices (bulges flattened at the end), edge paths their line edges' end points and their
// arc, ellipse-arc and spline edges flattened into outline points.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "dxf/entities.h"
#include "dxf/entity_shapes.h"
#include "dxf/spline.h"

namespace kerbon {

using model::Tmypoi;
using model::tpoly;
using namespace entity;

namespace {

constexpr int kEdgeSplineSamples = 100;

// The edge of an edge path being read. Curved edges are flattened when the next edge, the
// next path or the end of the boundary data comes.
struct CurvedEdge {
    enum class Kind { None = 0, Line = 1, Arc = 2, Ellipse = 3, Spline = 4 };  // code 72
    Kind kind = Kind::None;
    double cx = 0, cy = 0;   // centre (arc, ellipse)
    double ax = 0, ay = 0;   // major axis end relative to the centre (ellipse)
    double size = 0;         // radius (arc), minor to major axis ratio (ellipse)
    double start = 0, end = 0;  // degrees
    bool ccw = true;
    int degree = 3;          // spline

    void begin(Kind k, ParseContext& c)
    {
        *this = CurvedEdge{};
        kind = k;
        c.ctrlPoints.clear();
        c.fitPoints.clear();
        c.knots.clear();
        c.weights.clear();
    }
};

// Ellipse parameter of the angle a (radians) in the ellipse's own axes.
double ellipseParam(double a, double ratio)
{
    if (!(ratio > 0) || !std::isfinite(ratio))
        return a;
    return std::atan2(std::sin(a) / ratio, std::cos(a));
}

// Arc and ellipse edges: angles run counter-clockwise from start to end; a clockwise edge
// stores them as 360 - angle, so its points are those of the counter-clockwise arc with
// every angle negated, which also gives them in the edge's own direction.
void flattenConic(const CurvedEdge& e, tpoly& p)
{
    const bool ellipse = e.kind == CurvedEdge::Kind::Ellipse;
    double s = radians(e.start), t = radians(e.end);
    if (ellipse) {
        s = ellipseParam(s, e.size);
        t = ellipseParam(t, e.size);
    }
    if (t <= s)
        t += 2 * kPi;
    if (!std::isfinite(t - s))
        return;  // angles beyond the arithmetic: no curve to show
    // The major and minor axis vectors (a circle: the radius along x and along y).
    double ux = e.size, uy = 0, vx = 0, vy = e.size;
    if (ellipse)
        ux = e.ax, uy = e.ay, vx = -e.ay * e.size, vy = e.ax * e.size;
    Tmypoi* out = appendVertices(p, kOutlinePoints);
    for (int k = 0; k < kOutlinePoints; ++k) {
        double w = s + (t - s) * k / 100;
        if (!e.ccw)
            w = -w;
        const double co = std::cos(w), si = std::sin(w);
        out[k].x = e.cx + co * ux + si * vx;
        out[k].y = e.cy + co * uy + si * vy;
    }
}

// Spline edge: sampled like a SPLINE entity, with the file's knots and weights when they
// fit; a spline given only by fit points runs straight through them.
void flattenSpline(const CurvedEdge& e, ParseContext& c, tpoly& p)
{
    if (c.ctrlPoints.empty()) {
        for (const Tmypoi& f : c.fitPoints)
            addVertex(p, f.x, f.y, 0);
        return;
    }
    static thread_local std::vector<SplinePoint> P, samples;
    const int n = int(c.ctrlPoints.size()) - 1;
    const int degree = std::clamp(e.degree, -1, kMaxSplineOrder);
    const int t = usableSplineOrder(n + 1, degree + 1);
    if (t != degree + 1 || int64_t(c.knots.size()) != int64_t(n) + 1 + t)
        BuildSplineKnots(c.knots, n, t);
    P.resize(c.ctrlPoints.size());
    for (size_t i = 0; i < P.size(); ++i)
        P[i] = {c.ctrlPoints[i].x, c.ctrlPoints[i].y, 0};
    SampleSpline(n, t, P, kEdgeSplineSamples, c.knots, samples, c.weights);
    Tmypoi* out = appendVertices(p, samples.size());
    for (const SplinePoint& s : samples) {
        out->x = s.x;
        out->y = s.y;
        ++out;
    }
}

void finishEdge(CurvedEdge& e, ParseContext& c, tpoly& p)
{
    switch (e.kind) {
    case CurvedEdge::Kind::Arc:
    case CurvedEdge::Kind::Ellipse: flattenConic(e, p); break;
    case CurvedEdge::Kind::Spline: flattenSpline(e, c, p); break;
    default: break;
    }
    e.kind = CurvedEdge::Kind::None;
}

// One pair of an edge of an edge path.
void readEdgeCode(CurvedEdge& e, ParseContext& c, tpoly& p)
{
    using Kind = CurvedEdge::Kind;
    const int code = c.codeNum;
    switch (e.kind) {
    case Kind::Line:
        if (code == 10 || code == 11)
            startVertex(c, p);
        else if (code == 20 || code == 21)
            setVertexY(c, p);
        break;
    case Kind::Arc:
    case Kind::Ellipse:
        switch (code) {
        case 10: readReal(c, e.cx); break;
        case 20: readReal(c, e.cy); break;
        case 11: readReal(c, e.ax); break;
        case 21: readReal(c, e.ay); break;
        case 40: readReal(c, e.size); break;
        case 50: readReal(c, e.start); break;
        case 51: readReal(c, e.end); break;
        case 73: e.ccw = c.value != "0"; break;
        default: break;
        }
        break;
    case Kind::Spline:
        switch (code) {
        case 94: readInt(c, e.degree); break;
        case 40:
            if (auto v = c.real())
                c.knots.push_back(*v);
            break;
        case 42:
            if (auto v = c.real())
                c.weights.push_back(*v);
            break;
        case 10: readReal(c, c.ctrlPoints.emplace_back().x); break;
        case 20:
            if (!c.ctrlPoints.empty())
                readReal(c, c.ctrlPoints.back().y);
            break;
        case 11: readReal(c, c.fitPoints.emplace_back().x); break;
        case 21:
            if (!c.fitPoints.empty())
                readReal(c, c.fitPoints.back().y);
            break;
        default: break;
        }
        break;
    default: break;
    }
}

}  // namespace

void readHatch(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    p.isclosed = true;
    // From code 91 on the boundary data, where 330 names the boundary objects, not the
    // hatch's owner; it ends at the pattern data (75) or the seed points (98).
    enum class Part { Head, Boundary, Rest } part = Part::Head;
    bool polylinePath = false;
    // A hatch with holes or islands has several boundary paths. Each is an outline of its
    // own: closed by a copy of its first vertex, and every path after the first starts a
    // new figure (`moveonly`), so no line joins one path to the next and the fill leaves
    // the holes out. A hatch of one path is closed at the end like a closed polyline.
    int paths = 0;
    size_t pathStart = 0;  // the current path's first vertex
    auto closePath = [&] {
        std::vector<Tmypoi>& ps = p.ps.edit();
        if (ps.size() <= pathStart)
            return;
        ps[pathStart].moveonly = pathStart > 0;  // a new figure after the paths before
        Tmypoi first = ps[pathStart];
        first.moveonly = false;
        first.bulge = 0;
        if (ps.size() > pathStart + 1)
            ps.push_back(first);
    };
    CurvedEdge edge;
    Extrusion extrusion;  // the boundary lies in its plane, at the elevation point's z
    double elevation = 0;
    while (nextEntityPair(c, p, part == Part::Boundary ? EntityKind::Inner : EntityKind::Hatch)) {
        const int code = c.codeNum;
        if (part == Part::Head) {
            switch (code) {
            case 10: startVertex(c, p); break;  // the elevation point
            case 20: setVertexY(c, p); break;
            case 30:
                setVertexZ(c, p);
                readReal(c, elevation);
                break;
            case 91:
                p.ps.edit().clear();  // drops the elevation point
                part = Part::Boundary;
                break;
            default: extrusion.read(c, p); break;
            }
            continue;
        }
        if (part == Part::Rest)
            continue;
        if (code == 92 || code == 75 || code == 98) {
            finishEdge(edge, c, p);
            if (code == 92) {
                const auto flags = c.integer();
                polylinePath = flags && (*flags & 2) != 0;
                if (++paths > 1)
                    closePath();
                pathStart = p.ps.size();
            } else {
                part = Part::Rest;
            }
        } else if (polylinePath) {
            if (code == 10)
                startVertex(c, p);
            else if (code == 20)
                setVertexY(c, p);
            else if (code == 42 && !p.ps.empty())
                readReal(c, p.ps.edit().back().bulge);
        } else if (code == 72) {
            finishEdge(edge, c, p);
            const int type = c.integer().value_or(0);
            edge.begin(type >= 1 && type <= 4 ? CurvedEdge::Kind(type) : CurvedEdge::Kind::None, c);
        } else {
            readEdgeCode(edge, c, p);
        }
    }
    finishEdge(edge, c, p);
    if (paths > 1) {
        closePath();
        p.isclosed = false;  // every path is closed already: no line back to the first
        polylineEnd(p);
        p.isclosed = true;
    } else {
        polylineEnd(p);
    }
    toWorld(p, extrusion.axes(), elevation);
    p.issolid = true;
    p.patternfill = true;
    endEntity(c, p);
}

}  // namespace kerbon
