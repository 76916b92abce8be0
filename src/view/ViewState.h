// The view of the drawing area: zoom factor, the two scroll positions, the area size and
// the conversions between drawing units and area pixels, plus zoom, wheel, drag and the
// per-tab memory of the view. No widgets: the main window mirrors these numbers into its
// scroll bars and repaints.
#pragma once

#include <cstdint>
#include <string>

#include "dxf/model.h"
#include "view/PageValues.h"

namespace kerbon::view {

inline constexpr double zoomMin = 5.0;          // zoomedvalue never drops below this ...
inline constexpr double zoomMax = 1000000.0;    // ... nor rises above this
inline constexpr int scrollMin = -100000000;    // scroll bar range, hundredths of a pixel
inline constexpr int scrollMax = 100000000;
inline constexpr int scrollSmallStep = 2000;    // 20 pixels (arrows, wheel with Shift/Ctrl)
inline constexpr int scrollLargeStep = 10000;   // 100 pixels (page)
inline constexpr int scrollxStart = -2000;      // origin 20 pixels right of the left edge
inline constexpr int scrollyStart = 2000;       // and 20 pixels above the bottom edge
inline constexpr double zoomStep = 1.2;         // one zoom button press or wheel notch

// Nearest integer, halves to even. NaN gives 0; values beyond the int range give its bounds.
int roundHalfEven(double v);
// A scroll position from a real value: rounded as above and held inside the scroll range.
int clampScroll(double v);
// zoomedvalue held inside zoomMin ... zoomMax (NaN gives zoomMin).
double clampZoom(double z);

// A remembered view of one tab (the fixed slots of a drawing without layout records).
struct ZoomSlot {
    bool zoomsetted = false;
    double zoomvalue = 0;
    int scrollxvalue = 0, scrollyvalue = 0;
};

// Which entities belong to a tab, and where the tab's own block lies.
struct TabContext {
    bool haslayout = false;     // the tab has a layout record
    int32_t layhan = -999;      // its handle (-999 when it has none)
    bool model = true;          // the model tab
    std::string blockname;      // the layout's block (never "*Paper_Space"), or empty
};

// Tab context of tab t for zoom to extents and printing.
TabContext tabContext(const model::DisplayModel& m, int t);

// The box zoom to extents fits: 0 ... 10 when nothing counts; vertices rounded to integers.
struct Extents {
    double minx = 0, miny = 0, maxx = 10, maxy = 10;
};
Extents tabExtents(const model::DisplayModel& m, int t, const PageValues& page);

struct ViewState {
    double zoomedvalue = 100.0;   // area pixels per 100 drawing units
    int scrollx = scrollxStart;   // horizontal scroll bar position, hundredths of a pixel
    int scrolly = scrollyStart;   // vertical scroll bar position, hundredths of a pixel
    int W = 0, H = 0;             // drawing area size in pixels
    bool donotdrawnow = false;    // a paint request draws nothing while set
    bool donotstorenow = false;   // StoreZoom does nothing while set (tab view restore)
    int tabindex = 0;             // current tab of the layout tab row
    ZoomSlot slot0, slot1;        // drawings without layout records: tab 0, every other tab

    // Mouse-driven view tools.
    bool inzoom = false, inzoomit = false;  // zoom tool active / dragging
    bool inhand = false, inpan = false;     // pan tool active / dragging
    int pansx = 0, pansy = 0;               // mouse pixel at drag start
    int pansx0 = 0, pansy0 = 0;             // scroll positions at pan start
    double pansy2 = 0;                      // zoomedvalue at zoom drag start

    // Drawing point to area pixel (fractional, not rounded). Pixel y grows downwards,
    // drawing y upwards; y = 0 at scrolly = 0 lies on the bottom row H - 1.
    void DXF2Bildschirm(double x, double y, double& xx, double& yy) const;
    // Area pixel to drawing point; the inverse of DXF2Bildschirm.
    void Bildschirm2DXF(double x, double y, double& xx, double& yy) const;

    // Sets both scroll positions (rounded, held in range). The tab's view is stored after,
    // as the scroll bars' change handler does, unless donotstorenow.
    void setScroll(double h, double v, model::DisplayModel& m);
    // Puts drawing point (x, y) at area pixel (px, py) with the current zoom.
    void placePoint(double x, double y, double px, double py, model::DisplayModel& m);
    // Zoom by factor f keeping the drawing point under area pixel (px, py) in place.
    void zoomAbout(double px, double py, double f, model::DisplayModel& m);

    void ZoomInBtnClick(model::DisplayModel& m);   // x 1.2 about the area centre
    void ZoomOutBtnClick(model::DisplayModel& m);  // / 1.2 about the area centre
    // Wheel notch at area pixel (px, py): Shift scrolls sideways, Ctrl up/down, else zoom.
    void mouseWheel(bool up, double px, double py, bool shift, bool ctrl, model::DisplayModel& m);
    // Fits the current tab's extents into the area.
    void ZoomFullIn(model::DisplayModel& m, const PageValues& page);

    // Zoom and pan tools; each returns true when the view changed and needs a repaint.
    void startZoomTool();   // ZoomBtnClick after the tool reset
    void startHandTool();   // HandBtnClick after the tool reset
    bool mouseDown(double px, double py, bool rightButton);
    bool mouseMove(double px, double py, model::DisplayModel& m);
    void mouseUp();

    // Remembers the current view for the current tab.
    void StoreZoom(model::DisplayModel& m);
    // The remembered view of the current tab, if any, becomes the view; else zoom to
    // extents. Returns true either way (the area needs a repaint).
    void restoreZoom(model::DisplayModel& m, const PageValues& page);

private:
    ZoomSlot* slotFor(model::DisplayModel& m, model::Tlayout** layout);
};

}  // namespace kerbon::view
