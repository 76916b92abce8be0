// Shared pieces of the entity handlers: reading a value into a field, the extrusion
// direction and its axes, and the fixed angle tables of full circles and ellipses.
#pragma once

#include <array>
#include <cmath>
#include <numbers>
#include <optional>

#include "dxf/parse_context.h"
#include "dxf/placement.h"
#include "dxf/placement.h"

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

constexpr double kPi = std::numbers::pi;

// Degrees to radians, the one expression every handler uses so that equal angles give
// equal doubles.
inline double radians(double deg) { return deg * kPi / 180; }

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

// The extrusion direction N of an entity (codes 210, 220, 230). An entity drawn in the
// plane of N (ARC, CIRCLE, LWPOLYLINE, 2D POLYLINE, SOLID, TEXT, HATCH) stores its points in
// its own axes (see ExtrusionAxes); the model holds them where the drawing shows them, seen
// from above. A mirrored object has N = (0, 0, -1): x := -x, its angles and bulges mirrored.
struct Extrusion {
    double n[3] = {0, 0, 1};

    // Codes 210/220/230 (also through readExtrusion); false for any other code.
    bool read(const ParseContext& c, model::tpoly& p)
    {
        if (c.codeNum != 210 && c.codeNum != 220 && c.codeNum != 230)
            return false;
        readExtrusion(c, p);
        readReal(c, n[c.codeNum / 10 - 21]);
        return true;
    }
    ExtrusionAxes axes() const { return extrusionAxes(n[0], n[1], n[2]); }
};

// Every vertex and snap point of p from the entity's axes into drawing coordinates, each
// at the entity's `elevation` (its z in its own axes) when given. Nothing for plain axes.
inline void toWorld(model::tpoly& p, const ExtrusionAxes& e, std::optional<double> elevation = {})
{
    if (e.plain)
        return;
    for (auto* list : {&p.ps.edit(), &p.snap})
        for (model::Tmypoi& v : *list) {
            if (elevation)
                v.z = *elevation;
            e.toWorld(v.x, v.y, v.z);
        }
}

// Direction angle in the drawing (degrees) of the angle `deg` in the axes `e`.
inline double worldAngle(const ExtrusionAxes& e, double deg)
{
    if (e.plain)
        return deg;
    const double c = std::cos(radians(deg)), s = std::sin(radians(deg));
    return std::atan2(c * e.ax[1] + s * e.ay[1], c * e.ax[0] + s * e.ay[0]) * 180 / kPi;
}

// Appends n zeroed vertices to p.ps and returns the first of them (valid until ps grows
// again). Handlers that emit many vertices fill them through this one pointer.
inline model::Tmypoi* appendVertices(model::tpoly& p, size_t n)
{
    std::vector<model::Tmypoi>& ps = p.ps.edit();
    const size_t at = ps.size();
    ps.resize(at + n);
    p.anzp = int(ps.size());
    return ps.data() + at;
}


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
