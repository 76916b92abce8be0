// The join passes: the rules on small cases, and the indexed passes against the literal
// all-pairs rule on many random inputs.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "nesting/contour_model.h"
#include "nesting/contour_oracle.h"

using namespace kerbon::contour;
using kerbon::contour::test::joinPassesOracle;

namespace {

using Pt = std::array<double, 3>;
using Piece = std::vector<Pt>;

// A model of polylines with the given vertices; every vertex gets its own line so that the
// vertex records can be told apart after they moved.
ContourModel modelOf(const std::vector<Piece>& pieces)
{
    ContourModel m;
    for (const Piece& pc : pieces) {
        tpoly p;
        for (const Pt& q : pc) {
            Tmypoi v;
            v.x = q[0], v.y = q[1], v.z = q[2];
            v.code = {m.lines.size(), 1};
            m.lines.add("v" + std::to_string(m.lines.size()));
            p.ps.push_back(v);
        }
        p.anzp = int(pc.size());
        m.polys.push_back(p);
    }
    m.anzpoly = int(pieces.size());
    return m;
}

// Live polylines as "index: v.. v.. v..", the vertex names telling which records they hold.
std::vector<std::string> live(const ContourModel& m)
{
    std::vector<std::string> out;
    for (int k = 0; k < m.anzpoly; ++k) {
        const tpoly& p = m.polys[size_t(k)];
        if (p.delpoly)
            continue;
        std::string s = std::to_string(k) + ":";
        for (int v = 0; v < p.anzp; ++v)
            s += " " + std::string(m.lines[p.ps[size_t(v)].code.first]);
        out.push_back(s);
    }
    return out;
}

}  // namespace

TEST(joinPasses, FollowsTheRules)
{
    const double P = 5;
    struct Case {
        const char* what;
        double t;
        std::vector<Piece> pieces;
        std::vector<std::string> want;  // vertex records are named v0, v1, ... in input order
    };
    const Case cases[] = {
        {"near start joins; the junction keeps the end it was appended to", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10.005, 0, 0}, {10, 5, 0}}},
         {"0: v0 v1 v3"}},
        {"end to end never joins: pieces are not reversed", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10, 5, 0}, {10, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"a difference of exactly t does not match", 0.5,
         {{{0, 0, 0}, {1, 0, 0}}, {{1.5, 0, 0}, {2, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"the box test is per coordinate, not a distance", 0.5,
         {{{0, 0, 0}, {1, 1, 0}}, {{1.4, 1.4, 0.4}, {2, 2, 0}}},
         {"0: v0 v1 v3"}},
        {"z counts as well", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10, 0, 1}, {10, 5, 1}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"zero tolerance joins nothing, even equal points", 0,
         {{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"several ends at one point: the first in index order takes the piece", 0.01,
         {{{0, 0, 0}, {P, P, 0}}, {{9, 0, 0}, {P, P, 0}}, {{0, 9, 0}, {P, P, 0}},
          {{P, P, 0}, {20, 20, 0}}},
         {"0: v0 v1 v7", "1: v2 v3", "2: v4 v5"}},
        {"a closed square ends on a copy of its first point", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10, 0, 0}, {10, 10, 0}}, {{10, 10, 0}, {0, 10, 0}},
          {{0, 10, 0}, {0, 0, 0}}},
         {"3: v6 v7 v1 v3 v5"}},
        {"a chain stored back to front joins in one pass", 0.01,
         {{{3, 0, 0}, {4, 0, 0}}, {{2, 0, 0}, {3, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}},
         {"2: v4 v5 v3 v1"}},
        {"one-vertex pieces take no part; longer pieces keep all their vertices", 0.01,
         {{{1, 0, 0}}, {{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {1, 1, 0}, {2, 1, 0}}},
         {"0: v0", "1: v1 v2 v4 v5"}},
        {"a polyline never joins itself", 0.01,
         {{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}},
         {"0: v0 v1 v2"}},
        {"NaN never matches", 0.01,
         {{{0, 0, 0}, {std::nan(""), 0, 0}}, {{std::nan(""), 0, 0}, {2, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ContourModel fast = modelOf(c.pieces), slow = fast;
        joinPasses(fast, c.t);
        joinPassesOracle(slow, c.t);
        EXPECT_EQ(live(fast), c.want);
        EXPECT_EQ(live(slow), c.want);
    }
}

TEST(joinPasses, GivesExactlyTheAllPairsResultOnRandomInputs)
{
    // End points drawn from a few spots, each shifted by multiples of the tolerance around the
    // matching limit, so that ties, near misses and several pieces per point are common.
    struct Scale {
        const char* what;
        double t, offset;
        int crowd = 0;  // > 0: that many pieces around one or two points
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Scale scales[] = {{"plain", 0.01, 0},     {"zero tolerance", 0, 0},
                            {"tiny tolerance", 1e-9, 0}, {"coarse", 1, 0},
                            {"huge coordinates", 0.01, 1e15}, {"far out", 0.5, -3e200},
                            {"huge tolerance", 1e6, 0},  {"infinite tolerance", inf, 0},
                            {"many ends at one point", 0.01, 0, 300}};
    const double shifts[] = {0, 0, 0, 0.3, -0.3, 0.999, 1, -1, 1.001, 2, 4.1};
    std::mt19937_64 rng(12345);
    for (const Scale& sc : scales) {
        SCOPED_TRACE(sc.what);
        for (int round = 0; round < 60; ++round) {
            const int spots = sc.crowd ? 1 + int(rng() % 2) : 2 + int(rng() % 12);
            const double unit = sc.t > 0 && std::isfinite(sc.t) ? sc.t : 0.01;
            auto point = [&] {
                const double sx = double(rng() % spots) * 7 * unit, sy = double(rng() % 3) * 5 * unit;
                Pt p = {sc.offset + sx + shifts[rng() % 11] * unit,
                        sc.offset + sy + shifts[rng() % 11] * unit,
                        rng() % 6 == 0 ? shifts[rng() % 11] * unit : 0.0};
                if (rng() % 200 == 0)
                    p[rng() % 3] = rng() % 2 ? std::nan("") : inf;
                return p;
            };
            std::vector<Piece> pieces(size_t(sc.crowd ? sc.crowd : 1 + rng() % 40));
            for (Piece& pc : pieces) {
                const int n = rng() % 10 == 0 ? 1 : 2 + int(rng() % 3 == 0);
                for (int v = 0; v < n; ++v)
                    pc.push_back(point());
            }
            ContourModel fast = modelOf(pieces), slow = fast;
            const int a = joinPasses(fast, sc.t), b = joinPassesOracle(slow, sc.t);
            ASSERT_EQ(a, b) << "round " << round;
            ASSERT_EQ(live(fast), live(slow)) << "round " << round;
        }
    }
}
