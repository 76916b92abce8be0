// The text lines an object of the display model stands for, as deletion and copying take
// them.
#pragma once

#include <vector>

#include "dxf/LineStore.h"
#include "dxf/model.h"

namespace kerbon {

struct LineSpan {
    int from = 0;
    int count = 0;
};

// The lines linefrom ... linebis of the object; for an INSERT also the ATTRIB entities
// that follow it and their closing SEQEND, which belong to it.
LineSpan objectLines(const LineStore& dxf, const model::tpoly& p);

// The spans sorted by position, overlapping ones joined.
std::vector<LineSpan> mergeSpans(std::vector<LineSpan> spans);

}  // namespace kerbon
