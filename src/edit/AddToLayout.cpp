// The owner lines and the insertion place of new entities by layout tab.
#include "edit/AddToLayout.h"

namespace kerbon {

LayoutPlace AddToLayout(const model::DisplayModel& m, int tabindex, bool noshowmodel)
{
    LayoutPlace p;
    p.insertlinepos = m.insertlinepos;
    bool model = false;
    if (tabindex >= 0 && tabindex < int(m.layouts.size())) {
        const int32_t h = m.layouts[size_t(tabindex)].layhan;
        if (tabindex > 0) {
            for (const model::tblock& b : m.blocks) {
                if (b.hand != h)
                    continue;
                // A block without its ENDBLK has no place for new members.
                if (b.blockname != "*Paper_Space")
                    p.insertlinepos = b.linetoinsert > 0 ? b.linetoinsert : -1;
                break;
            }
        }
        p.hasOwner = true;
        p.owner = h;
        model = tabindex == 0;
    } else {
        model = tabindex != 1;
    }
    p.paperspace = !model && !noshowmodel;
    return p;
}

}  // namespace kerbon
