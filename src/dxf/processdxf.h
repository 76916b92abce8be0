// The complete re-parse of the line list into the display model.
#pragma once

#include <string>
#include <vector>

#include "dxf/LineStore.h"
#include "dxf/model.h"

namespace kerbon {

// What the window shows of a parse result, refreshed at the end of every parse.
class ParseObserver {
public:
    virtual ~ParseObserver() = default;
    // Line-type and layer selectors: the names in table order, each selector set to its
    // first entry; the colour and line-weight selectors go back to their first entry.
    virtual void refreshSelectors(const std::vector<std::string>& linetypeNames,
                                  const std::vector<std::string>& layerNames) = 0;
    // The layout tabs in tab order ("Model", "Layout1" when the drawing has no layouts).
    // The receiver keeps its current tab index.
    virtual void refreshLayoutTabs(const std::vector<std::string>& names) = 0;
};

// Rebuilds `m` from `dxf`. Never fails on odd text: what does not convert is skipped.
// `cadver` is 0 when the document has no $ACADVER. The view remembered on a layout tab
// (zoomsetted, zoomvalue, scroll values) stays with the layout of the same handle.
void processdxf(const LineStore& dxf, model::DisplayModel& m);
void processdxf(const LineStore& dxf, model::DisplayModel& m, ParseObserver* observer);

// Same over a bare line list.
void processdxf(const std::vector<std::string>& dxf, model::DisplayModel& m,
                ParseObserver* observer = nullptr);

// The re-parse after an edit that changed lines at `firstChanged` and later only (a
// replacement of the $HANDSEED value line aside, wherever the change starts): the records
// of the entities before the change are kept and the parse goes on from a state it kept
// near the change. The result is exactly that of processdxf, which it falls back to when
// it kept no state before the change. `m` must hold the parse of these lines before the
// change. Returns the line the parse started from (0: the whole list).
int processdxfFrom(const LineStore& dxf, model::DisplayModel& m, int firstChanged,
                   ParseObserver* observer = nullptr);

// Two models as parses give them: every record up to the counts and every other field
// equal (not the parse count, the kept parse states and the views remembered on the tabs).
bool sameModel(const model::DisplayModel& a, const model::DisplayModel& b);

// The layout tab order: an exchange sort by `order`, "Model" first among equals.
void sortLayouts(std::vector<model::Tlayout>& layouts);

}  // namespace kerbon
