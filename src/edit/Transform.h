// The plane transforms the edit commands apply to the text of objects: a move, a rotation
// about a base point, a mirror across a line through it, a uniform scale about it. Each
// says what becomes of the kinds of values an entity holds: points, vectors (an ellipse's
// axis), directions (a construction line's, kept at their length under scaling), lengths,
// angles and bulges.
#pragma once

#include <cmath>
#include <numbers>

namespace kerbon {

struct Transform {
    enum class Kind { Move, Rotate, Mirror, Scale };
    Kind kind = Kind::Move;
    double bx = 0, by = 0;  // Move: the displacement; otherwise the base point
    double phi = 0;         // Rotate: the angle; Mirror: the line's direction (radians)
    double s = 1;           // Scale: the factor

    // The edit commands' operations: with modex 0 a rotation by the direction from the
    // base point D = (dx, dy) to E = (ex, ey), 1 a mirror across the line D E, 2 a scale
    // by the distance from D to E.
    static Transform move(double dx, double dy);
    static Transform about(double dx, double dy, double ex, double ey, int modex);

    bool mirrors() const { return kind == Kind::Mirror; }

    void point(double& x, double& y) const;
    void vector(double& x, double& y) const;     // linear part only
    void direction(double& x, double& y) const;  // linear part without the scale
    double length(double v) const { return kind == Kind::Scale ? v * s : v; }
    // A direction given as an angle in degrees. Mirrored angles come out in (180, 540].
    double angle(double deg) const;
    double degrees() const { return phi * 180 / std::numbers::pi; }  // phi in degrees
};

inline Transform Transform::move(double dx, double dy)
{
    Transform t;
    t.bx = dx;
    t.by = dy;
    return t;
}

inline Transform Transform::about(double dx, double dy, double ex, double ey, int modex)
{
    Transform t;
    t.kind = modex == 1 ? Kind::Mirror : modex == 2 ? Kind::Scale : Kind::Rotate;
    t.bx = dx;
    t.by = dy;
    t.phi = std::atan2(ey - dy, ex - dx);
    t.s = std::hypot(ex - dx, ey - dy);
    return t;
}

inline void Transform::vector(double& x, double& y) const
{
    const double u = x, v = y;
    switch (kind) {
    case Kind::Move: break;
    case Kind::Rotate:
        x = u * std::cos(phi) - v * std::sin(phi);
        y = u * std::sin(phi) + v * std::cos(phi);
        break;
    case Kind::Mirror:
        x = u * std::cos(2 * phi) + v * std::sin(2 * phi);
        y = u * std::sin(2 * phi) - v * std::cos(2 * phi);
        break;
    case Kind::Scale:
        x = s * u;
        y = s * v;
        break;
    }
}

inline void Transform::point(double& x, double& y) const
{
    if (kind == Kind::Move) {
        x += bx;
        y += by;
        return;
    }
    double u = x - bx, v = y - by;
    vector(u, v);
    x = bx + u;
    y = by + v;
}

inline void Transform::direction(double& x, double& y) const
{
    if (kind != Kind::Scale)
        vector(x, y);
}

inline double Transform::angle(double deg) const
{
    switch (kind) {
    case Kind::Rotate: return deg + degrees();
    case Kind::Mirror: {
        const double a = deg * std::numbers::pi / 180;
        double x = std::cos(a), y = std::sin(a);
        vector(x, y);
        return std::atan2(y, x) * 180 / std::numbers::pi + 360;
    }
    default: return deg;
    }
}

}  // namespace kerbon
