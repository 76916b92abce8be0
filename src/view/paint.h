// The paint cycle: background, the sheet on layout tabs and in print preview, the axes
// symbol on the model tab, then the entities of the current tab. Also the printed page.
#pragma once

#include <string>

#include "dxf/model.h"
#include "view/DisplayOptions.h"
#include "view/DrawSurface.h"
#include "view/Drawpolys.h"
#include "view/PageValues.h"
#include "view/ViewState.h"

namespace kerbon::view {

// What tab t shows when painting: like tabContext, but the layout's block is the first
// block with the layout's handle, whatever its name.
TabContext paintTabContext(const model::DisplayModel& m, int tab);

// Repaints the whole area (v.W x v.H) of tab v.tabindex. Draws nothing while
// v.donotdrawnow is set. `screenDpi`: the screen's horizontal resolution, for line weights.
// `cache`: kept by the caller between paints (built again after a parse); without it
// every paint derives it afresh. `band`: only this part of the area is painted (the
// surface shows no more), so entities outside it are skipped.
void PaintBox1Paint(DrawSurface& s, model::DisplayModel& m, const ViewState& v, const PageValues& page,
                    const DisplayOptions& opt, int screenDpi = 96, RenderCache* cache = nullptr,
                    const PixelRect* band = nullptr);

// Draws the current tab on a printer page of page.pagewidth x page.pageheight pixels,
// clipped to the page less the margin, colours for white paper, without selection marks.
void printPage(DrawSurface& s, model::DisplayModel& m, int tab, const PageValues& page,
               const DisplayOptions& opt);

}  // namespace kerbon::view
