// Where the members of inserted blocks land. An INSERT shows its block's members through an
// affine map of drawing units (base point, scale, rotation, the mirror of a downward
// extrusion, insertion point), once for every column and row of its array; an insert
// inside a block composes with the insert that places the block. The renderer, the
// extents and everything that looks for an object where it is drawn use these maps.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dxf/model.h"

namespace kerbon {

// x' = a x + c y + e, y' = b x + d y + f (drawing units, y upwards).
struct Placement {
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;

    double mapX(double x, double y) const { return a * x + c * y + e; }
    double mapY(double x, double y) const { return b * x + d * y + f; }
    // First `inner`, then this map.
    Placement after(const Placement& inner) const;
    // This map for points given relative to (x, y): first moved by (-x, -y).
    Placement from(double x, double y) const;
    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1 && e == 0 && f == 0; }
    // The linear part is the identity: the map only moves.
    bool isShift() const { return a == 1 && b == 0 && c == 0 && d == 1; }
    // Factor by which the map changes lengths on average (root of the area factor).
    double lengthScale() const;
    // The linear part turns the plane over (a mirror).
    bool mirrors() const { return a * d - b * c < 0; }
};

// cos and sin of an angle in degrees, exact at the quarter turns (0, 90, 180, 270 and
// their repeats), where drawings put most of their rotations.
void cosSinDegrees(double deg, double& cs, double& sn);

// The axes of an object whose extrusion direction is N = (nx, ny, nz), in drawing
// coordinates, by the arbitrary-axis rule: Ax = (0, 1, 0) x N when N lies within 1/64 of
// the z axis, else (0, 0, 1) x N; Ay = N x Ax; both of unit length. A point (x, y, z) of
// the object lies at x Ax + y Ay + z N. (0, 0, 1) and a direction of no length give the
// drawing's own axes (`plain`); (0, 0, -1) mirrors x.
struct ExtrusionAxes {
    double ax[3] = {1, 0, 0}, ay[3] = {0, 1, 0}, n[3] = {0, 0, 1};
    bool plain = true;

    void toWorld(double& x, double& y, double& z) const;
};
ExtrusionAxes extrusionAxes(double nx, double ny, double nz);

// The array of one INSERT: cell (i, j), 0 <= i < cols, 0 <= j < rows, places the block's
// points (in block coordinates, relative to the block's base point) by `first` moved by
// i * (colx, coly) + j * (rowx, rowy).
struct InsertGrid {
    Placement first;
    double colx = 0, coly = 0, rowx = 0, rowy = 0;
    int cols = 1, rows = 1;

    Placement cell(int i, int j) const;
};

// Arrays beyond this many columns or rows are not what the format allows (16-bit counts).
inline constexpr int kMaxInsertCount = 32767;

// The grid of insert `p` (its `insertstr` names the block): insertion point (first vertex,
// the origin without one), scale factors, rotation, extrusion, column and row counts and
// spacings. Counts below 1 count as 1.
InsertGrid insertGrid(const model::tpoly& p);

struct Point2 {
    double x = 0, y = 0;
};

// The members of every block by name, in list order.
class BlockIndex {
public:
    void build(const model::DisplayModel& m);
    // Members of block `name`; empty for a block that does not exist.
    const std::vector<int>& members(std::string_view name) const;
    // The corners of the convex hull of what block `name` shows (placedBounds' points of
    // each member, nested inserts through the corner cells of their arrays), relative to
    // the block's base point; empty when it shows nothing. Worked out once per block of
    // the model the index was built from: an affine map takes a hull's corners to the
    // corners of the mapped hull, so the bounds of any placement of the block are the
    // bounds of these few points placed, however deep and wide its inserts nest.
    const std::vector<Point2>& hull(const model::DisplayModel& m, std::string_view name) const;

private:
    std::unordered_map<std::string_view, std::vector<int>> byName;
    struct Hull {
        std::vector<Point2> corners;
        bool done = false;
    };
    mutable std::unordered_map<std::string_view, Hull> hulls;
    mutable int hullDepth = 0;
};

// Visits what object `index` shows, where it shows it: fn(object, placement) for the object
// itself, or for an insert for every object of its block through every cell of its array,
// nested inserts composed (the insert itself when its block has no objects). A block that
// inserts itself is not entered again; at most kMaxPlacedVisits objects are visited.
// Stops as soon as fn returns true, and returns true then.
inline constexpr int kMaxPlacedVisits = 1000000;
bool anyPlaced(const model::DisplayModel& m, const BlockIndex& blocks, int index,
               const std::function<bool(const model::tpoly&, const Placement&)>& fn,
               const Placement& place = {});

// The bounds of what an object shows, in drawing units.
struct Bounds {
    double minx = 0, miny = 0, maxx = 0, maxy = 0;
    bool empty = true;

    void widen(double x, double y);
    void widen(const Bounds& o);
};

// Bounds of the drawn points of object `index` placed by `place`: its vertices that are
// drawn (grips only when it has no drawn vertex); for an insert the drawn points of its
// block's members through every cell of its array, nested inserts composed (its insertion
// point when the block shows nothing), taken from the block's hull. Non-finite points are
// left out. XLINEs and RAYs inside blocks count nothing; a block that inserts itself is not
// entered again, nor are blocks nested deeper than 64.
Bounds placedBounds(const model::DisplayModel& m, const BlockIndex& blocks, int index,
                    const Placement& place = {});

}  // namespace kerbon
