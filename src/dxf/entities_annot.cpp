// Annotation and compound entities: VIEWPORT, DIMENSION, HATCH, WIPEOUT, TEXT, MTEXT,
// INSERT. (First version: the common frame only; the entity work follows.)
#include "dxf/entities.h"

namespace kerbon {

static void frameOnly(ParseContext& c, EntityKind kind)
{
    model::tpoly& p = beginEntity(c);
    while (nextEntityPair(c, p, kind)) {
    }
    endEntity(c, p);
}

void readViewport(ParseContext& c) { frameOnly(c, EntityKind::Viewport); }
void readDimension(ParseContext& c) { frameOnly(c, EntityKind::Dimension); }
void readHatch(ParseContext& c) { frameOnly(c, EntityKind::Hatch); }
void readWipeout(ParseContext& c) { frameOnly(c, EntityKind::Wipeout); }
void readText(ParseContext& c, std::string_view) { frameOnly(c, EntityKind::Text); }
void readInsert(ParseContext& c) { frameOnly(c, EntityKind::Insert); }

}  // namespace kerbon
