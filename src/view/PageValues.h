// The page set-up values and printer metrics that the view needs (sheet on layout tabs,
// zoom to extents). Defaults: 1 mm per unit, no offsets, no margin, A4 portrait at 600 dpi.
#pragma once

#include <cmath>

namespace kerbon::view {

inline constexpr double mmPerInch = 25.39995;  // used by every page computation

struct PageValues {
    double mm = 1.0;          // millimetres on paper ...
    double units = 1.0;       // ... per this many drawing units
    double xoffset = 0;       // drawing origin right of the printable area's corner, mm
    double yoffset = 0;       // ... and above it, mm
    double rand = 0;          // page margin on every side, mm
    double dpi = 600;         // printer resolution, pixels per inch (both axes)
    double pagewidth = 4960;  // printable page in printer pixels (A4 portrait at 600 dpi)
    double pageheight = 7016;

    // Millimetres per drawing unit; 1 while the scale fields do not make a usable scale,
    // so that nothing divides by 0 or by a value that is not a number.
    double scale() const { return validScale(mm, units) ? mm / units : 1.0; }

    // Both scale fields and their ratio are finite numbers above 0.
    static bool validScale(double mm, double units)
    {
        if (!(std::isfinite(mm) && std::isfinite(units) && mm > 0 && units > 0))
            return false;
        const double s = mm / units;
        return std::isfinite(s) && s > 0;
    }
    // Paper size in millimetres.
    double paperWidthMm() const { return dpi > 0 ? pagewidth / dpi * mmPerInch : 0; }
    double paperHeightMm() const { return dpi > 0 ? pageheight / dpi * mmPerInch : 0; }
};

}  // namespace kerbon::view
