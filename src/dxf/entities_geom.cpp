// Geometric entities: LINE family, POLYLINE, SOLID, POINT, SPLINE, ARC, CIRCLE, ELLIPSE.
// (First version: the common frame only; the geometry follows.)
#include "dxf/entities.h"

namespace kerbon {

static void frameOnly(ParseContext& c, EntityKind kind)
{
    model::tpoly& p = beginEntity(c);
    while (nextEntityPair(c, p, kind)) {
    }
    endEntity(c, p);
}

void readLineEntity(ParseContext& c, std::string_view) { frameOnly(c, EntityKind::Line); }
void readSolid(ParseContext& c, std::string_view type)
{
    frameOnly(c, type == "POINT" ? EntityKind::Point : EntityKind::Solid);
}
void readSpline(ParseContext& c) { frameOnly(c, EntityKind::Spline); }
void readArc(ParseContext& c, std::string_view type)
{
    frameOnly(c, type == "CIRCLE" ? EntityKind::Circle : EntityKind::Arc);
}
void readEllipse(ParseContext& c) { frameOnly(c, EntityKind::Ellipse); }

void readPolyline(ParseContext& c)
{
    model::tpoly& p = beginEntity(c);
    for (;;) {
        while (nextEntityPair(c, p, EntityKind::Polyline)) {
        }
        if (c.pending && (c.value == "VERTEX" || c.value == "SEQEND"))
            takePendingPair(c, p);
        else
            break;
    }
    endEntity(c, p);
}

void polylineEnd(model::tpoly&) {}

}  // namespace kerbon
