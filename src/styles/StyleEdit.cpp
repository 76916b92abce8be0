// Handles of new table records.
#include "styles/StyleEdit.h"

#include <limits>

namespace kerbon::styles {

std::optional<int32_t> nextHandle(const model::DisplayModel& m)
{
    if (m.maxhandle >= std::numeric_limits<int32_t>::max() - 1)
        return std::nullopt;
    return m.maxhandle + 1;
}

}  // namespace kerbon::styles
