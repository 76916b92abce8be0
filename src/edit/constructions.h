// Geometric constructions shared by the drawing tools, their rubber band and the writers.
#pragma once

namespace kerbon {

// The circle through three points and the orientation of the arc through them.
struct ArcDurch3 {
    double arcmx = 0, arcmy = 0;    // centre
    double arcradius = 0;
    // Start and end angle in radians, in (-pi, pi]: the arc from arcwinkel1 counter-
    // clockwise to arcwinkel2 passes through the middle point.
    double arcwinkel1 = 0, arcwinkel2 = 0;
};

// False when the points are collinear (|det| <= 1e-8); the angles and the radius are then
// 0 and the centre is left as it was. Works in any unit (drawing units or pixels).
bool ArcDurch3Punkte(double x1, double y1, double x2, double y2, double x3, double y3,
                     ArcDurch3& r);

// The angle of the tangent-arc segment a polyline in arc mode bends through (screen
// pixels, y downwards): (tx, ty) is the direction of the last piece drawn before the last
// vertex P, M the mouse. In (-pi, pi], 0 when below 0.001 in size. The polyline tool keeps
// it as `lastcalcbulge` and, in arc mode, gives the last vertex the bulge angle / (pi / 2).
double tangentArcAngle(double tx, double ty, double px, double py, double mx, double my);

// The dimension line of a dimension between p1 and p2 passing through m: its ends F1 (on
// the perpendicular through p1) and F2 (through p2) and its middle. False when p1 and p2
// coincide.
struct DimensionLine {
    double x4 = 0, y4 = 0;  // F1
    double x5 = 0, y5 = 0;  // F2
    double x3 = 0, y3 = 0;  // middle, where the text goes
};
bool dimensionLine(double x1, double y1, double x2, double y2, double mx, double my,
                   DimensionLine& d);

}  // namespace kerbon
