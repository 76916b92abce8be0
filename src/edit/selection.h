// Selecting objects: the pick with a click (on a grip or on a drawn segment), window
// selection, "Alles Auswählen", "Nichts auswählen" and whether anything is selected. Only
// the `selected` flags of the display model carry the selection; every parse clears them.
//
// Positions are area pixels. Vertices are compared at their rounded pixel positions
// (`roundedScreen`), so a pick answers what the user sees.
#pragma once

#include <vector>

#include "dxf/model.h"
#include "edit/LayoutFilter.h"
#include "view/ViewState.h"

namespace kerbon {

class PickIndex;

// The area pixel of a drawing point, rounded per axis to whole pixels (halves to even).
struct ScreenPos {
    int x = 0, y = 0;
};
ScreenPos roundedScreen(const view::ViewState& v, double x, double y);

// Sets every object's `locked` flag from its layer (the flag value 4), as painting does, so
// that selection skips locked objects also where nothing is painted.
void markLocked(model::DisplayModel& m);

// What a press on the drawing did.
enum class PickOutcome {
    GripDrag,          // on a grip of an already selected object: drag that vertex
    MoveDrag,          // on an already selected object elsewhere: drag the selection
    SelectionChanged,  // objects were selected or deselected: repaint
    NothingHit,        // nothing under the press: the caller starts a selection window
};

struct PickResult {
    PickOutcome outcome = PickOutcome::NothingHit;
    int moveobjnr = -1;         // grip drag: the object ...
    int movepointnr = -1;       // ... and its vertex
    double linesx = 0, linesy = 0;  // grip drag: the vertex's drawing point
};

// The pick at area pixel (X, Y). Objects of the current layout (both tests of `f`) that are
// not locked take part, in model order: first their grips (a vertex with a text line
// behind it; 5 pixels per axis for a selected object, 3 for another), then their drawn
// segments (less than 3 pixels off the segment, up to 3 beyond its ends; an insert's are
// those its block shows where the insert places them). Every object hit
// is selected, or deselected with `shift`, until a drag is found. `index`, when given,
// narrows the objects down without changing the answer.
PickResult pickAt(model::DisplayModel& m, const LayoutFilter& f, const view::ViewState& v,
                  double X, double Y, bool shift, PickIndex* index = nullptr);

// Window selection between two area pixels (corners in any order, edges included): every
// object of the current layout, not locked, of which a tested vertex lies inside (a drawn
// vertex together with the one before it, the first drawn vertex alone, the closing
// segment's ends for a closed object; for an insert, of what its block shows where the
// insert places it) gets `selected` := !shift. Returns how many objects the window caught.
int MassSelect(model::DisplayModel& m, const LayoutFilter& f, const view::ViewState& v,
               double screenx1, double screeny1, double screenx2, double screeny2, bool shift);

// Sets `massselected` on exactly the objects a window between these corners would catch
// (the frame shown while the window is being drawn); returns how many.
int markMassSelection(model::DisplayModel& m, const LayoutFilter& f, const view::ViewState& v,
                      double screenx1, double screeny1, double screenx2, double screeny2);

// At least one selected object that passes the block test (whatever its layout or lock).
bool IsSelected(const model::DisplayModel& m, const LayoutFilter& f);
// "Alles Auswählen": every object that passes the layout test and is not locked.
void selectAll(model::DisplayModel& m, const LayoutFilter& f);
// "Nichts auswählen": every object of the model, of all layouts (the window marks too).
void selectNone(model::DisplayModel& m);

}  // namespace kerbon
