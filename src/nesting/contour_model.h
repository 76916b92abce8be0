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

// One vertex. Its lines are kept in three runs, so that joining can give a vertex the
// segment of another one (a junction, a reversed piece) and still write extended data last.
struct Tmypoi {
    double x = 0, y = 0, z = 0;  // world coordinates, for matching end points
    LineRange code;              // the vertex's own DXF lines, written verbatim (see below)
    LineRange seg;               // the pairs of the segment that starts here: widths 40, 41, bulge 42
    LineRange xdata;             // extended data of an old-style vertex (from its first 1001 on)
    bool writebulge = false;     // write `bulge` as group 42 instead of any stored 42 pair
    bool delit = false;          // leave the vertex out when writing
    double bulge = 0;
    // The segment pairs belong to a segment that now runs the other way (a reversed
    // piece): written with the bulge negated and the start and end widths swapped.
    bool flipseg = false;
};

// What a polyline of the model was read from.
enum class PieceKind : uint8_t { Line, Arc, LwPolyline, Polyline };

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
    std::vector<uint32_t> code2;     // lines written after the vertices (SEQEND; for a
                                     // lightweight polyline the pairs after its vertices)
    std::vector<uint32_t> xdata;     // the entity's extended data, written at its end

    PieceKind kind = PieceKind::Line;
    // Pieces join only within one class: the same kind of entity on the same layer, in
    // the same space, layout and owner. Pieces that must stay as they are (closed, meshes,
    // fitted curves, an extrusion other than +Z or -Z) do not join at all.
    int cls = 0;
    bool joinable = true;
    bool is3d = false;               // a 3D polyline (old-style flag 8), or to be written as one
    bool flagclosed = false;         // the entity's own closed flag (70, bit 1) as read
    bool closeit = false;            // closed by joining: written with the closed flag
    bool keepsource = false;         // written as the source entity (an arc that joined nothing)
    uint64_t handle = 0;             // the entity's handle; 0 when it has none
    uint32_t layer = 0;              // pool id of the layer value line (LINE and ARC pieces)
};

// The options of a joining operation; all off gives the plain rule.
struct JoinOptions {
    bool reverse = false;  // a piece meeting a chain end to end (or start to start) is reversed
    bool arcs = false;     // ARC entities take part in line joining
    bool close = false;    // a chain ending on its first point gets the closed flag
};

struct ContourModel {
    std::vector<tpoly> polys;
    int anzpoly = 0;
    uint64_t maxhandle = 0;  // highest entity handle in use; new handles count on from it
    uint64_t filemaxhandle = 0;  // highest handle found in the source file (LoadDxf2)
    int cadver = 0;          // from $ACADVER: 1009, 1015, ...; 0 when the file has none
    bool arcs = false;       // LoadDxf2 took ARC entities as pieces too
    LinePool lines;
};

// The first version that has the lightweight polyline; older files get the old-style form.
constexpr int lightweightVersion = 1014;

// Readers. Each replaces the model by the file's content and returns true; when the file
// cannot be opened it returns false and leaves the model as it was.
// LoadDxf2: every LINE (and with `arcs` every ARC) of the ENTITIES section as a polyline of
// (up to) two vertices, in the lightweight form from AC1014 on and the old-style form
// otherwise. An arc is one segment with its bulge.
bool LoadDxf2(const std::string& fname, ContourModel& m, bool arcs = false);
// LoadDxf: every POLYLINE (with VERTEX and SEQEND) and LWPOLYLINE of the ENTITIES section.
bool LoadDxf(const std::string& fname, ContourModel& m);

// The join passes: repeated until a pass joins nothing, each pass appending polyline i to
// the first polyline j (index order) whose last vertex lies within the box tolerance t of
// i's first vertex. Returns the number of joins made. Only polylines that are `joinable`
// take part, and only with polylines of their own class.
// With `opts.reverse`, where i's start meets no end, i is reversed and appended to the first
// j whose end meets i's end, or else reversed and given the first j whose start meets i's
// start. With `opts.close` the chains are closed afterwards (closeChains).
int joinPasses(ContourModel& m, double t);
int joinPasses(ContourModel& m, double t, const JoinOptions& opts);
// Every joinable polyline of three or more vertices whose last vertex lies within the box
// tolerance t of its first gets `closeit` and loses that last vertex.
void closeChains(ContourModel& m, double t);

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
    int closed = 0;           // of them with the closed flag
    int open = 0;             // of them without
};

// "Linien zusammenfügen...": LoadDxf2, join passes, vertex counts, savedxf2.
JoinOutcome joinLinesFile(ContourModel& m, const std::string& source, const std::string& target,
                          double t, const JoinOptions& opts = {});
// "Polylinien verbinden...": LoadDxf, join passes, vertex counts, savedxf4.
JoinOutcome combinePolylinesFile(ContourModel& m, const std::string& source,
                                 const std::string& target, double t, const JoinOptions& opts = {});

// Message texts of the tool, in the user's language (through the translation table).
std::string msgCannotOpen(const std::string& fname);
std::string msgCannotCreate(const std::string& fname);
std::string msgBinary(const std::string& fname);
std::string msgUtf16(const std::string& fname);

}  // namespace kerbon::contour
