// The state of one processdxf run and the common frame every entity handler runs in.
#pragma once

#include <climits>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/LineStore.h"
#include "dxf/model.h"

namespace kerbon {

// What kind of entity a handler reads; decides which common attribute codes apply.
enum class EntityKind {
    Line,       // LINE, XLINE, RAY, LWPOLYLINE, LEADER
    Polyline,   // POLYLINE with its VERTEX and SEQEND
    Solid,
    Point,
    Spline,
    Arc,
    Circle,
    Ellipse,
    Viewport,
    Dimension,
    Hatch,
    Wipeout,
    Text,       // TEXT and MTEXT
    Insert,
    // Pairs inside an entity that belong to something else: the VERTEX and SEQEND records of
    // a POLYLINE, the boundary data of a HATCH, the column data of an MTEXT. Their common
    // codes (a vertex's layer, the boundary objects' handles under 330) are not the
    // entity's; their handles still count for maxhandle.
    Inner,
};

// Code value of a pair whose code line is not a plain decimal integer ("010", "x", "").
inline constexpr int kNoCode = INT_MIN;

// State of one processdxf run over the line list.
struct ParseContext {
    ParseContext(const LineList& lines, model::DisplayModel& model)
        : dxf(lines), m(model), rd{lines} {}

    const LineList& dxf;
    model::DisplayModel& m;
    PairReader rd;
    std::string_view code, value;  // current pair, trimmed; views into dxf
    int codeLine = 0;              // index of the current pair's code line (value line = codeLine + 1)
    int codeNum = kNoCode;         // the code as integer, kNoCode when it does not convert
    bool pending = false;          // the current pair is left for the main loop

    // The current block definition, set by each block header.
    bool insideBlock = false;
    std::string blockName;
    int32_t blockOwner = 0;
    double blockBaseX = 0, blockBaseY = 0, blockBaseZ = 0;

    // Working lists entity handlers may use (spline control points, fit points, knots,
    // weights). They live for the parse so their storage is reused from entity to entity.
    std::vector<model::Tmypoi> ctrlPoints, fitPoints;
    std::vector<double> knots, weights;
    // Work left for fitting the splines given by fit points alone (readSpline), shared by
    // every such spline of the parse; kept with the parse states like every other field.
    double fitWorkLeft = 4 * 3e7;  // four full fits (kFitBudget)

    // What sets the height of dimension texts and the size of their arrowheads: the
    // header's $DIMTXT, $DIMASZ and $DIMSCALE and the DIMSTYLE records, all read before the
    // entities.
    struct DimStyle {
        std::string name;
        std::optional<double> dimtxt, dimasz, dimscale;  // codes 140, 41 and 40 of the record
    };
    std::optional<double> headerDimtxt, headerDimasz, headerDimscale;
    std::optional<double> headerLtscale;  // $LTSCALE (model::DisplayModel::ltscale)
    std::vector<DimStyle> dimstyles;
    // Text height of a dimension drawn in style `name` (empty: none named): the text height
    // times the overall scale of that style's record, a value the record lacks taken from
    // the header; without a record the header's values; 2.5 times 1 where none is given.
    double dimensionTextHeight(std::string_view name) const;
    // Arrowhead size of a dimension drawn in style `name`, by the same rule; 0 where neither
    // the record nor the header gives one (the renderer's own size).
    double dimensionArrowSize(std::string_view name) const;

    // Makes the next pair current: the pending pair when there is one, else the next two
    // lines. Returns false when fewer than two lines remain (and no pair is pending).
    bool readPair();

    int valueLine() const { return codeLine + 1; }
    // The current value line as it stands, blanks included (the text of TEXT, MTEXT and
    // DIMENSION, where a blank is part of the text). Empty where `value` is empty because
    // the line is the last of the list.
    std::string_view untrimmedValue() const
    {
        return size_t(valueLine()) + 1 < dxf.size() ? dxf[size_t(valueLine())] : std::string_view();
    }
    bool is(int c, std::string_view v) const { return codeNum == c && value == v; }

    // The current value as a finite real, an integer or a handle; nullopt when it does not
    // convert (infinities and NaN do not convert).
    std::optional<double> real() const;
    std::optional<int> integer() const;
    std::optional<int32_t> hex() const;

    // maxhandle := h when h is larger.
    void raiseMaxHandle(int32_t h)
    {
        if (h > m.maxhandle)
            m.maxhandle = h;
    }
};

// The code as integer: plain decimal digits with an optional minus sign and without
// leading zeros ("10", "-1"); anything else is kNoCode, so "010" never matches code 10.
int groupCodeNumber(std::string_view code);

// ---- Common frame of every entity ----------------------------------------------------
//
// beginEntity: called with the entity's "0"/type pair current. Takes the record at
// `anzpoly` (growing `polys` when needed), zero-fills it while keeping the storage of its
// vectors and strings, sets the block values when inside a block definition, `linefrom`,
// and the code range to the first pair.
model::tpoly& beginEntity(ParseContext& c);

// Reads the next pair of the entity. Returns false at the next code 0 (left pending for
// the main loop, not part of the entity) or at the end of the list. Otherwise extends the
// code range by the pair, applies the common attribute codes (5, 330, 67, 8, 6, 370, 62
// with the exceptions of VIEWPORT, SOLID and POINT; of an Inner pair only the handle's
// contribution to maxhandle) and returns true, so that the handler
// applies its own codes to c.codeNum / c.value / c.codeLine.
bool nextEntityPair(ParseContext& c, model::tpoly& p, EntityKind kind);

// Takes the pending code 0 pair into the entity (POLYLINE reading on through VERTEX and
// SEQEND): clears `pending` and extends the code range. The pair stays current.
void takePendingPair(ParseContext& c, model::tpoly& p);

// End of the common frame: anzp/anzs from the vector sizes, `linebis`, `rein`/`raus`
// from ps, anzpoly + 1.
void endEntity(ParseContext& c, model::tpoly& p);

// ---- Vertex helpers ----------------------------------------------------------------
// While an entity is read, ps.size() and snap.size() are the vertex and snap counts
// (anzp/anzs are set from them by endEntity; the helpers keep them in step as well).

// Starts a new vertex: x := current value (when it converts), linex := value line.
model::Tmypoi& startVertex(ParseContext& c, model::tpoly& p);
// y/liney and z/linez of the last vertex; nothing when there is no vertex yet.
void setVertexY(ParseContext& c, model::tpoly& p);
void setVertexZ(ParseContext& c, model::tpoly& p);
// Appends a vertex / a snap point with the given coordinates (all other fields zero).
// Inline: the curve handlers call addVertex for every outline point.
inline model::Tmypoi& appendPoint(std::vector<model::Tmypoi>& list, int& count, double x,
                                  double y, double z)
{
    model::Tmypoi& v = list.emplace_back();
    v.x = x;
    v.y = y;
    v.z = z;
    count = int(list.size());
    return v;
}
inline model::Tmypoi& addVertex(model::tpoly& p, double x, double y, double z)
{
    return appendPoint(p.ps.edit(), p.anzp, x, y, z);
}
inline model::Tmypoi& addSnap(model::tpoly& p, double x, double y, double z)
{
    return appendPoint(p.snap, p.anzs, x, y, z);
}

}  // namespace kerbon
