// The edits of moving, rotating, mirroring, scaling and copying objects: each object's
// text is walked pair by pair and every value is changed by what it is in its entity
// type (a point, a vector, a direction, a length, an angle, a bulge, an insert's scale
// factor, an extrusion) - never by guessing from the code alone. Pure functions: the
// editor applies what they return.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "edit/LayoutFilter.h"
#include "edit/LineEdits.h"
#include "edit/Transform.h"

namespace kerbon {

// Why an edit command changed nothing. The editor chooses the words.
enum class TransformStatus {
    Ok,
    NotFinite,       // a value given or computed is not a finite number
    ZeroMirrorLine,  // a mirror line whose two points coincide
    ZeroScale,       // a scale by 0
    NoPlace,         // copies: the drawing has no place for new objects
    NoHandles,       // copies: the handle range is used up
    TooLarge,        // an array of more lines than the document can take
    Cancelled,       // the dialog was not closed with OK
};

// The selected objects an edit command works on, in model order: those passing both tests
// of the filter, or only its block test (copy and array).
std::vector<int> operandObjects(const model::DisplayModel& m, const LayoutFilter& f,
                                bool blockTestOnly);

struct TransformEdits {
    EditSet edits;   // the changed value lines (and pairs a rotation or a scale adds)
    // Pairs a mirror adds (an extrusion, an angle, an insert's x scale): applied as a step
    // of their own after `edits`, at positions of the text after `edits`.
    EditSet added;
    bool finite = true;  // false: a new value is not a finite number; apply nothing
};

// The edits that transform the objects' text in place: each object's lines with, for an
// INSERT, its attributes and their SEQEND. Values that do not convert stay as they are.
TransformEdits transformObjects(const LineStore& dxf, const model::DisplayModel& m,
                                const std::vector<int>& objects, const Transform& t);

// Whether the object lies in the plane of an extrusion that points down the z axis: its
// text then holds x values reversed and angles mirrored against the drawing's.
bool seenFromBelow(const LineStore& dxf, const model::tpoly& p);

struct CopiedText {
    std::vector<std::string> lines;  // every copy, one object after the other
    int32_t lasthandle = 0;          // the last handle given to a copy
    bool finite = true;              // false: a moved value is not a finite number
    bool handlesLeft = true;         // false: the handle range ran out
};

// The text of copies of the objects moved by (dx, dy). Every entity of a copy gets a new
// handle after `lasthandle`; owner handles that name an entity of the same copy (a
// polyline's vertices, an insert's attributes) name its copy; the reactor and extension
// dictionary groups, which belong to the original, are left out.
CopiedText copyObjects(const LineStore& dxf, const model::DisplayModel& m,
                       const std::vector<int>& objects, double dx, double dy,
                       int32_t lasthandle);

}  // namespace kerbon
