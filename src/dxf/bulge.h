// The arc a bulged polyline segment stands for. The parser flattens it into points; the
// polyline tool's rubber band draws the segment being drawn the same way, in area pixels.
#pragma once

namespace kerbon {

// Points by which a bulged segment is drawn, from the angle of its start to that of its end.
constexpr int kBulgePoints = 50;

// The arc that replaces the segment P -> Q of bulge b: centre, radius, and the angles of
// P (a) and Q (e) in the order the arc runs. False when the segment stays straight (no
// bulge, P = Q, or values beyond the arithmetic).
struct BulgeArc {
    double cx = 0, cy = 0, r = 0, a = 0, e = 0;
};
bool bulgeArc(double px, double py, double qx, double qy, double b, BulgeArc& arc);

}  // namespace kerbon
