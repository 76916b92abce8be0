// The text of new entities: the common frame every writer starts with, numbers, new
// handles, and the insertion (`InsertCode`) that puts the text into the document.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dxf/model.h"
#include "edit/AddToLayout.h"
#include "edit/LineEdits.h"

namespace kerbon {

// Why a writer wrote nothing (or, for FirstLineOnly, what the user must be told although
// the text was written). The editor chooses the words.
enum class WriteStatus {
    Ok,
    FirstLineOnly,     // a multi-line text in a drawing that holds single-line texts only
    NoPlace,           // the drawing has no ENTITIES section (or the layout block no ENDBLK)
    NotFinite,         // a coordinate or value is NaN or infinite
    BadSize,           // a text height that is not positive
    NoHandles,         // the handle range is used up
    Collinear,         // three points on one line: no circle or arc through them
    ZeroLength,        // an arrow of zero length
    ZeroAxis,          // an ellipse with an axis of length 0
    TooFewPoints,      // a polyline or spline without enough points
    NoXline,           // the drawing's version has no XLINE / RAY / ELLIPSE / SPLINE
    NoRay,
    NoEllipse,
    NoSpline,
};

// The outcome of a writer: the edits to apply (empty unless the status lets something be
// written) and the handles of the new entities.
struct Written {
    WriteStatus status = WriteStatus::Ok;
    EditSet edits;
    std::vector<int32_t> handles;
    bool wrote() const { return !edits.empty(); }
};

// What a writer takes from the document besides its own arguments.
struct WriteContext {
    const model::DisplayModel& m;
    LayoutPlace place;   // from AddToLayout for the tab shown
    std::string layer;   // the first layer of the table, or "0"
    bool r12() const { return m.cadver < 1010; }
};

// The layer new objects go to: the first of the layer table, "0" when there is none.
std::string newObjectLayer(const model::DisplayModel& m);

// The insertion of new text at `pos`. When the drawing has a $HANDSEED, its value becomes
// the handle after `lasthandle`, so it names the next free handle. Both changes form one
// edit set and so one undo step: undo gives the text back exactly; the handles it frees are
// no longer in the document, so using them again is safe.
EditSet InsertCode(const model::DisplayModel& m, int pos, std::vector<std::string> str,
                   int32_t lasthandle);

// Builds the lines of one insertion, one entity after another.
class EntityText {
public:
    explicit EntityText(const WriteContext& ctx);

    bool r12() const { return ctx.r12(); }

    // Starts an entity with the common frame: "  0" name, "  5" new handle, "330" owner,
    // "100" "AcDbEntity", " 67" "1" in paper space, "  8" layer, "100" subclass. The
    // subclass marker and "AcDbEntity" are left out below version 1010, and so is an
    // empty subclass.
    void begin(const char* name, const char* subclass);
    // Starts a sub-entity of an R12 polyline (VERTEX, SEQEND): "  0" name, "  5", "  8".
    void beginMember(const char* name);

    void add(const char* code, std::string value);
    void real(const char* code, double v);   // floattodxf; a NaN or infinity spoils the text
    void point(const char* cx, const char* cy, const char* cz, double x, double y, double z);

    // The edits of the whole insertion, or the reason why nothing can be written.
    Written finish();

private:
    void handle();

    const WriteContext& ctx;
    std::vector<std::string> lines;
    std::vector<int32_t> handles;
    int64_t last;            // the last handle given out
    bool finite = true;
    bool handlesLeft = true;
};

}  // namespace kerbon
