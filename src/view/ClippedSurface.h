// A drawing surface that cuts straight figures to a rectangle before passing them on.
// The printed page uses it: a page description keeps coordinates and dash patterns as
// given, so a line reaching far beyond the page would make the printer (or a PDF reader)
// walk through every dash of it, and its coordinates could exceed what the page format
// holds. Cut to a rectangle a little larger than the page, the picture stays the same.
#pragma once

#include <vector>

#include "view/DrawSurface.h"
#include "view/Drawpolys.h"

namespace kerbon::view {

class ClippedSurface : public DrawSurface {
public:
    // `box`: the part of the target that shows, in device pixels.
    ClippedSurface(DrawSurface& target, PixelRect box) : target(target), box(box) {}

    // Strokes keep every part within half the pen width (and a little) of the box; a part
    // that starts at the cut carries on the dash pattern where the whole line had it.
    void strokePath(const Path& path, const Pen& pen) override;
    // Fills and clips: each figure cut to the box (a figure is closed for both).
    void fillPath(const Path& path, const Brush& brush) override;
    void clipPath(const Path& path, bool replace) override;

    // Passed on as they are. While a world transform is set, figures are passed on uncut
    // (their coordinates are not device pixels).
    void fillRect(int x, int y, int w, int h, Rgb color) override { target.fillRect(x, y, w, h, color); }
    void strokeRect(int x, int y, int w, int h, const Pen& pen) override { target.strokeRect(x, y, w, h, pen); }
    void drawText(std::string_view text, double pixelSize, double x, double y, Rgb color) override
    {
        target.drawText(text, pixelSize, x, y, color);
    }
    void setTransform(const Matrix& m) override;
    void resetTransform() override;
    void save() override;
    void restore() override;
    TextSize textSize(std::string_view text, double pixelSize) override { return target.textSize(text, pixelSize); }
    void drawIcon(Icon icon, int x, int y) override { target.drawIcon(icon, x, y); }

private:
    DrawSurface& target;
    PixelRect box;
    bool transformed = false;
    std::vector<bool> saved;
    Path out, run;  // reused

    bool passThrough(const Path& path) const;
    void cutFigures(const Path& path, double pad);
};

}  // namespace kerbon::view
