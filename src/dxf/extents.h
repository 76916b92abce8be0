// The rectangle that encloses the model drawing, in whole drawing units.
#pragma once

#include "dxf/model.h"

namespace kerbon {

// Bounds of the drawn points (placedBounds: grips only of an object without drawn points,
// inserted blocks where they are placed) of the objects of the model drawing: not in a
// block definition, not an XLINE or RAY, and in model space (no layouts: not paper space;
// with layouts: owned by the first layout, or without owner). Coordinates are rounded to
// whole numbers, halves to even. All four are 0 when nothing counts.
void getdimtab0(const model::DisplayModel& m, double& minx, double& miny, double& maxx,
                double& maxy);

}  // namespace kerbon
