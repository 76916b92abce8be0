// Inline DXF fixtures for parser tests: "0|SECTION|2|ENTITIES|..." with `|` between lines.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dxf/model.h"
#include "dxf/processdxf.h"

namespace kerbon::test {

inline std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (;;) {
        const size_t bar = text.find('|', start);
        lines.emplace_back(text.substr(start, bar == std::string_view::npos ? text.npos : bar - start));
        if (bar == std::string_view::npos)
            return lines;
        start = bar + 1;
    }
}

// The model of a parse of `text` (a fresh model, cadver 0 before the parse).
inline model::DisplayModel parsed(std::string_view text)
{
    model::DisplayModel m;
    processdxf(splitLines(text), m);
    return m;
}

// An ENTITIES section around `body` ("0|LINE|...") followed by the end of file.
inline std::string entitiesOnly(std::string_view body)
{
    return "0|SECTION|2|ENTITIES|" + std::string(body) + "|0|ENDSEC|0|EOF";
}

}  // namespace kerbon::test
