// Geometric entities: the LINE family (LINE, XLINE, RAY, LWPOLYLINE, LEADER), POLYLINE with
// VERTEX and SEQEND, SOLID, POINT, SPLINE, ARC, CIRCLE and ELLIPSE, each flattened into the
// vertices of one display record.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "dxf/bulge.h"
#include "dxf/entities.h"
#include "dxf/entity_shapes.h"
#include "dxf/spline.h"

namespace kerbon {

using model::Tmypoi;
using model::tpoly;
using namespace entity;

namespace entity {

const AngleTable& circleAngles()
{
    static const AngleTable table = [] {
        AngleTable t;
        const double start = 0, end = 360;
        for (int k = 0; k < kOutlinePoints; ++k) {
            const double w = radians(start + (end - start) * k / 100);
            t.cos[size_t(k)] = std::cos(w);
            t.sin[size_t(k)] = std::sin(w);
        }
        return t;
    }();
    return table;
}

namespace {

// A small direct-mapped store of angle sets keyed by the exact bits of their two end
// angles; `fill` computes a set on a miss.
template <class Fill>
const AngleTable& cachedAngles(double from, double to, Fill fill)
{
    struct Entry {
        uint64_t from = 0, to = 0;
        bool valid = false;
        AngleTable t;
    };
    static thread_local std::vector<Entry> cache(64);
    uint64_t a, b;
    std::memcpy(&a, &from, sizeof a);
    std::memcpy(&b, &to, sizeof b);
    Entry& e = cache[size_t(((a * 0x9E3779B97F4A7C15u) ^ (b * 0xC2B2AE3D27D4EB4Fu)) >> 58)];
    if (!e.valid || e.from != a || e.to != b) {
        e.from = a;
        e.to = b;
        e.valid = true;
        fill(e.t);
    }
    return e.t;
}

}  // namespace

const AngleTable& arcAngles(double start, double end)
{
    return cachedAngles(start, end, [=](AngleTable& t) {
        for (int k = 0; k < kOutlinePoints; ++k) {
            const double w = radians(start + (end - start) * k / 100);
            t.cos[size_t(k)] = std::cos(w);
            t.sin[size_t(k)] = std::sin(w);
        }
    });
}

const AngleTable& ellipseAngles(bool mirrored)
{
    static const auto make = [](bool mirror) {
        AngleTable t;
        const double start = 0, end = 2 * kPi;
        for (int k = 0; k < kOutlinePoints; ++k) {
            const double p = start + (end - start) * k / 100;
            const double w = mirror ? -p : p;
            t.cos[size_t(k)] = std::cos(w);
            t.sin[size_t(k)] = std::sin(w);
        }
        return t;
    };
    static const AngleTable plain = make(false), mirror = make(true);
    return mirrored ? mirror : plain;
}

}  // namespace entity

namespace {

// The width state of the line and polyline handlers: codes 40 and 41 set it, and every
// vertex started afterwards carries it.
struct Width {
    bool flag = false;
    double value = 0;
    void read(const ParseContext& c)
    {
        if (readReal(c, value))
            flag = true;
    }
    void apply(Tmypoi& v) const
    {
        v.setwid = flag;
        v.wid = value;
    }
};

void readBulge(const ParseContext& c, tpoly& p)
{
    if (!p.ps.empty())
        readReal(c, p.ps.edit().back().bulge);
}

// Closed per code 70 of a polyline: bit 1 (closed) or bit 32.
bool closedFlag(int flags) { return (flags & 1) != 0 || (flags & 32) != 0; }

// cos and sin of the bulge arc angles t_k = a + (k - 1)(e - a) / 49, k = 1 ... 50, in
// entries 0 ... 49. Kept like the arc angles: outlines repeat the same rounded corners.
const AngleTable& bulgeAngles(double a, double e)
{
    return entity::cachedAngles(a, e, [=](AngleTable& t) {
        for (int k = 1; k <= kBulgePoints; ++k) {
            const double w = a + (k - 1) * (e - a) / (kBulgePoints - 1);
            t.cos[size_t(k) - 1] = std::cos(w);
            t.sin[size_t(k) - 1] = std::sin(w);
        }
    });
}

}  // namespace

// The closing vertex of a closed outline, then every bulge segment replaced by 50 arc
// points. Segments are taken from the last to the first, which is also the order their
// centres enter `snap`; the vertices are moved once, from the end, to their new places.
void polylineEnd(tpoly& p)
{
    if (p.isclosed && !p.ps.empty()) {
        Tmypoi first = p.ps.edit().front();
        first.donotdraw = false;
        p.ps.edit().push_back(first);
    }
    const int n = int(p.ps.edit().size());
    static thread_local std::vector<std::pair<int, BulgeArc>> arcs;  // by descending segment
    arcs.clear();
    for (int i = n - 2; i >= 0; --i) {
        const Tmypoi& P = p.ps.edit()[size_t(i)];
        const Tmypoi& Q = p.ps.edit()[size_t(i) + 1];
        BulgeArc arc;
        if (P.bulge != 0 && bulgeArc(P.x, P.y, Q.x, Q.y, P.bulge, arc)) {
            arcs.emplace_back(i, arc);
            addSnap(p, arc.cx, arc.cy, 0);
        }
    }
    if (arcs.empty())
        return;
    p.ps.edit().resize(size_t(n) + arcs.size() * kBulgePoints);
    size_t w = p.ps.edit().size();  // next free place from the end
    size_t next = 0;         // next arc, by descending segment
    for (int i = n - 1; i >= 0; --i) {
        const Tmypoi P = p.ps.edit()[size_t(i)];
        if (next < arcs.size() && arcs[next].first == i) {
            const BulgeArc& arc = arcs[next++].second;
            const AngleTable& angles = bulgeAngles(arc.a, arc.e);
            for (int k = kBulgePoints; k >= 1; --k) {
                Tmypoi& v = p.ps.edit()[--w];
                v = Tmypoi{};
                v.x = arc.cx + arc.r * angles.cos[size_t(k) - 1];
                v.y = arc.cy + arc.r * angles.sin[size_t(k) - 1];
                v.z = P.z;
                v.setwid = P.setwid;
                v.wid = P.wid;
            }
        }
        p.ps.edit()[--w] = P;
    }
    p.anzp = int(p.ps.edit().size());
}

void readLineEntity(ParseContext& c, std::string_view type)
{
    tpoly& p = beginEntity(c);
    p.xline = type == "XLINE";
    p.ray = type == "RAY";
    const bool leader = type == "LEADER";
    p.arrowhead = leader;
    Width width;
    // An LWPOLYLINE lies in the plane of its extrusion at its elevation (38); the points of
    // the other types are the drawing's.
    const bool planar = type == "LWPOLYLINE";
    Extrusion extrusion;
    double elevation = 0;
    while (nextEntityPair(c, p, EntityKind::Line)) {
        if (planar && extrusion.read(c, p))
            continue;
        switch (c.codeNum) {
        case 10:
        case 11: width.apply(startVertex(c, p)); break;
        case 20:
        case 21: setVertexY(c, p); break;
        case 30:
        case 31: setVertexZ(c, p); break;
        case 42: readBulge(c, p); break;
        case 40:
        case 41:
            // A LEADER's 40 and 41 are the size of its annotation, no widths.
            if (!leader)
                width.read(c);
            break;
        case 43:
            if (readReal(c, p.thewid))
                p.setwidonce = true;
            break;
        case 71: p.arrowhead = c.value == "1"; break;
        case 70:
            if (auto f = c.integer())
                p.isclosed = closedFlag(*f);
            break;
        case 38: readReal(c, elevation); break;
        default: break;
        }
    }
    polylineEnd(p);
    if (planar)
        toWorld(p, extrusion.axes(), elevation);
    if ((p.xline || p.ray) && p.ps.edit().size() >= 2) {
        // Code 11 of XLINE and RAY is a direction: the line is drawn 10000 units long.
        Tmypoi& B = p.ps.edit()[0];
        Tmypoi& E = p.ps.edit()[1];
        const double bx = B.x, by = B.y, bz = B.z, dx = E.x, dy = E.y, dz = E.z;
        if (p.xline) {
            B.x = bx - 10000 * dx;
            B.y = by - 10000 * dy;
            B.z = bz - 10000 * dz;
        }
        E.x = bx + 10000 * dx;
        E.y = by + 10000 * dy;
        E.z = bz + 10000 * dz;
    }
    endEntity(c, p);
}

void readPolyline(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    Width width;
    bool inVertex = false, onHeader = true;
    // A 2D polyline lies in the plane of its extrusion at its elevation (the header's z);
    // 3D polylines (flag 8) and meshes (16, 64) are in the drawing's coordinates.
    Extrusion extrusion;
    double elevation = 0;
    bool planar = true;
    for (;;) {
        // The layer, colour, handle and owner are the POLYLINE's own: those of its VERTEX
        // and SEQEND records (whose owner is the polyline itself) are not taken.
        while (nextEntityPair(c, p, onHeader ? EntityKind::Polyline : EntityKind::Inner)) {
            switch (c.codeNum) {
            case 40:
            case 41: width.read(c); break;
            case 43:
                if (readReal(c, p.thewid))
                    p.setwidonce = true;
                break;
            case 70:
                // Only the POLYLINE's own flags say whether it is closed; vertex flags
                // (32 marks every vertex of a 3D polyline) mean something else.
                if (onHeader)
                    if (auto f = c.integer()) {
                        p.isclosed = closedFlag(*f);
                        planar = (*f & (8 | 16 | 64)) == 0;
                    }
                break;
            case 210:
            case 220:
            case 230:
                if (onHeader)
                    extrusion.read(c, p);
                break;
            case 10:
                if (inVertex)
                    width.apply(startVertex(c, p));
                break;
            case 20:
                if (inVertex)
                    setVertexY(c, p);
                break;
            case 30:
                if (inVertex)
                    setVertexZ(c, p);
                else if (onHeader)
                    readReal(c, elevation);
                break;
            case 42:
                if (inVertex)
                    readBulge(c, p);
                break;
            default: break;
            }
        }
        if (!c.pending || (c.value != "VERTEX" && c.value != "SEQEND"))
            break;
        takePendingPair(c, p);
        inVertex = c.value == "VERTEX";
        onHeader = false;
    }
    polylineEnd(p);
    if (planar)
        toWorld(p, extrusion.axes(), elevation);
    endEntity(c, p);
}

void readSolid(ParseContext& c, std::string_view type)
{
    tpoly& p = beginEntity(c);
    p.issolid = type == "SOLID";
    p.ispoint = type == "POINT";
    p.isclosed = p.issolid;
    const EntityKind kind = p.issolid ? EntityKind::Solid : EntityKind::Point;
    Extrusion extrusion;  // a SOLID's corners are in the plane of its extrusion
    while (nextEntityPair(c, p, kind)) {
        if (p.issolid && extrusion.read(c, p))
            continue;
        switch (c.codeNum) {
        case 10: case 11: case 12: case 13: startVertex(c, p); break;
        case 20: case 21: case 22: case 23: setVertexY(c, p); break;
        case 30: case 31: case 32: case 33: setVertexZ(c, p); break;
        default: break;
        }
    }
    const size_t n = p.ps.edit().size();
    if (n >= 4) {
        // A solid's corners 10, 11, 12, 13 outline as 10, 11, 13, 12.
        Tmypoi& a = p.ps.edit()[n - 2];
        Tmypoi& b = p.ps.edit()[n - 1];
        std::swap(a.x, b.x);
        std::swap(a.y, b.y);
        std::swap(a.z, b.z);
    }
    if (p.issolid)
        toWorld(p, extrusion.axes());
    endEntity(c, p);
}

namespace {

// Centre codes 10/20/30 of ARC, CIRCLE and ELLIPSE: the centre fields, their lines, and
// the centre as a snap point.
struct Centre {
    int l10 = 0, l20 = 0, l30 = 0;
    bool read(const ParseContext& c, tpoly& p)
    {
        switch (c.codeNum) {
        case 10:
            readReal(c, p.cx);
            l10 = c.valueLine();
            addSnap(p, p.cx, 0, 0);
            return true;
        case 20:
            readReal(c, p.cy);
            l20 = c.valueLine();
            if (!p.snap.empty())
                p.snap.back().y = p.cy;
            return true;
        case 30:
            readReal(c, p.cz);
            l30 = c.valueLine();
            if (!p.snap.empty())
                p.snap.back().z = p.cz;
            return true;
        default: return false;
        }
    }
    void addGrip(tpoly& p) const
    {
        Tmypoi& g = addVertex(p, p.cx, p.cy, p.cz);
        g.linex = l10;
        g.liney = l20;
        g.linez = l30;
        g.donotdraw = true;
    }
};

}  // namespace

void readArc(ParseContext& c, std::string_view type)
{
    tpoly& p = beginEntity(c);
    const bool isArc = type == "ARC";
    Centre centre;
    Extrusion extrusion;
    double start = 0, end = 0;
    while (nextEntityPair(c, p, isArc ? EntityKind::Arc : EntityKind::Circle)) {
        if (centre.read(c, p) || extrusion.read(c, p))
            continue;
        switch (c.codeNum) {
        case 40:
            readReal(c, p.radius);
            p.radiuslinenr = c.valueLine();
            break;
        case 50:
            if (isArc) {
                readReal(c, start);
                p.winkel1linenr = c.valueLine();
            }
            break;
        case 51:
            if (isArc) {
                readReal(c, end);
                p.winkel2linenr = c.valueLine();
            }
            break;
        default: break;
        }
    }
    p.ps.edit().reserve(size_t(kOutlinePoints) + 3);
    centre.addGrip(p);
    if (isArc) {
        for (const auto& [deg, line] : {std::pair{start, p.winkel1linenr}, std::pair{end, p.winkel2linenr}}) {
            const double w = radians(deg);
            Tmypoi& g = addVertex(p, p.cx + p.radius * std::cos(w), p.cy + p.radius * std::sin(w), p.cz);
            g.linex = line;
            g.mode = 3;
            g.donotdraw = true;
        }
    }
    if (end <= start)
        end += 360;
    const AngleTable& table = (start == 0 && end == 360) ? circleAngles() : arcAngles(start, end);
    const double cx = p.cx, cy = p.cy, cz = p.cz, radius = p.radius;
    Tmypoi* out = appendVertices(p, kOutlinePoints);
    for (int k = 0; k < kOutlinePoints; ++k) {
        const double co = table.cos[size_t(k)], si = table.sin[size_t(k)];
        Tmypoi& v = out[k];
        v.x = cx + radius * co;
        v.y = cy + radius * si;
        v.z = cz;
        if (isArc ? k == 50 : k % 25 == 0) {
            v.linex = p.radiuslinenr;  // radius grip, drawn as part of the outline
            v.mode = 1;
        }
    }
    // The outline, grips and centre where the drawing shows them: seen from below (a
    // mirrored arc) the arc runs the other way round, its angles mirrored.
    const ExtrusionAxes axes = extrusion.axes();
    toWorld(p, axes);
    axes.toWorld(p.cx, p.cy, p.cz);
    endEntity(c, p);
}

void readEllipse(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    p.isellipse = true;
    p.needext210 = p.needext220 = p.needext230 = true;
    Centre centre;
    double ax = 0, ay = 0, az = 0;
    int l11 = 0, l21 = 0, l31 = 0;
    double start = 0, end = 2 * kPi;
    while (nextEntityPair(c, p, EntityKind::Ellipse)) {
        if (centre.read(c, p))
            continue;
        switch (c.codeNum) {
        case 11: readReal(c, ax), l11 = c.valueLine(); break;
        case 21: readReal(c, ay), l21 = c.valueLine(); break;
        case 31: readReal(c, az), l31 = c.valueLine(); break;
        case 40:
            readReal(c, p.radius);
            p.radiuslinenr = c.valueLine();
            break;
        case 41:
            readReal(c, start);
            p.winkel1linenr = c.valueLine();
            break;
        case 42:
            readReal(c, end);
            p.winkel2linenr = c.valueLine();
            break;
        default: readExtrusion(c, p); break;
        }
    }
    if (!std::isfinite((end - start) * kOutlinePoints)) {
        // Parameters near the largest numbers would overflow the outline's steps (giving
        // no points at all): such an ellipse is drawn with the angles they stand for.
        start = std::fmod(start, 2 * kPi);
        end = std::fmod(end, 2 * kPi);
    }
    if (end <= start)
        end += 2 * kPi;
    p.radius1 = std::sqrt(ax * ax + ay * ay + az * az);
    p.radius2 = p.radius1 * p.radius;
    p.radius3 = std::atan2(ay, ax);
    const bool mirrored = p.ext230 < 0;  // seen from below: the outline runs the other way
    const double c3 = std::cos(p.radius3), s3 = std::sin(p.radius3);
    const double cx = p.cx, cy = p.cy, r1 = p.radius1, r2 = p.radius2;
    auto at = [=](double co, double si) {
        const double u = r1 * co, v = r2 * si;
        return std::pair{cx + u * c3 - v * s3, cy + u * s3 + v * c3};
    };
    auto atParam = [&](double t) {
        const double w = mirrored ? -t : t;
        return at(std::cos(w), std::sin(w));
    };

    p.ps.edit().reserve(size_t(kOutlinePoints) + 3);
    centre.addGrip(p);
    Tmypoi& axis = addVertex(p, p.cx + ax, p.cy + ay, p.cz + az);
    axis.linex = l11;
    axis.liney = l21;
    axis.linez = l31;
    axis.donotdraw = true;
    const auto [rx, ry] = atParam(kPi / 2);
    Tmypoi& ratio = addVertex(p, rx, ry, p.cz);
    ratio.linex = p.radiuslinenr;
    ratio.mode = 2;
    ratio.donotdraw = true;
    const AngleTable* table = (start == 0 && end == 2 * kPi) ? &ellipseAngles(mirrored) : nullptr;
    const double cz = p.cz;
    Tmypoi* out = appendVertices(p, kOutlinePoints);
    for (int k = 0; k < kOutlinePoints; ++k) {
        const auto [x, y] = table ? at(table->cos[size_t(k)], table->sin[size_t(k)])
                                  : atParam(start + (end - start) * k / 100);
        out[k].x = x;
        out[k].y = y;
        out[k].z = cz;
    }
    endEntity(c, p);
}

namespace {

constexpr int kSplineSamples = 100;
// Work allowed for fitting a spline given only by fit points, counted in distance
// measurements (each try measures about 100 N^2 of them for N fit points). Up to 17 fit
// points get the full 1000 tries, longer ones fewer, beyond about 550 none: the correction
// passes alone then shape the curve. The tries are random, so fewer of them is just a less
// lucky search; without the limit a file with hundreds of fit points would not open.
// All fitted splines of a parse share four times this (ParseContext::fitWorkLeft), so a
// file of many of them opens quickly too: the later ones get fewer tries, or none. A try
// counts as at least 2E4 measurements, what sampling alone costs for few fit points.
constexpr double kFitBudget = 3e7;
constexpr double kMinTryWork = 2e4;
// Beyond this many fit points even the correction passes (10 samplings of 100 points per
// fit point) cost too much; the fit points themselves then serve as control points.
constexpr size_t kMaxFittedPoints = 5000;

void appendSamples(tpoly& p, const std::vector<SplinePoint>& samples)
{
    Tmypoi* out = appendVertices(p, samples.size());
    for (const SplinePoint& s : samples) {
        out->x = s.x;
        out->y = s.y;
        out->z = s.z;
        ++out;
    }
}

}  // namespace

void readSpline(ParseContext& c)
{
    tpoly& p = beginEntity(c);
    std::vector<Tmypoi>& ctrl = c.ctrlPoints;
    std::vector<Tmypoi>& fit = c.fitPoints;
    std::vector<double>& knots = c.knots;
    std::vector<double>& weights = c.weights;
    ctrl.clear();
    fit.clear();
    knots.clear();
    weights.clear();
    int degree = 3;
    while (nextEntityPair(c, p, EntityKind::Spline)) {
        switch (c.codeNum) {
        case 71: readInt(c, degree); break;
        case 40:
            if (auto v = c.real())
                knots.push_back(*v);
            break;
        case 41:  // weight of a control point, in their order (rational splines)
            if (auto v = c.real())
                weights.push_back(*v);
            break;
        case 10: {
            Tmypoi& v = ctrl.emplace_back();
            readReal(c, v.x);
            v.linex = c.valueLine();
            v.donotdraw = true;
            break;
        }
        case 20:
            if (!ctrl.empty()) {
                readReal(c, ctrl.back().y);
                ctrl.back().liney = c.valueLine();
            }
            break;
        case 30:
            if (!ctrl.empty()) {
                readReal(c, ctrl.back().z);
                ctrl.back().linez = c.valueLine();
            }
            break;
        case 11: readReal(c, fit.emplace_back().x); break;
        case 21:
            if (!fit.empty())
                readReal(c, fit.back().y);
            break;
        case 31:
            if (!fit.empty())
                readReal(c, fit.back().z);
            break;
        case 70:
            if (auto f = c.integer())
                p.isclosed = (*f & 1) != 0;
            break;
        default: break;
        }
    }

    static thread_local std::vector<SplinePoint> P, samples;
    if (!ctrl.empty()) {
        const int n = int(ctrl.size()) - 1;
        degree = std::clamp(degree, -1, kMaxSplineOrder);
        const int t = usableSplineOrder(n + 1, degree + 1);
        // The file's knots when there are as many as points + degree + 1; otherwise the
        // clamped uniform ones (of the order the points allow). The weights when there is
        // one per point.
        if (t != degree + 1 || int64_t(knots.size()) != int64_t(n) + 1 + t)
            BuildSplineKnots(knots, n, t);
        P.resize(ctrl.size());
        for (size_t i = 0; i < ctrl.size(); ++i)
            P[i] = {ctrl[i].x, ctrl[i].y, ctrl[i].z};
        SampleSpline(n, t, P, kSplineSamples, knots, samples, weights);
        p.ps.edit().reserve(samples.size() + ctrl.size());
        appendSamples(p, samples);
        for (const Tmypoi& g : ctrl)
            p.ps.edit().push_back(g);
    } else if (!fit.empty()) {
        const double N = double(fit.size());
        const double tryWork = std::max(100 * N * N, kMinTryWork);
        const int iterations = int(std::clamp(
            std::floor(std::min(kFitBudget, c.fitWorkLeft) / tryWork), 0.0, 1000.0));
        c.fitWorkLeft -= iterations * tryWork;
        P.resize(fit.size());
        for (size_t i = 0; i < fit.size(); ++i)
            P[i] = {fit[i].x, fit[i].y, fit[i].z};
        const std::vector<SplinePoint> cp =
            fit.size() > kMaxFittedPoints ? P : FitSplineControlPoints(P, {}, iterations, programRandom());
        const int n = int(cp.size()) - 1;
        const int t = usableSplineOrder(n + 1, 4);
        BuildSplineKnots(knots, n, t);
        SampleSpline(n, t, cp, kSplineSamples, knots, samples);
        appendSamples(p, samples);
    }
    endEntity(c, p);
}

}  // namespace kerbon
