// Nesting elements for tests: contours made directly, without a drawing.
#pragma once

#include <cmath>
#include <random>
#include <span>
#include <vector>

#include "dxf/Random.h"
#include "nesting/nest_elements.h"
#include "nesting/nest_search.h"

namespace kerbon::nest::test {

// A closed contour through the corners, the first point repeated at the end.
inline TFPointArray closed(std::vector<TFPoint> corners)
{
    corners.push_back(corners.front());
    return corners;
}

inline TFPointArray rect(double x, double y, double w, double h)
{
    return closed({{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}});
}

// Fills n with one element per contour and normalises it.
inline void fill(Schachtelung& n, const std::vector<TFPointArray>& contours)
{
    n.ClearElemente();
    for (const TFPointArray& c : contours) {
        TNestElement* e = n.elemente.Add();
        e->ps = c;
        if (!c.empty())
            e->ends = {uint32_t(c.size())};
    }
    n.CalcNormierung();
}

inline std::span<TNestElement> span(Schachtelung& n)
{
    return {n.elemente.poi(), n.elemente.count()};
}

// The display-model objects of each element, in list order.
inline std::vector<std::vector<int>> groups(const Schachtelung& n)
{
    std::vector<std::vector<int>> g;
    for (uint32_t i = 0; i < n.elemente.count(); ++i)
        g.push_back(n.elemente.recordAt(i).objs);
    return g;
}

// The fast search, its best arrangement put into the elements.
inline SearchResult nestSearch(Schachtelung& n, const NestSettings& s, uint64_t seed, int threads,
                               SearchProgress* progress = nullptr)
{
    Random rnd(seed);
    SearchResult r = searchArrangement(span(n), s, rnd, threads, progress);
    takeArrangement(span(n), r);
    return r;
}

// A mixed set of parts drawn from a seed: rectangles, triangles, L shapes, stars (concave)
// and circles, scattered over the drawing, plus the odd open contour.
inline std::vector<TFPointArray> mixedParts(unsigned seed, int count)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> size(0.8, 6.0), pos(-50, 50);
    std::vector<TFPointArray> parts;
    for (int i = 0; i < count; ++i) {
        const double x = pos(rng), y = pos(rng), w = size(rng), h = size(rng);
        switch (i % 6) {
        case 0: parts.push_back(rect(x, y, w, h)); break;
        case 1: parts.push_back(closed({{x, y}, {x + w, y}, {x + w / 3, y + h}})); break;
        case 2:
            parts.push_back(closed({{x, y}, {x + w, y}, {x + w, y + h / 3}, {x + w / 3, y + h / 3},
                                    {x + w / 3, y + h}, {x, y + h}}));
            break;
        case 3: {
            TFPointArray star;
            for (int k = 0; k < 10; ++k) {
                const double a = k * M_PI / 5, rr = k % 2 ? w / 4 : w / 2;
                star.push_back({x + rr * std::cos(a), y + rr * std::sin(a)});
            }
            parts.push_back(closed(star));
            break;
        }
        case 4: {
            TFPointArray circle;
            for (int k = 0; k <= 100; ++k)
                circle.push_back({x + w / 2 * std::cos(k * M_PI / 50), y + w / 2 * std::sin(k * M_PI / 50)});
            parts.push_back(circle);
            break;
        }
        default: parts.push_back({{x, y}, {x + w, y + h / 2}, {x + w / 2, y + h}}); break;
        }
    }
    return parts;
}

}  // namespace kerbon::nest::test
