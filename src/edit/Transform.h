// The plane transforms the edit commands apply to the text of objects: a move, a rotation
// about a base point, a mirror across a line through it, a uniform scale about it. Each
// says what becomes of the kinds of values an entity holds: points, vectors (an ellipse's
// axis), directions (a construction line's, kept at their length under scaling), lengths
// and angles.
//
// A transform maps p to o + L (p - b): L is a scaled rotation, or a scaled rotation after
// the mirror in the x axis (`reflect`).
#pragma once

#include <cmath>
#include <numbers>

namespace kerbon {

struct Transform {
    enum class Kind { Move, Rotate, Mirror, Scale };
    Kind kind = Kind::Move;
    double a = 1, b = 0, c = 0, d = 1;  // L
    double ua = 1, ub = 0, uc = 0, ud = 1;  // L without its scale
    double bx = 0, by = 0;              // b: the base point
    double ox = 0, oy = 0;              // o: where the base point goes
    double s = 1;                       // the scale of L
    double turn = 0;                    // L's rotation in degrees ...
    bool reflect = false;               // ... after the mirror in the x axis when set

    static Transform move(double dx, double dy);
    // The edit commands' operations about the base point D = (dx, dy) with a second point
    // E = (ex, ey): modex 0 rotates by the direction from D to E, 1 mirrors across the line
    // D E, 2 scales by the distance from D to E.
    static Transform about(double dx, double dy, double ex, double ey, int modex);

    // The same transform for coordinates given with the x axis reversed (an entity seen
    // from below: extrusion (0, 0, -1)), before (`in`) and after it (`out`).
    Transform flipped(bool in, bool out) const;

    void point(double& x, double& y) const
    {
        const double u = x - bx, v = y - by;
        x = ox + (a * u + b * v);
        y = oy + (c * u + d * v);
    }
    void vector(double& x, double& y) const  // L alone
    {
        const double u = x, v = y;
        x = a * u + b * v;
        y = c * u + d * v;
    }
    void direction(double& x, double& y) const  // L without its scale
    {
        const double u = x, v = y;
        x = ua * u + ub * v;
        y = uc * u + ud * v;
    }
    double length(double v) const { return v * s; }
    // A direction given as an angle in degrees: turned by adding; reflected angles come out
    // in (180, 540].
    double angle(double deg) const
    {
        if (!reflect)
            return deg + turn;
        const double r = (turn - deg) * std::numbers::pi / 180;
        return std::atan2(std::sin(r), std::cos(r)) * 180 / std::numbers::pi + 360;
    }
    double degrees(double rad) const { return rad * 180 / std::numbers::pi; }
};

inline Transform Transform::move(double dx, double dy)
{
    Transform t;
    t.ox = dx;
    t.oy = dy;
    return t;
}

inline Transform Transform::about(double dx, double dy, double ex, double ey, int modex)
{
    Transform t;
    t.bx = t.ox = dx;
    t.by = t.oy = dy;
    const double phi = std::atan2(ey - dy, ex - dx);
    if (modex == 1) {
        t.kind = Kind::Mirror;
        t.a = std::cos(2 * phi);
        t.b = std::sin(2 * phi);
        t.c = std::sin(2 * phi);
        t.d = -std::cos(2 * phi);
        t.turn = t.degrees(2 * phi);
        t.reflect = true;
    } else if (modex == 2) {
        t.kind = Kind::Scale;
        t.s = std::hypot(ex - dx, ey - dy);
        t.a = t.d = t.s;
        return t;  // its directions stay as they are
    } else {
        t.kind = Kind::Rotate;
        t.a = std::cos(phi);
        t.b = -std::sin(phi);
        t.c = std::sin(phi);
        t.d = std::cos(phi);
        t.turn = t.degrees(phi);
    }
    t.ua = t.a, t.ub = t.b, t.uc = t.c, t.ud = t.d;
    return t;
}

inline Transform Transform::flipped(bool in, bool out) const
{
    // The x flip F is the rotation by 180 degrees after the mirror in the x axis.
    Transform t = *this;
    if (in) {  // L F
        t.a = -t.a;
        t.c = -t.c;
        t.ua = -t.ua;
        t.uc = -t.uc;
        t.bx = -t.bx;
        t.turn += 180;
        t.reflect = !t.reflect;
    }
    if (out) {  // F L
        t.a = -t.a;
        t.b = -t.b;
        t.ua = -t.ua;
        t.ub = -t.ub;
        t.ox = -t.ox;
        t.turn = 180 - t.turn;
        t.reflect = !t.reflect;
    }
    return t;
}

}  // namespace kerbon
