// Element masks: contour pixels, even-odd fill and a round-ended stroke K pixels wide.
#include "nesting/nest_mask.h"

#include <algorithm>
#include <cmath>

namespace kerbon::nest {

RasterGeometry rasterGeometry(const NestSettings& s)
{
    RasterGeometry g;
    g.W = s.pixbreite;
    g.H = int(rasterRows(s));
    g.r = s.pixbreite / s.pw;
    g.step = s.pw / s.pixbreite;
    g.K = int(std::trunc(g.r * s.distance)) + 1;
    return g;
}

namespace {

struct Pixel {
    double x = 0, y = 0;
};

// The contour points in mask pixels: X = trunc((x - minx) * r) + K, Y = trunc((y - miny) * r + K).
// Kept as doubles: a part far larger than the sheet gives values beyond any integer type,
// and only the part of the mask that can reach the sheet is stored. Values are held within
// +-1e12 pixels, far beyond any raster, so that the arithmetic below stays finite.
std::vector<Pixel> pixelsOf(const TNestElement& e, const RasterGeometry& g)
{
    constexpr double far = 1e12;
    std::vector<Pixel> px(e.ps.size());
    for (size_t k = 0; k < e.ps.size(); ++k) {
        px[k].x = std::clamp(std::trunc((e.ps[k].x - e.minx) * g.r) + g.K, -far, far);
        px[k].y = std::clamp(std::trunc((e.ps[k].y - e.miny) * g.r + g.K), -far, far);
    }
    return px;
}

// The rows from lo to hi (real values) that exist in the mask; false when there are none.
bool rowSpan(double lo, double hi, const NestMask& m, int& i0, int& i1)
{
    const double a = std::max(std::ceil(lo), 0.0);
    const double b = std::min(std::floor(hi), double(m.rows - 1));
    if (!(a <= b))
        return false;
    i0 = int(a), i1 = int(b);
    return true;
}

void sizeOf(const std::vector<Pixel>& px, const RasterGeometry& g, int& cols, int& rows)
{
    cols = rows = 0;
    if (px.empty())
        return;
    double x0 = px[0].x, x1 = px[0].x, y0 = px[0].y, y1 = px[0].y;
    for (const Pixel& p : px) {
        x0 = std::min(x0, p.x), x1 = std::max(x1, p.x);
        y0 = std::min(y0, p.y), y1 = std::max(y1, p.y);
    }
    const double K = g.K;
    const double c = (x1 + K) - (x0 - K) + 1 + 2 * K;
    const double r = (y1 + K) - (y0 - K) + 1 + 2 * K;
    cols = int(std::min(c, double(g.W) + K));
    rows = int(std::min(r, double(g.H) + K));
}

void setRange(NestMask& m, int i, double lo, double hi)
{
    const double a = std::max(std::ceil(lo), 0.0);
    const double b = std::min(std::floor(hi), double(m.cols - 1));
    if (!(a <= b))
        return;
    uint64_t* row = m.bits.data() + size_t(i) * size_t(m.words);
    const int c0 = int(a), c1 = int(b);
    const int w0 = c0 >> 6, w1 = c1 >> 6;
    const uint64_t first = ~uint64_t(0) << (c0 & 63);
    const uint64_t last = ~uint64_t(0) >> (63 - (c1 & 63));
    if (w0 == w1) {
        row[w0] |= first & last;
        return;
    }
    row[w0] |= first;
    for (int w = w0 + 1; w < w1; ++w)
        row[w] = ~uint64_t(0);
    row[w1] |= last;
}

// Even-odd fill of one closed contour: a cell is set when its centre lies between an odd
// and the following even crossing of its row.
void fillContour(NestMask& m, const Pixel* p, size_t n)
{
    if (n < 3)
        return;
    double y0 = p[0].y, y1 = p[0].y;
    for (size_t k = 1; k < n; ++k)
        y0 = std::min(y0, p[k].y), y1 = std::max(y1, p[k].y);
    int i0 = 0, i1 = -1;
    if (!rowSpan(y0, y1, m, i0, i1))
        return;
    std::vector<double> xs;
    for (int i = i0; i <= i1; ++i) {
        const double y = i;
        xs.clear();
        for (size_t k = 0, j = n - 1; k < n; j = k++) {
            const Pixel& a = p[j];
            const Pixel& b = p[k];
            if ((a.y <= y) != (b.y <= y))
                xs.push_back(a.x + (y - a.y) * (b.x - a.x) / (b.y - a.y));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t k = 0; k + 1 < xs.size(); k += 2)
            setRange(m, i, xs[k], xs[k + 1]);
    }
}

// Sets the cells whose centre lies within h of the segment a-b: per row, the slice of the
// capsule (two end discs and the band between them) is one interval.
void strokeSegment(NestMask& m, const Pixel& a, const Pixel& b, double h)
{
    int i0 = 0, i1 = -1;
    if (!rowSpan(std::min(a.y, b.y) - h, std::max(a.y, b.y) + h, m, i0, i1))
        return;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double L2 = dx * dx + dy * dy;
    const double hL = h * std::sqrt(L2);
    for (int i = i0; i <= i1; ++i) {
        const double y = i;
        double lo = INFINITY, hi = -INFINITY;
        for (const Pixel* e : {&a, &b}) {
            const double ey = y - e->y;
            if (ey * ey <= h * h) {
                const double s = std::sqrt(h * h - ey * ey);
                lo = std::min(lo, e->x - s), hi = std::max(hi, e->x + s);
            }
        }
        if (L2 > 0) {
            const double ry = y - a.y;
            // Along the segment: 0 <= (x - ax) dx + ry dy <= L2.
            double l1 = -INFINITY, h1 = INFINITY;
            if (dx != 0) {
                const double u = (0 - ry * dy) / dx, v = (L2 - ry * dy) / dx;
                l1 = std::min(u, v), h1 = std::max(u, v);
            } else if (!(ry * dy >= 0 && ry * dy <= L2)) {
                l1 = INFINITY;
            }
            // Across it: |dx ry - dy (x - ax)| <= h L.
            double l2 = -INFINITY, h2 = INFINITY;
            if (dy != 0) {
                const double u = (dx * ry - hL) / dy, v = (dx * ry + hL) / dy;
                l2 = std::min(u, v), h2 = std::max(u, v);
            } else if (!(std::fabs(dx * ry) <= hL)) {
                l2 = INFINITY;
            }
            const double l = std::max(l1, l2), r = std::min(h1, h2);
            if (l <= r)
                lo = std::min(lo, a.x + l), hi = std::max(hi, a.x + r);
        }
        if (lo <= hi)
            setRange(m, i, lo, hi);
    }
}

}  // namespace

void maskSize(const TNestElement& e, const RasterGeometry& g, int& cols, int& rows)
{
    sizeOf(pixelsOf(e, g), g, cols, rows);
}

NestMask buildMask(const TNestElement& e, const RasterGeometry& g)
{
    NestMask m;
    const std::vector<Pixel> px = pixelsOf(e, g);
    sizeOf(px, g, m.cols, m.rows);
    if (m.cols <= 0 || m.rows <= 0) {
        m.cols = m.rows = 0;
        return m;
    }
    m.words = (m.cols + 63) / 64;
    m.bits.assign(size_t(m.rows) * size_t(m.words), 0);
    const double h = g.K / 2.0;
    forEachContour(e.ps, e.ends, [&](std::span<const TFPoint> c) {
        const Pixel* p = px.data() + (c.data() - e.ps.data());
        const size_t n = c.size();
        fillContour(m, p, n);
        for (size_t k = 0; k < n; ++k)
            strokeSegment(m, p[k], p[(k + 1) % n], h);
    });
    return m;
}

}  // namespace kerbon::nest
