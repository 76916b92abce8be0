// The circle through three points, the tangent-arc angle and the dimension line.
#include "edit/constructions.h"

#include <cmath>
#include <numbers>

namespace kerbon {

bool ArcDurch3Punkte(double x1, double y1, double x2, double y2, double x3, double y3,
                     ArcDurch3& r)
{
    const double det = x1 * (y2 - y3) + x2 * (y3 - y1) + x3 * (y1 - y2);
    if (!(std::fabs(det) > 1e-8)) {  // NaN counts as collinear too
        r.arcwinkel1 = r.arcwinkel2 = r.arcradius = 0;
        return false;
    }
    const double q1 = x1 * x1 + y1 * y1, q2 = x2 * x2 + y2 * y2, q3 = x3 * x3 + y3 * y3;
    r.arcmx = (q1 * (y2 - y3) + q2 * (y3 - y1) + q3 * (y1 - y2)) / (2 * det);
    r.arcmy = (q1 * (x3 - x2) + q2 * (x1 - x3) + q3 * (x2 - x1)) / (2 * det);
    r.arcradius = std::hypot(x1 - r.arcmx, y1 - r.arcmy);
    const double a1 = std::atan2(y1 - r.arcmy, x1 - r.arcmx);
    const double a3 = std::atan2(y3 - r.arcmy, x3 - r.arcmx);
    const double t = std::atan2(y2 - y1, x2 - x1);
    const double k = std::sin(-t) * (x3 - x1) + std::cos(-t) * (y3 - y1);
    if (k > 0) {
        r.arcwinkel1 = a1;
        r.arcwinkel2 = a3;
    } else {
        r.arcwinkel1 = a3;
        r.arcwinkel2 = a1;
    }
    return true;
}

double tangentArcAngle(double tx, double ty, double px, double py, double mx, double my)
{
    constexpr double pi = std::numbers::pi;
    double theta = std::atan2(-ty, tx) + std::atan2(my - py, mx - px);
    if (theta > pi)
        theta -= 2 * pi;
    if (theta < -pi)
        theta += 2 * pi;
    if (std::fabs(theta) < 0.001)
        theta = 0;
    return theta;
}

bool dimensionLine(double x1, double y1, double x2, double y2, double mx, double my,
                   DimensionLine& d)
{
    const double len = std::hypot(x2 - x1, y2 - y1);
    if (!(len > 0))
        return false;
    const double nx = -(y2 - y1) / len, ny = (x2 - x1) / len;  // unit normal of p1 -> p2
    const double off = (mx - x1) * nx + (my - y1) * ny;        // distance of m from the line
    d.x4 = x1 + off * nx;
    d.y4 = y1 + off * ny;
    d.x5 = x2 + off * nx;
    d.y5 = y2 + off * ny;
    d.x3 = (d.x4 + d.x5) / 2;
    d.y3 = (d.y4 + d.y5) / 2;
    return true;
}

}  // namespace kerbon
