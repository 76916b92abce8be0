// The line store and the parse: bytes as a drawing file is read, the display model, the
// extents, the characters a save would lose; then the text as a save writes it, read back,
// must give the same lines and the same model.
#include <cstddef>
#include <cstdint>

#include "dxf/LineStore.h"
#include "dxf/extents.h"
#include "dxf/processdxf.h"
#include "fuzz_support.h"

using namespace kerbon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const LineStore read = decodeLines(fuzz::bytesOf(data, size));
    model::DisplayModel m;
    fuzz::repeatableRandom();
    processdxf(read, m);
    double minx, miny, maxx, maxy;
    getdimtab0(m, minx, miny, maxx, maxy);
    describeChars(unrepresentable(read));

    const LineStore back = decodeLines(encodeLines(read));
    if (unrepresentable(read).empty()) {
        fuzz::require(back.lines == read.lines, "saved text reads back as other lines");
        fuzz::require(back.encoding == read.encoding, "saved text reads back in another encoding");
        model::DisplayModel m2;
        fuzz::repeatableRandom();  // the same fit of splines through points
        processdxf(back, m2);
        fuzz::require(sameModel(m, m2), "saved text parses to another model");
    } else {
        model::DisplayModel m2;
        processdxf(back, m2);
    }
    return 0;
}
