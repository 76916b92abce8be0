// The nesting preview on a drawing surface.
#include "nesting/nest_preview.h"

#include <algorithm>
#include <cmath>

namespace kerbon::nest {

namespace {

// A preview coordinate: truncated toward zero, held far inside the int range.
int pixel(double v)
{
    return int(std::trunc(std::clamp(v, -1e7, 1e7)));
}

}  // namespace

void paintPreview(view::DrawSurface& d, int Wp, int Hp, const Schachtelung& n, double pw, double ph)
{
    const view::Rgb white{255, 255, 255};
    d.fillRect(0, 0, Wp, Hp, white);
    if (!(pw > 0 && ph > 0 && std::isfinite(pw) && std::isfinite(ph)))
        return;
    const double sx = Wp / pw, sy = Hp / ph;
    const double s = sx <= sy ? sx : sy;
    const int sw = pixel(pw * s), sh = pixel(ph * s);
    view::Pen green;
    green.color = {0, 128, 0};
    green.width = 1;
    d.fillRect(0, Hp - 1 - sh, sw, sh, white);
    d.strokeRect(0, Hp - 1 - sh, sw, sh, green);

    view::Path path;
    auto contour = [&](std::span<const TFPoint> c, const TNestElement& e) {
        for (size_t k = 0; k < c.size(); ++k) {
            const double X = pixel((c[k].x - e.minx + e.x) * s);
            const double Y = Hp - 1 - pixel((c[k].y - e.miny + e.y) * s);
            if (k == 0)
                path.elems.push_back({view::Path::Elem::Kind::MoveTo, X, Y});
            else
                path.elems.push_back({view::Path::Elem::Kind::LineTo, X, Y});
        }
    };
    for (uint32_t i = 0; i < n.elemente.count(); ++i) {
        const TNestElement& e = n.elemente.recordAt(i);
        forEachContour(e.ps, e.ends, [&](std::span<const TFPoint> c) { contour(c, e); });
        forEachContour(e.inner, e.innerEnds, [&](std::span<const TFPoint> c) { contour(c, e); });
    }
    view::Pen black;
    black.width = 1;
    d.strokePath(path, black);
}

}  // namespace kerbon::nest
