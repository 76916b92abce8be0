// Snapping: every point the user gives with the mouse passes through SnapPoints. It pulls
// the mouse onto the horizontal, vertical or 45-degree line through a reference point and
// then onto the nearest point of the drawing within a 5-pixel box, in area pixels. Holding
// Ctrl switches both off.
#pragma once

#include <array>

#include "dxf/model.h"
#include "edit/LayoutFilter.h"
#include "view/ViewState.h"

namespace kerbon {

class PickIndex;

struct SnapResult {
    double x = 0, y = 0;        // the aligned or snapped position, area pixels
    bool setted = false;        // a point of the drawing was found ...
    double ex = 0, ey = 0;      // ... at these drawing coordinates
    // The square marker around the found point (four edges, clockwise from the upper left
    // corner), for the preview to draw and erase; meaningful when `setted`.
    std::array<model::tremove, 4> marker{};
};

// SnapPoints with reference (xx, yy) and mouse (x, y), all area pixels. The callers pass
// the previous point of the construction as reference, or the mouse itself for a first
// point. Candidates are the vertices and then the snap points of every object of the
// current layout (both tests of `f`), in model order, whatever their layer or lock (a
// block insert's insertion point, then those of its block's objects where it places
// them); the nearest within 5 pixels per axis of the unaligned mouse wins, an earlier one
// on a tie.
// `index`, when given, narrows the objects down without changing the answer.
SnapResult SnapPoints(const model::DisplayModel& m, const LayoutFilter& f,
                      const view::ViewState& v, double xx, double yy, double x, double y,
                      bool ctrl, PickIndex* index = nullptr);

}  // namespace kerbon
