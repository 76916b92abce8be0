// The nesting search on bit rows, with iterations spread over threads.
#include "nesting/nest_search.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <map>
#include <mutex>
#include <thread>

#include "nesting/nest_mask.h"

namespace kerbon::nest {

void drawOrder(Random& rnd, int n, std::vector<int>& order)
{
    order.assign(size_t(n), 0);
    std::vector<char> taken(size_t(n), 0);
    for (int s = 0; s < n; ++s) {
        int k = 0;
        do {
            k = int(rnd.below(uint64_t(n)));
        } while (taken[size_t(k)]);
        taken[size_t(k)] = 1;
        order[size_t(s)] = k;
    }
}

namespace {

// All masks of one search together hold at most this many cells.
constexpr uint64_t maxMaskCells = uint64_t(1) << 31;

struct Run {
    int a = 0, b = 0;  // set cells a ... b of a mask row
};

// A mask prepared for the scan: the rows that hold set cells, bottom first, with their
// first and last set cell, their runs of set cells, and the longest stretch of free sheet
// cells each row needs wherever it is tried.
struct ScanMask {
    NestMask m;
    std::vector<int> rows, lo, hi, need;
    std::vector<int> runFrom;  // runs of rows[t]: runs[runFrom[t]] ... runs[runFrom[t + 1] - 1]
    std::vector<Run> runs;
    int lastTry = 0;           // index of the last x position tried in a row
};

// A run of cells a ... b never lands left of sheet column -K (its first column is at least
// trunc(0 * r - K)), so at least min(b - a + 1, b - K + 1) of its cells fall on the sheet,
// all of them left of the occupied right edge unless the run collides anyway. That holds
// for runs that start on the sheet at every try: a run that may start beyond the last
// column (at a + lastCol >= W, lastCol the first column of the last try) needs nothing.
void prepare(ScanMask& sm, int K, int W, int lastCol)
{
    const NestMask& m = sm.m;
    sm.runFrom.push_back(0);
    for (int i = 0; i < m.rows; ++i) {
        const size_t before = sm.runs.size();
        int c = 0;
        while (c < m.cols) {
            if (!m.cell(i, c)) {
                ++c;
                continue;
            }
            const int a = c;
            while (c < m.cols && m.cell(i, c))
                ++c;
            sm.runs.push_back({a, c - 1});
        }
        if (sm.runs.size() == before)
            continue;
        int need = 0;
        for (size_t k = before; k < sm.runs.size(); ++k)
            if (sm.runs[k].a + lastCol < W)
                need = std::max(need, std::min(sm.runs[k].b - sm.runs[k].a + 1, sm.runs[k].b - K + 1));
        sm.rows.push_back(i);
        sm.lo.push_back(sm.runs[before].a);
        sm.hi.push_back(sm.runs.back().b);
        sm.need.push_back(need);
        sm.runFrom.push_back(int(sm.runs.size()));
    }
}

// What every iteration of one search shares, read-only once built.
struct Scan {
    RasterGeometry g;
    NestSettings s;
    std::vector<double> xs;      // x of the k-th try of a row (accumulated steps)
    std::vector<int> col;        // first sheet column of a mask at xs[k]: trunc(xs[k] r - K)
    std::vector<int> firstTry;   // for column c: the first k with col[k] >= c (c from col[0])
    std::vector<ScanMask> masks;
};

void buildTries(Scan& sc)
{
    const double limit = sc.s.pw - 2 * sc.s.seitenrand;
    sc.xs.push_back(0);
    for (;;) {
        const double next = sc.xs.back() + sc.g.step;
        sc.xs.push_back(next);
        if (!(limit > next + 0.0))
            break;
    }
    for (double x : sc.xs)
        sc.col.push_back(int(std::trunc(x * sc.g.r - sc.g.K)));
    for (int c = sc.col.front(), k = 0; c <= sc.col.back(); ++c) {
        while (sc.col[size_t(k)] < c)
            ++k;
        sc.firstTry.push_back(k);
    }
}

// The tries of a row stop after the first x from which the next step would reach the
// horizontal limit with the element's width.
int lastTryOf(const Scan& sc, double w)
{
    const double limit = sc.s.pw - 2 * sc.s.seitenrand;
    int k = 0;
    while (size_t(k) + 1 < sc.xs.size() && limit > sc.xs[size_t(k) + 1] + w)
        ++k;
    return k;
}

// 64 cells of a mask row from mask column c on; cells outside the row read as free.
inline uint64_t cellsAt(const uint64_t* row, int words, int c)
{
    if (c < 0)
        return c <= -64 ? 0 : cellsAt(row, words, 0) << (-c);
    const int w = c >> 6, sh = c & 63;
    if (w >= words)
        return 0;
    uint64_t v = row[w] >> sh;
    if (sh && w + 1 < words)
        v |= row[w + 1] << (64 - sh);
    return v;
}

// The sheet raster of one worker: H rows of W cells, bit c of a row is column c.
class Sheet {
public:
    const int W, H, words;

    Sheet(int W, int H)
        : W(W), H(H), words((W + 63) / 64), bits(size_t(H) * size_t(words)), longest(size_t(H))
    {
    }

    // All free, then the right edge column occupied in every row.
    void clear()
    {
        std::fill(bits.begin(), bits.end(), 0);
        for (int R = 0; R < H; ++R)
            row(R)[(W - 1) >> 6] |= uint64_t(1) << ((W - 1) & 63);
        std::fill(longest.begin(), longest.end(), W - 1);
    }

    // The longest stretch of free cells in row R.
    int longestFree(int R) const { return longest[size_t(R)]; }

    // Recounts longestFree after cells of row R were occupied.
    void recount(int R)
    {
        int best = 0;
        for (int c = 0; c < W;) {
            const int f = next(R, c, false);
            if (f >= W)
                break;
            const int o = next(R, f, true);  // the right edge ends every stretch
            best = std::max(best, o - f);
            c = o + 1;
        }
        longest[size_t(R)] = best;
    }
    uint64_t* row(int R) { return bits.data() + size_t(R) * size_t(words); }
    const uint64_t* row(int R) const { return bits.data() + size_t(R) * size_t(words); }

    // The last occupied column of row R in lo ... hi (0 <= lo <= hi < W), or -1.
    int lastOccupied(int R, int lo, int hi) const
    {
        const uint64_t* r = row(R);
        int w = hi >> 6;
        const int wlo = lo >> 6;
        uint64_t v = r[w] & (~uint64_t(0) >> (63 - (hi & 63)));
        for (;;) {
            if (w == wlo)
                v &= ~uint64_t(0) << (lo & 63);
            if (v)
                return w * 64 + 63 - std::countl_zero(v);
            if (w == wlo)
                return -1;
            v = r[--w];
        }
    }

    // The first column from c on that is occupied (or free); W when there is none.
    int next(int R, int c, bool occupied) const
    {
        const uint64_t* r = row(R);
        int w = c >> 6;
        uint64_t v = (occupied ? r[w] : ~r[w]) & (~uint64_t(0) << (c & 63));
        for (;;) {
            if (v)
                return std::min(w * 64 + std::countr_zero(v), W);
            if (++w >= words)
                return W;
            v = occupied ? r[w] : ~r[w];
        }
    }

    // Cells of a mask row placed from sheet column s on, for sheet word w (columns
    // beyond the sheet dropped).
    uint64_t placed(const uint64_t* maskRow, int maskWords, int s, int w) const
    {
        uint64_t v = cellsAt(maskRow, maskWords, w * 64 - s);
        if (w == words - 1 && (W & 63))
            v &= ~uint64_t(0) >> (64 - (W & 63));
        return v;
    }

private:
    std::vector<uint64_t> bits;
    std::vector<int> longest;  // per row: the longest stretch of free cells
};

// One arrangement: where each element's extent corner lies, in list order.
struct Arrangement {
    std::vector<TFPoint> at;
    double usedW = 0, usedH = 0;
    bool over = false;
};

// Extent of the arrangement, the shift to the margin and whether it fits on the sheet:
// every element keeps the margin on all four sides.
void finish(Arrangement& a, std::span<const TNestElement> els, const NestSettings& s)
{
    double bx0 = 0, by0 = 0, bx1 = 0, by1 = 0;
    for (size_t e = 0; e < els.size(); ++e) {
        const TFPoint& p = a.at[e];
        if (e == 0) {
            bx0 = p.x, by0 = p.y, bx1 = p.x + els[e].w, by1 = p.y + els[e].h;
            continue;
        }
        if (p.x < bx0)
            bx0 = p.x;
        if (p.y < by0)
            by0 = p.y;
        if (p.x + els[e].w > bx1)
            bx1 = p.x + els[e].w;
        if (p.y + els[e].h > by1)
            by1 = p.y + els[e].h;
    }
    a.over = false;
    for (size_t e = 0; e < els.size(); ++e) {
        TFPoint& p = a.at[e];
        p.x = p.x - bx0 + s.seitenrand;
        p.y = p.y - by0 + s.seitenrand;
        if (!(s.pw - s.seitenrand >= p.x + els[e].w) || !(s.ph - s.seitenrand >= p.y + els[e].h))
            a.over = true;
    }
    a.usedW = bx1 - bx0;
    a.usedH = by1 - by0;
}

// Evaluates iterations on its own sheet.
class Worker {
public:
    explicit Worker(const Scan& sc) : sc(sc), S(sc.g.W, sc.g.H) {}

    // Places the elements in `order`; false when cancelled on the way.
    bool run(const std::vector<int>& order, std::span<const TNestElement> els, Arrangement& a,
             const std::atomic<bool>* cancel)
    {
        S.clear();
        a.at.assign(els.size(), {});
        for (int e : order) {
            a.at[size_t(e)] = drop(sc.masks[size_t(e)]);
            if (cancel && cancel->load(std::memory_order_relaxed))
                return false;
        }
        finish(a, els, sc.s);
        return true;
    }

private:
    const Scan& sc;
    Sheet S;

    // The sheet row of mask row i when the element's y is a / r: trunc(y r + i - K).
    int sheetRow(double a, int i) const { return int(a + i - sc.g.K); }

    // The first column from c on at which mask row t meets no occupied cell of sheet row
    // R: every run of the row is pushed past the last occupied cell under it until none
    // is covered. Stops early beyond `limit`.
    int freeFrom(const ScanMask& sm, size_t t, int R, int c, int limit) const
    {
        for (bool moved = true; moved;) {
            moved = false;
            for (int k = sm.runFrom[t]; k < sm.runFrom[t + 1]; ++k) {
                const Run& run = sm.runs[size_t(k)];
                const int lo = std::max(c + run.a, 0), hi = std::min(c + run.b, S.W - 1);
                if (lo > hi)
                    continue;
                const int o = S.lastOccupied(R, lo, hi);
                if (o >= 0) {
                    c = o - run.a + 1;
                    moved = true;
                    if (c > limit)
                        return c;
                }
            }
        }
        return c;
    }

    // Whether some try of the row with the element's y at a / r can be free: every mask
    // row on the sheet must find a long enough stretch of free cells in its sheet row.
    bool mayFit(const ScanMask& sm, double a) const
    {
        for (size_t t = 0; t < sm.rows.size(); ++t) {
            const int R = sheetRow(a, sm.rows[t]);
            if (R >= sc.g.H)
                break;  // sheet rows only grow with the mask row
            if (R >= 0 && sm.need[t] > S.longestFree(R))
                return false;
        }
        return true;
    }

    // The first try of the row with the element's y at a / r at which no mask cell meets
    // an occupied one, or -1. Goes round the mask rows, each pushing the column on past
    // the occupied cells under it, until every row has been passed without a push.
    int firstFreeTry(const ScanMask& sm, double a) const
    {
        size_t t0 = 0, t1 = sm.rows.size();  // the mask rows that land on the sheet
        while (t0 < t1 && sheetRow(a, sm.rows[t0]) < 0)
            ++t0;
        while (t1 > t0 && sheetRow(a, sm.rows[t1 - 1]) >= sc.g.H)
            --t1;
        const int first = sc.col.front(), limit = sc.col[size_t(sm.lastTry)];
        int k = 0, c = first;
        size_t clean = 0, t = t0;
        while (clean < t1 - t0) {
            const int f = freeFrom(sm, t, sheetRow(a, sm.rows[t]), c, limit);
            if (f == c) {
                ++clean;
            } else {
                if (f > limit)
                    return -1;
                k = sc.firstTry[size_t(f - first)];
                c = sc.col[size_t(k)];
                clean = c == f ? 1 : 0;  // past f nothing is known of row t
            }
            if (++t == t1)
                t = t0;
        }
        return k;
    }

    void occupy(const ScanMask& sm, double a, int s)
    {
        for (size_t t = 0; t < sm.rows.size(); ++t) {
            const int R = sheetRow(a, sm.rows[t]);
            if (R >= sc.g.H)
                break;
            if (R < 0)
                continue;
            const int c0 = std::max(s + sm.lo[t], 0), c1 = std::min(s + sm.hi[t], S.W - 1);
            const uint64_t* mr = sm.m.row(sm.rows[t]);
            uint64_t* sr = S.row(R);
            for (int w = c0 >> 6; c0 <= c1 && w <= (c1 >> 6); ++w)
                sr[w] |= S.placed(mr, sm.m.words, s, w);
            S.recount(R);
        }
    }

    // The scan of one element: rows upward from y = 0, in each row the tries from x = 0.
    // Rows where some mask row finds no long enough free stretch are passed at once; in
    // the others the tries that provably collide are skipped.
    TFPoint drop(const ScanMask& sm)
    {
        double cury = 0;
        for (;;) {
            const double a = cury * sc.g.r;
            if (mayFit(sm, a)) {
                const int k = firstFreeTry(sm, a);
                if (k >= 0) {
                    occupy(sm, a, sc.col[size_t(k)]);
                    return {sc.xs[size_t(k)], cury};
                }
            }
            cury = cury + sc.g.step;
        }
    }
};

int threadCount(int asked, int iterations)
{
    int t = asked > 0 ? asked : int(std::thread::hardware_concurrency());
    return std::clamp(t, 1, std::max(iterations, 1));
}

// Runs f(i) for i = 0 ... n - 1 on `threads` threads.
template <class F>
void parallelFor(int n, int threads, F f)
{
    std::atomic<int> next{0};
    auto work = [&] {
        for (int i; (i = next.fetch_add(1)) < n;)
            f(i);
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& th : pool)
        th.join();
}

// Iterations handed out in order with their orders drawn on the way, results accepted in
// iteration order.
class Iterations {
public:
    Iterations(const Scan& sc, std::span<const TNestElement> els, Random& rnd, SearchProgress* progress)
        : sc(sc), els(els), rnd(rnd), progress(progress)
    {
    }

    void work()
    {
        Worker w(sc);
        std::vector<int> order;
        const std::atomic<bool>* cancel = progress ? &progress->cancel : nullptr;
        for (;;) {
            int j = 0;
            {
                std::lock_guard<std::mutex> lock(drawing);
                if (next >= sc.s.anziterations || (cancel && cancel->load()))
                    return;
                j = next++;
                drawOrder(rnd, int(els.size()), order);
            }
            Arrangement a;
            if (!w.run(order, els, a, cancel))
                return;
            std::lock_guard<std::mutex> lock(accepting);
            pending.emplace(j, std::move(a));
            while (!pending.empty() && pending.begin()->first == accepted) {
                accept(pending.begin()->second);
                pending.erase(pending.begin());
                ++accepted;
                if (progress)
                    progress->accepted.store(accepted);
            }
        }
    }

    int accepted = 0;
    Arrangement best;

private:
    const Scan& sc;
    std::span<const TNestElement> els;
    Random& rnd;
    SearchProgress* progress;
    std::mutex drawing, accepting;
    int next = 0;
    std::map<int, Arrangement> pending;

    // The first arrangement is taken; one that fits beats one that does not; otherwise
    // only a strictly lower one replaces the best.
    void accept(Arrangement& a)
    {
        if (accepted == 0 || (!a.over && best.over) || (a.over == best.over && a.usedH < best.usedH))
            best = std::move(a);
    }
};

}  // namespace

SearchResult searchArrangement(std::span<const TNestElement> els, const NestSettings& s, Random& rnd,
                               int threads, SearchProgress* progress)
{
    SearchResult result;
    result.problem = checkSettings(s);
    if (result.problem != NestProblem::None || els.empty())
        return result;
    Scan sc;
    sc.s = s;
    sc.g = rasterGeometry(s);
    uint64_t cells = 0;
    for (const TNestElement& e : els) {
        int cols = 0, rows = 0;
        maskSize(e, sc.g, cols, rows);
        cells += uint64_t(cols) * uint64_t(rows);
    }
    if (cells > maxMaskCells) {
        result.problem = NestProblem::RasterSize;
        return result;
    }
    const int nthreads = threadCount(threads, s.anziterations);
    buildTries(sc);
    sc.masks.resize(els.size());
    parallelFor(int(els.size()), nthreads, [&](int e) {
        ScanMask& sm = sc.masks[size_t(e)];
        sm.m = buildMask(els[size_t(e)], sc.g);
        sm.lastTry = lastTryOf(sc, els[size_t(e)].w);
        prepare(sm, sc.g.K, sc.g.W, sc.col[size_t(sm.lastTry)]);
    });

    Iterations it(sc, els, rnd, progress);
    std::vector<std::thread> pool;
    for (int t = 1; t < nthreads; ++t)
        pool.emplace_back([&] { it.work(); });
    it.work();
    for (std::thread& th : pool)
        th.join();

    result.iterations = it.accepted;
    result.cancelled = it.accepted < s.anziterations;
    if (it.accepted == 0)
        return result;
    result.over = it.best.over;
    result.usedWidth = it.best.usedW;
    result.usedHeight = it.best.usedH;
    result.at = std::move(it.best.at);
    return result;
}

void takeArrangement(std::span<TNestElement> els, const SearchResult& r)
{
    if (r.at.size() != els.size())
        return;
    for (size_t e = 0; e < els.size(); ++e) {
        els[e].bestx = els[e].x = r.at[e].x;
        els[e].besty = els[e].y = r.at[e].y;
    }
}

}  // namespace kerbon::nest
