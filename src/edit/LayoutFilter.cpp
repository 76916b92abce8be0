// The current-layout filter.
#include "edit/LayoutFilter.h"

#include "dxf/LineStore.h"

namespace kerbon {

LayoutFilter currentLayoutFilter(const model::DisplayModel& m, int tabindex)
{
    LayoutFilter f;
    if (tabindex >= 0 && tabindex < int(m.layouts.size())) {
        f.hasLayout = true;
        f.layhan = m.layouts[size_t(tabindex)].layhan;
        f.model = tabindex == 0;
        if (tabindex > 0)
            for (const model::tblock& b : m.blocks)
                if (b.hand == f.layhan && trimDxf(b.blockname) != "*Paper_Space") {
                    f.block = b.blockname;
                    break;
                }
    } else {
        f.model = tabindex != 1;
    }
    return f;
}

bool LayoutFilter::layoutTest(const model::tpoly& p) const
{
    if (hasLayout)
        return p.layhan == layhan || (model && p.layhan == 0);
    return p.ispaperspace != model;
}

bool LayoutFilter::blockTest(const model::tpoly& p) const
{
    if (p.isblock)
        return p.theblockname == block;
    return block.empty();
}

}  // namespace kerbon
