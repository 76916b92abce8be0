// The contour tool's own model: polylines read from a DXF file, kept as the DXF text of each
// entity and vertex line by line, with the coordinates parsed for matching end points.
// Distinct from the display model's records of the same names (kerbon::model).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kerbon::contour {

// Every text line of the model, stored one after another in one buffer. A line is known by
// its id; ids stay valid for the life of the pool. Lines are bytes as read (8-bit code page).
class LinePool {
public:
    uint32_t add(std::string_view s)
    {
        text.append(s);
        start.push_back(text.size());
        return uint32_t(start.size() - 2);
    }
    std::string_view operator[](uint32_t id) const
    {
        return std::string_view(text).substr(start[id], start[id + 1] - start[id]);
    }
    uint32_t size() const { return uint32_t(start.size() - 1); }
    void clear()
    {
        text.clear();
        start.assign(1, 0);
    }

private:
    std::string text;
    std::vector<uint64_t> start{0};
};

// A run of consecutive pool lines: code line, value line, code line, ...
struct LineRange {
    uint32_t first = 0;
    uint32_t count = 0;
};

// One vertex.
struct Tmypoi {
    double x = 0, y = 0, z = 0;  // from the vertex's 10/20/30 (or 11/21/31) values
    LineRange code;              // the vertex's own DXF lines, written verbatim
    bool writebulge = false;     // write `bulge` as group 42 instead of any stored 42 pair
    bool delit = false;          // leave the vertex out when writing
    double bulge = 0;
};

// One polyline. Vertex records are never changed after reading, so joining moves them as
// they are (their lines are shared, never edited).
struct tpoly {
    std::vector<Tmypoi> ps;          // storage; the first anzp entries are valid
    int anzp = 0;
    bool delpoly = false;            // merged into another polyline; not written
    bool isclosed = false;           // closed flag as read (old-style polylines only)
    double rausx = 0, rausy = 0, rausz = 0;  // exit point: last vertex, or entry when closed
    double reinx = 0, reiny = 0, reinz = 0;  // entry point: first vertex
    int nr = -1;
    std::vector<uint32_t> code;      // entity header lines, written before the vertices
    std::vector<uint32_t> code2;     // lines written after the vertices (SEQEND)
};

struct ContourModel {
    std::vector<tpoly> polys;
    int anzpoly = 0;
    uint64_t maxhandle = 0;  // highest entity handle in use; new handles count on from it
    uint64_t filemaxhandle = 0;  // highest handle found in the source file (LoadDxf2)
    int cadver = 0;          // from $ACADVER: 1009, 1015, ...; 0 when the file has none
    LinePool lines;
};

// Readers. Each replaces the model by the file's content and returns true; when the file
// cannot be opened it returns false and leaves the model as it was.
// LoadDxf2: every LINE of the ENTITIES section as a polyline of (up to) two vertices, in
// the lightweight form for versions after AC1009 and the old-style form otherwise.
bool LoadDxf2(const std::string& fname, ContourModel& m);
// LoadDxf: every POLYLINE (with VERTEX and SEQEND) and LWPOLYLINE of the ENTITIES section.
bool LoadDxf(const std::string& fname, ContourModel& m);

// The join passes: repeated until a pass joins nothing, each pass appending polyline i to
// the first polyline j (index order) whose last vertex lies within the box tolerance t of
// i's first vertex. Returns the number of joins made.
int joinPasses(ContourModel& m, double t);

// Writers: copy the source fname into fname2 with each entity read replaced by its model
// polyline. The target is written beside itself and renamed into place only when everything
// succeeded, so fname2 may be fname, and a failure leaves an existing target untouched.
// On failure the message text for the user is returned in `message`.
bool savedxf2(ContourModel& m, const std::string& fname, const std::string& fname2,
              std::string& message);
bool savedxf4(ContourModel& m, const std::string& fname, const std::string& fname2,
              std::string& message);

// What one operation of the tool did, and what the user is to be told.
struct JoinOutcome {
    bool written = false;     // the target was written
    std::string message;      // text for a message box, in the user's language; empty: none
    std::string title;        // message box caption
    bool information = false; // information icon (otherwise error icon)
    int pieces = 0;           // entities read
    int polylines = 0;        // polylines written
};

// "Linien zusammenfügen...": LoadDxf2, join passes, vertex counts, savedxf2.
JoinOutcome joinLinesFile(ContourModel& m, const std::string& source, const std::string& target,
                          double t);
// "Polylinien verbinden...": LoadDxf, join passes, vertex counts, savedxf4.
JoinOutcome combinePolylinesFile(ContourModel& m, const std::string& source,
                                 const std::string& target, double t);

// Message texts of the tool, in the user's language (through the translation table).
std::string msgCannotOpen(const std::string& fname);
std::string msgCannotCreate(const std::string& fname);

}  // namespace kerbon::contour
