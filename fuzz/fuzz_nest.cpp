// The nesting take-over: bytes as a drawing, parsed; the objects of each tab become the
// nesting elements (with and without inner contours travelling with their part); a short
// search on a small square sheet, its placements, the preview and the moves of the
// transfer. Every move must name objects of the drawing.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "dxf/LineStore.h"
#include "dxf/Random.h"
#include "dxf/processdxf.h"
#include "fuzz_support.h"
#include "nesting/nest_elements.h"
#include "nesting/nest_preview.h"
#include "nesting/nest_search.h"
#include "nesting/nest_transfer.h"
#include "view/RecordingSurface.h"

using namespace kerbon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::CpuLimit limit;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const LineStore dxf = decodeLines(bytes);
    model::DisplayModel m;
    fuzz::repeatableRandom();
    processdxf(dxf, m);

    const int tabs = m.layouts.empty() ? 2 : int(m.layouts.size());
    const bool keepHoles = fuzz::inputChoice(bytes, 2) == 0;
    for (int tab = 0; tab < std::min(tabs, 4); ++tab) {
        nest::Schachtelung n;
        n.Uebernehmen(m, tab, keepHoles);
        const nest::SheetProposal p = n.proposal();
        nest::NestSettings s;
        s.pw = s.ph = std::max({p.width, p.height, 1.0});
        s.distance = p.spacing;
        s.seitenrand = p.margin;
        s.pixbreite = 40;
        s.anziterations = 2;
        Random rnd(1);
        const nest::SearchResult r =
            nest::searchArrangement({n.elemente.poi(), n.elemente.count()}, s, rnd, 1);
        nest::takeArrangement({n.elemente.poi(), n.elemente.count()}, r);
        view::RecordingSurface preview;
        nest::paintPreview(preview, 200, 150, n, s.pw, s.ph);
        for (const nest::ElementMove& move : nest::transferMoves(n))
            for (int o : move.objs)
                fuzz::require(o >= 0 && o < m.anzpoly, "a move names an object the drawing lacks");
    }
    return 0;
}
