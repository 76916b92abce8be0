// Where a new entity of the layout tab shown goes and which owner lines it carries.
#pragma once

#include <cstdint>

#include "dxf/model.h"

namespace kerbon {

// The place of a new entity in the layout tab shown.
struct LayoutPlace {
    bool hasOwner = false;    // write "330" with `owner`
    int32_t owner = 0;        // handle of the layout's block record
    bool paperspace = false;  // write " 67" "1"
    int insertlinepos = -1;   // where the entity text goes; -1: the drawing has no place
};

// The model tab (0) and every tab with a layout record get the layout's owner handle; a
// paper-space layout whose block is not "*Paper_Space" keeps its entities in that block,
// so they go before its ENDBLK. Without layout records tab 1 counts as paper space. A
// paper-space entity is marked " 67" "1" unless `noshowmodel` is set.
LayoutPlace AddToLayout(const model::DisplayModel& m, int tabindex, bool noshowmodel);

}  // namespace kerbon
