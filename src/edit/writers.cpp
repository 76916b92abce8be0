// The entity writers: the lines of each kind of new object, for drawings below version
// 1010 (R12) and from 1010 on.
#include "edit/writers.h"

namespace kerbon {

Written lineText(const WriteContext& ctx, int arcmode, double x1, double y1, double z1,
                 double x2, double y2, double z2)
{
    if (ctx.r12() && arcmode == 1)
        return {WriteStatus::NoXline, {}, {}};
    if (ctx.r12() && arcmode == 2)
        return {WriteStatus::NoRay, {}, {}};
    static const char* const names[] = {"LINE", "XLINE", "RAY"};
    static const char* const subclasses[] = {"AcDbLine", "AcDbXline", "AcDbRay"};
    const int k = arcmode == 1 || arcmode == 2 ? arcmode : 0;
    if (k != 0 && x1 == x2 && y1 == y2 && z1 == z2)
        return {WriteStatus::ZeroLength, {}, {}};  // no direction for the infinite line
    EntityText t(ctx);
    t.begin(names[k], subclasses[k]);
    t.point("  10", "  20", "  30", x1, y1, z1);
    if (k == 0)
        t.point("  11", "  21", "  31", x2, y2, z2);
    else
        t.point("  11", "  21", "  31", x2 - x1, y2 - y1, z2 - z1);
    return t.finish();
}

}  // namespace kerbon
