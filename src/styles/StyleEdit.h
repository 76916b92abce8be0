// What the layer, line type and property builders return: the edits to apply, or why
// nothing can be written. The editor chooses the words for the user.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dxf/model.h"
#include "edit/LineEdits.h"

namespace kerbon::styles {

enum class StyleStatus {
    Ok,
    EmptyLayerName,      // a new layer without a name
    BadLayerName,        // a layer name a drawing cannot hold
    LayerExists,         // a new layer named like an existing one
    EmptyLineTypeName,
    BadLineTypeName,
    LineTypeExists,
    NoLengths,           // a line type pattern without a single number
    NoTable,             // the drawing has no LAYER (LTYPE) table to add to
    NoHandles,           // the handle range is used up
    NoLineweights,       // the drawing's version has no line weights
    NotAText,            // the object has no text to edit
    FirstLineOnly,       // written, but a TEXT holds one line: the lines after the first are left out
};

struct StyleEdit {
    StyleStatus status = StyleStatus::Ok;
    EditSet edits;
};

// The handle of a new table record, or nothing when the handle range is used up (the
// seed must still name the handle after it).
std::optional<int32_t> nextHandle(const model::DisplayModel& m);

}  // namespace kerbon::styles
