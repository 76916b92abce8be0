// The nesting search exactly as the rule reads, one iteration after another, every try
// testing the element's mask cell by cell against the sheet: the reference the fast search
// must agree with for the same seed, settings and elements.
#pragma once

#include <cmath>
#include <span>
#include <vector>

#include "dxf/Random.h"
#include "nesting/nest_mask.h"
#include "nesting/nest_search.h"

namespace kerbon::nest::test {

inline SearchResult searchOracle(std::span<TNestElement> els, const NestSettings& s, Random& rnd)
{
    SearchResult res;
    res.problem = checkSettings(s);
    if (res.problem != NestProblem::None || els.empty())
        return res;
    const RasterGeometry g = rasterGeometry(s);
    const int W = g.W, H = g.H, K = g.K;
    const double r = g.r, step = g.step, m = s.seitenrand;
    const size_t n = els.size();
    std::vector<char> S(size_t(W) * size_t(H));
    std::vector<NestMask> masks(n);
    std::vector<bool> rastered(n, false);

    auto collides = [&](const NestMask& mask, double ex, double ey) {
        const int C0 = int(std::trunc(ex * r - K));
        for (int i = 0; i < mask.rows; ++i) {
            const int R = int(std::trunc(ey * r + i - K));
            if (R < 0 || R >= H)
                continue;
            for (int c = 0; c < mask.cols; ++c) {
                const int C = C0 + c;
                if (C < 0 || C >= W)
                    continue;
                if (mask.cell(i, c) && S[size_t(R) * W + C])
                    return true;
            }
        }
        return false;
    };
    auto place = [&](const NestMask& mask, double ex, double ey) {
        const int C0 = int(std::trunc(ex * r - K));
        for (int i = 0; i < mask.rows; ++i) {
            const int R = int(std::trunc(ey * r + i - K));
            for (int c = 0; c < mask.cols; ++c) {
                const int C = C0 + c;
                if (R >= 0 && R < H && C >= 0 && C < W && mask.cell(i, c))
                    S[size_t(R) * W + C] = 1;
            }
        }
    };

    double bestHeight = 0;
    bool bestOver = false;
    std::vector<int> order(n);
    std::vector<char> taken(n);
    for (int j = 0; j < s.anziterations; ++j) {
        std::fill(taken.begin(), taken.end(), 0);
        for (size_t p = 0; p < n; ++p) {
            int k = 0;
            do {
                k = int(rnd.below(n));
            } while (taken[size_t(k)]);
            taken[size_t(k)] = 1;
            order[p] = k;
        }
        std::fill(S.begin(), S.end(), 0);
        for (int R = 0; R < H; ++R)
            S[size_t(R) * W + W - 1] = 1;
        for (size_t p = 0; p < n; ++p) {
            TNestElement& e = els[size_t(order[p])];
            double curx = 0, cury = 0;
            for (;;) {
                e.x = curx;
                e.y = cury;
                curx = curx + step;
                if (!(s.pw - 2 * m > curx + e.w)) {
                    curx = 0;
                    cury = cury + step;
                }
                if (!rastered[size_t(order[p])]) {
                    masks[size_t(order[p])] = buildMask(e, g);
                    rastered[size_t(order[p])] = true;
                }
                if (!collides(masks[size_t(order[p])], e.x, e.y))
                    break;
            }
            place(masks[size_t(order[p])], e.x, e.y);
        }
        double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
        for (size_t k = 0; k < n; ++k) {
            const TNestElement& e = els[k];
            if (k == 0 || e.x < bx0)
                bx0 = e.x;
            if (k == 0 || e.y < by0)
                by0 = e.y;
            if (k == 0 || e.x + e.w > bx1)
                bx1 = e.x + e.w;
            if (k == 0 || e.y + e.h > by1)
                by1 = e.y + e.h;
        }
        bool over = false;
        for (TNestElement& e : els) {
            e.x = e.x - bx0 + m;
            e.y = e.y - by0 + m;
            if (!(s.pw - m >= e.x + e.w) || !(s.ph - m >= e.y + e.h))
                over = true;
        }
        const double used = by1 - by0;
        if (j == 0 || (!over && bestOver) || (over == bestOver && used < bestHeight)) {
            bestHeight = used;
            bestOver = over;
            res.usedWidth = bx1 - bx0;
            for (TNestElement& e : els)
                e.bestx = e.x, e.besty = e.y;
        }
    }
    for (TNestElement& e : els)
        e.x = e.bestx, e.y = e.besty;
    res.iterations = s.anziterations;
    res.over = bestOver;
    res.usedHeight = bestHeight;
    return res;
}

}  // namespace kerbon::nest::test
