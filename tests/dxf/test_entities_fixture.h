// Helpers of the entity handler tests: one entity parsed from an inline fixture.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>

#include "dxf/processdxf.h"
#include "support/ParseFixture.h"

namespace kerbon::test {

// The parse of one ENTITIES section holding `body`, and its lines.
struct Parsed {
    std::vector<std::string> lines;
    model::DisplayModel m;

    explicit Parsed(std::string_view body) : lines(splitLines(entitiesOnly(body)))
    {
        processdxf(lines, m);
    }
    const model::tpoly& only() const&
    {
        EXPECT_EQ(m.anzpoly, 1);
        return m.polys[0];
    }
    // On a temporary parse: a copy of the record, so `const auto& p = Parsed(..).only()`
    // stays valid.
    model::tpoly only() &&
    {
        EXPECT_EQ(m.anzpoly, 1);
        return m.polys[0];
    }
    // Index of the value line of the n-th pair with `code` (0-based).
    int valueLine(std::string_view code, int nth = 0) const
    {
        for (size_t i = 0; i + 1 < lines.size(); i += 2)
            if (lines[i] == code && nth-- == 0)
                return int(i + 1);
        ADD_FAILURE() << "no code " << code;
        return -1;
    }
};

inline bool finite(const model::Tmypoi& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Vertex i of p at (x, y) within tol.
inline void expectAt(const model::tpoly& p, int i, double x, double y, double tol = 1e-9)
{
    SCOPED_TRACE(testing::Message() << "vertex " << i);
    ASSERT_LT(i, p.anzp);
    EXPECT_NEAR(p.ps[size_t(i)].x, x, tol);
    EXPECT_NEAR(p.ps[size_t(i)].y, y, tol);
}

}  // namespace kerbon::test
