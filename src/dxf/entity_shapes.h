// Shared pieces of the entity handlers: reading a value into a field, and the fixed
// angle tables of full circles and ellipses.
#pragma once

#include <array>
#include <numbers>

#include "dxf/parse_context.h"

namespace kerbon::entity {

// field := the current value when it converts to a finite real / an integer.
inline bool readReal(const ParseContext& c, double& field)
{
    if (auto v = c.real()) {
        field = *v;
        return true;
    }
    return false;
}
inline bool readInt(const ParseContext& c, int& field)
{
    if (auto v = c.integer()) {
        field = *v;
        return true;
    }
    return false;
}

// Extrusion direction codes 210/220/230: a present code clears its need... flag (mirroring
// adds only the missing ones); 230 also gives ext230.
inline void readExtrusion(const ParseContext& c, model::tpoly& p)
{
    switch (c.codeNum) {
    case 210: p.needext210 = false; break;
    case 220: p.needext220 = false; break;
    case 230:
        readReal(c, p.ext230);
        p.needext230 = false;
        break;
    default: break;
    }
}

// Appends n zeroed vertices to p.ps and returns the first of them (valid until ps grows
// again). Handlers that emit many vertices fill them through this one pointer.
inline model::Tmypoi* appendVertices(model::tpoly& p, size_t n)
{
    const size_t at = p.ps.size();
    p.ps.resize(at + n);
    p.anzp = int(p.ps.size());
    return p.ps.data() + at;
}

constexpr double kPi = std::numbers::pi;

// Degrees to radians, the one expression every handler uses so that equal angles give
// equal doubles.
inline double radians(double deg) { return deg * kPi / 180; }

// Outline points of every circle and full ellipse: k = 0 ... 100.
constexpr int kOutlinePoints = 101;

// cos and sin of the circle angles (0 + 360 k / 100 degrees), computed with the same
// expressions as arcs use, so a circle gets exactly the doubles of a direct computation.
struct AngleTable {
    std::array<double, kOutlinePoints> cos{}, sin{};
};
const AngleTable& circleAngles();
// cos and sin of the arc angles start + (end - start) k / 100 degrees. Drawings repeat the
// same arcs (fillets, slots) many times, so recent angle sets are kept; a set is computed
// by the same expressions whether kept or not.
const AngleTable& arcAngles(double start, double end);
// cos and sin of the full-ellipse parameters 0 + 2 pi k / 100 (`mirrored`: of their
// negatives, for an ellipse whose extrusion points down).
const AngleTable& ellipseAngles(bool mirrored);

}  // namespace kerbon::entity
