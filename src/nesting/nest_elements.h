// Nesting: the elements taken over from a drawing, the settings of a search and the sheet
// proposed for a drawing. An element is one object of the drawing, or, when inner contours
// travel with their part, a closed outline together with every object lying inside it.
// Coordinates are drawing units; y grows upwards.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "dxf/model.h"
#include "nesting/tarvel.h"

namespace kerbon::nest {

struct TFPoint {
    double x = 0, y = 0;
    friend bool operator==(const TFPoint&, const TFPoint&) = default;
};
using TFPointArray = std::vector<TFPoint>;

// One element. `ps` holds one contour for a plain object; an INSERT brings one contour per
// drawn object of its block, and `ends` says where each contour ends in `ps`.
struct TNestElement {
    TFPointArray ps;               // outline points: the element's mask is made of these
    std::vector<uint32_t> ends;    // end (exclusive) of each contour of ps; empty without points
    TFPointArray inner;            // points of the objects carried inside the outline (preview)
    std::vector<uint32_t> innerEnds;
    double bestx = 0, besty = 0;   // placement of the best arrangement found so far
    double minx = 0, miny = 0;     // lower-left corner of the extent of ps
    double x = 0, y = 0;           // placement: where the extent's lower-left corner lies
    double w = 0, h = 0;           // size of the extent
    std::vector<int> objs;         // display-model objects it stands for, its own first
};

// Calls f(span of points) for every contour of a point list with its contour ends. Points
// without ends are one contour.
template <class F>
void forEachContour(const TFPointArray& ps, const std::vector<uint32_t>& ends, F f)
{
    if (ends.empty()) {
        if (!ps.empty())
            f(std::span<const TFPoint>(ps));
        return;
    }
    uint32_t from = 0;
    for (uint32_t end : ends) {
        f(std::span<const TFPoint>(ps.data() + from, end - from));
        from = end;
    }
}

// What a search is asked to do. The window's fields and the command line fill it.
struct NestSettings {
    double pw = 10, ph = 10;       // sheet width and height
    double distance = 0.1;         // minimum spacing between two elements
    double seitenrand = 2;         // margin along the four sheet edges
    int pixbreite = 200;           // raster width in pixels on which arrangements are tried
    int anziterations = 50;        // arrangements tried per search
};

inline constexpr int minPixbreite = 20, maxPixbreite = 1000;
inline constexpr int maxIterations = 100000000;
// The sheet raster holds at most this many cells; taller sheets are refused.
inline constexpr int64_t maxRasterCells = int64_t(64) << 20;

// Why a search cannot run with some settings. The window and the command line word it.
enum class NestProblem {
    None,
    SheetWidth,     // not a number greater than 0
    SheetHeight,    // not a number greater than 0
    Spacing,        // negative, not a number, or not smaller than the sheet width
    Margin,         // negative, not a number, or leaving no room on the sheet
    Pixels,         // raster width outside 20 ... 1000
    Iterations,     // fewer than 1 or more than 100000000
    RasterHeight,   // the sheet is so low against its width that the raster has no row
    RasterSize,     // the sheet is so high against its width that the raster gets too large,
                    // or (found by the search) the parts' masks together get too large
};
NestProblem checkSettings(const NestSettings& s);

// Raster height H = trunc(W * ph / pw) of valid settings.
int64_t rasterRows(const NestSettings& s);

// The sheet proposed for a drawing whose elements span gminx ... gmaxx, gminy ... gmaxy:
// 110 % of the extent, and a spacing and margin of 1 % of the proposed width, each rounded
// to the two decimals the window shows.
struct SheetProposal {
    double width = 0, height = 0, spacing = 0, margin = 0;
};

// A number as a field with two decimals holds it.
double round2(double v);

// The nesting window's data without the window: the element list and the extent of all
// elements. Lives as long as the window; each take-over rebuilds the list.
class Schachtelung {
public:
    TNestElement* aele = nullptr;              // the list's current record
    TDynaArray<TNestElement> elemente{&aele};
    double gminx = 0, gminy = 0, gmaxx = 0, gmaxy = 0;  // extent of all elements

    // Take-over of the drawing shown on layout tab `tab`: every object of that tab that the
    // transfer can move as a whole becomes an element (objects of other tabs, block members
    // and construction lines and rays do not; an INSERT brings its block's contours). With
    // keepHoles an object lying wholly inside the closed outline of another joins that
    // object's element. Ends with CalcNormierung.
    void Uebernehmen(const model::DisplayModel& m, int tab, bool keepHoles);
    // Extent of every element (all of its outline points) and of all elements together;
    // each element is placed where its object lies. Elements without points count for
    // neither extent.
    void CalcNormierung();
    void ClearElemente();

    SheetProposal proposal() const;
    // Number of display-model objects the elements stand for.
    int objectCount() const;
};

}  // namespace kerbon::nest
