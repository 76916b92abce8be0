// The contour tool's writers: a copy of the source DXF file in which every entity the matching
// reader took is replaced by its polyline from the model, everything else copied line for
// line. Output lines end with CR LF and keep their bytes as read.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <random>
#include <system_error>
#include <unordered_set>

#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

namespace kerbon::contour {

namespace fs = std::filesystem;

namespace {

// The target, written under a temporary name in its own folder and renamed into place only
// when complete. The source may be the target, and a failure leaves any old target as it was.
class TempTarget {
public:
    explicit TempTarget(const std::string& target)
    {
        std::error_code ec;
        finalPath = fs::path(target);
        if (fs::is_symlink(finalPath, ec)) {  // replace the file the link points to
            fs::path real = fs::canonical(finalPath, ec);
            if (!ec)
                finalPath = real;
        }
        std::random_device rd;
        for (int attempt = 0; attempt < 20 && !f; ++attempt) {
            tmpPath = finalPath;
            tmpPath += ".kerbon-" + std::to_string(rd() % 1000000000u) + ".tmp";
            f = std::fopen(tmpPath.c_str(), "wbx");  // never reuse an existing file
            if (!f && errno != EEXIST)
                break;
        }
    }
    ~TempTarget()
    {
        if (f)
            std::fclose(f);
        if (!committed && !tmpPath.empty()) {
            std::error_code ec;
            fs::remove(tmpPath, ec);
        }
    }
    std::FILE* file() const { return f; }

    bool commit()
    {
        const bool closed = std::fclose(f) == 0;
        f = nullptr;
        if (!closed)
            return false;
        std::error_code ec;
        const fs::file_status old = fs::status(finalPath, ec);
        if (!ec && fs::exists(old))  // a replaced file keeps its permissions
            fs::permissions(tmpPath, old.permissions(), ec);
        fs::rename(tmpPath, finalPath, ec);
        if (ec)
            return false;
        committed = true;
        return true;
    }

private:
    fs::path finalPath, tmpPath;
    std::FILE* f = nullptr;
    bool committed = false;
};

enum class Replaces { Lines, Polylines };

bool startsReplaced(Replaces kind, bool arcs, std::string_view c, std::string_view v)
{
    if (c != "0")
        return false;
    if (kind == Replaces::Lines)
        return v == "LINE" || (arcs && v == "ARC");
    return v == "POLYLINE" || v == "LWPOLYLINE";
}

// Reads past (or copies) the rest of a replaced entity; leaves the pair that ended it for
// the main loop.
void passEntity(PairStream& in, bool withVertices, LineSink* copyTo)
{
    while (in.next()) {
        const Pair& pr = in.pair();
        if (pr.code() == "0") {
            const std::string_view v = pr.value();
            if (!(withVertices && (v == "VERTEX" || v == "SEQEND"))) {
                in.pushBack();
                return;
            }
        }
        if (copyTo) {
            copyTo->line(pr.codeLine);
            copyTo->line(pr.valueLine);
        }
    }
}

// The value line of the first pair with code `code` in `list`; nullopt when there is none.
std::optional<std::string_view> valueIn(const ContourModel& m, const std::vector<uint32_t>& list,
                                        std::string_view code, size_t from = 0)
{
    for (size_t k = from; k + 1 < list.size(); k += 2)
        if (trimText(m.lines[list[k]]) == code)
            return m.lines[list[k + 1]];
    return std::nullopt;
}

std::optional<std::string_view> valueIn(const ContourModel& m, LineRange r, std::string_view code)
{
    for (uint32_t q = 0; q + 1 < r.count; q += 2)
        if (trimText(m.lines[r.first + q]) == code)
            return m.lines[r.first + q + 1];
    return std::nullopt;
}

// A LINE or ARC piece's header: the entity's code-0 line and three lines of the polyline
// form, then the pairs of the entity.
constexpr size_t pieceHeader = 4;

bool hasHandle(const ContourModel& m, const tpoly& p)
{
    return valueIn(m, p.code, "5", pieceHeader).has_value();
}

std::string bulgeText(double b)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, b, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

void writeLines(LineSink& out, const ContourModel& m, const std::vector<uint32_t>& list)
{
    for (uint32_t id : list)
        out.line(m.lines[id]);
}

void writeRange(LineSink& out, const ContourModel& m, LineRange r)
{
    for (uint32_t q = 0; q + 1 < r.count; q += 2) {
        out.line(m.lines[r.first + q]);
        out.line(m.lines[r.first + q + 1]);
    }
}

// The segment pairs of a vertex: a segment now running the other way has its bulge
// negated and its start and end widths swapped.
void writeSegment(LineSink& out, const ContourModel& m, const Tmypoi& v)
{
    for (uint32_t q = 0; q + 1 < v.seg.count; q += 2) {
        const std::string_view codeLine = m.lines[v.seg.first + q];
        const std::string_view value = m.lines[v.seg.first + q + 1];
        const std::string_view c = trimText(codeLine);
        if (v.writebulge && c == "42")
            continue;
        if (v.flipseg && c == "42") {
            out.line(codeLine);
            out.line(negatedText(value));
        } else if (v.flipseg && (c == "40" || c == "41")) {
            out.line(c == "40" ? " 41" : " 40");
            out.line(value);
        } else {
            out.line(codeLine);
            out.line(value);
        }
    }
    if (v.writebulge) {
        out.line("42");
        out.line(bulgeText(v.bulge));
    }
}

// Files from AC1012 on carry subclass markers and owner handles in every entity.
bool hasMarkers(const ContourModel& m) { return m.cadver >= 1012; }
bool usesHandles(const ContourModel& m) { return m.filemaxhandle > 0 || hasMarkers(m); }
bool lightweightForm(const ContourModel& m, const tpoly& p)
{
    return m.cadver >= lightweightVersion && !p.is3d;
}

// The handles a LINE or ARC piece takes when written: its own when it has none, and in
// the old-style form one for the end record and one for each vertex without one.
uint64_t newHandles(const ContourModel& m, const tpoly& p)
{
    uint64_t n = hasHandle(m, p) ? 0 : 1;
    if (!lightweightForm(m, p) && usesHandles(m)) {
        ++n;
        for (int k = 0; k < p.anzp; ++k)
            n += !valueIn(m, p.ps[size_t(k)].code, "5");
    }
    return n;
}

// A polyline made of LINE and ARC pieces: the header of its first piece, then its vertices,
// in the lightweight form, or in the old-style form with vertex and end records (for old
// versions and for vertices at different heights). Subclass markers are written where the
// file's version has them, whether or not the piece's own text had them.
void writePieces(LineSink& out, ContourModel& m, const tpoly& p)
{
    const bool lw = lightweightForm(m, p), markers = hasMarkers(m);
    const char* ownMarker = lw ? "AcDbPolyline" : p.is3d ? "AcDb3dPolyline" : "AcDb2dPolyline";
    out.line(m.lines[p.code[0]]);
    out.line(lw ? "LWPOLYLINE" : "POLYLINE");
    out.line(" 66");
    out.line("1");
    std::string handle;
    if (auto h = valueIn(m, p.code, "5", pieceHeader)) {
        handle = trimText(*h);
    } else {
        handle = handleHex(++m.maxhandle);
        out.line(" 5");
        out.line(handle);
    }
    bool entityMarker = false, polylineMarker = false;
    for (size_t k = pieceHeader; k + 1 < p.code.size(); k += 2) {
        const std::string_view c = trimText(m.lines[p.code[k]]), v = trimText(m.lines[p.code[k + 1]]);
        entityMarker = entityMarker || (c == "100" && v == "AcDbEntity");
        polylineMarker = polylineMarker || (c == "100" && v == "AcDbPolyline");
    }
    bool inGroup = false, entityDone = entityMarker || !markers, polylineDone = polylineMarker || !markers;
    for (size_t k = pieceHeader; k + 1 < p.code.size(); k += 2) {
        const std::string_view codeLine = m.lines[p.code[k]], value = m.lines[p.code[k + 1]];
        const std::string_view c = trimText(codeLine);
        const bool leading = inGroup || c == "5" || c == "105" || c == "102" || c == "330" || c == "360";
        if (c == "102")
            inGroup = trimText(value).starts_with('{');
        if (!entityDone && !leading) {
            out.line("100");
            out.line("AcDbEntity");
            entityDone = true;
        }
        if (!polylineDone && c == "39") {
            out.line("100");
            out.line(ownMarker);
            polylineDone = true;
        }
        out.line(codeLine);
        out.line(c == "100" && trimText(value) == "AcDbPolyline" ? ownMarker : value);
    }
    if (!entityDone) {
        out.line("100");
        out.line("AcDbEntity");
    }
    if (!polylineDone) {
        out.line("100");
        out.line(ownMarker);
    }
    const Tmypoi& v0 = p.ps[0];
    const std::string z0 = std::string(trimText(valueIn(m, v0.code, "30").value_or("0")));
    const bool elevated = v0.z != 0;
    if (lw) {
        out.line(" 90");
        out.line(std::to_string(p.anzp));
        if (p.closeit) {
            out.line(" 70");
            out.line("1");
        }
        if (elevated) {
            out.line(" 38");
            out.line(z0);
        }
    } else {
        if (elevated && !p.is3d) {
            out.line(" 10");
            out.line("0");
            out.line(" 20");
            out.line("0");
            out.line(" 30");
            out.line(z0);
        }
        if (const int flags = (p.closeit ? 1 : 0) | (p.is3d ? 8 : 0)) {
            out.line(" 70");
            out.line(std::to_string(flags));
        }
        writeLines(out, m, p.xdata);
    }
    const std::string_view layer = m.lines[p.layer];
    auto owned = [&] {  // owner and entity marker of a record that belongs to the polyline
        if (!markers)
            return;
        out.line("330");
        out.line(handle);
        out.line("100");
        out.line("AcDbEntity");
    };
    for (int k = 0; k < p.anzp; ++k) {
        const Tmypoi& v = p.ps[size_t(k)];
        if (v.delit)
            continue;
        if (!lw) {
            out.line(" 0");
            out.line("VERTEX");
            const auto h = valueIn(m, v.code, "5");
            if (h || usesHandles(m)) {
                out.line(" 5");
                out.line(h ? std::string(*h) : handleHex(++m.maxhandle));
            }
            owned();
            out.line(" 8");
            out.line(layer);
            if (markers) {
                out.line("100");
                out.line("AcDbVertex");
                out.line("100");
                out.line(p.is3d ? "AcDb3dPolylineVertex" : "AcDb2dVertex");
            }
        }
        for (uint32_t q = 0; q + 1 < v.code.count; q += 2) {
            const std::string_view c = trimText(m.lines[v.code.first + q]);
            if (c == "5" || (lw && c == "30"))
                continue;
            out.line(m.lines[v.code.first + q]);
            out.line(m.lines[v.code.first + q + 1]);
        }
        writeSegment(out, m, v);
        if (p.is3d) {
            out.line(" 70");
            out.line("32");
        }
    }
    if (lw) {
        writeLines(out, m, p.xdata);
        return;
    }
    out.line(" 0");
    out.line("SEQEND");
    if (usesHandles(m)) {
        out.line(" 5");
        out.line(handleHex(++m.maxhandle));
    }
    owned();
    out.line(" 8");
    out.line(layer);
}

// A polyline read as POLYLINE or LWPOLYLINE, written from its own lines: header, vertices
// (those that came from another polyline now owned by this one), the pairs that follow the
// vertices, and the extended data at the end of the record it belongs to.
void writePolyline(LineSink& out, const ContourModel& m, const tpoly& p)
{
    const bool lw = p.kind == PieceKind::LwPolyline;
    writeLines(out, m, p.code);
    if (!lw)
        writeLines(out, m, p.xdata);
    const std::optional<std::string_view> handle = valueIn(m, p.code, "5");
    for (int k = 0; k < p.anzp && size_t(k) < p.ps.size(); ++k) {
        const Tmypoi& v = p.ps[size_t(k)];
        if (v.delit)
            continue;
        for (uint32_t q = 0; q + 1 < v.code.count; q += 2) {
            const std::string_view codeLine = m.lines[v.code.first + q];
            out.line(codeLine);
            const bool owner = !lw && handle && trimText(codeLine) == "330";
            out.line(owner ? *handle : m.lines[v.code.first + q + 1]);
        }
        writeSegment(out, m, v);
        writeRange(out, m, v.xdata);
    }
    if (lw) {
        writeLines(out, m, p.code2);
        writeLines(out, m, p.xdata);
    } else {
        writeLines(out, m, p.code2);
    }
}

bool written(Replaces kind, const tpoly& p)
{
    return !p.delpoly && (kind == Replaces::Polylines || p.anzp >= 2);
}

bool writeCopy(ContourModel& m, Replaces kind, const std::string& fname,
               const std::string& fname2, std::string& message)
{
    PairStream in(fname);
    if (!in.isOpen()) {
        message = msgCannotOpen(fname);
        return false;
    }
    TempTarget target(fname2);
    if (!target.file()) {
        message = msgCannotCreate(fname2);
        return false;
    }
    // New handles count on from maxhandle; $HANDSEED must stay above all of them, or the
    // next program to add an object would hand out a handle twice.
    uint64_t lastHandle = m.maxhandle;
    // Entities that are gone: groups must not list them any more.
    std::unordered_set<uint64_t> gone;
    for (int k = 0; k < m.anzpoly; ++k) {
        const tpoly& p = m.polys[size_t(k)];
        if (!written(kind, p) && p.handle)
            gone.insert(p.handle);
        if (kind == Replaces::Lines && written(kind, p) && !p.keepsource)
            lastHandle += newHandles(m, p);
    }
    const bool newHandles = kind == Replaces::Lines && lastHandle > m.filemaxhandle;

    LineSink out(target.file());
    bool inEntities = false, seedFlag = false, inGroup = false;
    size_t k = 0;
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code(), v = pr.value();
        trackSection(pr, inEntities);
        if (c == "0")
            inGroup = v == "GROUP";
        if (!(inEntities && startsReplaced(kind, m.arcs, c, v))) {
            std::string_view value = pr.valueLine;
            std::string seed;
            if (c == "9") {
                seedFlag = v == "$HANDSEED";
            } else if (seedFlag && c == "5") {
                seedFlag = false;
                auto h = parseHandle(pr.valueLine);
                if (newHandles && h && *h <= lastHandle)
                    value = seed = handleHex(lastHandle + 1);
            } else if (inGroup && c == "340") {
                if (auto h = parseHandle(v); h && gone.count(*h))
                    continue;
            }
            out.line(pr.codeLine);
            out.line(value);
            continue;
        }
        const tpoly* p = k < m.polys.size() ? &m.polys[k] : nullptr;
        ++k;
        if (p && p->keepsource) {
            out.line(pr.codeLine);
            out.line(pr.valueLine);
            passEntity(in, false, &out);
            continue;
        }
        passEntity(in, v == "POLYLINE", nullptr);
        if (!p || !written(kind, *p))
            continue;
        if (kind == Replaces::Lines)
            writePieces(out, m, *p);
        else
            writePolyline(out, m, *p);
    }
    if (in.readError()) {
        message = msgCannotOpen(fname);
        return false;
    }
    if (!out.flush() || !target.commit()) {
        message = msgCannotCreate(fname2);
        return false;
    }
    return true;
}

}  // namespace

bool savedxf2(ContourModel& m, const std::string& fname, const std::string& fname2,
              std::string& message)
{
    return writeCopy(m, Replaces::Lines, fname, fname2, message);
}

bool savedxf4(ContourModel& m, const std::string& fname, const std::string& fname2,
              std::string& message)
{
    return writeCopy(m, Replaces::Polylines, fname, fname2, message);
}

}  // namespace kerbon::contour
