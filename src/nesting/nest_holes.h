// Which objects of a drawing lie inside the closed outline of another object: the holes and
// engravings of a part, which travel with the part when it is nested.
#pragma once

#include <span>
#include <vector>

#include "nesting/nest_elements.h"

namespace kerbon::nest {

// An object as the grouping sees it.
struct Shape {
    TFPointArray ps;              // its drawn contours ...
    std::vector<uint32_t> ends;   // ... and where each ends in ps
    TFPointArray probe;           // where it lies when it has no drawn point (a text's grips)
    bool closed = false;          // ps is one closed contour that can hold other objects
};

// Whether a contour read from the drawing closes on itself: the closed flag, or a last
// point equal to the first one up to rounding.
bool closesOnItself(std::span<const TFPoint> ps, bool closedFlag);

// For every shape, the index of the outermost closed shape whose outline it lies wholly
// inside (every point strictly inside by the even-odd rule, no segment crossing the
// outline), or -1. An outline never lies inside a smaller one, and of two equal outlines
// the later lies inside the earlier, so following the answers never loops.
std::vector<int> outerShapes(std::span<const Shape> shapes);

}  // namespace kerbon::nest
