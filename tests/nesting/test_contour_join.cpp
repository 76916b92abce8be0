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

// A model of polylines with the given vertices; every vertex gets its own line and its own
// segment line (v0/s0, v1/s1, ...) so that vertex records and segments can be told apart
// after they moved. `cls` and `stay` (not joinable) per piece, when given.
ContourModel modelOf(const std::vector<Piece>& pieces, const std::vector<int>& cls = {},
                     const std::vector<bool>& stay = {})
{
    ContourModel m;
    int name = 0;
    for (size_t k = 0; k < pieces.size(); ++k) {
        tpoly p;
        for (const Pt& q : pieces[k]) {
            Tmypoi v;
            v.x = q[0], v.y = q[1], v.z = q[2];
            v.code = {m.lines.add("v" + std::to_string(name)), 1};
            v.seg = {m.lines.add("s" + std::to_string(name)), 1};
            ++name;
            p.ps.push_back(v);
        }
        p.anzp = int(pieces[k].size());
        p.cls = k < cls.size() ? cls[k] : 0;
        p.joinable = !(k < stay.size() && stay[k]);
        m.polys.push_back(p);
    }
    m.anzpoly = int(pieces.size());
    return m;
}

// Live polylines as "index: v0 v1<s2 ...", naming the vertex records and, where a vertex
// holds another vertex's segment, that one ("~": it runs the other way, "-": none); with
// " closed" when joining closed it.
std::vector<std::string> live(const ContourModel& m)
{
    std::vector<std::string> out;
    for (int k = 0; k < m.anzpoly; ++k) {
        const tpoly& p = m.polys[size_t(k)];
        if (p.delpoly)
            continue;
        std::string s = std::to_string(k) + ":";
        for (int v = 0; v < p.anzp; ++v) {
            const Tmypoi& q = p.ps[size_t(v)];
            const std::string name(m.lines[q.code.first]);
            const std::string seg = q.seg.count ? std::string(m.lines[q.seg.first]) : "-";
            s += " " + name;
            if (seg.substr(1) != name.substr(1) || q.flipseg)
                s += "<" + seg + (q.flipseg ? "~" : "");
        }
        out.push_back(s + (p.closeit ? " closed" : ""));
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
        JoinOptions opts = {};
        std::vector<int> cls = {};
        std::vector<bool> stay = {};
    };
    const JoinOptions reverse{true, false, false}, close{false, false, true},
        all{true, true, true};
    const Piece a = {{0, 0, 0}, {10, 0, 0}}, aBack = {{10, 0, 0}, {0, 0, 0}};
    const Case cases[] = {
        {"near start joins; the junction keeps the end it was appended to", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10.005, 0, 0}, {10, 5, 0}}},
         {"0: v0 v1<s2 v3"}},
        {"end to end never joins: pieces are not reversed", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10, 5, 0}, {10, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"a difference of exactly t does not match", 0.5,
         {{{0, 0, 0}, {1, 0, 0}}, {{1.5, 0, 0}, {2, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"the box test is per coordinate, not a distance", 0.5,
         {{{0, 0, 0}, {1, 1, 0}}, {{1.4, 1.4, 0.4}, {2, 2, 0}}},
         {"0: v0 v1<s2 v3"}},
        {"z counts as well", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10, 0, 1}, {10, 5, 1}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"zero tolerance joins nothing, even equal points", 0,
         {{{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"several ends at one point: the first in index order takes the piece", 0.01,
         {{{0, 0, 0}, {P, P, 0}}, {{9, 0, 0}, {P, P, 0}}, {{0, 9, 0}, {P, P, 0}},
          {{P, P, 0}, {20, 20, 0}}},
         {"0: v0 v1<s6 v7", "1: v2 v3", "2: v4 v5"}},
        {"a closed square ends on a copy of its first point", 0.01,
         {{{0, 0, 0}, {10, 0, 0}}, {{10, 0, 0}, {10, 10, 0}}, {{10, 10, 0}, {0, 10, 0}},
          {{0, 10, 0}, {0, 0, 0}}},
         {"3: v6 v7<s0 v1<s2 v3<s4 v5"}},
        {"a chain stored back to front joins in one pass", 0.01,
         {{{3, 0, 0}, {4, 0, 0}}, {{2, 0, 0}, {3, 0, 0}}, {{1, 0, 0}, {2, 0, 0}}},
         {"2: v4 v5<s2 v3<s0 v1"}},
        {"one-vertex pieces take no part; longer pieces keep all their vertices", 0.01,
         {{{1, 0, 0}}, {{0, 0, 0}, {1, 0, 0}}, {{1, 0, 0}, {1, 1, 0}, {2, 1, 0}}},
         {"0: v0", "1: v1 v2<s3 v4 v5"}},
        {"a polyline never joins itself", 0.01,
         {{{0, 0, 0}, {1, 0, 0}, {0, 0, 0}}},
         {"0: v0 v1 v2"}},
        {"NaN never matches", 0.01,
         {{{0, 0, 0}, {std::nan(""), 0, 0}}, {{std::nan(""), 0, 0}, {2, 0, 0}}},
         {"0: v0 v1", "1: v2 v3"}},
        {"pieces of different classes never join", 0.01,
         {a, {{10, 0, 0}, {10, 5, 0}}}, {"0: v0 v1", "1: v2 v3"}, {}, {0, 1}},
        {"a piece that must stay as it is takes no part", 0.01,
         {a, {{10, 0, 0}, {10, 5, 0}}, {{10, 5, 0}, {0, 5, 0}}},
         {"0: v0 v1", "1: v2 v3", "2: v4 v5"}, {}, {}, {false, true}},
        {"reversing: end meets end; the piece visited first runs the other way", 0.01,
         {a, {{10, 5, 0}, {10, 0, 0}}}, {"1: v2 v3<s0~ v0<s1~"}, reverse},
        {"reversing: start meets start", 0.01,
         {a, {{0, 0, 0}, {0, 5, 0}}}, {"0: v1<s0~ v0<s2 v3"}, reverse},
        {"reversing is not tried where an end meets a start", 0.01,
         {a, {{10, 0, 0}, {20, 0, 0}}, {{20, 0, 0}, {10, 0, 0}}},
         {"0: v0 v1<s2 v3<s4 v5"}, reverse},
        {"closing: a chain ending on its first point loses that point", 0.01,
         {a, {{10, 0, 0}, {10, 10, 0}}, {{10, 10, 0}, {0, 0.001, 0}}},
         {"2: v4 v5<s0 v1<s2 closed"}, close},
        {"closing needs three vertices; open chains stay open", 0.01,
         {{{0, 0, 0}, {0, 0, 0}}, {{5, 5, 0}, {6, 5, 0}, {7, 5, 0}}},
         {"0: v0 v1", "1: v2 v3 v4"}, close},
        {"all options: an outline in any direction becomes one closed polyline", 0.01,
         {aBack, {{10, 10, 0}, {10, 0, 0}}, {{10, 10, 0}, {0, 10, 0}}, {{0, 0, 0}, {0, 10, 0}}},
         {"1: v1<s0~ v3<s2~ v2<s4 v5<s6~ closed"}, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ContourModel fast = modelOf(c.pieces, c.cls, c.stay), slow = fast;
        joinPasses(fast, c.t, c.opts);
        joinPassesOracle(slow, c.t, c.opts);
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
            std::vector<int> cls;
            std::vector<bool> stay;
            const bool classes = rng() % 3 == 0;
            for (Piece& pc : pieces) {
                const int n = rng() % 10 == 0 ? 1 : 2 + int(rng() % 3 == 0);
                for (int v = 0; v < n; ++v)
                    pc.push_back(point());
                cls.push_back(classes ? int(rng() % 2) : 0);
                stay.push_back(rng() % 20 == 0);
            }
            // Every third round the plain rule; otherwise random options.
            JoinOptions opts;
            if (round % 3 != 0)
                opts = {rng() % 2 == 0, false, rng() % 2 == 0};
            SCOPED_TRACE(testing::Message() << "round " << round << " reverse " << opts.reverse
                                            << " close " << opts.close);
            ContourModel fast = modelOf(pieces, cls, stay), slow = fast;
            const int a = joinPasses(fast, sc.t, opts), b = joinPassesOracle(slow, sc.t, opts);
            ASSERT_EQ(a, b);
            ASSERT_EQ(live(fast), live(slow));
        }
    }
}
