// Grip edits: dragging one vertex of an object that stands for a value of its text (a
// coordinate, a radius, an ellipse's axis ratio, an arc's end angle), and the grips of a
// viewport (its corners, the view centre, the view height). Pure functions: the editor
// applies what they return.
#pragma once

#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "edit/LineEdits.h"

namespace kerbon {

struct GripEdits {
    EditSet edits;       // the replaced value lines
    bool finite = true;  // false: a new value is not a finite number; apply nothing
};

// Grip `pointnr` of an object that is no viewport, moved by (dx, dy) to (ex, ey). A value
// line that is not in the document or holds no number is left as it is, and so is a
// ratio of an ellipse without an axis.
GripEdits pointGripEdits(const LineStore& dxf, const model::tpoly& p, int pointnr, double dx,
                         double dy, double ex, double ey);

// What a viewport shows: its frame on the sheet and its view of the model.
struct ViewportFrame {
    double w = 0, h = 0;          // width and height on the sheet
    double cx = 0, cy = 0;        // centre on the sheet
    double panx = 0, pany = 0;    // model point at the centre
    double viewheight = 0;        // model height shown
};
ViewportFrame viewportFrame(const model::tpoly& p);

// The frame after dragging viewport grip 0 ... 3 (a corner: the opposite corner stays),
// 5 (the view centre: the view moves by the drag at the view's scale) or 6 (the height
// grip a quarter of the height above the centre: the view height follows its distance
// from the centre) by (dx, dy). A view scale that would divide by zero leaves the view.
ViewportFrame draggedViewport(const model::tpoly& p, int pointnr, double dx, double dy);

// The value lines of frame `f` for viewport grip `pointnr`: the frame (10, 20, 40, 41)
// for the corners and grip 7, the view centre for 5 and 7, the view height for 6 and 7.
GripEdits viewportEdits(const LineStore& dxf, const model::tpoly& p, int pointnr,
                        const ViewportFrame& f);

}  // namespace kerbon
