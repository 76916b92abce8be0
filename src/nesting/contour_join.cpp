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
#include <string>

#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

namespace kerbon::contour {

namespace {

bool finitePoint(const Tmypoi& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// Appends polyline i to polyline j: i's vertices after its first go behind j's last one.
void appendPoly(tpoly& j, tpoly& i)
{
    j.ps.resize(size_t(j.anzp));
    j.ps.insert(j.ps.end(), i.ps.begin() + 1, i.ps.begin() + i.anzp);
    j.anzp = int(j.ps.size());
    i.anzp = 0;
    i.delpoly = true;
    std::vector<Tmypoi>().swap(i.ps);
}

// Grid over x and y with square cells of side `cell`. A polyline is filed under the cell that
// holds its last vertex, with a copy of that vertex's coordinates so that a look-up touches
// only the grid. Two points that match lie at most one cell apart on each axis, because the
// cell is at least four times the tolerance. Cells that hash alike share a bucket, which only
// adds candidates; every candidate is checked with the exact box test. Each bucket keeps its
// entries in ascending polyline order, so the first match found in it is its smallest.
class EndGrid {
public:
    EndGrid(double cell, size_t expected) : cell(cell)
    {
        size_t cap = 16;
        while (cap < 2 * expected)
            cap *= 2;
        slots.resize(cap);
    }

    void insert(int idx, const Tmypoi& p)
    {
        std::vector<Entry>& b = bucket(key(cellOf(p.x), cellOf(p.y)));
        auto pos = std::lower_bound(b.begin(), b.end(), idx,
                                    [](const Entry& e, int v) { return e.idx < v; });
        b.insert(pos, Entry{idx, p.x, p.y, p.z});
    }
    void erase(int idx, const Tmypoi& p)
    {
        const size_t at = findAt(key(cellOf(p.x), cellOf(p.y)));
        if (at == npos)
            return;
        std::vector<Entry>& b = slots[at].items;
        auto pos = std::lower_bound(b.begin(), b.end(), idx,
                                    [](const Entry& e, int v) { return e.idx < v; });
        if (pos != b.end() && pos->idx == idx)
            b.erase(pos);
    }
    // The smallest index other than `self` whose last vertex matches q; -1 when none.
    int firstMatch(int self, const Tmypoi& q, double t) const
    {
        const double fx = q.x / cell, fy = q.y / cell;
        const int64_t cx = int64_t(std::floor(fx)), cy = int64_t(std::floor(fy));
        const int64_t nx = fx - double(cx) < 0.5 ? cx - 1 : cx + 1;
        const int64_t ny = fy - double(cy) < 0.5 ? cy - 1 : cy + 1;
        const uint64_t keys[4] = {key(cx, cy), key(nx, cy), key(cx, ny), key(nx, ny)};
        int best = -1;
        for (int k = 0; k < 4; ++k) {
            bool seen = false;  // cells sharing a bucket: look at the bucket once
            for (int e = 0; e < k; ++e)
                seen = seen || keys[e] == keys[k];
            if (seen)
                continue;
            const size_t at = findAt(keys[k]);
            if (at == npos)
                continue;
            for (const Entry& e : slots[at].items) {
                if (best >= 0 && e.idx >= best)
                    break;
                if (e.idx == self)
                    continue;
                if (std::fabs(q.x - e.x) < t && std::fabs(q.y - e.y) < t &&
                    std::fabs(q.z - e.z) < t) {
                    best = e.idx;
                    break;
                }
            }
        }
        return best;
    }

private:
    struct Entry {
        int idx;
        double x, y, z;
    };
    struct Slot {
        uint64_t key = 0;
        bool used = false;
        std::vector<Entry> items;
    };

    int64_t cellOf(double v) const { return int64_t(std::floor(v / cell)); }
    static uint64_t key(int64_t cx, int64_t cy)
    {
        uint64_t h = uint64_t(cx) * 0x9E3779B97F4A7C15ull;
        h ^= uint64_t(cy) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
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
    std::vector<Entry>& bucket(uint64_t k)
    {
        if (const size_t at = findAt(k); at != npos)
            return slots[at].items;
        if (2 * (used + 1) > slots.size())
            grow();
        const size_t mask = slots.size() - 1;
        size_t at = size_t(k) & mask;
        while (slots[at].used)
            at = (at + 1) & mask;
        slots[at].used = true;
        slots[at].key = k;
        ++used;
        return slots[at].items;
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
    double maxAbs = 0;
    for (int k = 0; k < n; ++k) {
        const tpoly& p = polys[size_t(k)];
        if (p.anzp < 2)
            continue;
        for (const Tmypoi* v : {&p.ps[0], &p.ps[size_t(p.anzp) - 1]})
            if (finitePoint(*v))
                maxAbs = std::max({maxAbs, std::fabs(v->x), std::fabs(v->y)});
    }
    double cell = std::max(4 * t, maxAbs * 0x1p-40);
    if (!std::isfinite(cell))  // huge tolerance: every point in one cell
        cell = HUGE_VAL;
    EndGrid grid(cell, size_t(n));
    auto filed = [&](int k) {  // a polyline is in the grid by its last vertex
        const tpoly& p = polys[size_t(k)];
        return p.anzp >= 2 && finitePoint(p.ps[size_t(p.anzp) - 1]);
    };
    for (int k = 0; k < n; ++k)
        if (filed(k))
            grid.insert(k, polys[size_t(k)].ps[size_t(polys[size_t(k)].anzp) - 1]);

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
            tpoly& pj = polys[size_t(j)];
            if (filed(i))
                grid.erase(i, pi.ps[size_t(pi.anzp) - 1]);
            grid.erase(j, pj.ps[size_t(pj.anzp) - 1]);
            appendPoly(pj, pi);
            if (filed(j))
                grid.insert(j, pj.ps[size_t(pj.anzp) - 1]);
            ++passJoins;
        }
        joins += passJoins;
        if (passJoins == 0)
            return joins;
    }
}

std::string msgCannotOpen(const std::string& fname)
{
    return "Folgende DXF Datei konnte nicht geöffnet werden: " + fname;
}

std::string msgCannotCreate(const std::string& fname)
{
    return "Folgende DXF Datei konnte nicht angelegt werden: " + fname;
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
        out.title = "Keine Polylines";
        out.information = true;
        out.message = "Es konnte keine Polyline gefunden werden. Wenn es noch einzelen Linien "
                      "sind führen Sie bitte zunächst die Konvertierung in Polylinien aus.";
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
