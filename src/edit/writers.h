// The entity writers as pure functions: each builds the text of new objects from the
// model and its arguments and returns the edits that insert it (EntityText.h), or the
// reason why nothing can be written. Editor::Add... apply them.
//
// Coordinates are drawing units, angles radians unless a name says degrees.
#pragma once

#include "edit/EntityText.h"

namespace kerbon {

// LINE (arcmode 0), XLINE (1) or RAY (2) from p1 through p2; XLINE and RAY store the
// direction p2 - p1.
Written lineText(const WriteContext& ctx, int arcmode, double x1, double y1, double z1,
                 double x2, double y2, double z2);

}  // namespace kerbon
