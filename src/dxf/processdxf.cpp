// The parse of the whole line list (placeholder until the parser lands: clears the model).
#include "dxf/processdxf.h"

namespace kerbon {

void processdxf(const LineStore& dxf, model::DisplayModel& m)
{
    (void)dxf;
    const int cadver = m.cadver;
    m = model::DisplayModel{};
    m.cadver = cadver;
    m.polys.resize(1000);
}

}  // namespace kerbon
