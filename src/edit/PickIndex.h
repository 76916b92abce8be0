// A grid over the drawing that tells snapping and picking which objects can lie near a
// mouse position, so they need not look at every vertex of the drawing on each mouse move.
// It only narrows the objects down: the exact pixel tests run on the objects it names, in
// model order, so the answer is the one a walk over every object gives.
#pragma once

#include <cstdint>
#include <vector>

#include "dxf/model.h"
#include "dxf/placement.h"
#include "view/ViewState.h"

namespace kerbon {

class PickIndex {
public:
    // Takes the bounding box of every object's vertices and snap points.
    void build(const model::DisplayModel& m);
    // Built for this parse of `m` (a change of the model without a parse raises its parse
    // count, so the index notices that too).
    bool current(const model::DisplayModel& m) const;

    // The objects, in model order, that may have a vertex or snap point whose rounded area
    // pixel lies within `reach` pixels on both axes of area pixel (X, Y), or whose outline
    // may pass that close. Returns nullptr when the index cannot narrow the objects down
    // (an unusable view or position): the caller then visits every object.
    const std::vector<int>* near(const view::ViewState& v, double X, double Y, double reach);

    // The members of every block, for what inserts show.
    const BlockIndex& blocks() const { return blockIndex; }

private:
    struct Box {
        double minx, miny, maxx, maxy;
        void widen(double x, double y);
        void widen(const Box& o);
        bool empty() const { return !(minx <= maxx); }
    };
    // The boxes of what object i shows, in the coordinates it is placed from: one for its
    // own points, and for an insert one for each of its block's members (nested ones
    // likewise) where the insert places it, so that an insert whose block is spread over
    // the drawing is only near where a member lies. False when that cannot be bounded (a
    // point that is not a finite number, blocks nested too deep or inserting themselves).
    bool shownBoxes(const model::DisplayModel& m, int i, std::vector<Box>& out, int depth);
    BlockIndex blockIndex;
    std::vector<uint8_t> memoState;         // per block member: 0 to do, 1 busy, 2 done, 3 unbounded
    std::vector<std::vector<Box>> memo;     // per block member: its boxes

    const model::DisplayModel* builtFor = nullptr;
    uint64_t parsecount = 0;
    int anzpoly = -1;

    std::vector<Box> boxes;        // every box, those of each object together, in model order
    std::vector<int> boxObject;    // the object of each box
    std::vector<int> always;       // objects tested on every query
    std::vector<int> large;        // boxes over too many cells, tested on every query
    // Grid over the boxes: cell (i, j) holds the boxes items[start[j * nx + i] ... start[... + 1]).
    double gx0 = 0, gy0 = 0, cell = 1;
    int nx = 0, ny = 0;
    std::vector<int> start, items;
    // The cell column (or row) of a distance from the grid's origin, held in the grid.
    int cellIndex(double offset, int count) const;

    std::vector<uint32_t> seen;    // per object: the query that last collected it
    uint32_t query = 0;
    std::vector<int> found;
};

}  // namespace kerbon
