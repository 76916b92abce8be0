// The nesting search: a randomised first-fit placement on a pixel raster of the sheet.
//
// Each iteration takes the elements in a random order and drops each one at the first
// position where its mask meets no occupied cell, trying positions from the lower-left
// corner to the right, one pixel step apart, then row by row upwards. Positions are
// accumulated by repeated addition of the step. The arrangement is then shifted to start
// at the margin; the one with the smallest used height wins, an arrangement that fits on
// the sheet always beats one that does not, and ties keep the earlier one.
//
// The sheet and the masks are rows of bits; positions that provably collide are skipped
// without testing. Iterations run on several threads: their orders are drawn one after
// another from the one generator, and results are accepted in iteration order, so the
// arrangement depends only on the seed, the settings and the elements, never on the
// number of threads.
#pragma once

#include <atomic>
#include <span>
#include <vector>

#include "dxf/Random.h"
#include "nesting/nest_elements.h"

namespace kerbon::nest {

// Shared with whoever watches a running search (the window's timer).
struct SearchProgress {
    std::atomic<int> accepted{0};     // iterations accepted so far, in order
    std::atomic<bool> cancel{false};  // stop soon; the best arrangement so far is kept
};

struct SearchResult {
    NestProblem problem = NestProblem::None;  // settings refused: nothing was searched
    int iterations = 0;       // iterations accepted (fewer than asked when cancelled)
    bool cancelled = false;
    bool over = false;        // the best arrangement does not fit on the sheet
    double usedWidth = 0, usedHeight = 0;
    std::vector<TFPoint> at;  // the best arrangement: each element's place, in list order;
                              // empty when nothing was accepted
};

// One order of the elements for an iteration: for each position a uniform index from
// 0 ... n - 1, drawn again while it was taken by an earlier position.
void drawOrder(Random& rnd, int n, std::vector<int>& order);

// Searches an arrangement of the elements (their points, extents and sizes; placements
// are not read). Nothing is accepted when the settings are refused or the search is
// cancelled before the first iteration ends. threads 0: as many as the machine runs at once.
SearchResult searchArrangement(std::span<const TNestElement> elements, const NestSettings& s,
                               Random& rnd, int threads = 0, SearchProgress* progress = nullptr);

// Puts a search's best arrangement into the elements' x, y, bestx and besty (sheet
// coordinates, lower-left corners of their extents); without one nothing changes.
void takeArrangement(std::span<TNestElement> elements, const SearchResult& r);

}  // namespace kerbon::nest
