// The contour tool's writers: a copy of the source DXF file in which every entity the matching
// reader took is replaced by its polyline from the model, everything else copied line for
// line. Output lines end with CR LF and keep their bytes as read.
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

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

bool startsReplaced(Replaces kind, std::string_view c, std::string_view v)
{
    if (c != "0")
        return false;
    if (kind == Replaces::Lines)
        return v == "LINE";
    return v == "POLYLINE" || v == "LWPOLYLINE";
}

// Reads past the rest of a replaced entity; leaves the pair that ended it for the main loop.
void skipEntity(PairStream& in, bool withVertices)
{
    while (in.next()) {
        const std::string_view c = in.pair().code();
        if (c != "0")
            continue;
        const std::string_view v = in.pair().value();
        if (withVertices && (v == "VERTEX" || v == "SEQEND"))
            continue;
        in.pushBack();
        return;
    }
}

bool hasHandle(const ContourModel& m, const tpoly& p)
{
    for (size_t k = 0; k < p.code.size(); k += 2)
        if (trimText(m.lines[p.code[k]]) == "5")
            return true;
    return false;
}

std::string bulgeText(double b)
{
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, b, std::chars_format::general, 15);
    return std::string(buf, r.ptr);
}

void writePoly(LineSink& out, ContourModel& m, const tpoly& p, bool newHandle)
{
    for (uint32_t id : p.code)
        out.line(m.lines[id]);
    if (newHandle && !hasHandle(m, p)) {
        out.line(" 5");
        out.line(handleHex(++m.maxhandle));
    }
    for (int k = 0; k < p.anzp && size_t(k) < p.ps.size(); ++k) {
        const Tmypoi& v = p.ps[size_t(k)];
        if (v.delit)
            continue;
        for (uint32_t q = 0; q + 1 < v.code.count; q += 2) {
            const uint32_t id = v.code.first + q;
            if (v.writebulge && trimText(m.lines[id]) == "42")
                continue;
            out.line(m.lines[id]);
            out.line(m.lines[id + 1]);
        }
        if (v.writebulge) {
            out.line("42");
            out.line(bulgeText(v.bulge));
        }
    }
    for (uint32_t id : p.code2)
        out.line(m.lines[id]);
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
    // New polyline handles count on from maxhandle; $HANDSEED must stay above all of them,
    // or the next program to add an object would hand out a handle twice.
    uint64_t lastHandle = m.maxhandle;
    if (kind == Replaces::Lines)
        for (int k = 0; k < m.anzpoly; ++k)
            lastHandle += written(kind, m.polys[size_t(k)]) && !hasHandle(m, m.polys[size_t(k)]);
    const bool newHandles = kind == Replaces::Lines && lastHandle > m.filemaxhandle;

    LineSink out(target.file());
    bool inEntities = false, seedFlag = false;
    size_t k = 0;
    while (in.next()) {
        const Pair& pr = in.pair();
        const std::string_view c = pr.code(), v = pr.value();
        trackSection(pr, inEntities);
        if (!(inEntities && startsReplaced(kind, c, v))) {
            std::string_view value = pr.valueLine;
            std::string seed;
            if (c == "9") {
                seedFlag = v == "$HANDSEED";
            } else if (seedFlag && c == "5") {
                seedFlag = false;
                auto h = parseHandle(pr.valueLine);
                if (newHandles && h && *h <= lastHandle)
                    value = seed = handleHex(lastHandle + 1);
            }
            out.line(pr.codeLine);
            out.line(value);
            continue;
        }
        skipEntity(in, v == "POLYLINE");
        if (k < m.polys.size() && written(kind, m.polys[k]))
            writePoly(out, m, m.polys[k], kind == Replaces::Lines);
        ++k;
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
