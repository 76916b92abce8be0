// The transfer of an arrangement into the drawing: how far each element's objects travel.
#pragma once

#include <functional>
#include <vector>

#include "dxf/model.h"

namespace kerbon {
class Editor;
}

#include "nesting/nest_elements.h"

namespace kerbon::nest {

// The objects of one element and the offset that brings the corner of the element's
// extent to its placement.
struct ElementMove {
    std::vector<int> objs;   // display-model objects, the element's own first
    double dx = 0, dy = 0;
};

// One move per element, in list order: dx = x - minx, dy = y - miny. The display model must
// still be the one the elements were taken from; moving an object leaves the number and
// order of objects as they are, so the indexes hold from one move to the next.
std::vector<ElementMove> transferMoves(const Schachtelung& n);

// The transfer: for each move, exactly the move's objects are selected in the display
// model and `move(dx, dy)` moves the selection as one undoable edit (it re-reads the
// document into `m`, which clears the selection again).
void transferInto(model::DisplayModel& m, const std::vector<ElementMove>& moves,
                  const std::function<void(double dx, double dy)>& move);

// The transfer into the editor's document: every element's objects moved with the
// editor's MoveObjects, one undo step per element.
void transferInto(Editor& ed, const Schachtelung& n);

}  // namespace kerbon::nest
