// The joining tool: bytes as the source file, both readers, the join passes and both
// writers into a scratch directory; the written file is read and joined once more.
#include <cstddef>
#include <cstdint>

#include "fuzz_support.h"
#include "nesting/contour_model.h"

using namespace kerbon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::CpuLimit limit;
    const std::string_view bytes = fuzz::bytesOf(data, size);
    static const double tolerances[] = {0, 1e-9, 0.01, 1, 1e300};
    const double t = tolerances[fuzz::inputChoice(bytes, 5)];
    const std::string dir = fuzz::scratchDir();
    const std::string src = dir + "source.dxf", lines = dir + "lines.dxf",
                      polys = dir + "polys.dxf", again = dir + "again.dxf";
    fuzz::require(fuzz::writeFile(src, bytes), "cannot write the source file");

    contour::ContourModel m;
    const contour::JoinOutcome a = contour::joinLinesFile(m, src, lines, t);
    const contour::JoinOutcome b = contour::combinePolylinesFile(m, src, polys, t);
    if (a.written)
        contour::combinePolylinesFile(m, lines, again, t);
    if (b.written)
        contour::joinLinesFile(m, polys, again, t);
    return 0;
}
