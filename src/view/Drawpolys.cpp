// Drawpolys: every entity of one space drawn in list order, later over earlier.
#include "view/Drawpolys.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "view/tables.h"

namespace kerbon::view {

using model::DisplayModel;
using model::Tmypoi;
using model::tpoly;

namespace {

constexpr double pi = 3.14159265358979323846;

int vertexCount(const tpoly& p) { return std::clamp(p.anzp, 0, int(p.ps.size())); }

bool finite2(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// The paper the entities lie on: white on the model tab and on printed pages, black on a
// layout tab (`showmodelforcolor` false).
Rgb paperColor(bool light) { return light ? Rgb{255, 255, 255} : Rgb{0, 0, 0}; }

// A dimension carries its own text (code 1) in `textstr` but is drawn as geometry, its
// text placed where a vertex asks for it.
bool isDimension(const tpoly& p)
{
    auto v = p.ps.begin();
    for (int i = vertexCount(p); i > 0; --i, ++v)
        if ((*v).doadddimtexthere)
            return true;
    return false;
}

// Number of UTF-8 code points.
int charCount(std::string_view s)
{
    int n = 0;
    for (unsigned char c : s)
        if ((c & 0xC0) != 0x80)
            ++n;
    return n;
}

// `textstr` with every "\P" made a line break.
void textLines(const std::string& text, std::string& out)
{
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'P') {
            out.push_back('\n');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
}

// Reach of a text around its insertion point, in text heights: all lines, each as wide
// as the widest, with room for the widest glyphs.
double textReachEm(const std::string& text)
{
    int lines = 1, widest = 0, cur = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = text[i];
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == 'P') {
            ++lines, widest = std::max(widest, cur), cur = 0, ++i;
        } else if (c == '\n') {
            ++lines, widest = std::max(widest, cur), cur = 0;
        } else if ((c & 0xC0) != 0x80) {
            ++cur;
        }
    }
    widest = std::max(widest, cur);
    return lines + 1 + 1.5 * widest;
}

void widen(RenderCache::Box& b, double x, double y)
{
    if (!finite2(x, y))
        return;
    if (b.empty) {
        b.minx = b.maxx = x, b.miny = b.maxy = y, b.empty = false;
        return;
    }
    b.minx = std::min(b.minx, x), b.maxx = std::max(b.maxx, x);
    b.miny = std::min(b.miny, y), b.maxy = std::max(b.maxy, y);
}

// `o` placed by `place` (the box of its four corners), added to b.
void widen(RenderCache::Box& b, const RenderCache::Box& o, const Placement& place)
{
    b.unbounded = b.unbounded || o.unbounded;
    b.padPx = std::max(b.padPx, o.padPx);
    if (o.empty)
        return;
    for (double x : {o.minx, o.maxx})
        for (double y : {o.miny, o.maxy})
            widen(b, place.mapX(x, y), place.mapY(x, y));
}

// The steps of an insert's columns and rows as placed by `place`.
struct GridSteps {
    double ux = 0, uy = 0, vx = 0, vy = 0;
};
GridSteps gridSteps(const InsertGrid& g, const Placement& place)
{
    return {place.a * g.colx + place.c * g.coly, place.b * g.colx + place.d * g.coly,
            place.a * g.rowx + place.c * g.rowy, place.b * g.rowx + place.d * g.rowy};
}

// b widened to hold every cell of the array: b moved by i * u + j * v.
void spread(RenderCache::Box& b, const GridSteps& s, int cols, int rows)
{
    if (b.empty)
        return;
    for (double d : {(cols - 1) * s.ux, (rows - 1) * s.vx})
        (d < 0 ? b.minx : b.maxx) += d;
    for (double d : {(cols - 1) * s.uy, (rows - 1) * s.vy})
        (d < 0 ? b.miny : b.maxy) += d;
}

void inflate(RenderCache::Box& b, double d)
{
    if (b.empty || !std::isfinite(d))
        return;
    b.minx -= d, b.miny -= d, b.maxx += d, b.maxy += d;
}

// Extent of one entity that is not an insert.
RenderCache::Box plainBox(const tpoly& p, const LayerStyle& ls, int dpi,
                          bool showweight)
{
    RenderCache::Box b;
    const int n = vertexCount(p);
    double widthUnits = p.setwidonce ? std::fabs(p.thewid) : 0;
    bool arrows = p.arrowhead;
    bool dimText = false;
    auto it = p.ps.begin();
    for (int i = 0; i < n; ++i, ++it) {
        const Tmypoi v = *it;
        widen(b, v.x, v.y);
        dimText = dimText || v.doadddimtexthere;
        if (v.setwid)
            widthUnits = std::max(widthUnits, std::fabs(v.wid));
        arrows = arrows || v.botharrows != 0;
    }
    double reach = widthUnits / 2 + (arrows ? std::max(0.25, p.dimarrowsize) : 0);
    b.padPx = penWidthOf(p, ls, dpi, showweight) / 2 + 12;  // grips, arrow rounding, antialiasing
    if (!p.textstr.empty() && p.insertstr.empty() && n > 0 && finite2(p.ps[0].x, p.ps[0].y) &&
        !dimText) {
        const double em = textReachEm(p.textstr);
        const double r = std::fabs(p.radius) * em;
        if (std::isfinite(r)) {
            widen(b, p.ps[0].x - r, p.ps[0].y - r);
            widen(b, p.ps[0].x + r, p.ps[0].y + r);
        }
        b.padPx += em;  // the pixel height is rounded and at least 1
    }
    if (dimText) {
        const double em = 12 + 1.5 * double(charCount(p.messuaretxt) + charCount(p.textstr));  // "<>" within the text
        const double r = std::fabs(p.dimtextheight) * em;
        widen(b, p.cx1 - r, p.cy1 - r);
        widen(b, p.cx1 + r, p.cy1 + r);
        b.padPx += em;
    }
    if (p.isviewport) {
        widen(b, p.cx - p.widx / 2, p.cy - p.widy / 2);
        widen(b, p.cx + p.widx / 2, p.cy + p.widy / 2);
    }
    inflate(b, reach);
    return b;
}

}  // namespace

void RenderCache::ensure(DisplayModel& m, int dpi_, bool showweight_)
{
    if (builtFor != &m || parsecount != m.parsecount || anzpoly != m.anzpoly || dpi != dpi_ ||
        showweight != showweight_)
        build(m, dpi_, showweight_);
}

void RenderCache::build(DisplayModel& m, int dpi_, bool showweight_)
{
    dpi = dpi_;
    showweight = showweight_;
    builtFor = &m;
    parsecount = m.parsecount;
    anzpoly = m.anzpoly;
    const int n = std::clamp(m.anzpoly, 0, int(m.polys.size()));
    layerIndex.assign(n, -1);
    infos.assign(n, Info{});
    blockMembers.clear();
    blockBoxes.clear();
    blockState.clear();
    boxes.assign(n, Box{});
    boxState.assign(n, 0);

    // First layer of each trimmed name, as the straightforward lookup finds it.
    std::unordered_map<std::string_view, int> layerByName;
    const int nl = std::clamp(m.anzlayer, 0, int(m.layers.size()));
    for (int i = nl - 1; i >= 0; --i) {
        layerByName[trimmedLayerName(m.layers[i].name)] = i;
    }
    for (int i = 0; i < n; ++i) {
        tpoly& p = m.polys[i];
        if (p.layerpresent && !p.layer.empty()) {
            auto it = layerByName.find(trimmedLayerName(p.layer));
            layerIndex[i] = it == layerByName.end() ? -1 : it->second;
        }
        const LayerStyle ls = layerStyleAt(m, layerIndex[i]);
        p.locked = ls.locked;
        infos[i] = {p.layhan, p.isblock, p.ispaperspace, ls.found && ls.colornr < 0};
        if (p.isblock)
            blockMembers[p.theblockname].push_back(i);
        if (p.insertstr.empty()) {
            boxes[i] = plainBox(p, layerStyleAt(m, layerIndex[i]), dpi, showweight);
            boxState[i] = 2;
        }
    }
    // Inserts last, once every block's members are known. Afterwards the cache is only
    // read, so several painters may share it.
    for (int i = 0; i < n; ++i)
        boxOf(m, i);
}

const RenderCache::Box& RenderCache::blockBox(const DisplayModel& m, std::string_view name)
{
    static const Box unbounded{0, 0, 0, 0, 0, false, true};
    uint8_t& state = blockState[name];
    if (state == 2)
        return blockBoxes[name];
    if (state == 1)
        return unbounded;  // the block inserts itself: never skip what leads here
    state = 1;
    Box b;
    auto it = blockMembers.find(name);
    if (it != blockMembers.end()) {
        for (int i : it->second) {
            const tpoly& p = m.polys[i];
            widen(b, boxOf(m, i), Placement{}.from(p.blockbasex, p.blockbasey));
        }
    }
    blockState[name] = 2;
    Box& stored = blockBoxes[name];
    stored = b;
    return stored;
}

const RenderCache::Box& RenderCache::boxOf(const DisplayModel& m, int i)
{
    if (boxState[i] == 2)
        return boxes[i];
    static const Box unbounded{0, 0, 0, 0, 0, false, true};
    if (boxState[i] == 1)
        return unbounded;
    boxState[i] = 1;
    const tpoly& p = m.polys[i];
    Box b;
    const InsertGrid g = insertGrid(p);
    widen(b, blockBox(m, p.insertstr), g.first);
    spread(b, gridSteps(g, Placement{}), g.cols, g.rows);
    widen(b, plainBox(p, layerStyleAt(m, layerIndex[i]), dpi, showweight), Placement{});  // grips, frame
    boxes[i] = b;
    boxState[i] = 2;
    return boxes[i];
}

void dimensionText(const tpoly& p, std::string& out)
{
    out = p.textstr.empty() ? "<>" : p.textstr;
    // "<>" stands for the measurement, alone or within the user's text ("2x <> mm").
    if (const size_t at = out.find("<>"); at != std::string::npos)
        out.replace(at, 2, p.messuaretxt);
    switch (p.addtextmode) {
    case 1:
        out.insert(0, "\xC3\x98");  // Ø
        break;
    case 2:
        out.insert(0, "R");
        break;
    case 3: {
        const char* b = out.c_str();
        char* e = nullptr;
        const double rad = std::strtod(b, &e);
        if (e != b && *e == '\0' && std::isfinite(rad) && out.find_first_of("xXpP") == std::string::npos) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.4f\xC2\xB0", rad * 180 / pi);
            out = buf;
        }
        break;
    }
    default:
        break;
    }
}

namespace {

struct CullFrame;

// One paint's drawing state: the surface, reusable buffers, and the blocks being drawn.
class Painter {
public:
    Painter(DrawSurface& g, DisplayModel& m, RenderCache& cache, const PixelRect* visible)
        : g(g), m(m), cache(cache), cull(visible ? *visible : PixelRect{}), culling(visible != nullptr)
    {
    }

    void draw(const DrawArgs& a);

private:
    DrawSurface& g;
    DisplayModel& m;
    RenderCache& cache;
    PixelRect cull;
    bool culling;
    std::vector<std::string_view> drawingBlocks;  // blocks being drawn, innermost last
    int depth = 0;
    // Block members still to be drawn through inserts in this paint. Inserts that repeat
    // beyond this (an array of millions of cells, blocks that insert each other many times
    // over) are no drawing a person made, and drawing them would freeze the window; what
    // lies beyond is left out.
    int64_t memberBudget = 2000000;
    Path path;
    Pen pen;
    std::string textBuf, lineBuf;

    void drawEntity(const DrawArgs& a, const CullFrame& frame, int index);
    void drawInsert(const DrawArgs& a, const CullFrame& frame, const tpoly& p, const Placement& at, double bz);
    void drawText(const DrawArgs& a, const tpoly& p, const Placement& at, Rgb color);
    void drawGeometry(const DrawArgs& a, const tpoly& p, const Placement& at, Rgb color);
    void arrow(double px, double py, double qx, double qy, double length, bool light);
    void dimText(const DrawArgs& a, const tpoly& p, const Placement& at, Rgb color);
    void drawViewport(const DrawArgs& a, const tpoly& p, const Placement& at);
    void grips(const DrawArgs& a, const tpoly& p, const Placement& at);
};

// Pixel of entity point (x, y) placed by `at`: x stays fractional, y is a whole row.
double pixelX(const DrawArgs& a, const Placement& at, double x, double y)
{
    return at.mapX(x, y) * a.zoomit / 100 - a.scrollx;
}

double pixelY(const DrawArgs& a, const Placement& at, double x, double y)
{
    return (a.paintbox1height - 1) - roundEven(at.mapY(x, y) * a.zoomit / 100 + a.scrolly);
}

// The visible area in drawing units for one call: an extent (placed where the entity
// shows) outside [x1, x2] x [y1, y2], widened by its pixel reach, cannot touch the area.
struct CullFrame {
    bool active = false;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    double unitsPerPixel = 0;
};

CullFrame cullFrame(const PixelRect& r, const DrawArgs& a, bool culling)
{
    CullFrame f;
    const double s = a.zoomit / 100;
    if (!culling || !(s > 0) || !std::isfinite(s) || !std::isfinite(a.scrollx) || !std::isfinite(a.scrolly))
        return f;
    const double h = a.paintbox1height - 1;
    f.x1 = (r.left + a.scrollx) / s;
    f.x2 = (r.right + a.scrollx) / s;
    f.y1 = (h - r.bottom - a.scrolly) / s;
    f.y2 = (h - r.top - a.scrolly) / s;
    f.unitsPerPixel = 1 / s;
    f.active = std::isfinite(f.x1) && std::isfinite(f.x2) && std::isfinite(f.y1) && std::isfinite(f.y2) &&
               std::isfinite(f.unitsPerPixel);
    return f;
}

// Pixel reach of a box, plus a pixel for the rounding of rows and one for antialiasing.
double padUnits(const CullFrame& f, const RenderCache::Box& b) { return (b.padPx + 3) * f.unitsPerPixel; }

// A box already placed where it shows.
bool outsideFrame(const CullFrame& f, const RenderCache::Box& b)
{
    if (!f.active || b.unbounded || b.empty)
        return false;  // an empty extent: let the drawing code decide (grips, points)
    const double pad = padUnits(f, b);
    return b.maxx + pad < f.x1 || b.minx - pad > f.x2 || b.maxy + pad < f.y1 || b.miny - pad > f.y2;
}

bool outsideFrame(const CullFrame& f, const RenderCache::Box& b, const Placement& at)
{
    if (!f.active || b.unbounded || b.empty)
        return false;
    RenderCache::Box placed;
    widen(placed, b, at);
    return outsideFrame(f, placed);
}

// The rows j of column i of an array whose cell, box b moved by i * u + j * v, can touch
// the frame: [lo, hi], empty when lo > hi. Generous by up to a row at either end.
void visibleRows(const CullFrame& f, const RenderCache::Box& b, const GridSteps& s, int i, int rows,
                 int& lo, int& hi)
{
    lo = 0, hi = rows - 1;
    if (!f.active || b.unbounded || b.empty)
        return;
    const double pad = padUnits(f, b);
    double jlo = 0, jhi = rows - 1;
    // Along one axis: the cell's [b1, b2] + i u + j v must meet [f1, f2].
    const auto limit = [&](double b1, double b2, double u, double v, double f1, double f2) {
        const double from = f1 - pad - b2 - i * u, to = f2 + pad - b1 - i * u;  // from <= j v <= to
        if (v > 0)
            jlo = std::max(jlo, std::floor(from / v)), jhi = std::min(jhi, std::ceil(to / v));
        else if (v < 0)
            jlo = std::max(jlo, std::floor(to / v)), jhi = std::min(jhi, std::ceil(from / v));
        else if (!(from <= 0 && 0 <= to))
            jhi = -1;
    };
    limit(b.minx, b.maxx, s.ux, s.vx, f.x1, f.x2);
    limit(b.miny, b.maxy, s.uy, s.vy, f.y1, f.y2);
    if (!(jlo <= jhi)) {  // also NaN
        lo = 0, hi = -1;
        return;
    }
    lo = int(jlo), hi = int(jhi);
}

void Painter::draw(const DrawArgs& a)
{
    if (depth > 64)
        return;
    ++depth;
    const CullFrame frame = cullFrame(cull, a, culling);
    if (a.blocktodraw.empty()) {
        const int n = int(cache.infos.size());
        for (int i = 0; i < n; ++i)
            if (!cache.infos[i].isblock)
                drawEntity(a, frame, i);
    } else {
        auto it = cache.blockMembers.find(a.blocktodraw);
        if (it != cache.blockMembers.end())
            for (int i : it->second)
                drawEntity(a, frame, i);
    }
    --depth;
}

void Painter::drawEntity(const DrawArgs& a, const CullFrame& frame, int index)
{
    // Space filter, from the cache's small records.
    const RenderCache::Info& info = cache.infos[index];
    if (a.thelayhan != -999) {
        if (!(info.layhan == a.thelayhan || (a.showmodel && info.layhan == 0)))
            return;
    } else {
        if (a.showmodel && info.ispaperspace)
            return;
        if (!a.showmodel && !info.ispaperspace && a.blocktodraw.empty())
            return;
    }
    // On a switched-off layer (the cache has set `locked` from the layer).
    if (info.hidden)
        return;
    // Block filter: draw() offers only entities outside blocks, or the members of
    // `blocktodraw` (the cache lists them by block name).
    if (info.isblock == a.blocktodraw.empty())
        return;
    // Placement: the base offset, and for a block member first its block's base point
    // taken away and the insert's scale and rotation applied.
    Placement at{a.lina, a.linb, a.linc, a.lind, a.baseblx, a.basebly};
    double bz = a.baseblz;
    if (info.isblock) {
        const tpoly& member = m.polys[index];
        at = at.from(member.blockbasex, member.blockbasey);
        bz -= member.blockbasez;
    }
    if (outsideFrame(frame, cache.boxOf(m, index), at))
        return;
    tpoly& p = m.polys[index];
    // Pen.
    const LayerStyle ls = layerStyleAt(m, cache.layerIndex[index]);
    const Rgb color = getcolornr(entityColorNr(p, ls), a.showmodelforcolor);
    pen.color = color;
    pen.width = penWidthOf(p, ls, a.dpi1, a.showweight);
    pen.dashDot = false;
    pen.dashes.clear();
    pen.dashOffset = 0;

    // Dashes, their lengths scaled with the block and by the drawing's and the entity's
    // line type scales.
    if (p.selected && !a.forprint) {
        pen.dashDot = true;
        pen.dashes.assign({5, 5});
    } else if (const model::TLineType* lt = lineTypeOf(m, p, ls)) {
        const double scale = m.ltscale * (p.ltscale > 0 ? p.ltscale : 1);
        dashPattern(*lt, a.zoomit * at.lengthScale() * scale, pen.dashes, pen.dashOffset);
    }

    if (!p.insertstr.empty())
        drawInsert(a, frame, p, at, bz);
    else if (!p.textstr.empty() && !isDimension(p))
        drawText(a, p, at, color);
    else
        drawGeometry(a, p, at, color);

    if (p.isviewport && p.viewid != 1)
        drawViewport(a, p, at);
    if (!a.forprint)
        grips(a, p, at);
}

// A block insert: the block's members through every cell of the insert's array that can
// touch the area. A block that is already being drawn is not drawn again inside itself.
void Painter::drawInsert(const DrawArgs& a, const CullFrame& frame, const tpoly& p, const Placement& at,
                         double bz)
{
    const std::string_view name = p.insertstr;
    const auto listed = cache.blockMembers.find(name);
    if (listed == cache.blockMembers.end() ||
        std::find(drawingBlocks.begin(), drawingBlocks.end(), name) != drawingBlocks.end())
        return;
    const int64_t members = int64_t(listed->second.size());
    const InsertGrid grid = insertGrid(p);
    const GridSteps steps = gridSteps(grid, at);
    const Placement first = at.after(grid.first);
    // The block's extent in cell (0, 0); unknown (a block inserting itself) never skips.
    RenderCache::Box cell0;
    auto known = cache.blockBoxes.find(name);
    if (known != cache.blockBoxes.end())
        widen(cell0, known->second, first);
    else
        cell0.unbounded = true;
    DrawArgs inner = a;
    inner.blocktodraw = name;
    inner.thelayhan = -999;
    inner.baseblz = (vertexCount(p) > 0 ? p.ps[0].z : 0) + bz;
    inner.lina = first.a, inner.linb = first.b, inner.linc = first.c, inner.lind = first.d;
    drawingBlocks.push_back(name);
    for (int i = 0; i < grid.cols; ++i) {
        int lo = 0, hi = 0;
        visibleRows(frame, cell0, steps, i, grid.rows, lo, hi);
        for (int j = lo; j <= hi; ++j) {
            if ((memberBudget -= members) < 0)
                break;
            const Placement cell = at.after(grid.cell(i, j));
            inner.baseblx = cell.e, inner.basebly = cell.f;
            if (finite2(inner.baseblx, inner.basebly))
                draw(inner);
        }
    }
    drawingBlocks.pop_back();
}

void Painter::drawText(const DrawArgs& a, const tpoly& p, const Placement& at, Rgb color)
{
    if (vertexCount(p) < 1)
        return;
    const double z = a.zoomit;
    const double hraw = roundEven(p.radius * z / 100);
    if (!(p.radius >= 0) || !std::isfinite(hraw) || hraw < 0)
        return;  // a negative or unreadable height draws nothing
    const double h = hraw == 0 ? 1 : hraw;
    const double ang = p.rotation * pi / 180;
    if (!std::isfinite(ang))
        return;
    const Tmypoi& v = p.ps[0];
    const double sx = pixelX(a, at, v.x, v.y);
    const double yup = at.mapY(v.x, v.y) * z / 100 + a.scrolly;
    if (!std::isfinite(sx) || !std::isfinite(yup))
        return;
    const double sa = std::sin(ang), ca = std::cos(ang);
    // Seen from below the glyphs are mirrored across their baseline, so "up" in the text's
    // frame (the single line's top above its baseline, the next line's advance) turns round.
    const bool mirrored = p.ext230 < 0;
    const double r = mirrored ? -ang : ang;
    const Matrix rot{std::cos(r), -std::sin(r), std::sin(r), std::cos(r), 0, 0};
    const double s = mirrored ? -1 : 1;
    double ox = 0, oy = 0;
    if (!p.ismtext)
        ox = -s * h * sa, oy = s * h * ca;
    const bool outline = p.selected && !a.forprint;
    // Inside a scaled, turned or mirrored insert the text is drawn in its own pixel frame
    // about its insertion point and then placed by the insert's linear part (pixel y runs
    // downwards, so the off-diagonal terms change sign).
    const bool shifted = at.isShift();
    const Matrix block{at.a, -at.b, -at.c, at.d, sx, (a.paintbox1height - 1) - yup};

    textLines(p.textstr, textBuf);
    size_t start = 0;
    while (start <= textBuf.size()) {
        size_t end = textBuf.find('\n', start);
        if (end == std::string::npos)
            end = textBuf.size();
        const std::string_view line(textBuf.data() + start, end - start);
        if (shifted) {
            const Matrix place{1, 0, 0, mirrored ? -1.0 : 1.0, sx + ox, (a.paintbox1height - 1) - (yup + oy)};
            g.setTransform(rot.then(place));
        } else {
            const Matrix place{1, 0, 0, mirrored ? -1.0 : 1.0, ox, -oy};
            g.setTransform(rot.then(place).then(block));
        }
        if (outline) {
            path.clear();
            path.addText(line, h, 0, 0);
            g.strokePath(path, pen);
        } else {
            g.drawText(line, h, 0, 0, color);
        }
        ox += s * h * sa;
        oy -= s * h * ca;
        start = end + 1;
    }
    g.resetTransform();
}

// An arrowhead `length` pixels long with its tip at p, pointing away from q.
void Painter::arrow(double px, double py, double qx, double qy, double length, bool light)
{
    const double len = std::hypot(qx - px, qy - py);
    if (len == 0 || !std::isfinite(len))
        return;
    const double ux = (qx - px) / len * length, uy = (qy - py) / len * length;
    const double ax = px + ux + uy / 5, ay = py + uy - ux / 5;
    const double bx = px + ux - uy / 5, by = py + uy + ux / 5;
    path.segment(px, py, ax, ay);
    path.segment(ax, ay, bx, by);
    path.segment(bx, by, px, py);
    Brush b;
    b.color = light ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
    g.fillPath(path, b);
}

// The dimension text, unturned, centred on its point; its height scales with the block.
void Painter::dimText(const DrawArgs& a, const tpoly& p, const Placement& at, Rgb color)
{
    dimensionText(p, lineBuf);
    const double hr = roundEven(p.dimtextheight * (a.zoomit * at.lengthScale()) / 100);
    if (!std::isfinite(hr) || hr < 0)
        return;
    const double h = hr == 0 ? 1 : hr;
    const double x = roundEven(pixelX(a, at, p.cx1, p.cy1));
    const double y = pixelY(a, at, p.cx1, p.cy1);
    if (!finite2(x, y))
        return;
    const TextSize ts = g.textSize(lineBuf, h);
    const double left = x - ts.width / 2, top = y - ts.height / 2;  // integer halves, toward zero
    if (p.selected && !a.forprint) {
        path.addText(lineBuf, h, left, top);
        g.strokePath(path, pen);
        path.clear();
    } else {
        g.drawText(lineBuf, h, left, top, color);
    }
}

void Painter::drawGeometry(const DrawArgs& a, const tpoly& p, const Placement& at, Rgb color)
{
    // Polyline widths and arrowheads are sizes in drawing units: they scale with the block.
    const double z = a.zoomit * at.lengthScale();
    path.clear();
    if (p.setwidonce && p.thewid > 0)
        pen.width = p.thewid * z / 100;
    const int n = vertexCount(p);
    const bool filled = p.issolid || p.iswipeout;
    // A dimension's arrowheads at its style's size; otherwise 1/6 of a unit.
    const double arrowLength = p.dimarrowsize > 0 ? z * p.dimarrowsize / 100 : z / 600;
    bool havePrev = false, flushed = false, firstSegment = true;
    double x0 = 0, y0 = 0;
    auto it = p.ps.begin();
    for (int i = 0; i < n; ++i, ++it) {
        const Tmypoi v = *it;
        if (v.donotdraw)
            continue;
        if (v.setwid && v.wid != 0) {
            const double w = v.wid * z / 100;
            pen.width = w < 0 ? 1 : w;
        }
        const double x1 = pixelX(a, at, v.x, v.y);
        const double y1 = pixelY(a, at, v.x, v.y);
        if (!finite2(x1, y1)) {
            havePrev = false;  // a point that cannot be placed breaks the outline
        } else if (!havePrev) {
            x0 = x1, y0 = y1, havePrev = true;
            if (p.ispoint)
                g.fillRect(roundPixel(x1), roundPixel(y1), 1, 1, color);
        } else {
            if ((p.arrowhead && firstSegment) || v.botharrows == 1 || v.botharrows == 3)
                arrow(x0, y0, x1, y1, arrowLength, a.showmodelforcolor);
            if (v.botharrows == 2 || v.botharrows == 3)
                arrow(x1, y1, x0, y0, arrowLength, a.showmodelforcolor);
            if (v.doadddimtexthere && p.textstr != " ")
                dimText(a, p, at, color);
            if (v.moveonly) {
                // A new figure: a filled outline (a hatch with holes) keeps its figures in
                // one path to fill them together; strokes are drawn as they end.
                if (!filled) {
                    g.strokePath(path, pen);
                    path.clear();
                }
            } else {
                path.segment(x0, y0, x1, y1);
            }
            x0 = x1, y0 = y1;
            firstSegment = false;
        }
        if (v.setwid) {
            g.strokePath(path, pen);
            path.clear();
            flushed = true;
        }
    }
    if (p.isclosed && !flushed)
        path.closeFigure();
    if (filled) {
        Brush b;
        if (p.iswipeout) {
            b.color = {255, 255, 255};
        } else if (p.patternfill) {
            b.style = Brush::Style::BackwardDiagonal;
            b.color = color;
            b.background = paperColor(a.showmodelforcolor);  // between the lines the paper shows
        } else {
            b.color = color;
        }
        g.fillPath(path, b);
    }
    g.strokePath(path, pen);
}

// A viewport's window on model space. Inside a block (which no drawing program writes)
// only its centre follows the block.
void Painter::drawViewport(const DrawArgs& a, const tpoly& p, const Placement& at)
{
    const double bx = at.isShift() ? at.e : at.mapX(p.cx, p.cy) - p.cx;
    const double by = at.isShift() ? at.f : at.mapY(p.cx, p.cy) - p.cy;
    const double z = a.zoomit;
    const int H = a.paintbox1height;
    const double l = roundPixel((p.cx - p.widx / 2 + bx) * z / 100 - a.scrollx);
    const double r = roundPixel((p.cx + p.widx / 2 + bx) * z / 100 - a.scrollx);
    const double y1 = (H - 1) - roundPixel((p.cy - p.widy / 2 + by) * z / 100 + a.scrolly);
    const double y2 = (H - 1) - roundPixel((p.cy + p.widy / 2 + by) * z / 100 + a.scrolly);
    if (!finite2(p.cx, p.cy) || !finite2(p.widx, p.widy) || !finite2(p.panx, p.pany))
        return;

    DrawArgs inner = a;
    inner.blocktodraw = {};
    inner.showmodel = true;
    inner.lina = 1, inner.linb = 0, inner.linc = 0, inner.lind = 1;
    bool drawIt = false;
    if (p.viewheight != 0 && p.widy != 0 && std::isfinite(p.viewheight)) {
        const double k = p.widy / p.viewheight;
        if (!m.layouts.empty()) {
            inner.thelayhan = m.layouts[0].layhan;
            drawIt = !(inner.thelayhan == a.thelayhan && a.showmodel);
        } else {
            inner.thelayhan = -999;
            drawIt = !(a.thelayhan == -999 && a.showmodel);
        }
        inner.zoomit = z * k;
        inner.baseblx = (p.cx + bx) / k - p.panx;
        inner.basebly = (p.cy + by) / k - p.pany;
        inner.baseblz = -p.cz / k;
    } else {
        drawIt = a.thelayhan != -999 || !a.showmodel;
        inner.thelayhan = -999;
        inner.baseblx = p.cx + bx - p.panx;
        inner.basebly = p.cy + by - p.pany;
        inner.baseblz = -p.cz;
    }
    if (!drawIt || !std::isfinite(inner.zoomit) || !finite2(inner.baseblx, inner.basebly))
        return;

    g.save();
    path.clear();
    path.segment(l, y1, r, y1);
    path.segment(r, y1, r, y2);
    path.segment(r, y2, l, y2);
    path.segment(l, y2, l, y1);
    g.clipPath(path);
    const PixelRect saved = cull;
    cull.left = std::max(cull.left, std::min(l, r));
    cull.right = std::min(cull.right, std::max(l, r));
    cull.top = std::max(cull.top, std::min(y1, y2));
    cull.bottom = std::min(cull.bottom, std::max(y1, y2));
    if (!culling || (cull.left <= cull.right && cull.top <= cull.bottom))
        draw(inner);
    cull = saved;
    g.restore();
}

void Painter::grips(const DrawArgs& a, const tpoly& p, const Placement& at)
{
    if (!p.selected)
        return;
    Pen gripPen;
    gripPen.color = a.showmodelforcolor ? Rgb{0, 0, 0} : Rgb{255, 255, 255};
    const int n = vertexCount(p);
    auto it = p.ps.begin();
    for (int i = 0; i < n; ++i, ++it) {
        const Tmypoi v = *it;
        if (v.linex <= 0)
            continue;
        const double sx = pixelX(a, at, v.x, v.y), sy = pixelY(a, at, v.x, v.y);
        if (!finite2(sx, sy))
            continue;
        const int x = roundPixel(sx), y = roundPixel(sy);
        if (p.isviewport && p.viewid != 1 && i >= 5 && i <= 7) {
            g.drawIcon(Icon(i - 5), x - 8, y - 8);
        } else {
            g.fillRect(x - 5, y - 5, 10, 10, {0, 0, 255});
            g.strokeRect(x - 5, y - 5, 10, 10, gripPen);
        }
    }
}

}  // namespace

void Drawpolys(DrawSurface& graphics, DisplayModel& m, const DrawArgs& args, RenderCache& cache,
               const PixelRect* visible)
{
    Painter painter(graphics, m, cache, visible);
    painter.draw(args);
}

void Drawpolys(DrawSurface& graphics, DisplayModel& m, const DrawArgs& args)
{
    RenderCache cache;
    cache.build(m, args.dpi1, args.showweight);
    Drawpolys(graphics, m, args, cache, nullptr);
}

}  // namespace kerbon::view
