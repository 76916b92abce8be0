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

// Zoom goes as far out as the drawing needs (to zoomMin, or further until the whole drawing
// is a hundredth of the area) and as far in as double precision still places pixels
// (zoomCeiling: scroll positions and pixel arithmetic keep better than a hundredth of a
// pixel).
inline constexpr double zoomMin = 5.0;          // zoom out reaches at least this far ...
inline constexpr double zoomFloorMin = 1e-300;  // ... and never below this
inline constexpr double zoomPrecision = 4503599627370496.0;  // 2^52 hundredths of a pixel
// The scroll range: at least scrollMin ... scrollMax, widened to take the tab's extents at
// the current zoom, never beyond +-scrollLimit (2^53 hundredths: exact in a double).
inline constexpr int64_t scrollMin = -100000000;  // hundredths of a pixel
inline constexpr int64_t scrollMax = 100000000;
inline constexpr int64_t scrollLimit = 9007199254740992;
inline constexpr int scrollSmallStep = 2000;    // 20 pixels (arrows, wheel with Shift/Ctrl)
inline constexpr int scrollLargeStep = 10000;   // 100 pixels (page)
inline constexpr int scrollxStart = -2000;      // origin 20 pixels right of the left edge
inline constexpr int scrollyStart = 2000;       // and 20 pixels above the bottom edge
inline constexpr double zoomStep = 1.2;         // one zoom button press or wheel notch

// Nearest integer, halves to even. NaN gives 0; values beyond the int range give its bounds.
int roundHalfEven(double v);
// A scroll position from a real value: rounded as above, held within +-scrollLimit.
int64_t clampScroll(double v);
// z held in lo ... hi (NaN gives lo).
double clampZoom(double z, double lo, double hi);
// The highest zoom at which drawing point (x, y) can still be shown in place.
double zoomCeiling(double x, double y);

// What one scroll bar shows of a scroll range. Positions are hundredths of a pixel; a
// range beyond what a bar holds is shown in steps of `unit` hundredths from `origin`.
struct ScrollBarView {
    int minimum = 0, maximum = 0, value = 0, single = scrollSmallStep, page = scrollLargeStep;
    int64_t origin = 0, unit = 1;
    int64_t position(int barValue) const { return origin + int64_t(barValue) * unit; }
};
ScrollBarView scrollBarView(int64_t lo, int64_t hi, int64_t pos);

// A remembered view of one tab (the fixed slots of a drawing without layout records).
struct ZoomSlot {
    bool zoomsetted = false;
    double zoomvalue = 0;
    int64_t scrollxvalue = 0, scrollyvalue = 0;
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

// The box zoom to extents fits: the drawn points of the tab's objects (placedBounds), at
// their exact coordinates; 0 ... 10 when nothing counts; on a layout tab widened by the
// printable page.
struct Extents {
    double minx = 0, miny = 0, maxx = 10, maxy = 10;
};
Extents tabExtents(const model::DisplayModel& m, int t, const PageValues& page);

// The scroll positions that show something of the tab: see scrollMin.
struct ScrollRange {
    int64_t hmin = scrollMin, hmax = scrollMax, vmin = scrollMin, vmax = scrollMax;
};

struct ViewState {
    double zoomedvalue = 100.0;   // area pixels per 100 drawing units
    int64_t scrollx = scrollxStart;  // horizontal scroll bar position, hundredths of a pixel
    int64_t scrolly = scrollyStart;  // vertical scroll bar position, hundredths of a pixel
    int W = 0, H = 0;             // drawing area size in pixels
    bool donotdrawnow = false;    // a paint request draws nothing while set
    bool donotstorenow = false;   // StoreZoom does nothing while set (tab view restore)
    int tabindex = 0;             // current tab of the layout tab row
    ZoomSlot slot0, slot1;        // drawings without layout records: tab 0, every other tab

    // Mouse-driven view tools.
    bool inzoom = false, inzoomit = false;  // zoom tool active / dragging
    bool inhand = false, inpan = false;     // pan tool active / dragging
    int pansx = 0, pansy = 0;               // mouse pixel at drag start
    int64_t pansx0 = 0, pansy0 = 0;         // scroll positions at pan start
    double pansy2 = 0;                      // zoomedvalue at zoom drag start

    // Drawing point to area pixel (fractional, not rounded). Pixel y grows downwards,
    // drawing y upwards; y = 0 at scrolly = 0 lies on the bottom row H - 1.
    void DXF2Bildschirm(double x, double y, double& xx, double& yy) const;
    // Area pixel to drawing point; the inverse of DXF2Bildschirm.
    void Bildschirm2DXF(double x, double y, double& xx, double& yy) const;

    // Sets both scroll positions (rounded, held in the scroll range). The tab's view is
    // stored after, as the scroll bars' change handler does, unless donotstorenow.
    void setScroll(double h, double v, model::DisplayModel& m);
    // The scroll range of the current tab at the current zoom.
    ScrollRange scrollRange(const model::DisplayModel& m) const;
    // The lowest zoom of the current tab: zoomMin, or lower where the tab's extents would
    // still fill more than a hundredth of the area.
    double zoomFloor(const model::DisplayModel& m) const;
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

    // The current tab's extents, kept for the scroll range and the zoom floor until the
    // model is parsed again or another tab is shown; zoom to extents renews them.
    struct ExtentsCache {
        const model::DisplayModel* model = nullptr;
        uint64_t parsecount = 0;
        int anzpoly = -1, tab = -1;
        PageValues page;
        Extents box;
    };
    mutable ExtentsCache cached;
    const Extents& currentExtents(const model::DisplayModel& m) const;
};

}  // namespace kerbon::view
