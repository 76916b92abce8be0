// The paint cycle: background, the sheet on layout tabs and in print preview, the axes
// symbol on the model tab, then the entities of the current tab. Also the printed page.
#pragma once

#include <string>

#include "dxf/model.h"
#include "view/DrawSurface.h"
#include "view/Drawpolys.h"

namespace kerbon::view {

// Display options of the main window; they live while the program runs, not in the document.
struct DisplayOptions {
    bool showLineweights = true;   // "Linienbreite zeigen"
    bool printPreview = false;     // "Druckvorschau"
};

// The page values of the page setup and of the printer.
struct PageValues {
    double mm = 1, units = 1;      // `mm` millimetres on paper for `units` drawing units
    double margin = 0;             // page margin in millimetres, every side
    double xoffset = 0, yoffset = 0;  // drawing origin right of / above the printable corner, mm
    int printerDpi = 600;          // printer's horizontal resolution (used for both axes)
    int pageWidth = 4960, pageHeight = 7015;  // printable page in printer pixels (A4 at 600 dpi)

    double scale() const { return units != 0 ? mm / units : 1; }  // millimetres per drawing unit
    double paperWidthMm() const { return pageWidth / double(printerDpi) * 25.39995; }
    double paperHeightMm() const { return pageHeight / double(printerDpi) * 25.39995; }
};

// What the current tab index means for painting.
struct TabContext {
    int layhan = -999;             // layout handle, -999 for none
    std::string blockname;         // the layout's block (first block with that handle), may be empty
    bool model = true;             // the model tab
};
TabContext paintTabContext(const model::DisplayModel& m, int tab);

// The view the area shows (zoomedvalue and the scroll positions in hundredths of a pixel).
struct PaintView {
    double zoomedvalue = 100;
    int hp = -2000, vp = 2000;
    int width = 0, height = 0;     // area size W x H in pixels
    int tab = 0;                   // current tab index
    int screenDpi = 96;            // horizontal resolution of the screen, for line weights
};

// Repaints the whole area. Draws nothing while `donotdrawnow` is set.
void PaintBox1Paint(DrawSurface& s, model::DisplayModel& m, const PaintView& v, const PageValues& page,
                    const DisplayOptions& opt, bool donotdrawnow = false);

// Draws the current tab on a printer page of page.pageWidth x page.pageHeight pixels,
// clipped to the page less the margin, colours for white paper, without selection marks.
void printPage(DrawSurface& s, model::DisplayModel& m, int tab, const PageValues& page,
               const DisplayOptions& opt);

}  // namespace kerbon::view
