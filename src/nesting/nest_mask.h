// The raster a nesting search works on: the numbers shared by the sheet and the element
// masks, and the mask of one element (its filled contours with an outline as wide as the
// spacing), stored as rows of bits. Rows go upwards like drawing y; cell (i, c) is the
// pixel centred on the point (c, i) of the mask.
#pragma once

#include <cstdint>
#include <vector>

#include "nesting/nest_elements.h"

namespace kerbon::nest {

struct RasterGeometry {
    int W = 0;          // sheet columns (the pixel width)
    int H = 0;          // sheet rows: trunc(W * ph / pw)
    double r = 0;       // pixels per drawing unit, W / pw
    double step = 0;    // drawing units per pixel, pw / W: the distance between tried positions
    int K = 1;          // stroke width in pixels, trunc(r * distance) + 1; also the mask offset
};

// For settings that pass checkSettings.
RasterGeometry rasterGeometry(const NestSettings& s);

struct NestMask {
    int cols = 0, rows = 0;   // stored size
    int words = 0;            // 64-bit words per row
    std::vector<uint64_t> bits;

    const uint64_t* row(int i) const { return bits.data() + size_t(i) * size_t(words); }
    bool cell(int i, int c) const { return (row(i)[c >> 6] >> (c & 63)) & 1; }
};

// Size of an element's mask: its contour pixels plus K on every side and K more, cut to
// what can ever reach the sheet (W + K columns, H + K rows). No points: 0 x 0.
void maskSize(const TNestElement& e, const RasterGeometry& g, int& cols, int& rows);

// The mask of an element: every contour of `ps` filled by the even-odd rule and its closed
// outline stroked K pixels wide with round joins and ends. An element without points gets
// an empty mask, a one-point element a dot.
NestMask buildMask(const TNestElement& e, const RasterGeometry& g);

}  // namespace kerbon::nest
