// The entity writers as pure functions: each builds the text of new objects from the
// model and its arguments and returns the edits that insert it (EntityText.h), or the
// reason why nothing can be written. Editor::Add... apply them.
//
// Coordinates are drawing units, angles radians unless a name says degrees. Which form an
// entity takes follows the drawing's version: below 1010 (R12) no subclass markers, TEXT
// instead of MTEXT and POLYLINE/VERTEX/SEQEND instead of LWPOLYLINE.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "dxf/model.h"
#include "dxf/spline.h"
#include "edit/DialogValues.h"
#include "edit/EntityText.h"

namespace kerbon {

struct P3 {
    double x = 0, y = 0, z = 0;
};

// LINE (arcmode 0), XLINE (1) or RAY (2) from p1 through p2; XLINE and RAY store the
// direction p2 - p1 and need two different points.
Written writeLine(const WriteContext& ctx, int arcmode, P3 p1, P3 p2);

// SOLID from its corners in outline order (the file keeps the third and fourth swapped).
Written writeSolid(const WriteContext& ctx, P3 c1, P3 c2, P3 c3, P3 c4);

Written writePoint(const WriteContext& ctx, P3 p);

// MTEXT with the lines of v.text, or below version 1010 TEXT with the first line only
// (status FirstLineOnly when there were more). Angle v.winkel in degrees.
Written writeText(const WriteContext& ctx, P3 p, double fontsize, const TextValues& v);
// The MTEXT string of the lines (each followed by "\P") cut into the "  3" chunks of 250
// characters and the final "  1" rest. A chunk never ends inside a UTF-8 character.
std::vector<std::pair<const char*, std::string>> mtextChunks(const std::vector<std::string>& lines);

// LWPOLYLINE, or POLYLINE with one VERTEX per point and a SEQEND below version 1010. The
// stored bulge has the opposite sign to the file's. Needs two points.
Written writePolyline(const WriteContext& ctx, const std::vector<model::Tmypoi>& pts,
                      bool closed);

// CIRCLE about c through p; with arcmode 2 p lies at the diameter's distance.
Written writeCircle(const WriteContext& ctx, int arcmode, P3 c, P3 p);
// CIRCLE through three points; Collinear when there is none.
Written writeCircle3(const WriteContext& ctx, P3 p1, P3 p2, P3 p3);

// ARC by arcmode: 1 centre p1, start towards p2, end towards p3; 0 through p1, p2, p3
// (start, middle, end); 3 through p1, p3, p2 (start, end, middle). Angles are written in
// degrees, made non-negative.
Written writeArc(const WriteContext& ctx, int arcmode, P3 p1, P3 p2, P3 p3);

// ELLIPSE: centre p1 (arcmode 2, 3) or the middle of p1 and p2 (0, 1); major axis end p2;
// the other semi-axis |p3 - centre|. Elliptical arcs (1, 3) run from parameter w1 to w2.
// A ratio above 1 swaps the axes (the parameters turn with them); an axis of length 0 is
// refused (ZeroAxis).
Written writeEllipse(const WriteContext& ctx, int arcmode, P3 p1, P3 p2, P3 p3, double w1,
                     double w2);

// The n + 1 vertices of a regular polygon about c whose first corner is p turned a quarter
// turn counter-clockwise about c; the corners follow clockwise, the last repeats the first.
std::vector<model::Tmypoi> polygonVertices(P3 c, P3 p, int n);

// The corners of an arrowhead with its tip at (linesx, linesy) pointing away from (xx, yy):
// 0.17 units long, 0.068 wide. Nothing when the two points coincide.
std::optional<std::array<P3, 4>> arrowCorners(double linesx, double linesy, double xx,
                                              double yy);

// The targets of the spline tool from its collected points: splinemode 0 the points
// themselves; 1 p0 ... pk, m (the mouse) gives p0, T1, p1 ... pk; 2 p0 ... pk, s, e gives
// p0, T1, p1 ... pk-1, T2, pk, where T1 and T2 are tangent points built from the tangent
// clicks s and e. `fixed` marks the ends and the tangent points.
struct SplineTargets {
    std::vector<SplinePoint> q;
    std::vector<bool> fixed;
};
SplineTargets splineTargets(const std::vector<model::Tmypoi>& pts, int splinemode);

// SPLINE of degree 3 fitted through the targets (1000 random tries, `rnd`), clamped
// uniform knots; " 70" "1" when closed. With two or three targets the degree drops to 1 or
// 2 so the entity stays valid. Only from version 1010 on (NoSpline below).
Written writeSpline(const WriteContext& ctx, const SplineTargets& t, bool closed, Random& rnd);

// Width and height in pixels of a text in the sans-serif font at `pixelHeight`, estimated
// from typical glyph widths (the core has no fonts); used to centre dimension texts.
std::pair<double, double> approxTextExtent(const std::vector<std::string>& lines,
                                           double pixelHeight);

}  // namespace kerbon
