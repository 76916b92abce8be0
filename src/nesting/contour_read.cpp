// The contour tool's readers: LINE (and ARC) entities as polylines of two vertices
// (LoadDxf2), and POLYLINE / LWPOLYLINE entities as they are (LoadDxf). Only the ENTITIES
// section is read. Besides the text of each entity the readers note what joining needs:
// the class a piece joins within, whether it may join at all, and world coordinates.
#include <cmath>
#include <map>
#include <utility>

#include "dxf/LineStore.h"
#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

namespace kerbon::contour {

namespace {

void setIfNumber(double& target, std::string_view text)
{
    if (auto d = parseReal(text))
        target = *d;
}

void finishPoly(ContourModel& m, tpoly&& p)
{
    if (p.anzp > 0) {
        const Tmypoi& a = p.ps.front();
        const Tmypoi& b = p.isclosed ? a : p.ps[size_t(p.anzp) - 1];
        p.reinx = a.x, p.reiny = a.y, p.reinz = a.z;
        p.rausx = b.x, p.rausy = b.y, p.rausz = b.z;
    }
    m.polys.push_back(std::move(p));
    m.anzpoly = int(m.polys.size());
}

void resetModel(ContourModel& m)
{
    m.polys.clear();
    m.polys.reserve(1000);
    m.anzpoly = 0;
    m.lines.clear();
}

// The pairs of one entity while it is read, kept until the entity is complete. Reused from
// entity to entity, so reading allocates nothing per entity once it has grown.
struct PairBuffer {
    std::string text;
    std::vector<size_t> ends;
    void clear()
    {
        text.clear();
        ends.clear();
    }
    void add(std::string_view a, std::string_view b)
    {
        text.append(a);
        ends.push_back(text.size());
        text.append(b);
        ends.push_back(text.size());
    }
    size_t pairs() const { return ends.size() / 2; }
    std::string_view line(size_t k) const
    {
        const size_t from = k == 0 ? 0 : ends[k - 1];
        return std::string_view(text).substr(from, ends[k] - from);
    }
    std::string_view codeLine(size_t pr) const { return line(2 * pr); }
    std::string_view valueLine(size_t pr) const { return line(2 * pr + 1); }
    std::string_view code(size_t pr) const { return trimText(codeLine(pr)); }
};

bool isExtrusion(std::string_view c) { return c == "210" || c == "220" || c == "230"; }

// What an entity says about where it lies: the pairs that decide its join class, its
// handle and its extrusion. Fed with every pair of the entity's own record.
struct Placement {
    std::string layer = "0", space, layout;
    uint64_t handle = 0;
    double ex = 0, ey = 0, ez = 1;

    void take(std::string_view c, std::string_view valueLine)
    {
        const std::string_view v = trimText(valueLine);
        if (c == "8")
            layer = v;
        else if (c == "67")
            space = v == "0" ? "" : v;
        else if (c == "410")
            layout = v;
        else if (c == "5") {
            if (auto h = parseHandle(v))
                handle = *h;
        } else if (c == "210")
            setIfNumber(ex, v);
        else if (c == "220")
            setIfNumber(ey, v);
        else if (c == "230")
            setIfNumber(ez, v);
    }
    bool upright() const { return ex == 0 && ey == 0 && ez > 0; }
    bool mirrored() const { return ex == 0 && ey == 0 && ez < 0; }
};

std::string upper(std::string s)
{
    for (char& ch : s)
        if (ch >= 'a' && ch <= 'z')
            ch = char(ch - 'a' + 'A');
    return s;
}

// What the header pairs [from, to) of a polyline say: placement, flags (70) and elevation
// (`elevationCode`: 38 of a lightweight polyline, 30 of an old-style one's base point).
// Stops at extended data.
struct HeaderFacts {
    Placement pl;
    int64_t flags = 0;
    double elevation = 0;
};

HeaderFacts headerFacts(const PairBuffer& buf, size_t from, size_t to,
                        std::string_view elevationCode)
{
    HeaderFacts h;
    for (size_t q = from; q < to; ++q) {
        const std::string_view c = buf.code(q);
        if (c == "1001")
            break;
        h.pl.take(c, buf.valueLine(q));
        if (c == "70")
            if (auto f = parseInteger(buf.valueLine(q)))
                h.flags = *f;
        if (c == elevationCode)
            setIfNumber(h.elevation, buf.valueLine(q));
    }
    return h;
}

// Numbers for the join classes of one read: equal text, equal number.
class Classes {
public:
    int of(char kind, const Placement& pl)
    {
        // Layer names ignore case. The space (67) and layout (410) name where the entity lies;
        // its owner handle says the same where it is present, so it is not compared.
        std::string key(1, kind);
        const std::string layout = upper(pl.layout);
        for (const std::string& s :
             {upper(pl.layer), pl.space, pl.space.empty() && layout == "MODEL" ? "" : layout}) {
            key += '\0';
            key += s;
        }
        return ids.emplace(std::move(key), int(ids.size())).first->second;
    }

private:
    std::map<std::string, int> ids;
};

// Adds the pair `pr` of `buf` to the pool and returns the id of its first line.
uint32_t addPair(LinePool& pool, const PairBuffer& buf, size_t pr)
{
    const uint32_t id = pool.add(buf.codeLine(pr));
    pool.add(buf.valueLine(pr));
    return id;
}

void addTo(LinePool& pool, std::vector<uint32_t>& list, std::string_view a, std::string_view b)
{
    list.push_back(pool.add(a));
    list.push_back(pool.add(b));
}

// ---- LINE and ARC pieces ----

// Vertex lines of a two-vertex piece, one buffer per vertex.
struct PieceScratch {
    PairBuffer head, v[2];
};

// Starts a piece's vertex: an old-style vertex gets its handle first.
void startVertex(ContourModel& m, tpoly& p, PieceScratch& s, bool lightweight)
{
    p.ps.emplace_back();
    p.anzp = int(p.ps.size());
    if (!lightweight)
        s.v[p.anzp - 1].add(" 5", handleHex(++m.maxhandle));
}

// Stores a piece read into `s`: header, vertex coordinates and extended data.
void storePiece(ContourModel& m, tpoly& p, PieceScratch& s, const Placement& pl, bool lightweight,
                Classes& classes, std::string_view bulge)
{
    LinePool& pool = m.lines;
    p.code.push_back(pool.add(lightweight ? "LWPOLYLINE" : "POLYLINE"));
    p.code.push_back(pool.add(" 66"));
    p.code.push_back(pool.add("1"));
    bool inXdata = false, layered = false;
    for (size_t q = 0; q < s.head.pairs(); ++q) {
        const std::string_view c = s.head.code(q);
        inXdata = inXdata || c == "1001";
        std::vector<uint32_t>& to = inXdata ? p.xdata : p.code;
        to.push_back(addPair(pool, s.head, q));
        to.push_back(to.back() + 1);
        if (c == "8" && !inXdata) {
            p.layer = to.back();
            layered = true;
        }
    }
    if (!layered)
        p.layer = pool.add("0");
    for (int k = 0; k < p.anzp; ++k) {
        Tmypoi& v = p.ps[size_t(k)];
        v.code.first = pool.size();
        for (size_t q = 0; q < s.v[k].pairs() * 2; ++q)
            pool.add(s.v[k].line(q));
        v.code.count = pool.size() - v.code.first;
        if (k == 0 && !bulge.empty()) {
            v.seg.first = pool.add(" 42");
            pool.add(bulge);
            v.seg.count = 2;
        }
    }
    p.handle = pl.handle;
    p.cls = classes.of('L', pl);
}

// One LINE, its 0/LINE pair being current. Leaves the pair that ended it for the main loop.
// The LINE's points are world coordinates already: its extrusion is not carried over.
void readLine(PairStream& in, ContourModel& m, bool lightweight, PieceScratch& s, Classes& classes)
{
    tpoly p;
    p.kind = PieceKind::Line;
    p.ps.reserve(2);
    p.code.push_back(m.lines.add(in.pair().codeLine));
    s.head.clear();
    s.v[0].clear();
    s.v[1].clear();
    Placement pl;
    startVertex(m, p, s, lightweight);
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code();
        if (c == "0") {
            in.pushBack();
            break;
        }
        const bool first = c == "10" || c == "20" || c == "30";
        const bool second = c == "11" || c == "21" || c == "31";
        if (first || second) {
            if (second && p.anzp == 1)
                startVertex(m, p, s, lightweight);
            Tmypoi& v = p.ps.back();
            const char axis = c[0];
            setIfNumber(axis == '1' ? v.x : axis == '2' ? v.y : v.z, pr.valueLine);
            PairBuffer& vlines = s.v[p.anzp - 1];
            if (first)
                vlines.add(pr.codeLine, pr.valueLine);
            else
                vlines.add(axis == '1' ? " 10" : axis == '2' ? " 20" : " 30", pr.valueLine);
            continue;
        }
        pl.take(c, pr.valueLine);
        if (isExtrusion(c))
            continue;
        s.head.add(pr.codeLine, c == "100" && pr.valueLine == "AcDbLine" ? "AcDbPolyline"
                                                                        : pr.valueLine);
    }
    storePiece(m, p, s, pl, lightweight, classes, {});
    finishPoly(m, std::move(p));
}

// One ARC, its 0/ARC pair being current: a piece of one bulged segment from its start to
// its end point, in world coordinates. An arc that cannot be one (a full circle, no radius,
// a tilted extrusion) is kept as it is.
void readArc(PairStream& in, ContourModel& m, bool lightweight, PieceScratch& s, Classes& classes)
{
    tpoly p;
    p.kind = PieceKind::Arc;
    p.code.push_back(m.lines.add(in.pair().codeLine));
    s.head.clear();
    s.v[0].clear();
    s.v[1].clear();
    Placement pl;
    double cx = 0, cy = 0, cz = 0, r = 0, a0 = 0, a1 = 0;
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code();
        if (c == "0") {
            in.pushBack();
            break;
        }
        double* number = c == "10" ? &cx : c == "20" ? &cy : c == "30" ? &cz : c == "40" ? &r
                       : c == "50" ? &a0 : c == "51" ? &a1 : nullptr;
        if (number) {
            setIfNumber(*number, pr.valueLine);
            continue;
        }
        pl.take(c, pr.valueLine);
        if (isExtrusion(c) || (c == "100" && pr.value() == "AcDbArc"))
            continue;
        s.head.add(pr.codeLine, c == "100" && pr.value() == "AcDbCircle" ? "AcDbPolyline"
                                                                         : pr.valueLine);
    }
    double sweep = std::fmod(a1 - a0, 360.0);
    if (sweep < 0)
        sweep += 360;
    const double toRad = M_PI / 180;
    double bulge = std::tan(sweep * toRad / 4);
    const bool usable = r > 0 && std::isfinite(r) && std::isfinite(cx) && std::isfinite(cy) &&
                        std::isfinite(cz) && std::isfinite(a0) && std::isfinite(a1) &&
                        sweep > 1e-9 && sweep < 360 - 1e-9 && (pl.upright() || pl.mirrored());
    const double sign = pl.mirrored() ? -1 : 1;  // seen from below: x and turn mirrored
    for (double a : {a0, a1}) {
        startVertex(m, p, s, lightweight);
        Tmypoi& v = p.ps.back();
        if (usable) {
            v.x = sign * (cx + r * std::cos(a * toRad));
            v.y = cy + r * std::sin(a * toRad);
            v.z = sign * cz;
        }
        PairBuffer& vlines = s.v[p.anzp - 1];
        vlines.add(" 10", floattodxf(v.x));
        vlines.add(" 20", floattodxf(v.y));
        vlines.add(" 30", floattodxf(v.z));
    }
    storePiece(m, p, s, pl, lightweight, classes, floattodxf(sign * bulge));
    p.joinable = usable;
    p.keepsource = !usable;
    finishPoly(m, std::move(p));
}

// The reading pass of LoadDxf2. Old-style vertices take new handles above every handle of
// the file, so they need the largest handle before the first LINE: with `handlesKnown`
// false the pass collects the handles as it goes and gives up (returns false) at the first
// piece of the old-style form, for a rerun once the handles are known. Files of later
// versions are so read once.
bool readLines(const std::string& fname, ContourModel& m, bool handlesKnown, bool arcs)
{
    PairStream in(fname);
    if (!in.isOpen())
        return false;
    if (!handlesKnown)
        in.trackHandles(&m.maxhandle);
    resetModel(m);
    PieceScratch scratch;
    Classes classes;
    bool inEntities = false, versionFlag = false;
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code(), v = pr.value();
        if (c == "9") {
            versionFlag = v == "$ACADVER";
        } else if (versionFlag && c == "1") {
            versionFlag = false;
            if (v.size() > 2)
                if (auto ver = parseInteger(v.substr(2)); ver && *ver >= 0 && *ver <= 1000000)
                    m.cadver = int(*ver);
        }
        trackSection(pr, inEntities);
        const bool line = v == "LINE", arc = arcs && v == "ARC";
        if (inEntities && c == "0" && (line || arc)) {
            const bool lightweight = m.cadver >= lightweightVersion;
            if (!lightweight && !handlesKnown)
                return false;
            if (line)
                readLine(in, m, lightweight, scratch, classes);
            else
                readArc(in, m, lightweight, scratch, classes);
        }
    }
    return true;
}

// ---- polylines ----

// Splits the pairs of a vertex (indexes into `buf`, in order) into its code, segment and
// extended-data runs. `mirrored`: x and bulge are stored negated (world coordinates of a
// piece seen from below).
void storeVertex(LinePool& pool, Tmypoi& v, const PairBuffer& buf, const std::vector<size_t>& at,
                 bool mirrored)
{
    size_t xd = at.size();
    for (size_t k = 0; k < at.size() && xd == at.size(); ++k)
        if (buf.code(at[k]) == "1001")
            xd = k;
    auto run = [&](LineRange& r, bool wantSeg) {
        r.first = pool.size();
        for (size_t k = 0; k < xd; ++k) {
            const std::string_view c = buf.code(at[k]);
            const bool isSeg = c == "40" || c == "41" || c == "42";
            if (isSeg != wantSeg)
                continue;
            pool.add(buf.codeLine(at[k]));
            if (mirrored && (c == "10" || c == "42"))
                pool.add(negatedText(buf.valueLine(at[k])));
            else
                pool.add(buf.valueLine(at[k]));
        }
        r.count = pool.size() - r.first;
    };
    run(v.code, false);
    run(v.seg, true);
    v.xdata.first = pool.size();
    for (size_t k = xd; k < at.size(); ++k)
        addPair(pool, buf, at[k]);
    v.xdata.count = pool.size() - v.xdata.first;
}

// Header pairs [from, to) into `list`; from the first 1001 on into the extended data.
// Of a mirrored polyline the extrusion is left out and the elevation negated.
void storeHeader(LinePool& pool, tpoly& p, std::vector<uint32_t>& list, const PairBuffer& buf,
                 size_t from, size_t to, bool mirrored, std::string_view elevationCode)
{
    for (size_t q = from; q < to; ++q) {
        const std::string_view c = buf.code(q);
        if (c == "1001") {
            for (; q < to; ++q)
                addTo(pool, p.xdata, buf.codeLine(q), buf.valueLine(q));
            return;
        }
        if (mirrored && isExtrusion(c))
            continue;
        if (mirrored && c == elevationCode)
            addTo(pool, list, buf.codeLine(q), negatedText(buf.valueLine(q)));
        else
            addTo(pool, list, buf.codeLine(q), buf.valueLine(q));
    }
}

// Reads the pairs of an entity into `buf` up to the next pair with code 0 that does not
// continue it (VERTEX and SEQEND continue a POLYLINE), which is left for the main loop.
void bufferEntity(PairStream& in, PairBuffer& buf, bool withVertices)
{
    buf.clear();
    buf.add(in.pair().codeLine, in.pair().valueLine);
    while (in.next()) {
        const Pair& pr = in.pair();
        if (pr.code() == "0") {
            const std::string_view v = pr.value();
            if (!withVertices || (v != "VERTEX" && v != "SEQEND")) {
                in.pushBack();
                return;
            }
        }
        buf.add(pr.codeLine, pr.valueLine);
    }
}

// Flags of an old-style polyline header that keep it out of joining: closed (1),
// curve-fit (2), spline-fit (4), 3D mesh (16), polyface mesh (64).
constexpr int64_t keepAsIs = 1 | 2 | 4 | 16 | 64;

// One POLYLINE with its VERTEX and SEQEND entities, its 0/POLYLINE pair being current.
void readPolyline(PairStream& in, ContourModel& m, PairBuffer& buf, Classes& classes)
{
    bufferEntity(in, buf, true);
    LinePool& pool = m.lines;
    tpoly p;
    p.kind = PieceKind::Polyline;
    size_t firstVertex = buf.pairs(), seqend = buf.pairs();
    for (size_t q = 1; q < buf.pairs(); ++q)
        if (buf.code(q) == "0") {
            const std::string_view v = trimText(buf.valueLine(q));
            if (v == "VERTEX" && firstVertex == buf.pairs())
                firstVertex = q;
            if (v == "SEQEND") {
                seqend = q;
                break;
            }
        }
    firstVertex = std::min(firstVertex, seqend);
    const auto [pl, flags, elevation] = headerFacts(buf, 0, firstVertex, "30");
    // Every 70 pair of the polyline, its vertices' included, sets the closed flag as read.
    for (size_t q = 0; q < seqend; ++q)
        if (buf.code(q) == "70")
            if (auto f = parseInteger(buf.valueLine(q)))
                p.isclosed = (*f & 1) != 0;
    p.is3d = (flags & 8) != 0;
    p.flagclosed = (flags & 1) != 0;
    const bool mirrored = !p.is3d && pl.mirrored();
    p.joinable = (flags & keepAsIs) == 0 && (p.is3d || pl.upright() || mirrored);
    p.handle = pl.handle;
    p.cls = classes.of(p.is3d ? '3' : '2', pl);
    storeHeader(pool, p, p.code, buf, 0, firstVertex, mirrored, "30");
    for (size_t q = firstVertex; q < seqend;) {
        size_t end = q + 1;
        while (end < seqend && buf.code(end) != "0")
            ++end;
        if (trimText(buf.valueLine(q)) == "VERTEX") {
            p.ps.emplace_back();
            Tmypoi& v = p.ps.back();
            for (size_t k = q; k < end; ++k) {
                const std::string_view c = buf.code(k);
                if (c == "10" || c == "20" || c == "30")
                    setIfNumber(c == "10" ? v.x : c == "20" ? v.y : v.z, buf.valueLine(k));
            }
            if (mirrored)
                v.x = -v.x;
            if (!p.is3d)  // a 2D polyline lies at its elevation
                v.z = mirrored ? -elevation : elevation;
            std::vector<size_t> at;
            for (size_t k = q; k < end; ++k)
                at.push_back(k);
            storeVertex(pool, v, buf, at, mirrored);
        }
        q = end;
    }
    p.anzp = int(p.ps.size());
    for (size_t q = seqend; q < buf.pairs(); ++q)
        addTo(pool, p.code2, buf.codeLine(q), buf.valueLine(q));
    finishPoly(m, std::move(p));
}

// One LWPOLYLINE, its 0/LWPOLYLINE pair being current. A 10 (or 11) that is a number
// starts a vertex (one that is not is dropped); the vertex owns the 20, 30, 91 and segment
// pairs 40, 41, 42 that follow it. The entity's other pairs after the first vertex stay
// behind the vertices, its extended data last.
void readLwPolyline(PairStream& in, ContourModel& m, PairBuffer& buf, Classes& classes)
{
    bufferEntity(in, buf, false);
    LinePool& pool = m.lines;
    tpoly p;
    p.kind = PieceKind::LwPolyline;
    const auto [pl, flags, elevation] = headerFacts(buf, 0, buf.pairs(), "38");
    size_t xd = 0;  // where the extended data starts
    while (xd < buf.pairs() && buf.code(xd) != "1001")
        ++xd;
    const bool mirrored = pl.mirrored();
    p.flagclosed = (flags & 1) != 0;
    p.joinable = !p.flagclosed && (pl.upright() || mirrored);
    p.handle = pl.handle;
    p.cls = classes.of('W', pl);

    std::vector<std::vector<size_t>> vertices;
    std::vector<size_t> header, rest;  // pairs before the first vertex; other pairs after it
    for (size_t q = 1; q < xd; ++q) {
        const std::string_view c = buf.code(q);
        if (c == "10" || c == "11") {
            if (parseReal(buf.valueLine(q)))
                vertices.push_back({q});
            continue;
        }
        const bool own = c == "20" || c == "21" || c == "30" || c == "31" || c == "40" ||
                         c == "41" || c == "42" || c == "91";
        if (vertices.empty())
            header.push_back(q);
        else if (own)
            vertices.back().push_back(q);
        else
            rest.push_back(q);
    }
    auto store = [&](std::vector<uint32_t>& list, size_t q) {
        const std::string_view c = buf.code(q);
        if (mirrored && isExtrusion(c))
            return;
        addTo(pool, list, buf.codeLine(q),
              mirrored && c == "38" ? negatedText(buf.valueLine(q)) : std::string(buf.valueLine(q)));
    };
    store(p.code, 0);
    for (size_t q : header)
        store(p.code, q);
    for (const std::vector<size_t>& at : vertices) {
        p.ps.emplace_back();
        Tmypoi& v = p.ps.back();
        v.z = mirrored ? -elevation : elevation;
        for (size_t q : at) {
            const std::string_view c = buf.code(q);
            if (c == "10" || c == "11")
                setIfNumber(v.x, buf.valueLine(q));
            else if (c == "20" || c == "21")
                setIfNumber(v.y, buf.valueLine(q));
            else if (c == "30" || c == "31")
                setIfNumber(v.z, buf.valueLine(q));
        }
        if (mirrored)
            v.x = -v.x;
        storeVertex(pool, v, buf, at, mirrored);
    }
    p.anzp = int(p.ps.size());
    for (size_t q : rest)
        store(p.code2, q);
    for (size_t q = xd; q < buf.pairs(); ++q)
        addTo(pool, p.xdata, buf.codeLine(q), buf.valueLine(q));
    finishPoly(m, std::move(p));
}

}  // namespace

bool LoadDxf2(const std::string& fname, ContourModel& m, bool arcs)
{
    m.cadver = 0;
    m.maxhandle = 0;
    m.arcs = arcs;
    if (!readLines(fname, m, false, arcs)) {
        m.cadver = 0;
        m.maxhandle = 0;
        {
            PairStream in(fname);
            if (!in.isOpen())
                return false;
            in.trackHandles(&m.maxhandle);
            while (in.next()) {
            }
        }
        m.filemaxhandle = m.maxhandle;
        return readLines(fname, m, true, arcs);
    }
    m.filemaxhandle = m.maxhandle;
    return true;
}

bool LoadDxf(const std::string& fname, ContourModel& m)
{
    PairStream in(fname);
    if (!in.isOpen())
        return false;
    resetModel(m);
    m.arcs = false;
    PairBuffer buf;
    Classes classes;
    bool inEntities = false;
    while (in.next()) {
        const Pair& pr = in.pair();
        trackSection(pr, inEntities);
        if (!inEntities || pr.code() != "0")
            continue;
        if (pr.value() == "POLYLINE")
            readPolyline(in, m, buf, classes);
        else if (pr.value() == "LWPOLYLINE")
            readLwPolyline(in, m, buf, classes);
    }
    return true;
}

}  // namespace kerbon::contour
