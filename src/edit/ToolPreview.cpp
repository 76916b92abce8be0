// The mouse moves over the drawing area: the coordinates for the status bar, the pan and
// zoom drags, and the rubber band of the tool in use with the values the next press takes
// from it (the target of a drag, the dimension line, the elliptical arc's parameters, the
// tangent arc's bulge, the freehand stroke's points).
#include <charconv>
#include <cmath>
#include <numbers>

#include "dxf/bulge.h"
#include "dxf/spline.h"
#include "edit/Editor.h"
#include "edit/ToolState.h"
#include "edit/constructions.h"
#include "edit/writers.h"

namespace kerbon {

namespace {

constexpr double pi = std::numbers::pi;
constexpr double kFar = 100000;       // a construction line or ray reaches this far on
constexpr double kReach = 10000000;   // segment ends are cut to the area widened by this
constexpr int kCurvePoints = 101;     // points of a circle, arc or ellipse preview

std::string fixed4(double v)
{
    char buf[400];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
    return r.ec == std::errc() ? std::string(buf, r.ptr) : std::string("?");
}

// Cuts the segment to the box [x0, x1] x [y0, y1] (Liang-Barsky); false when nothing of it
// lies inside, or when it is not made of numbers.
bool clip(double& ax, double& ay, double& bx, double& by, double x0, double y0, double x1,
          double y1)
{
    double t0 = 0, t1 = 1;
    const double dx = bx - ax, dy = by - ay;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {ax - x0, x1 - ax, ay - y0, y1 - ay};
    for (int i = 0; i < 4; ++i) {
        if (!std::isfinite(p[i]) || !std::isfinite(q[i]))
            return false;
        if (p[i] == 0) {
            if (q[i] < 0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const double sx = ax, sy = ay;
    ax = sx + t0 * dx, ay = sy + t0 * dy;
    bx = sx + t1 * dx, by = sy + t1 * dy;
    return true;
}

}  // namespace

// One recorded preview segment, in whole pixels. What lies wholly beyond the area is not
// kept, and far ends are cut so that they fit the pixel numbers.
void ToolState::segment(double x1, double y1, double x2, double y2, int syl)
{
    const double W = ed.view.W, H = ed.view.H;
    if ((x1 < -1 && x2 < -1) || (x1 > W + 1 && x2 > W + 1) || (y1 < -1 && y2 < -1) ||
        (y1 > H + 1 && y2 > H + 1))
        return;
    if (!clip(x1, y1, x2, y2, -kReach, -kReach, W + kReach, H + kReach))
        return;
    remove.push_back({view::roundHalfEven(x1), view::roundHalfEven(y1), view::roundHalfEven(x2),
                      view::roundHalfEven(y2), syl});
}

ToolState::Pixel ToolState::snapMouse(double sx, double sy, double X, double Y, bool ctrl)
{
    removeall();
    const SnapResult r = ed.SnapPoints(sx, sy, X, Y, ctrl);
    if (r.setted)
        showMarker(r);
    return {double(view::roundHalfEven(r.x)), double(view::roundHalfEven(r.y))};
}

void ToolState::PaintBox1MouseMove(double X, double Y, bool ctrl)
{
    lastmousex = view::roundHalfEven(X);
    lastmousey = view::roundHalfEven(Y);
    view::ViewState& v = ed.view;
    double x = 0, y = 0;
    v.Bildschirm2DXF(X, Y, x, y);
    statusText = fixed4(x) + ", " + fixed4(y);

    if (v.inzoomit || v.inpan) {
        if (v.mouseMove(X, Y, ed.model))
            ed.repaint();
        return;
    }
    if (inmovepoint || inmove || incopyline || inmoveline || inrotateline || inmirrorline ||
        inscaleline) {
        if (ellipsemode > 0 || inmove || inmovepoint)
            previewTransform(X, Y, ctrl);
        else
            snapMouse(X, Y, X, Y, ctrl);  // the snap marker for the base point
        return;
    }
    const Pixel s = screen(linesx, linesy);
    if (inlin) {
        const Pixel m = snapMouse(s.x, s.y, X, Y, ctrl);
        const Pixel far{s.x + kFar * (m.x - s.x), s.y + kFar * (m.y - s.y)};
        if (ed.arcmode == 0)
            segment(s, m);
        else if (ed.arcmode == 2)  // ray
            segment(s, far);
        else                       // construction line
            segment(s.x - kFar * (m.x - s.x), s.y - kFar * (m.y - s.y), far.x, far.y);
        return;
    }
    if (insolid) {
        const Pixel m = snapMouse(s.x, s.y, X, Y, ctrl);
        const Pixel s2 = screen(linesx2, linesy2), s3 = screen(ed.linesx3, ed.linesy3);
        if (ellipsemode == 0) {
            segment(s, m);
        } else if (ellipsemode == 1) {
            segment(s, s2);
            segment(s2, m);
        } else {
            segment(s, s2);
            segment(s2, s3);
            segment(s3, m);
        }
        return;
    }
    if (indim) {
        const Pixel m = snapMouse(s.x, s.y, X, Y, ctrl);
        if (ellipsemode == 0)
            segment(s, m);
        else
            dimensionAt(m);
        return;
    }
    if (inrec) {
        const Pixel m = snapMouse(s.x, s.y, X, Y, ctrl);
        segment(s.x, s.y, m.x, s.y);
        segment(m.x, s.y, m.x, m.y);
        segment(m.x, m.y, s.x, m.y);
        segment(s.x, m.y, s.x, s.y);
        return;
    }
    if (inpoly) {
        previewPolyline(X, Y, ctrl);
        return;
    }
    if (incircle) {
        previewCircle(s, snapMouse(s.x, s.y, X, Y, ctrl));
    } else if (inellipse) {
        previewEllipse(s, snapMouse(s.x, s.y, X, Y, ctrl));
    } else if (inarc) {
        previewArc(s, snapMouse(s.x, s.y, X, Y, ctrl));
    } else if (inmassselect) {  // the window follows the mouse itself, unsnapped
        removeall();
        segment(s.x, s.y, X, s.y, 2);
        segment(X, s.y, X, Y, 2);
        segment(X, Y, s.x, Y, 2);
        segment(s.x, Y, s.x, s.y, 2);
    } else if (down != ToolButton::None) {
        snapMouse(X, Y, X, Y, ctrl);  // an armed tool shows the snap marker only
    }
}

// The selected objects' outlines moved, turned, mirrored or scaled as the press would.
void ToolState::previewTransform(double X, double Y, bool ctrl)
{
    const Pixel s = screen(linesx, linesy);
    const Pixel m = snapMouse(s.x, s.y, X, Y, ctrl);
    const double alpha = std::atan2(m.y - s.y, m.x - s.x);
    segment(s, m);
    ed.view.Bildschirm2DXF(m.x, m.y, linesx2, linesy2);
    const bool displace = inmove || inmovepoint || incopyline || inmoveline;
    const double dx = displace ? linesx2 - linesx : 0, dy = displace ? linesy2 - linesy : 0;
    const bool rotate = !displace && inrotateline, mirror = !displace && inmirrorline;
    const bool scale = !displace && inscaleline;
    const double factor = std::hypot(linesx - linesx2, linesy - linesy2);
    const double c = std::cos(alpha), sn = std::sin(alpha);
    const double c2 = std::cos(2 * alpha), s2 = std::sin(2 * alpha);
    auto pixel = [](double x, double y) {
        return ScreenPos{view::roundHalfEven(x), view::roundHalfEven(y)};
    };
    // The vertex's pixel, then turned, mirrored or scaled about S, at whole pixels (as the
    // segments are recorded).
    auto place = [&](double x, double y) {
        const ScreenPos r = roundedScreen(ed.view, x, y);
        const double u = r.x - s.x, w = r.y - s.y;
        if (rotate)
            return pixel(s.x + u * c - w * sn, s.y + u * sn + w * c);
        if (mirror)
            return pixel(s.x + u * c2 + w * s2, s.y + u * s2 - w * c2);
        if (scale)
            return pixel(s.x + factor * u, s.y + factor * w);
        return r;
    };
    auto line = [&](ScreenPos a, ScreenPos b) { segment(a.x, a.y, b.x, b.y); };
    const LayoutFilter f = ed.layoutFilter();
    const model::DisplayModel& md = ed.model;
    for (int i = 0; i < md.anzpoly; ++i) {
        const model::tpoly& p = md.polys[size_t(i)];
        if (!p.selected || !f.blockTest(p))
            continue;
        // Pieces that stay within one pixel are left out (a selection seen from afar has
        // many): an object that keeps no piece at all shows as its first pixel.
        bool started = false;
        const size_t before = remove.size();
        ScreenPos first, prev;
        const int n = std::min(p.anzp, int(p.ps.size()));
        auto it = p.ps.begin();
        for (int k = 0; k < n; ++k, ++it) {
            const model::Tmypoi vt = *it;
            if (vt.donotdraw)
                continue;
            // During a grip drag only the dragged vertex moves.
            const bool moves = !inmovepoint || (i == moveobjnr && k == movepointnr);
            const ScreenPos q = place(vt.x + (moves ? dx : 0), vt.y + (moves ? dy : 0));
            if (!started) {
                first = prev = q, started = true;
            } else if (vt.moveonly) {
                prev = q;
            } else if (q.x != prev.x || q.y != prev.y) {
                line(prev, q);
                prev = q;
            }
        }
        if (p.isclosed && started && (prev.x != first.x || prev.y != first.y))
            line(prev, first);
        if (started && remove.size() == before)
            line(first, first);
    }
}

// The dimension line through M, aligned with the measured points: its ends and middle
// become the points the dimension is written with.
void ToolState::dimensionAt(Pixel m)
{
    const Pixel s1 = screen(linesx, linesy), s2 = screen(linesx2, linesy2);
    DimensionLine d;
    if (!dimensionLine(s1.x, s1.y, s2.x, s2.y, m.x, m.y, d))
        d = {s1.x, s1.y, s2.x, s2.y, (s1.x + s2.x) / 2, (s1.y + s2.y) / 2};
    const view::ViewState& v = ed.view;
    v.Bildschirm2DXF(d.x4, d.y4, ed.linesx4, ed.linesy4);
    v.Bildschirm2DXF(d.x5, d.y5, ed.linesx5, ed.linesy5);
    v.Bildschirm2DXF(d.x3, d.y3, ed.linesx3, ed.linesy3);
    ed.linesz3 = 0;
    segment(s1.x, s1.y, d.x4, d.y4);
    segment(s2.x, s2.y, d.x5, d.y5);
    segment(d.x4, d.y4, d.x5, d.y5);
}

void ToolState::previewCircle(Pixel s, Pixel m)
{
    const int mode = ed.arcmode;
    if (mode == 1) {  // through three points
        if (ellipsemode == 0) {
            segment(s, m);
            return;
        }
        const Pixel p2 = screen(linesx2, linesy2);
        ArcDurch3 a;
        if (ArcDurch3Punkte(s.x, s.y, p2.x, p2.y, m.x, m.y, a))
            curve({a.arcmx, a.arcmy}, a.arcradius, a.arcradius, 0, 0, 2 * pi);
        return;
    }
    const Pixel c = mode == 3 ? Pixel{(s.x + m.x) / 2, (s.y + m.y) / 2} : s;
    double r = std::hypot(m.x - c.x, m.y - c.y);
    if (mode == 2)
        r /= 2;
    segment(c, m);
    if (mode == 5) {
        const std::vector<model::Tmypoi> corners =
            polygonVertices({c.x, c.y, 0}, {m.x, m.y, 0}, ed.polygonValues.ecken);
        for (size_t k = 1; k < corners.size(); ++k)
            segment(corners[k - 1].x, corners[k - 1].y, corners[k].x, corners[k].y);
        return;
    }
    Pixel prev;
    for (int k = 0; k < kCurvePoints; ++k) {
        const double t = 2 * pi * k / (kCurvePoints - 1);
        const Pixel q{c.x + r * std::sin(t), c.y + r * std::cos(t)};
        if (k > 0)
            segment(prev, q);
        prev = q;
    }
}

// 101 points of the ellipse about C with semi-axes a, b turned by theta, parameters t0 ... t1.
void ToolState::curve(Pixel c, double a, double b, double theta, double t0, double t1)
{
    const double ct = std::cos(theta), st = std::sin(theta);
    Pixel prev;
    for (int k = 0; k < kCurvePoints; ++k) {
        const double t = t0 + (t1 - t0) * k / (kCurvePoints - 1);
        const double u = a * std::cos(t), w = b * std::sin(t);
        const Pixel q{c.x + u * ct - w * st, c.y + u * st + w * ct};
        if (k > 0)
            segment(prev, q);
        prev = q;
    }
}

namespace {

// The ellipse being drawn, in area pixels: centre, first axis end and its angle.
struct EllipseFrame {
    double cx, cy, theta;
    // The angle of P about the centre in the ellipse's own axes, taken at whole pixels
    // and in single precision (screen orientation).
    double parameter(double px, double py) const
    {
        const double dx = px - cx, dy = py - cy;
        const int u = view::roundHalfEven(dx * std::cos(theta) + dy * std::sin(theta));
        const int v = view::roundHalfEven(-dx * std::sin(theta) + dy * std::cos(theta));
        return double(std::atan2(float(v), float(u)));
    }
};

}  // namespace

// The start and end parameters of an elliptical arc: the start click and the mouse, turned
// from the screen's orientation into the drawing's.
void ToolState::ellipseParameters(Pixel m)
{
    const Pixel s = screen(linesx, linesy), p2 = screen(linesx2, linesy2);
    const bool centreTool = ed.arcmode == 2 || ed.arcmode == 3;
    const Pixel c = centreTool ? s : Pixel{(s.x + p2.x) / 2, (s.y + p2.y) / 2};
    const EllipseFrame f{c.x, c.y, std::atan2(p2.y - c.y, p2.x - c.x)};
    const Pixel p4 = screen(ed.linesx4, ed.linesy4);
    auto drawingParameter = [](double t) { return -t < 0 ? -t + 2 * pi : -t; };
    ed.ellipsewinkel1 = drawingParameter(f.parameter(p4.x, p4.y));
    ed.ellipsewinkel2 = drawingParameter(f.parameter(m.x, m.y));
}

void ToolState::previewEllipse(Pixel s, Pixel m)
{
    if (ellipsemode == 0) {
        segment(s, m);
        return;
    }
    const bool centreTool = ed.arcmode == 2 || ed.arcmode == 3;
    const bool arc = ed.arcmode == 1 || ed.arcmode == 3;
    const Pixel p2 = screen(linesx2, linesy2);
    const Pixel c = centreTool ? s : Pixel{(s.x + p2.x) / 2, (s.y + p2.y) / 2};
    const Pixel p3 = ellipsemode == 1 ? m : screen(ed.linesx3, ed.linesy3);
    const double a = std::hypot(p2.x - c.x, p2.y - c.y), b = std::hypot(p3.x - c.x, p3.y - c.y);
    const EllipseFrame f{c.x, c.y, std::atan2(p2.y - c.y, p2.x - c.x)};
    segment(c, m);
    if (!arc || ellipsemode == 1) {
        curve(c, a, b, f.theta, 0, 2 * pi);
    } else if (ellipsemode == 2) {
        curve(c, a, b, f.theta, f.parameter(m.x, m.y), 0);
    } else {
        // As it will be written: counter-clockwise in the drawing from start to end, which
        // runs the other way round on the screen.
        ellipseParameters(m);
        double span = ed.ellipsewinkel2 - ed.ellipsewinkel1;
        if (span <= 0)
            span += 2 * pi;
        curve(c, a, b, f.theta, -ed.ellipsewinkel1, -(ed.ellipsewinkel1 + span));
    }
}

void ToolState::previewArc(Pixel s, Pixel m)
{
    if (ellipsemode == 0) {
        segment(s, m);
        return;
    }
    const Pixel p2 = screen(linesx2, linesy2);
    ArcDurch3 a;
    double from = 0, to = 0;
    if (ed.arcmode == 1) {  // centre, start, end: counter-clockwise in the drawing
        a.arcmx = s.x, a.arcmy = s.y;
        a.arcradius = std::hypot(p2.x - s.x, p2.y - s.y);
        from = std::atan2(p2.y - s.y, p2.x - s.x);
        double span = from - std::atan2(m.y - s.y, m.x - s.x);
        if (span <= 0)
            span += 2 * pi;
        to = from - span;
    } else {
        const bool ok = ed.arcmode == 3 ? ArcDurch3Punkte(s.x, s.y, m.x, m.y, p2.x, p2.y, a)
                                        : ArcDurch3Punkte(s.x, s.y, p2.x, p2.y, m.x, m.y, a);
        if (!ok)
            return;  // collinear: no arc
        from = a.arcwinkel1;
        to = a.arcwinkel2 < from ? a.arcwinkel2 + 2 * pi : a.arcwinkel2;
    }
    curve({a.arcmx, a.arcmy}, a.arcradius, a.arcradius, 0, from, to);
}

// One segment of the collected polyline, straight or (bulge not 0) the arc it stands for;
// (tx, ty) becomes the direction of its last piece.
void ToolState::piece(Pixel a, Pixel b, double bulge, bool draw, double& tx, double& ty)
{
    BulgeArc arc;
    if (bulge == 0 || !bulgeArc(a.x, a.y, b.x, b.y, bulge, arc)) {
        if (draw)
            segment(a, b);
        tx = b.x - a.x, ty = b.y - a.y;
        return;
    }
    Pixel prev = a;
    for (int k = 1; k <= kBulgePoints; ++k) {
        const double w = arc.a + (k - 1) * (arc.e - arc.a) / (kBulgePoints - 1);
        const Pixel q{arc.cx + arc.r * std::cos(w), arc.cy + arc.r * std::sin(w)};
        if (draw)
            segment(prev, q);
        if (k > 1)
            tx = q.x - prev.x, ty = q.y - prev.y;
        prev = q;
    }
    if (draw)
        segment(prev, b);
}

// Walks the collected points in area pixels, drawing them when `draw`; (tx, ty) becomes the
// direction of the last piece ending at the last point, (1, 0) when it is the first.
void ToolState::walkPolyline(bool draw, double& tx, double& ty)
{
    const std::vector<model::Tmypoi>& pts = ed.polyline0;
    const bool spline = ed.arcmode == 2;
    tx = 1, ty = 0;
    for (size_t i = 1; i < pts.size(); ++i)
        piece(screen(pts[i - 1].x, pts[i - 1].y), screen(pts[i].x, pts[i].y),
              spline ? 0 : pts[i - 1].bulge, draw, tx, ty);
}

// The tangent arc from the last collected point towards M: its angle, and in arc mode the
// bulge of that point.
void ToolState::tangentBulge(Pixel m)
{
    double tx = 1, ty = 0;
    walkPolyline(false, tx, ty);
    const model::Tmypoi& last = ed.polyline0.back();
    const Pixel p = screen(last.x, last.y);
    lastcalcbulge = tangentArcAngle(tx, ty, p.x, p.y, m.x, m.y);
    if (addmode == 1)
        ed.polyline0.back().bulge = lastcalcbulge / (pi / 2);
}

void ToolState::previewPolyline(double X, double Y, bool ctrl)
{
    std::vector<model::Tmypoi>& pts = ed.polyline0;
    if (pts.empty())
        return;
    const Pixel last = screen(pts.back().x, pts.back().y);
    Pixel m{X, Y};  // freehand and spline follow the mouse itself
    if (ed.arcmode == 0)
        m = snapMouse(last.x, last.y, X, Y, ctrl);
    else
        removeall();
    if (ed.arcmode == 2 && pts.size() >= 3) {
        previewSpline(m);
    } else {
        double tx = 1, ty = 0;
        walkPolyline(true, tx, ty);
        lastcalcbulge = tangentArcAngle(tx, ty, last.x, last.y, m.x, m.y);
        if (addmode == 1)
            pts.back().bulge = lastcalcbulge / (pi / 2);
        piece(last, m, ed.arcmode == 2 ? 0 : pts.back().bulge, true, tx, ty);
    }
    if (ed.arcmode == 1) {  // freehand: every mouse position becomes a point
        model::Tmypoi v;
        ed.view.Bildschirm2DXF(X, Y, v.x, v.y);
        pts.push_back(v);
    }
}

// The curve the spline tool would write with the mouse as its next point (fewer tries
// than the writer), with the tangent being chosen.
void ToolState::previewSpline(Pixel m)
{
    if (ed.model.cadver < 1010)
        return;  // the drawing cannot hold it
    std::vector<model::Tmypoi> pts = ed.polyline0;
    model::Tmypoi mouse;
    ed.view.Bildschirm2DXF(m.x, m.y, mouse.x, mouse.y);
    pts.push_back(mouse);
    const SplineTargets t = splineTargets(pts, ed.splinemode);
    const std::vector<SplinePoint> ctrl = FitSplineControlPoints(t.q, t.fixed, 250, programRandom());
    const int n = int(ctrl.size()) - 1;
    std::vector<double> knots;
    BuildSplineKnots(knots, n, 4);
    std::vector<SplinePoint> samples;
    SampleSpline(n, 4, ctrl, 100, knots, samples);
    for (size_t k = 1; k < samples.size(); ++k) {
        const Pixel a = screen(samples[k - 1].x, samples[k - 1].y);
        const Pixel b = screen(samples[k].x, samples[k].y);
        segment(a, b);
    }
    const std::vector<model::Tmypoi>& clicked = ed.polyline0;
    if (ed.splinemode == 1)
        segment(screen(clicked.front().x, clicked.front().y), m);
    else if (ed.splinemode == 2)
        segment(screen(clicked[clicked.size() - 2].x, clicked[clicked.size() - 2].y), m);
}

}  // namespace kerbon
