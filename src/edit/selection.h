// Selecting objects of the layout tab shown, in drawing units. A plain first version:
// "all" and "none" as the menu commands do them, a window that catches every object
// with a drawn vertex inside, and a pick that catches every object passing within a
// distance of the point. A block insert is caught by what its block shows where it
// shows it (anyPlaced).
#pragma once

#include "dxf/model.h"
#include "edit/LayoutFilter.h"

namespace kerbon {

// Every object that passes the layout test and is not locked.
void selectAll(model::DisplayModel& m, const LayoutFilter& f);
// Every object of the model, of all layouts.
void selectNone(model::DisplayModel& m);
// Objects passing the filter, not locked, with a drawn vertex inside the window (corners
// in any order, edges included). Returns how many were hit.
int selectWindow(model::DisplayModel& m, const LayoutFilter& f, double x1, double y1,
                 double x2, double y2);
// Objects passing the filter, not locked, whose outline passes within `tol` of (x, y).
int selectAt(model::DisplayModel& m, const LayoutFilter& f, double x, double y, double tol);

}  // namespace kerbon
