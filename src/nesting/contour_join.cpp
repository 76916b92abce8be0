// The join passes of the contour tool and its two file-to-file operations.
//
// The rule: repeat passes until a pass joins nothing; a pass takes every polyline i with at
// least two vertices in index order and appends it to the first polyline j (index order,
// j != i, at least two vertices) whose last vertex lies within the box tolerance t of i's
// first vertex (|dx| < t, |dy| < t, |dz| < t). Applied literally that compares every ordered
// pair. Here the candidates j come from a hash grid over the current last vertices, which
// gives exactly the same joins in close to linear time per pass.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "dxf/LineStore.h"
#include "i18n/translateunit.h"
#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

namespace kerbon::contour {

namespace {

// An end point, copied out of the vertex records so that the passes read compact arrays.
struct Point {
    double x, y, z;
};

bool finitePoint(const Point& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The chains built by the passes, without moving vertices while they run. A chain is a row
// of pieces (polylines as read), each linked to its neighbours at the end where they meet,
// so a chain may run through a piece either way; it is known by the polyline that survives,
// which records its first piece and the end of it where the chain starts, and its last piece
// and the end of it where the chain ends. Joining and reversing a chain take constant time;
// copying vertices at every join instead would cost time in proportion to the chain's
// length for each piece added.
struct Chains {
    struct End {
        int piece;
        int side;  // 0: the piece's first vertex, 1: its last vertex
    };
    std::vector<std::array<int, 2>> link;  // per piece: the neighbour at its first / last vertex
    // Per piece and end: whether the junction there keeps this piece's vertex (the vertex
    // of the chain that received the other one) rather than the neighbour's.
    std::vector<std::array<bool, 2>> kept;
    std::vector<End> head, tail;           // per chain
    // Per chain: the piece whose last vertex's segment pairs the chain's last vertex
    // carries (an open end's pairs, such as a width, travel with the chain's end), and
    // whether they now run the other way.
    std::vector<int> dangling;
    std::vector<bool> danglingFlipped;
    std::vector<int> own;                  // per piece: its vertices as read
    std::vector<std::array<Point, 2>> point;  // per piece: its first and last point
    explicit Chains(const std::vector<tpoly>& polys, int n)
        : link(size_t(n), {-1, -1}), kept(size_t(n)), head(size_t(n)), tail(size_t(n)),
          own(size_t(n)), point(size_t(n)), dangling(size_t(n)), danglingFlipped(size_t(n))
    {
        for (int k = 0; k < n; ++k) {
            const tpoly& p = polys[size_t(k)];
            head[size_t(k)] = {k, 0};
            tail[size_t(k)] = {k, 1};
            own[size_t(k)] = p.anzp;
            dangling[size_t(k)] = k;
            if (p.anzp > 0) {
                const Tmypoi &a = p.ps[0], &b = p.ps[size_t(p.anzp) - 1];
                point[size_t(k)] = {Point{a.x, a.y, a.z}, Point{b.x, b.y, b.z}};
            }
        }
    }
    const Point& at(End e) const { return point[size_t(e.piece)][size_t(e.side)]; }
    const Point& first(int c) const { return at(head[size_t(c)]); }
    const Point& last(int c) const { return at(tail[size_t(c)]); }
    void reverse(int c)
    {
        std::swap(head[size_t(c)], tail[size_t(c)]);
        danglingFlipped[size_t(c)] = !danglingFlipped[size_t(c)];
    }
    // Appends chain i to chain j: i's vertices after its first go behind j's last one.
    void append(std::vector<tpoly>& polys, int j, int i)
    {
        const End a = tail[size_t(j)], b = head[size_t(i)];
        link[size_t(a.piece)][size_t(a.side)] = b.piece;
        link[size_t(b.piece)][size_t(b.side)] = a.piece;
        kept[size_t(a.piece)][size_t(a.side)] = true;
        kept[size_t(b.piece)][size_t(b.side)] = false;
        tail[size_t(j)] = tail[size_t(i)];
        dangling[size_t(j)] = dangling[size_t(i)];
        danglingFlipped[size_t(j)] = danglingFlipped[size_t(i)];
        polys[size_t(j)].anzp += polys[size_t(i)].anzp - 1;
        polys[size_t(i)].anzp = 0;
        polys[size_t(i)].delpoly = true;
    }
    // Gives every chain its final vertex list and frees those of the merged pieces.
    void settle(std::vector<tpoly>& polys) const
    {
        const int n = int(own.size());
        std::vector<Tmypoi> ps;
        for (int c = 0; c < n; ++c) {
            tpoly& p = polys[size_t(c)];
            const End h = head[size_t(c)];
            if (p.anzp == 0 || (h.piece == c && h.side == 0 && tail[size_t(c)].piece == c))
                continue;  // merged, or as read
            ps.clear();
            ps.reserve(size_t(p.anzp));
            bool keepEarlier = true;  // the junction keeps the vertex of the piece before
            for (End e = h;;) {
                const std::vector<Tmypoi>& vs = polys[size_t(e.piece)].ps;
                const int cnt = own[size_t(e.piece)];
                for (int k = 0; k < cnt; ++k) {
                    Tmypoi v;
                    if (e.side == 0) {
                        v = vs[size_t(k)];
                    } else {  // backwards: the segment that ended at a vertex starts there
                        v = vs[size_t(cnt - 1 - k)];
                        if (k + 1 < cnt)
                            takeSegment(v, vs[size_t(cnt - 2 - k)], true);
                    }
                    // A junction has one vertex, with the segment that leaves it.
                    if (k == 0 && !ps.empty() && keepEarlier)
                        takeSegment(ps.back(), v, false);
                    else if (k == 0 && !ps.empty())
                        ps.back() = v;
                    else
                        ps.push_back(v);
                }
                const int next = link[size_t(e.piece)][size_t(1 - e.side)];
                if (next < 0)
                    break;
                keepEarlier = kept[size_t(e.piece)][size_t(1 - e.side)];
                e = {next, link[size_t(next)][0] == e.piece ? 0 : 1};
            }
            const int d = dangling[size_t(c)];
            takeSegment(ps.back(), polys[size_t(d)].ps[size_t(own[size_t(d)]) - 1],
                        danglingFlipped[size_t(c)]);
            p.ps = ps;
        }
        for (int k = 0; k < n; ++k)
            if (own[size_t(k)] >= 2 && polys[size_t(k)].anzp == 0)  // merged by the passes
                std::vector<Tmypoi>().swap(polys[size_t(k)].ps);
    }
    // The segment that starts at `from` now starts at `to`, the other way round when
    // `backwards`.
    static void takeSegment(Tmypoi& to, const Tmypoi& from, bool backwards)
    {
        to.seg = from.seg;
        to.writebulge = from.writebulge;
        to.bulge = backwards ? -from.bulge : from.bulge;
        to.flipseg = from.flipseg != backwards;
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

    void insert(int idx, const Point& p, int cls)
    {
        Bucket& b = bucket(keyOf(p, cls));
        const Pt pt{p.x, p.y, p.z, cls};
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
    void erase(int idx, const Point& p, int cls)
    {
        const size_t at = findAt(keyOf(p, cls));
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
    // The smallest index other than `self` of class `cls` whose point matches q; -1 when
    // none.
    int firstMatch(int self, const Point& q, double t, int cls) const
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
            keys[nkeys++] =
                key(c[0][n & 1], c[1][(n >> 1) & 1], useZ ? c[2][(n >> 2) & 1] : 0, cls);
        int best = -1;
        auto consider = [&](int idx, const Pt& p) {  // true: nothing further in this bucket
            if (best >= 0 && idx >= best)
                return true;
            if (idx == self || p.cls != cls)
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
        int cls;
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
    uint64_t keyOf(const Point& p, int cls) const
    {
        return key(cellOf(p.x), cellOf(p.y), useZ ? cellOf(p.z) : 0, cls);
    }
    static uint64_t key(int64_t cx, int64_t cy, int64_t cz, int cls)
    {
        uint64_t h = (uint64_t(cx) + uint64_t(cls) * 0xD6E8FEB86659FD93ull) * 0x9E3779B97F4A7C15ull;
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

int joinPasses(ContourModel& m, double t) { return joinPasses(m, t, JoinOptions()); }

int joinPasses(ContourModel& m, double t, const JoinOptions& opts)
{
    std::vector<tpoly>& polys = m.polys;
    const int n = m.anzpoly;
    if (!(t > 0))  // a difference is never below zero (or NaN): nothing can match
        return 0;
    // Which polylines take part, and their classes, in compact arrays for the passes.
    std::vector<char> live(static_cast<size_t>(n));
    std::vector<int> classOf(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k) {
        const tpoly& p = polys[size_t(k)];
        live[size_t(k)] = p.anzp >= 2 && p.joinable && !p.delpoly;
        classOf[size_t(k)] = p.cls;
    }
    auto takesPart = [&](int k) { return live[size_t(k)] != 0; };
    // The cell is at least 4t, and large enough that coordinate / cell stays below 2^40,
    // where the division's rounding is far below the margin the 4t leaves.
    // z takes part in the cells only when the end points differ in z.
    double maxAbs = 0, maxAbsZ = 0, firstZ = 0;
    bool anyZ = false, useZ = false;
    for (int k = 0; k < n; ++k) {
        if (!takesPart(k))
            continue;
        const tpoly& p = polys[size_t(k)];
        for (const Tmypoi* t : {&p.ps[0], &p.ps[size_t(p.anzp) - 1]})
            if (const Point v{t->x, t->y, t->z}; finitePoint(v)) {
                maxAbs = std::max({maxAbs, std::fabs(v.x), std::fabs(v.y)});
                maxAbsZ = std::max(maxAbsZ, std::fabs(v.z));
                useZ = useZ || (anyZ && v.z != firstZ);
                firstZ = anyZ ? firstZ : v.z;
                anyZ = true;
            }
    }
    if (useZ)
        maxAbs = std::max(maxAbs, maxAbsZ);
    double cell = std::max(4 * t, maxAbs * 0x1p-40);
    if (!std::isfinite(cell))  // huge tolerance: every point in one cell
        cell = HUGE_VAL;
    // Chains by their last vertex, and with reversing also by their first vertex.
    EndGrid ends(cell, useZ, size_t(n)), starts(cell, useZ, opts.reverse ? size_t(n) : 0);
    Chains chains(polys, n);
    auto file = [&](int k, bool in) {
        if (!takesPart(k))
            return;
        const int cls = classOf[size_t(k)];
        if (const Point& l = chains.last(k); finitePoint(l))
            in ? ends.insert(k, l, cls) : ends.erase(k, l, cls);
        if (const Point& f = chains.first(k); opts.reverse && finitePoint(f))
            in ? starts.insert(k, f, cls) : starts.erase(k, f, cls);
    };
    for (int k = 0; k < n; ++k)
        file(k, true);
    // Chain `from` goes behind chain `to`; `flip` reverses `flipped` first.
    auto join = [&](int to, int from, int flipped) {
        file(to, false);
        file(from, false);
        if (flipped >= 0)
            chains.reverse(flipped);
        chains.append(polys, to, from);
        live[size_t(from)] = 0;
        file(to, true);
    };
    // A NaN or infinite point never matches.
    auto match = [&](const EndGrid& grid, int i, const Point& q) {
        return finitePoint(q) ? grid.firstMatch(i, q, t, classOf[size_t(i)]) : -1;
    };

    int joins = 0;
    for (;;) {
        int passJoins = 0;
        for (int i = 0; i < n; ++i) {
            if (!takesPart(i))
                continue;
            // The rule: i's start meets the end of j.
            if (const int j = match(ends, i, chains.first(i)); j >= 0) {
                join(j, i, -1);
                ++passJoins;
                continue;
            }
            if (!opts.reverse)
                continue;
            // Only where no end meets a start: i's end meets the end of j, or its start the
            // start of j.
            const Point& l = chains.last(i);
            if (const int j = match(ends, i, l); j >= 0 && match(starts, i, l) < 0) {
                join(j, i, i);
                ++passJoins;
            } else if (const int k = match(starts, i, chains.first(i)); k >= 0) {
                join(i, k, i);
                ++passJoins;
            }
        }
        joins += passJoins;
        if (passJoins == 0)
            break;
    }
    chains.settle(polys);
    if (opts.close)
        closeChains(m, t);
    return joins;
}

void closeChains(ContourModel& m, double t)
{
    for (tpoly& p : m.polys) {
        if (p.delpoly || !p.joinable || p.anzp < 3)
            continue;
        const Tmypoi& a = p.ps[0];
        const Tmypoi& b = p.ps[size_t(p.anzp) - 1];
        if (std::fabs(a.x - b.x) < t && std::fabs(a.y - b.y) < t && std::fabs(a.z - b.z) < t) {
            p.closeit = true;
            --p.anzp;  // the copy of the first point goes; the segment before it stays
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

std::string msgBinary(const std::string& fname)
{
    return TranslateText(
               "Folgende DXF Datei ist eine binäre DXF Datei und kann nicht verarbeitet werden: ") +
           fname;
}

std::string msgUtf16(const std::string& fname)
{
    return TranslateText(
               "Folgende DXF Datei ist in UTF-16 kodiert und kann nicht verarbeitet werden: ") +
           fname;
}

namespace {

// The reason a source cannot be joined for the user, or empty. The tool reads and writes
// 8-bit text; a binary or UTF-16 file would come out as a corrupted copy.
std::string refusal(const std::string& source)
{
    std::string head(64, '\0');
    std::FILE* f = std::fopen(source.c_str(), "rb");
    if (!f)
        return {};  // the reader reports it
    head.resize(std::fread(head.data(), 1, head.size(), f));
    std::fclose(f);
    if (isBinaryDxf(head))
        return msgBinary(source);
    const bool bom = head.starts_with("\xFF\xFE") || head.starts_with("\xFE\xFF");
    if (bom || head.find('\0') < 2)
        return msgUtf16(source);
    return {};
}

// The counts of the report: polylines written, closed or open.
void countWritten(JoinOutcome& out, const tpoly& p)
{
    ++out.polylines;
    ++(p.closeit || p.flagclosed ? out.closed : out.open);
}

}  // namespace

JoinOutcome joinLinesFile(ContourModel& m, const std::string& source, const std::string& target,
                          double t, const JoinOptions& opts)
{
    JoinOutcome out;
    if ((out.message = refusal(source)).size())
        return out;
    ContourModel fresh;
    if (!LoadDxf2(source, fresh, opts.arcs)) {  // stop here: no join on an old model, no target
        out.message = msgCannotOpen(source);
        return out;
    }
    m = std::move(fresh);
    out.pieces = m.anzpoly;
    joinPasses(m, t, opts);
    for (tpoly& p : m.polys) {
        if (p.delpoly || p.anzp < 2)
            continue;
        // An arc that joined nothing stays the arc it was.
        if (p.kind == PieceKind::Arc && p.anzp == 2 && !p.closeit)
            p.keepsource = true;
        if (p.keepsource)
            continue;
        // Vertices at different heights make a 3D polyline.
        for (int k = 1; k < p.anzp && !p.is3d; ++k) {
            const double dz = std::fabs(p.ps[size_t(k)].z - p.ps[0].z);
            p.is3d = dz != 0 && !(dz < t);
        }
        countWritten(out, p);
    }
    out.written = savedxf2(m, source, target, out.message);
    if (!out.written)
        out.polylines = out.closed = out.open = 0;
    return out;
}

JoinOutcome combinePolylinesFile(ContourModel& m, const std::string& source,
                                 const std::string& target, double t, const JoinOptions& opts)
{
    JoinOutcome out;
    if ((out.message = refusal(source)).size())
        return out;
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
    joinPasses(m, t, opts);
    for (tpoly& p : m.polys) {
        bool flagged = false;
        for (size_t k = 0; k + 1 < p.code.size(); k += 2) {
            const std::string_view c = trimText(m.lines[p.code[k]]);
            if (c == "90") {
                p.code[k + 1] = m.lines.add(std::to_string(p.anzp));
            } else if (c == "70" && p.closeit && !flagged) {
                const int64_t flags = parseInteger(m.lines[p.code[k + 1]]).value_or(0);
                p.code[k + 1] = m.lines.add(std::to_string(flags | 1));
                flagged = true;
            }
        }
        if (p.closeit && !flagged) {
            p.code.push_back(m.lines.add(" 70"));
            p.code.push_back(m.lines.add("1"));
        }
        if (p.anzp < 2)
            p.delpoly = true;
        if (!p.delpoly)
            countWritten(out, p);
    }
    out.written = savedxf4(m, source, target, out.message);
    if (!out.written)
        out.polylines = out.closed = out.open = 0;
    return out;
}

}  // namespace kerbon::contour
