// The join passes of the contour tool and its two file-to-file operations.
//
// The rule: repeat passes until a pass joins nothing; a pass takes every polyline i with at
// least two vertices in index order and appends it to the first polyline j (index order,
// j != i, at least two vertices) whose last vertex lies within the box tolerance t of i's
// first vertex (|dx| < t, |dy| < t, |dz| < t). Applied literally that compares every ordered
// pair. Here the candidates j come from a hash grid over the current last vertices, which
// gives exactly the same joins in close to linear time per pass.
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "i18n/translateunit.h"
#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

namespace kerbon::contour {

namespace {

bool finitePoint(const Tmypoi& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The chains built by the passes, without moving vertices while they run: polyline k's
// vertices are its own read vertices followed by those of the polylines linked behind it,
// each without its first vertex. Copying the vertices at every join instead would cost time
// in proportion to the chain's length for each piece added.
struct Chains {
    std::vector<int> next, tail, own;  // own: vertices as read (k's storage, never changed)
    explicit Chains(const std::vector<tpoly>& polys, int n)
        : next(size_t(n), -1), tail(size_t(n)), own(size_t(n))
    {
        for (int k = 0; k < n; ++k) {
            tail[size_t(k)] = k;
            own[size_t(k)] = polys[size_t(k)].anzp;
        }
    }
    const Tmypoi& last(const std::vector<tpoly>& polys, int k) const
    {
        const int t = tail[size_t(k)];
        return polys[size_t(t)].ps[size_t(own[size_t(t)]) - 1];
    }
    // Appends polyline i to polyline j: i's vertices after its first go behind j's last one.
    void append(std::vector<tpoly>& polys, int j, int i)
    {
        next[size_t(tail[size_t(j)])] = i;
        tail[size_t(j)] = tail[size_t(i)];
        polys[size_t(j)].anzp += polys[size_t(i)].anzp - 1;
        polys[size_t(i)].anzp = 0;
        polys[size_t(i)].delpoly = true;
    }
    // Gives every polyline its final vertex list and frees those of the merged ones.
    void settle(std::vector<tpoly>& polys) const
    {
        const int n = int(next.size());
        for (int k = 0; k < n; ++k) {
            tpoly& p = polys[size_t(k)];
            if (p.anzp == 0 || next[size_t(k)] < 0)  // merged, or nothing appended
                continue;
            std::vector<Tmypoi> ps;
            ps.reserve(size_t(p.anzp));
            ps.insert(ps.end(), p.ps.begin(), p.ps.begin() + own[size_t(k)]);
            for (int q = next[size_t(k)]; q >= 0; q = next[size_t(q)]) {
                const tpoly& piece = polys[size_t(q)];
                ps.insert(ps.end(), piece.ps.begin() + 1, piece.ps.begin() + own[size_t(q)]);
            }
            p.ps = std::move(ps);
        }
        for (int k = 0; k < n; ++k)
            if (own[size_t(k)] >= 2 && polys[size_t(k)].anzp == 0)  // merged by the passes
                std::vector<Tmypoi>().swap(polys[size_t(k)].ps);
    }
};

// Grid with cubic cells of side `cell` (over x and y only when every z is the same). A
// polyline is filed under the cell that holds its last vertex, with a copy of that vertex's
// coordinates so that a look-up touches only the grid. Two points that match lie at most one
// cell apart on each axis, because the cell is at least four times the tolerance. Cells that
// hash alike share a bucket, which only adds candidates; every candidate is checked with the
// exact box test. A bucket keeps its entries in ascending polyline order, so the first match
// found in it is its smallest; a bucket that grows large (many ends at one point) becomes a
// map, so that taking entries out stays cheap.
class EndGrid {
public:
    EndGrid(double cell, bool useZ, size_t expected) : cell(cell), useZ(useZ)
    {
        size_t cap = 16;
        while (cap < 2 * expected)
            cap *= 2;
        slots.resize(cap);
    }

    void insert(int idx, const Tmypoi& p)
    {
        Bucket& b = bucket(keyOf(p));
        const Pt pt{p.x, p.y, p.z};
        if (b.many) {
            b.many->emplace(idx, pt);
            return;
        }
        b.few.insert(lowerBound(b.few, idx), Entry{idx, pt});
        if (b.few.size() > 64) {
            b.many = std::make_unique<std::map<int, Pt>>();
            for (const Entry& e : b.few)
                b.many->emplace_hint(b.many->end(), e.idx, e.p);
            std::vector<Entry>().swap(b.few);
        }
    }
    void erase(int idx, const Tmypoi& p)
    {
        const size_t at = findAt(keyOf(p));
        if (at == npos)
            return;
        Bucket& b = slots[at].b;
        if (b.many) {
            b.many->erase(idx);
            return;
        }
        auto pos = lowerBound(b.few, idx);
        if (pos != b.few.end() && pos->idx == idx)
            b.few.erase(pos);
    }
    // The smallest index other than `self` whose last vertex matches q; -1 when none.
    int firstMatch(int self, const Tmypoi& q, double t) const
    {
        int64_t c[3][2];  // per axis: the cell of q and the neighbour on q's nearer side
        const double v[3] = {q.x, q.y, q.z};
        const int axes = useZ ? 3 : 2;
        for (int a = 0; a < axes; ++a) {
            const double f = v[a] / cell;
            c[a][0] = int64_t(std::floor(f));
            c[a][1] = f - double(c[a][0]) < 0.5 ? c[a][0] - 1 : c[a][0] + 1;
        }
        uint64_t keys[8];
        int nkeys = 0;
        for (int n = 0; n < (1 << axes); ++n)
            keys[nkeys++] = key(c[0][n & 1], c[1][(n >> 1) & 1], useZ ? c[2][(n >> 2) & 1] : 0);
        int best = -1;
        auto consider = [&](int idx, const Pt& p) {  // true: nothing further in this bucket
            if (best >= 0 && idx >= best)
                return true;
            if (idx == self)
                return false;
            if (std::fabs(q.x - p.x) < t && std::fabs(q.y - p.y) < t &&
                std::fabs(q.z - p.z) < t) {
                best = idx;
                return true;
            }
            return false;
        };
        for (int k = 0; k < nkeys; ++k) {
            bool seen = false;  // cells sharing a bucket: look at the bucket once
            for (int e = 0; e < k; ++e)
                seen = seen || keys[e] == keys[k];
            const size_t at = seen ? npos : findAt(keys[k]);
            if (at == npos)
                continue;
            const Bucket& b = slots[at].b;
            if (b.many) {
                for (const auto& [idx, p] : *b.many)
                    if (consider(idx, p))
                        break;
            } else {
                for (const Entry& e : b.few)
                    if (consider(e.idx, e.p))
                        break;
            }
        }
        return best;
    }

private:
    struct Pt {
        double x, y, z;
    };
    struct Entry {
        int idx;
        Pt p;
    };
    struct Bucket {
        std::vector<Entry> few;                 // ascending idx, while small
        std::unique_ptr<std::map<int, Pt>> many;  // once large
    };
    struct Slot {
        uint64_t key = 0;
        bool used = false;
        Bucket b;
    };

    static std::vector<Entry>::iterator lowerBound(std::vector<Entry>& v, int idx)
    {
        return std::lower_bound(v.begin(), v.end(), idx,
                                [](const Entry& e, int i) { return e.idx < i; });
    }
    int64_t cellOf(double v) const { return int64_t(std::floor(v / cell)); }
    uint64_t keyOf(const Tmypoi& p) const
    {
        return key(cellOf(p.x), cellOf(p.y), useZ ? cellOf(p.z) : 0);
    }
    static uint64_t key(int64_t cx, int64_t cy, int64_t cz)
    {
        uint64_t h = uint64_t(cx) * 0x9E3779B97F4A7C15ull;
        h ^= uint64_t(cy) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
        h ^= uint64_t(cz) * 0xC2B2AE3D27D4EB4Full + (h << 6) + (h >> 2);
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 33;
        return h;
    }
    static constexpr size_t npos = size_t(-1);
    size_t findAt(uint64_t k) const  // open addressing with linear probing
    {
        const size_t mask = slots.size() - 1;
        for (size_t at = size_t(k) & mask;; at = (at + 1) & mask) {
            if (!slots[at].used)
                return npos;
            if (slots[at].key == k)
                return at;
        }
    }
    Bucket& bucket(uint64_t k)
    {
        if (const size_t at = findAt(k); at != npos)
            return slots[at].b;
        if (2 * (used + 1) > slots.size())
            grow();
        const size_t mask = slots.size() - 1;
        size_t at = size_t(k) & mask;
        while (slots[at].used)
            at = (at + 1) & mask;
        slots[at].used = true;
        slots[at].key = k;
        ++used;
        return slots[at].b;
    }
    void grow()
    {
        std::vector<Slot> old(slots.size() * 2);
        old.swap(slots);
        const size_t mask = slots.size() - 1;
        for (Slot& s : old) {
            if (!s.used)
                continue;
            size_t at = size_t(s.key) & mask;
            while (slots[at].used)
                at = (at + 1) & mask;
            slots[at] = std::move(s);
        }
    }

    double cell;
    bool useZ;
    std::vector<Slot> slots;
    size_t used = 0;
};

}  // namespace

int joinPasses(ContourModel& m, double t)
{
    std::vector<tpoly>& polys = m.polys;
    const int n = m.anzpoly;
    if (!(t > 0))  // a difference is never below zero (or NaN): nothing can match
        return 0;
    // The cell is at least 4t, and large enough that coordinate / cell stays below 2^40,
    // where the division's rounding is far below the margin the 4t leaves.
    // z takes part in the cells only when the end points differ in z.
    double maxAbs = 0, maxAbsZ = 0, firstZ = 0;
    bool anyZ = false, useZ = false;
    for (int k = 0; k < n; ++k) {
        const tpoly& p = polys[size_t(k)];
        if (p.anzp < 2)
            continue;
        for (const Tmypoi* v : {&p.ps[0], &p.ps[size_t(p.anzp) - 1]})
            if (finitePoint(*v)) {
                maxAbs = std::max({maxAbs, std::fabs(v->x), std::fabs(v->y)});
                maxAbsZ = std::max(maxAbsZ, std::fabs(v->z));
                useZ = useZ || (anyZ && v->z != firstZ);
                firstZ = anyZ ? firstZ : v->z;
                anyZ = true;
            }
    }
    if (useZ)
        maxAbs = std::max(maxAbs, maxAbsZ);
    double cell = std::max(4 * t, maxAbs * 0x1p-40);
    if (!std::isfinite(cell))  // huge tolerance: every point in one cell
        cell = HUGE_VAL;
    EndGrid grid(cell, useZ, size_t(n));
    Chains chains(polys, n);
    auto filed = [&](int k) {  // a polyline is in the grid by its last vertex
        return polys[size_t(k)].anzp >= 2 && finitePoint(chains.last(polys, k));
    };
    for (int k = 0; k < n; ++k)
        if (filed(k))
            grid.insert(k, chains.last(polys, k));

    int joins = 0;
    for (;;) {
        int passJoins = 0;
        for (int i = 0; i < n; ++i) {
            tpoly& pi = polys[size_t(i)];
            if (pi.anzp < 2 || !finitePoint(pi.ps[0]))  // a NaN or infinite point never matches
                continue;
            const int j = grid.firstMatch(i, pi.ps[0], t);
            if (j < 0)
                continue;
            if (filed(i))
                grid.erase(i, chains.last(polys, i));
            if (filed(j))
                grid.erase(j, chains.last(polys, j));
            chains.append(polys, j, i);
            if (filed(j))
                grid.insert(j, chains.last(polys, j));
            ++passJoins;
        }
        joins += passJoins;
        if (passJoins == 0) {
            chains.settle(polys);
            return joins;
        }
    }
}

std::string msgCannotOpen(const std::string& fname)
{
    return TranslateText("Folgende DXF Datei konnte nicht geöffnet werden: ") + fname;
}

std::string msgCannotCreate(const std::string& fname)
{
    return TranslateText("Folgende DXF Datei konnte nicht angelegt werden: ") + fname;
}

JoinOutcome joinLinesFile(ContourModel& m, const std::string& source, const std::string& target,
                          double t)
{
    JoinOutcome out;
    ContourModel fresh;
    if (!LoadDxf2(source, fresh)) {  // stop here: no join on an old model, no target
        out.message = msgCannotOpen(source);
        return out;
    }
    m = std::move(fresh);
    out.pieces = m.anzpoly;
    joinPasses(m, t);
    if (m.cadver > 1009)  // the lightweight form carries its vertex count in the header
        for (tpoly& p : m.polys) {
            p.code.push_back(m.lines.add(" 90"));
            p.code.push_back(m.lines.add(std::to_string(p.anzp)));
        }
    for (const tpoly& p : m.polys)
        out.polylines += !p.delpoly && p.anzp >= 2;
    out.written = savedxf2(m, source, target, out.message);
    if (!out.written)
        out.polylines = 0;
    return out;
}

JoinOutcome combinePolylinesFile(ContourModel& m, const std::string& source,
                                 const std::string& target, double t)
{
    JoinOutcome out;
    ContourModel fresh;
    if (!LoadDxf(source, fresh)) {
        out.message = msgCannotOpen(source);
        return out;
    }
    m = std::move(fresh);
    out.pieces = m.anzpoly;
    if (m.anzpoly == 0) {
        out.title = TranslateText("Keine Polylines");
        out.information = true;
        out.message = TranslateText("Es konnte keine Polyline gefunden werden. Wenn es noch "
                                    "einzelen Linien sind führen Sie bitte zunächst die "
                                    "Konvertierung in Polylinien aus.");
        return out;
    }
    joinPasses(m, t);
    for (tpoly& p : m.polys) {
        for (size_t k = 0; k + 1 < p.code.size(); k += 2)
            if (trimText(m.lines[p.code[k]]) == "90")
                p.code[k + 1] = m.lines.add(std::to_string(p.anzp));
        if (p.anzp < 2)
            p.delpoly = true;
        out.polylines += !p.delpoly;
    }
    out.written = savedxf4(m, source, target, out.message);
    if (!out.written)
        out.polylines = 0;
    return out;
}

}  // namespace kerbon::contour
