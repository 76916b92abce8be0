// The arc of a bulged polyline segment.
#include "dxf/bulge.h"

#include <cmath>
#include <numbers>

namespace kerbon {

namespace {
constexpr double kPi = std::numbers::pi;
}

bool bulgeArc(double px, double py, double qx, double qy, double b, BulgeArc& arc)
{
    const double theta = -4 * std::atan(b);
    const double dx = qx - px, dy = qy - py;
    const double c = std::sqrt(dx * dx + dy * dy);
    const double s = c / 2 * b;
    if (s == 0)
        return false;
    const double r = ((c / 2) * (c / 2) + s * s) / (2 * s);
    const double rr = std::fabs(r);
    // Both circles of radius |r| through P and Q: centres on the chord's perpendicular.
    const double h = std::sqrt(std::fabs(rr * rr - (c / 2) * (c / 2)));
    const double mx = (px + qx) / 2, my = (py + qy) / 2;
    const double ux = -dy / c, uy = dx / c;
    const double centres[2][2] = {{mx + h * ux, my + h * uy}, {mx - h * ux, my - h * uy}};
    bool found = false, wrapped = false;
    double bestDiff = 0;
    for (const auto& C : centres) {
        const double a = std::atan2(py - C[1], px - C[0]);
        const double e = std::atan2(qy - C[1], qx - C[0]);
        const double d = a - e;
        const double d2 = d >= 0 ? d - 2 * kPi : d + 2 * kPi;
        const double cand[2] = {d, d2};
        for (int w = 0; w < 2; ++w) {
            const double diff = std::fabs(cand[w] - theta);
            if (!found || diff < bestDiff) {
                found = true;
                bestDiff = diff;
                wrapped = w == 1;
                arc = {C[0], C[1], rr, a, e};
            }
        }
    }
    if (wrapped) {
        if (b <= 0)
            arc.a += 2 * kPi;
        else
            arc.e += 2 * kPi;
    }
    // Values too large for the arithmetic (a huge bulge or coordinate) leave the segment
    // straight rather than filling the outline with NaN.
    return std::isfinite(arc.cx) && std::isfinite(arc.cy) && std::isfinite(arc.r) &&
           std::isfinite(arc.a) && std::isfinite(arc.e);
}

}  // namespace kerbon
