// The entity handlers processdxf dispatches to, one per entity kind.
//
// Contract of a handler:
// - It is called with the entity's "0"/type pair current (c.codeLine is its code line,
//   c.value the type name) and reads the whole entity, nothing more.
// - It calls beginEntity(c) first, then loops `while (nextEntityPair(c, p, kind))`,
//   applying its own group codes to c.codeNum / c.value / c.valueLine(), then calls
//   endEntity(c, p). Numbers come from c.real() / c.integer() / c.hex(); a value that does
//   not convert leaves the field as it was.
// - The frame does the rest: the record's zero fill and block values, `linefrom`, the
//   code range (`code`, a view of the entity's lines), the common attribute codes (5, 330,
//   67, 8, 6, 370, 62 with the VIEWPORT / SOLID / POINT exceptions), `linebis`,
//   `rein`/`raus`, `anzp`/`anzs` from the vector sizes and anzpoly + 1.
// - The loop ends at the next code 0 pair, which stays pending for the main loop; a
//   handler that reads on through further "0" pairs (POLYLINE through VERTEX and SEQEND)
//   takes them with takePendingPair(c, p) and continues the loop.
// - A handler never resizes `polys` (the record reference would dangle) and never fails:
//   any text, however odd, ends in a record and a return.
#pragma once

#include <string_view>

#include "dxf/parse_context.h"

namespace kerbon {

// LINE, XLINE, RAY, LWPOLYLINE and LEADER (`type` is the entity's type name).
void readLineEntity(ParseContext& c, std::string_view type);
void readPolyline(ParseContext& c);
void readSolid(ParseContext& c, std::string_view type);   // SOLID and POINT
void readSpline(ParseContext& c);
void readArc(ParseContext& c, std::string_view type);     // ARC and CIRCLE
void readEllipse(ParseContext& c);

void readViewport(ParseContext& c);
void readDimension(ParseContext& c);
void readHatch(ParseContext& c);
void readWipeout(ParseContext& c);
void readText(ParseContext& c, std::string_view type);    // TEXT and MTEXT
void readInsert(ParseContext& c);

// The polyline end processing shared by the line, polyline and hatch handlers: the
// closing vertex and the flattening of bulges into arcs.
void polylineEnd(model::tpoly& p);

}  // namespace kerbon
