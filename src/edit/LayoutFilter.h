// The current-layout filter: whether an object belongs to the layout tab shown. Snapping,
// selection, deletion and the property commands share it.
#pragma once

#include <cstdint>
#include <string>

#include "dxf/model.h"

namespace kerbon {

struct LayoutFilter {
    bool hasLayout = false;  // the tab has a layout record; `layhan` is its handle
    int32_t layhan = 0;
    bool model = true;       // the tab is the model tab
    std::string block;       // the layout's own block (not "*Paper_Space"), or empty

    // The object lies in the tab's space: its owner is the layout (model objects without
    // an owner count as model), or without layout records its paper-space mark fits.
    bool layoutTest(const model::tpoly& p) const;
    // The object is a member of the layout's block, or no block member when the layout has
    // no block of its own.
    bool blockTest(const model::tpoly& p) const;
    bool passes(const model::tpoly& p) const { return layoutTest(p) && blockTest(p); }
};

LayoutFilter currentLayoutFilter(const model::DisplayModel& m, int tabindex);

}  // namespace kerbon
