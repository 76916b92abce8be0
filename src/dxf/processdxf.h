// The complete re-parse of the line list into the display model.
#pragma once

#include "dxf/LineStore.h"
#include "dxf/model.h"

namespace kerbon {

// Rebuilds `m` from `dxf`. Never fails on odd text: what does not convert is skipped.
void processdxf(const LineStore& dxf, model::DisplayModel& m);

}  // namespace kerbon
