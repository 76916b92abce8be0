// The entity writers: the lines of each kind of new object, for drawings below version
// 1010 (R12) and from 1010 on.
#include "edit/writers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "edit/constructions.h"

namespace kerbon {

namespace {

constexpr double pi = std::numbers::pi;

Written refused(WriteStatus s)
{
    Written w;
    w.status = s;
    return w;
}

double dist(P3 a, P3 b)
{
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) +
                     (b.z - a.z) * (b.z - a.z));
}

// The CIRCLE or the start of the ARC: frame, centre (z "0") and radius.
void circleFrame(EntityText& t, const char* name, double cx, double cy, double r)
{
    t.begin(name, "AcDbCircle");
    t.real("  10", cx);
    t.real("  20", cy);
    t.add("  30", "0");
    t.real("  40", r);
}

// A byte that starts a UTF-8 character (or stands alone).
bool startsCharacter(char ch)
{
    return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
}

}  // namespace

Written writeLine(const WriteContext& ctx, int arcmode, P3 p1, P3 p2)
{
    if (ctx.r12() && arcmode == 1)
        return refused(WriteStatus::NoXline);
    if (ctx.r12() && arcmode == 2)
        return refused(WriteStatus::NoRay);
    static const char* const names[] = {"LINE", "XLINE", "RAY"};
    static const char* const subclasses[] = {"AcDbLine", "AcDbXline", "AcDbRay"};
    const int k = arcmode == 1 || arcmode == 2 ? arcmode : 0;
    if (k != 0 && p1.x == p2.x && p1.y == p2.y && p1.z == p2.z)
        return refused(WriteStatus::ZeroLength);  // no direction for the infinite line
    EntityText t(ctx);
    t.begin(names[k], subclasses[k]);
    t.point("  10", "  20", "  30", p1.x, p1.y, p1.z);
    if (k == 0)
        t.point("  11", "  21", "  31", p2.x, p2.y, p2.z);
    else
        t.point("  11", "  21", "  31", p2.x - p1.x, p2.y - p1.y, p2.z - p1.z);
    return t.finish();
}

Written writeSolid(const WriteContext& ctx, P3 c1, P3 c2, P3 c3, P3 c4)
{
    EntityText t(ctx);
    t.begin("SOLID", "AcDbTrace");
    t.point("  10", "  20", "  30", c1.x, c1.y, c1.z);
    t.point("  11", "  21", "  31", c2.x, c2.y, c2.z);
    t.point("  12", "  22", "  32", c4.x, c4.y, c4.z);
    t.point("  13", "  23", "  33", c3.x, c3.y, c3.z);
    return t.finish();
}

Written writePoint(const WriteContext& ctx, P3 p)
{
    EntityText t(ctx);
    t.begin("POINT", "AcDbPoint");
    t.point("  10", "  20", "  30", p.x, p.y, p.z);
    return t.finish();
}

std::vector<std::pair<const char*, std::string>> mtextChunks(const std::vector<std::string>& lines)
{
    std::string rest;
    for (const std::string& l : lines)
        rest += l + "\\P";
    std::vector<std::pair<const char*, std::string>> out;
    size_t from = 0;
    for (;;) {
        // The end of the first 250 characters after `from`, if there are more.
        size_t i = from;
        int chars = 0;
        while (i < rest.size() && chars < 250) {
            ++i;
            while (i < rest.size() && !startsCharacter(rest[i]))
                ++i;
            ++chars;
        }
        if (i >= rest.size())
            break;
        out.emplace_back("  3", rest.substr(from, i - from));
        from = i;
    }
    out.emplace_back("  1", rest.substr(from));
    return out;
}

Written writeText(const WriteContext& ctx, P3 p, double fontsize, const TextValues& v)
{
    if (!(fontsize > 0))
        return refused(WriteStatus::BadSize);
    const std::vector<std::string> lines = memoLines(v.text);
    EntityText t(ctx);
    t.begin(ctx.r12() ? "TEXT" : "MTEXT", "AcDbMText");
    t.point("  10", "  20", "  30", p.x, p.y, p.z);
    t.real("  40", fontsize);
    t.real("  50", v.winkel);
    if (ctx.r12()) {
        t.add("  1", lines.empty() ? std::string() : lines.front());
    } else {
        for (auto& [code, chunk] : mtextChunks(lines))
            t.add(code, std::move(chunk));
    }
    Written w = t.finish();
    if (w.status == WriteStatus::Ok && ctx.r12() && lines.size() > 1)
        w.status = WriteStatus::FirstLineOnly;
    return w;
}

Written writePolyline(const WriteContext& ctx, const std::vector<model::Tmypoi>& pts,
                      bool closed)
{
    if (pts.size() < 2)
        return refused(WriteStatus::TooFewPoints);
    EntityText t(ctx);
    if (!ctx.r12()) {
        t.begin("LWPOLYLINE", "AcDbPolyline");
        t.add(" 90", std::to_string(pts.size()));
        if (closed)
            t.add(" 70", "1");
        if (pts.front().z != 0)
            t.real(" 38", pts.front().z);  // one elevation for the whole outline
        for (const model::Tmypoi& v : pts) {
            t.real("  10", v.x);
            t.real("  20", v.y);
            if (v.bulge != 0)
                t.real("  42", -v.bulge);
        }
        return t.finish();
    }
    t.begin("POLYLINE", "");
    t.add(" 66", "1");
    t.point("  10", "  20", "  30", 0, 0, pts.front().z);
    if (closed)
        t.add(" 70", "1");
    for (const model::Tmypoi& v : pts) {
        t.beginMember("VERTEX");
        t.point("  10", "  20", "  30", v.x, v.y, v.z);
        if (v.bulge != 0)
            t.real("  42", -v.bulge);
    }
    t.beginMember("SEQEND");
    return t.finish();
}

Written writeCircle(const WriteContext& ctx, int arcmode, P3 c, P3 p)
{
    const double r = dist(c, p);
    EntityText t(ctx);
    t.begin("CIRCLE", "AcDbCircle");
    t.point("  10", "  20", "  30", c.x, c.y, c.z);
    t.real("  40", arcmode == 2 ? r / 2 : r);
    return t.finish();
}

Written writeCircle3(const WriteContext& ctx, P3 p1, P3 p2, P3 p3)
{
    ArcDurch3 a;
    if (!ArcDurch3Punkte(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, a))
        return refused(WriteStatus::Collinear);
    EntityText t(ctx);
    circleFrame(t, "CIRCLE", a.arcmx, a.arcmy, a.arcradius);
    return t.finish();
}

Written writeArc(const WriteContext& ctx, int arcmode, P3 p1, P3 p2, P3 p3)
{
    ArcDurch3 a;
    if (arcmode == 1) {
        a.arcmx = p1.x;
        a.arcmy = p1.y;
        a.arcwinkel1 = std::atan2(p2.y - p1.y, p2.x - p1.x);
        a.arcwinkel2 = std::atan2(p3.y - p1.y, p3.x - p1.x);
        a.arcradius = std::hypot(p1.x - p2.x, p1.y - p2.y);
    } else if (arcmode == 0 || arcmode == 3) {
        const P3 mid = arcmode == 0 ? p2 : p3, end = arcmode == 0 ? p3 : p2;
        if (!ArcDurch3Punkte(p1.x, p1.y, mid.x, mid.y, end.x, end.y, a))
            return refused(WriteStatus::Collinear);
    } else {
        return refused(WriteStatus::Collinear);  // no arc tool works this way
    }
    double from = a.arcwinkel1 * 180 / pi, to = a.arcwinkel2 * 180 / pi;
    if (!std::isfinite(from) || !std::isfinite(to))
        return refused(WriteStatus::NotFinite);
    while (from < 0 || to < 0) {
        from += 360;
        to += 360;
    }
    EntityText t(ctx);
    circleFrame(t, "ARC", a.arcmx, a.arcmy, a.arcradius);
    if (!ctx.r12())
        t.add("100", "AcDbArc");
    t.real("  50", from);
    t.real("  51", to);
    return t.finish();
}

Written writeEllipse(const WriteContext& ctx, int arcmode, P3 p1, P3 p2, P3 p3, double w1,
                     double w2)
{
    if (ctx.r12())
        return refused(WriteStatus::NoEllipse);
    const bool centreTool = arcmode == 2 || arcmode == 3;
    const bool arc = arcmode == 1 || arcmode == 3;
    const P3 c = centreTool ? p1 : P3{(p1.x + p2.x) / 2, (p1.y + p2.y) / 2, (p1.z + p2.z) / 2};
    P3 major{p2.x - c.x, p2.y - c.y, p2.z - c.z};
    const double a = dist(c, p2), b = dist(c, p3);
    if (!(a > 0) || !(b > 0))
        return refused(WriteStatus::ZeroAxis);
    double ratio = b / a;
    if (ratio > 1) {
        // The minor axis, a quarter turn counter-clockwise from the major one, becomes the
        // major axis; a point at parameter t is then at parameter t - pi/2.
        major = P3{-major.y * ratio, major.x * ratio, major.z * ratio};
        ratio = 1 / ratio;
        auto turn = [](double w) {
            w -= pi / 2;
            return w < 0 ? w + 2 * pi : w;
        };
        w1 = turn(w1);
        w2 = turn(w2);
    }
    EntityText t(ctx);
    t.begin("ELLIPSE", "AcDbEllipse");
    t.point("  10", "  20", "  30", c.x, c.y, c.z);
    t.point("  11", "  21", "  31", major.x, major.y, major.z);
    t.real("  40", ratio);
    if (arc) {
        t.real("  41", w1);
        t.real("  42", w2);
    }
    return t.finish();
}

std::vector<model::Tmypoi> polygonVertices(P3 c, P3 p, int n)
{
    n = std::clamp(n, 3, 1000);
    const double dx = p.x - c.x, dy = p.y - c.y;
    const double r = std::sqrt(dx * dx + dy * dy);
    const double t = -std::atan2(dy, dx);
    std::vector<model::Tmypoi> out(size_t(n) + 1);
    for (int k = 0; k <= n; ++k) {
        const double theta = t + 2 * pi * k / n;
        model::Tmypoi& v = out[size_t(k)];
        v.x = c.x + r * std::sin(theta);
        v.y = c.y + r * std::cos(theta);
        v.z = c.z;
    }
    return out;
}

std::optional<std::array<P3, 4>> arrowCorners(double linesx, double linesy, double xx,
                                              double yy)
{
    double a = xx - linesx, b = yy - linesy;
    const double c = std::sqrt(a * a + b * b);
    if (!(c > 0))
        return std::nullopt;
    a = 0.17 * a / c;
    b = 0.17 * b / c;
    const P3 side1{linesx + a - 0.2 * b, linesy + b + 0.2 * a, 0};
    const P3 side2{linesx + a + 0.2 * b, linesy + b - 0.2 * a, 0};
    return std::array<P3, 4>{P3{linesx, linesy, 0}, side1, side2, side2};
}

SplineTargets splineTargets(const std::vector<model::Tmypoi>& pts, int splinemode)
{
    SplineTargets t;
    auto sp = [](const model::Tmypoi& v) { return SplinePoint{v.x, v.y, v.z}; };
    // The point `from` + half the x-y distance of from and `other`, in the direction
    // from `away` through `from`.
    auto tangent = [](const model::Tmypoi& from, const model::Tmypoi& other,
                      const model::Tmypoi& away) {
        const double f = std::hypot(from.x - other.x, from.y - other.y) / 2;
        const double w = std::atan2(from.y - away.y, from.x - away.x);
        return SplinePoint{from.x + f * std::cos(w), from.y + f * std::sin(w), 0};
    };
    const size_t n = pts.size();
    if (splinemode == 1 && n >= 3) {  // p0 ... pk, m
        t.q.push_back(sp(pts[0]));
        t.q.push_back(tangent(pts[0], pts[1], pts[n - 1]));
        for (size_t i = 1; i + 1 < n; ++i)
            t.q.push_back(sp(pts[i]));
        t.fixed.assign(t.q.size(), false);
        t.fixed[1] = true;
    } else if (splinemode == 2 && n >= 4) {  // p0 ... pk, s, e
        const size_t k = n - 3;
        t.q.push_back(sp(pts[0]));
        t.q.push_back(tangent(pts[0], pts[1], pts[n - 2]));
        for (size_t i = 1; i < k; ++i)
            t.q.push_back(sp(pts[i]));
        t.q.push_back(tangent(pts[k], pts[k - 1], pts[n - 1]));
        t.q.push_back(sp(pts[k]));
        t.fixed.assign(t.q.size(), false);
        t.fixed[1] = t.fixed[t.q.size() - 2] = true;
    } else {
        for (const model::Tmypoi& v : pts)
            t.q.push_back(sp(v));
        t.fixed.assign(t.q.size(), false);
    }
    if (!t.fixed.empty())
        t.fixed.front() = t.fixed.back() = true;
    return t;
}

Written writeSpline(const WriteContext& ctx, const SplineTargets& targets, bool closed,
                    Random& rnd)
{
    if (ctx.r12())
        return refused(WriteStatus::NoSpline);
    const std::vector<SplinePoint>& q = targets.q;
    const int n = int(q.size());
    if (n < 2)
        return refused(WriteStatus::TooFewPoints);
    std::vector<SplinePoint> ctrl;
    int degree = 3;
    if (n >= 4) {
        ctrl = FitSplineControlPoints(q, targets.fixed, 1000, rnd);
    } else if (n == 3) {  // the parabola whose middle passes through the middle target
        degree = 2;
        ctrl = {q[0],
                {2 * q[1].x - (q[0].x + q[2].x) / 2, 2 * q[1].y - (q[0].y + q[2].y) / 2,
                 2 * q[1].z - (q[0].z + q[2].z) / 2},
                q[2]};
    } else {
        degree = 1;
        ctrl = q;
    }
    std::vector<double> knots;
    BuildSplineKnots(knots, n - 1, degree + 1);

    EntityText t(ctx);
    t.begin("SPLINE", "AcDbSpline");
    t.add(" 72", std::to_string(knots.size()));
    t.add(" 73", std::to_string(ctrl.size()));
    if (closed)
        t.add(" 70", "1");
    t.add(" 71", std::to_string(degree));
    for (const double k : knots)
        t.real("  40", k);
    for (const SplinePoint& p : ctrl)
        t.point("  10", "  20", "  30", p.x, p.y, p.z);
    return t.finish();
}

std::pair<double, double> approxTextExtent(const std::vector<std::string>& lines,
                                           double pixelHeight)
{
    double widest = 0;
    for (const std::string& l : lines) {
        double w = 0;  // in em
        for (const char ch : l) {
            if (!startsCharacter(ch))
                continue;
            if (ch >= '0' && ch <= '9')
                w += 0.556;
            else if (ch == '.' || ch == ',' || ch == ' ' || ch == 'i' || ch == 'l')
                w += 0.278;
            else if (ch == '-')
                w += 0.333;
            else if (ch >= 'A' && ch <= 'Z')
                w += 0.667;
            else
                w += 0.556;
        }
        widest = std::max(widest, w);
    }
    return {widest * pixelHeight, 1.15 * pixelHeight * double(std::max<size_t>(lines.size(), 1))};
}

}  // namespace kerbon
