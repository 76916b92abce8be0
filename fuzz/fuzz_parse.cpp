// The line store and the parse: bytes as a drawing file is read, the display model, the
// extents, the characters a save would lose; then the text as a save writes it must read
// back as the same lines in the same encoding (so it parses to the same model).
#include <cstddef>
#include <cstdint>

#include "dxf/LineStore.h"
#include "dxf/extents.h"
#include "dxf/processdxf.h"
#include "fuzz_support.h"

using namespace kerbon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::CpuLimit limit;
    const LineStore read = decodeLines(fuzz::bytesOf(data, size));
    model::DisplayModel m;
    fuzz::repeatableRandom();
    processdxf(read, m);
    double minx, miny, maxx, maxy;
    getdimtab0(m, minx, miny, maxx, maxy);
    const std::vector<char32_t> lost = unrepresentable(read);
    describeChars(lost);

    const LineStore back = decodeLines(encodeLines(read));
    if (lost.empty()) {
        fuzz::require(back.lines == read.lines, "saved text reads back as other lines");
        fuzz::require(back.encoding == read.encoding, "saved text reads back in another encoding");
    } else {
        model::DisplayModel m2;  // what a save that replaced characters gives must parse too
        processdxf(back, m2);
    }
    return 0;
}
