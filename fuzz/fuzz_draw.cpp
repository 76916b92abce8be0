// Drawing: bytes as a drawing, parsed and painted on the recording surface on the model
// tab and on every layout tab, zoomed to extents, then once more at a zoom the input
// chooses (the smallest, the largest, print preview, the printed page).
#include <cstddef>
#include <cstdint>

#include "dxf/LineStore.h"
#include "dxf/processdxf.h"
#include "fuzz_support.h"
#include "view/RecordingSurface.h"
#include "view/paint.h"

using namespace kerbon;

namespace {

struct Tabs : ParseObserver {
    std::vector<std::string> names;
    void refreshSelectors(const std::vector<std::string>&, const std::vector<std::string>&) override {}
    void refreshLayoutTabs(const std::vector<std::string>& n) override { names = n; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::CpuLimit limit;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    const LineStore dxf = decodeLines(bytes);
    model::DisplayModel m;
    Tabs tabs;
    fuzz::repeatableRandom();
    processdxf(dxf, m, &tabs);

    view::PageValues page;
    view::ViewState v;
    v.W = 320;
    v.H = 240;
    const unsigned choice = fuzz::inputChoice(bytes, 4);
    for (int t = 0; t < int(tabs.names.size()); ++t) {
        v.tabindex = t;
        v.restoreZoom(m, page);
        view::DisplayOptions opt;
        view::RenderCache cache;
        view::RecordingSurface s;
        view::PaintBox1Paint(s, m, v, page, opt, 96, &cache);
        switch (choice) {
        case 0: v.zoomAbout(v.W / 2.0, v.H / 2.0, 1e9, m); break;
        case 1: v.zoomAbout(0, 0, 1e-9, m); break;
        case 2: opt.printPreview = true, opt.showLineweights = false; break;
        case 3: view::printPage(s, m, t, page, opt); continue;
        }
        view::RecordingSurface s2;
        view::PaintBox1Paint(s2, m, v, page, opt, 96, &cache);
    }
    return 0;
}
