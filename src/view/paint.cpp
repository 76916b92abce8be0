// The paint cycle of the drawing area and the printed page.
#include "view/paint.h"

#include <cmath>

#include "view/ClippedSurface.h"
#include "view/tables.h"

namespace kerbon::view {

namespace {

struct Pixel {
    double x, y;
};

}  // namespace

TabContext paintTabContext(const model::DisplayModel& m, int t)
{
    TabContext c;
    if (t >= 0 && t < int(m.layouts.size())) {
        c.haslayout = true;
        c.layhan = m.layouts[t].layhan;
        c.model = t == 0;
        for (const model::tblock& b : m.blocks) {
            if (b.hand == c.layhan) {
                c.blockname = b.blockname;
                break;
            }
        }
    } else {
        c.model = t != 1;
    }
    return c;
}

void PaintBox1Paint(DrawSurface& s, model::DisplayModel& m, const ViewState& v, const PageValues& page,
                    const DisplayOptions& opt, int screenDpi, RenderCache* cache, const PixelRect* band)
{
    const TabContext tc = paintTabContext(m, v.tabindex);
    if (v.donotdrawnow)
        return;
    const double z = v.zoomedvalue;
    const double sx = v.scrollx / 100.0, sy = v.scrolly / 100.0;
    const int W = v.W, H = v.H;
    const auto px = [&](double u, double w) {
        return Pixel{roundEven(u * z / 100 - sx), (H - 1) - roundEven(w * z / 100 + sy)};
    };

    // Background.
    const bool sheet = !tc.model || opt.printPreview;
    Pen white;
    white.color = {255, 255, 255};
    s.fillRect(0, 0, W, H, sheet ? Rgb{192, 192, 192} : Rgb{255, 255, 255});
    s.strokeRect(0, 0, W, H, white);

    PixelRect visible{0, 0, double(W), double(H)};
    if (sheet) {
        const Rgb paper = tc.model ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
        const Rgb border = tc.model ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
        const double mm = page.scale(), r = page.rand, ox = page.xoffset, oy = page.yoffset;
        const double pw = page.paperWidthMm(), ph = page.paperHeightMm();
        const double a = (ox + r) / mm, b = (oy + r) / mm;
        Path rect;
        Pen pen;
        pen.color = border;
        Brush fill;
        const Pixel p1 = px(-a, -b), p2 = px(pw / mm - a, ph / mm - b);
        rect.rect(p1.x, p2.y, p2.x, p1.y);
        fill.color = paper;
        s.fillPath(rect, fill);
        s.strokePath(rect, pen);
        const Pixel q1 = px(-ox / mm, -oy / mm);
        const Pixel q2 = px((pw - ox - 2 * r) / mm, (ph - oy - 2 * r) / mm);
        rect.clear();
        rect.rect(q1.x, q2.y, q2.x, q1.y);
        s.fillPath(rect, fill);
        pen.dashes = {4, 4};
        s.strokePath(rect, pen);
        if (opt.printPreview) {
            s.clipPath(rect, true);
            visible = {std::max(0.0, std::min(q1.x, q2.x)), std::max(0.0, std::min(q1.y, q2.y)),
                       std::min(double(W), std::max(q1.x, q2.x)), std::min(double(H), std::max(q1.y, q2.y))};
        }
    }

    // Axes symbol at the drawing origin, or in the lower-left corner when the origin is
    // out of view or too near the right or top edge.
    if (tc.model && !opt.printPreview) {
        int x0 = roundPixel(-sx), y0 = roundPixel((H - 1) - sy);
        const bool atOrigin = !(x0 + 80 >= W || y0 + 5 >= H || x0 - 5 < 0 || y0 - 80 < 0);
        if (!atOrigin)
            x0 = 15, y0 = H - 16;
        Path axes;
        const auto seg = [&](double x1, double y1, double x2, double y2) {
            axes.segment(x0 + x1, y0 + y1, x0 + x2, y0 + y2);
        };
        seg(atOrigin ? -5 : 5, 0, 47, 0);
        seg(0, atOrigin ? 5 : -5, 0, -47);
        seg(-5, -5, 5, -5), seg(5, -5, 5, 5), seg(5, 5, -5, 5), seg(-5, 5, -5, -5);
        axes.closeFigure();
        seg(47, -5, 47, 5), seg(47, 5, 60, 0), seg(60, 0, 47, -5);
        seg(-5, -47, 5, -47), seg(5, -47, 0, -60), seg(0, -60, -5, -47);
        Pen black;
        s.strokePath(axes, black);
        axes.clear();
        seg(48, 2, 61, 0), seg(48, -1, 54, -1), seg(2, -48, 0, -61), seg(-1, -48, -1, -54);
        Pen grey;
        grey.color = {155, 155, 155};
        s.strokePath(axes, grey);
        const TextSize ys = s.textSize("Y", 20), xs = s.textSize("X", 20);
        s.drawText("X", 20, x0 + 65, y0 - ys.height / 2, {0, 0, 0});
        s.drawText("Y", 20, x0 - xs.width / 2, y0 - ys.height - 65, {0, 0, 0});
    }

    // Entities.
    if (band) {
        visible.left = std::max(visible.left, band->left);
        visible.top = std::max(visible.top, band->top);
        visible.right = std::min(visible.right, band->right);
        visible.bottom = std::min(visible.bottom, band->bottom);
    }
    DrawArgs args;
    args.scrollx = sx;
    args.scrolly = sy;
    args.paintbox1height = H;
    args.showweight = opt.showLineweights;
    args.dpi1 = screenDpi;
    args.zoomit = z;
    args.thelayhan = tc.layhan;
    args.showmodel = tc.model;
    args.showmodelforcolor = tc.model;
    args.forprint = false;
    RenderCache own;
    RenderCache& c = cache ? *cache : own;
    if (cache)
        c.ensure(m, args.dpi1, args.showweight);
    else
        c.build(m, args.dpi1, args.showweight);
    Drawpolys(s, m, args, c, &visible);
    if (!tc.blockname.empty()) {
        args.blocktodraw = tc.blockname;
        args.showmodel = true;
        Drawpolys(s, m, args, c, &visible);
    }
}

void printPage(DrawSurface& s, model::DisplayModel& m, int tab, const PageValues& page,
               const DisplayOptions& opt)
{
    const double mm = page.scale(), r = page.rand;
    const double dpi = page.dpi, PW = page.pagewidth, PH = page.pageheight;
    const TabContext tc = tabContext(m, tab);
    if (!(dpi > 0) || !(PW > 0) || !(PH > 0))
        return;
    const double rp = r * dpi / 25.39995;
    const double l = roundEven(rp), t = roundEven(rp);
    const double rr = roundEven(PW - 1 - rp), bb = roundEven(PH - 1 - rp);
    const PixelRect visible{std::min(l, rr), std::min(t, bb), std::max(l, rr), std::max(t, bb)};
    // Whatever reaches beyond the page is cut off before it reaches the printer.
    ClippedSurface paper(s, visible);
    Path clip;
    clip.rect(l, t, rr, bb);
    paper.save();
    paper.clipPath(clip, true);

    DrawArgs args;
    args.zoomit = dpi * 100 / 25.39995 * mm;
    args.scrollx = -(page.xoffset + r) * dpi / 25.39995;
    args.scrolly = (page.yoffset + r) * dpi / 25.39995;
    args.paintbox1height = PH;
    args.showweight = opt.showLineweights;
    args.dpi1 = roundPixel(dpi);
    args.thelayhan = tc.layhan;
    args.showmodel = tc.model;
    args.showmodelforcolor = true;
    args.forprint = true;
    RenderCache cache;
    cache.build(m, args.dpi1, args.showweight);
    Drawpolys(paper, m, args, cache, &visible);
    if (!tc.blockname.empty()) {
        args.blocktodraw = tc.blockname;
        args.showmodel = true;
        Drawpolys(paper, m, args, cache, &visible);
    }
    paper.restore();
}

}  // namespace kerbon::view
