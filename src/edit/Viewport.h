// Viewports of paper-space layouts: the values of the viewport dialog and their defaults,
// the text of a VIEWPORT entity, and which viewports a layout tab still lacks.
#pragma once

#include "edit/EntityText.h"
#include "view/PageValues.h"

namespace kerbon {

// "Viewport konfigurieren": where the viewport lies on the sheet (layout units) and which
// part of the model it shows (model units).
struct ViewportValues {
    double breite = 0;    // breiteEd: width on the sheet
    double hoehe = 0;     // HoeheEd: height on the sheet
    double mitteX = 0;    // MitteXEd, MitteYEd: centre on the sheet
    double mitteY = 0;
    double inhaltX = 0;   // InhaltX, InhaltY: model point shown at the centre
    double inhaltY = 0;
    double heiCont = 0;   // HeiContEd: height of model space shown
};

// The defaults: the printable page less 12 mm on every side, at the page scale, lying
// 12 mm inside the printable area wherever the offsets put that on the sheet, and showing
// the whole model drawing.
ViewportValues viewportDefaults(const model::DisplayModel& m, const view::PageValues& page);
// The view of the whole model drawing (getdimtab0) in a viewport of v.breite x v.hoehe:
// centred, with twice the drawing's height, or more where the drawing is wider than the
// viewport's shape, so that the drawing fills at most half the viewport either way. A
// drawing without extent is shown at one model unit per layout unit, as a view height of
// 0 would be drawn, so that the file never holds a view of height 0.
void showWholeModel(const model::DisplayModel& m, ViewportValues& v);

// The VIEWPORT entity. `mustbenr1`: number 1, the sheet viewport of a layout kept in a
// block; otherwise the next number after the highest one in the drawing. Drawings below
// version 1010 carry the view in the MVIEW extended data instead of the view codes.
Written viewportText(const WriteContext& ctx, const ViewportValues& v, bool mustbenr1);

// What a layout tab lacks: `sheet`, the viewport number 1 of a layout kept in a block of
// its own; `view`, any viewport with another number.
struct MissingViewports {
    bool sheet = false;
    bool view = false;
};
MissingViewports missingViewports(const model::DisplayModel& m, int tabindex);

}  // namespace kerbon
