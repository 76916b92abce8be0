// The contour tool's readers: LINE entities as two-vertex polylines (LoadDxf2), and
// POLYLINE / LWPOLYLINE entities as they are (LoadDxf). Only the ENTITIES section is read.
#include <utility>

#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

namespace kerbon::contour {

namespace {

void setIfNumber(double& target, std::string_view text)
{
    if (auto d = parseReal(text))
        target = *d;
}

void newVertex(tpoly& p)
{
    p.ps.emplace_back();
    p.anzp = int(p.ps.size());
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

// Lines of one vertex while a LINE is being read; stored contiguously once it is complete.
// Reused from LINE to LINE, so reading allocates nothing per line.
struct VertexLines {
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
    size_t size() const { return ends.size(); }
    std::string_view operator[](size_t k) const
    {
        const size_t from = k == 0 ? 0 : ends[k - 1];
        return std::string_view(text).substr(from, ends[k] - from);
    }
};

// One LINE, its 0/LINE pair being current. Leaves the pair that ended it for the main loop.
void readLine(PairStream& in, ContourModel& m, bool lightweight, VertexLines (&vl)[2])
{
    LinePool& pool = m.lines;
    tpoly p;
    p.ps.reserve(2);
    p.code.push_back(pool.add(in.pair().codeLine));
    p.code.push_back(pool.add(lightweight ? "LWPOLYLINE" : "POLYLINE"));
    p.code.push_back(pool.add(" 66"));
    p.code.push_back(pool.add("1"));
    std::string layer = "0";
    vl[0].clear();
    vl[1].clear();
    auto createVertex = [&] {
        newVertex(p);
        if (!lightweight) {
            VertexLines& v = vl[p.anzp - 1];
            v.add(" 0", "VERTEX");
            v.add(" 5", handleHex(++m.maxhandle));
        }
    };
    createVertex();
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
                createVertex();
            Tmypoi& v = p.ps.back();
            const char axis = c[0];
            setIfNumber(axis == '1' ? v.x : axis == '2' ? v.y : v.z, pr.valueLine);
            VertexLines& vlines = vl[p.anzp - 1];
            if (first)
                vlines.add(pr.codeLine, pr.valueLine);
            else
                vlines.add(axis == '1' ? " 10" : axis == '2' ? " 20" : " 30", pr.valueLine);
            continue;
        }
        if (c == "8")
            layer = pr.valueLine;
        p.code.push_back(pool.add(pr.codeLine));
        p.code.push_back(pool.add(c == "100" && pr.valueLine == "AcDbLine" ? "AcDbPolyline"
                                                                            : pr.valueLine));
    }
    if (!lightweight) {
        p.code2.push_back(pool.add(" 0"));
        p.code2.push_back(pool.add("SEQEND"));
    }
    for (int k = 0; k < p.anzp; ++k) {
        Tmypoi& v = p.ps[size_t(k)];
        const VertexLines& lines = vl[k];
        v.code.first = pool.size();
        for (size_t q = 0; q < lines.size(); ++q) {
            if (q == 4 && !lightweight) {  // the layer goes behind VERTEX and the handle
                pool.add(" 8");
                pool.add(layer);
            }
            pool.add(lines[q]);
        }
        v.code.count = pool.size() - v.code.first;
    }
    finishPoly(m, std::move(p));
}

// Adds a pair to the last vertex, whose lines are the newest in the pool.
void addToVertex(LinePool& pool, Tmypoi& v, const Pair& pr)
{
    if (v.code.count == 0)
        v.code.first = pool.size();
    pool.add(pr.codeLine);
    pool.add(pr.valueLine);
    v.code.count += 2;
}

void addTo(LinePool& pool, std::vector<uint32_t>& list, const Pair& pr)
{
    list.push_back(pool.add(pr.codeLine));
    list.push_back(pool.add(pr.valueLine));
}

// One POLYLINE with its VERTEX and SEQEND entities, its 0/POLYLINE pair being current.
void readPolyline(PairStream& in, ContourModel& m)
{
    LinePool& pool = m.lines;
    tpoly p;
    addTo(pool, p.code, in.pair());
    bool collecting = false, afterSeqend = false;
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code(), v = pr.value();
        if (c == "0") {
            if (v == "VERTEX") {
                newVertex(p);
                collecting = true;
            } else if (v == "SEQEND") {
                collecting = false;
                afterSeqend = true;
            } else {
                in.pushBack();
                break;
            }
        }
        if (collecting) {
            Tmypoi& vx = p.ps.back();
            addToVertex(pool, vx, pr);
            if (c == "10")
                setIfNumber(vx.x, pr.valueLine);
            else if (c == "20")
                setIfNumber(vx.y, pr.valueLine);
            else if (c == "30")
                setIfNumber(vx.z, pr.valueLine);
        } else {
            addTo(pool, afterSeqend ? p.code2 : p.code, pr);
        }
        if (c == "70" && !afterSeqend)
            if (auto flags = parseInteger(pr.valueLine))
                p.isclosed = (*flags & 1) != 0;
    }
    finishPoly(m, std::move(p));
}

// One LWPOLYLINE, its 0/LWPOLYLINE pair being current.
void readLwPolyline(PairStream& in, ContourModel& m)
{
    LinePool& pool = m.lines;
    tpoly p;
    addTo(pool, p.code, in.pair());
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code();
        if (c == "0") {
            in.pushBack();
            break;
        }
        if (c == "10" || c == "11") {
            auto d = parseReal(pr.valueLine);
            if (!d)
                continue;  // starts no vertex; the pair is dropped
            newVertex(p);
            p.ps.back().x = *d;
            addToVertex(pool, p.ps.back(), pr);
            continue;
        }
        if (p.anzp == 0) {  // also a 20/30 before the first 10: stays with the header
            addTo(pool, p.code, pr);
            continue;
        }
        Tmypoi& vx = p.ps.back();
        if (c == "20" || c == "21")
            setIfNumber(vx.y, pr.valueLine);
        else if (c == "30" || c == "31")
            setIfNumber(vx.z, pr.valueLine);
        addToVertex(pool, vx, pr);
    }
    finishPoly(m, std::move(p));
}

// The reading pass of LoadDxf2. Old-style vertices take new handles above every handle of
// the file, so they need the largest handle before the first LINE: with `handlesKnown`
// false the pass collects the handles as it goes and gives up (returns false) at the first
// LINE of the old-style form, for a rerun once the handles are known. Files of later
// versions are so read once.
bool readLines(const std::string& fname, ContourModel& m, bool handlesKnown)
{
    PairStream in(fname);
    if (!in.isOpen())
        return false;
    if (!handlesKnown)
        in.trackHandles(&m.maxhandle);
    resetModel(m);
    VertexLines scratch[2];
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
        if (inEntities && c == "0" && v == "LINE") {
            const bool lightweight = m.cadver > 1009;
            if (!lightweight && !handlesKnown)
                return false;
            readLine(in, m, lightweight, scratch);
        }
    }
    return true;
}

}  // namespace

bool LoadDxf2(const std::string& fname, ContourModel& m)
{
    m.cadver = 0;
    m.maxhandle = 0;
    if (!readLines(fname, m, false)) {
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
        return readLines(fname, m, true);
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
    bool inEntities = false;
    while (in.next()) {
        const Pair& pr = in.pair();
        trackSection(pr, inEntities);
        if (!inEntities || pr.code() != "0")
            continue;
        if (pr.value() == "POLYLINE")
            readPolyline(in, m);
        else if (pr.value() == "LWPOLYLINE")
            readLwPolyline(in, m);
    }
    return true;
}

}  // namespace kerbon::contour
