// The property commands of the property bar: a layer, line type, colour or line weight
// given to the selected objects of the layout tab shown.
#pragma once

#include <string>

#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "edit/LayoutFilter.h"
#include "edit/LineEdits.h"

namespace kerbon::styles {

enum class Property { Colour, LineType, Layer, LineWeight };

// The group code of a property (62, 6, 8, 370) and the code line written where an object
// has none (" 62", " 6", " 8", "370").
int propertyCode(Property p);
const char* propertyCodeLine(Property p);

// The edits that give `value` to every selected object passing the filter. In each record
// of an object (an old-style POLYLINE has its VERTEX and SEQEND records besides its own)
// every pair of the property's code gets the value; an object whose own record has none
// gets the pair right behind its type line. A negative line weight takes the objects'
// line weight pairs out instead and adds none.
EditSet propertyEdits(const LineStore& dxf, const model::DisplayModel& m,
                      const LayoutFilter& filter, Property prop, const std::string& value);

}  // namespace kerbon::styles
