// Edit sets: validity, application against a straightforward rebuild of the list, and
// undo that gives the lines back.
#include <gtest/gtest.h>

#include <random>

#include "edit/LineEdits.h"

using namespace kerbon;

namespace {

LineStore numbered(int n)
{
    LineStore s;
    for (int i = 0; i < n; ++i)
        s.lines.push_back("l" + std::to_string(i));
    return s;
}

// The result of a set built the plain way: walk the original lines once, and at each
// position put the insertions (in the order added), then the line unless deleted or
// replaced.
std::vector<std::string> rebuilt(const std::vector<std::string>& old, const EditSet& set)
{
    std::vector<std::string> out;
    for (int i = 0; i <= int(old.size()); ++i) {
        for (const LineEdit& e : set.edits)
            if (e.kind == LineEdit::Kind::Insert && e.pos == i)
                out.insert(out.end(), e.lines.begin(), e.lines.end());
        if (i == int(old.size()))
            break;
        bool gone = false;
        for (const LineEdit& e : set.edits) {
            if (e.kind == LineEdit::Kind::Delete && i >= e.pos && i < e.pos + e.count)
                gone = true;
            if (e.kind == LineEdit::Kind::Replace && e.pos == i) {
                out.push_back(e.lines.front());
                gone = true;
            }
        }
        if (!gone)
            out.push_back(old[size_t(i)]);
    }
    return out;
}

// A random valid set on n lines: disjoint deletions and replacements, insertions anywhere
// outside them.
EditSet randomSet(std::mt19937& rng, int n)
{
    EditSet set;
    int pos = 0;
    int tag = 0;
    while (pos <= n) {
        const int what = int(rng() % 6);
        if (what == 0) {  // the next edit may stand at the same place
            set.insert(pos, {"new" + std::to_string(tag++), "new" + std::to_string(tag++)});
            pos += int(rng() % 2);
            continue;
        } else if (what == 1 && pos < n) {
            const int count = 1 + int(rng() % std::min(3, n - pos));
            set.erase(pos, count);
            pos += count;
            continue;
        } else if (what == 2 && pos < n) {
            set.replace(pos, "rep" + std::to_string(tag++));
            ++pos;
            continue;
        }
        pos += 1 + int(rng() % 3);
    }
    std::shuffle(set.edits.begin(), set.edits.end(), rng);  // builders add in any order
    return set;
}

}  // namespace

TEST(LineEdits, ApplyEqualsRebuildAndUndoRestoresExactly)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(round);
        const int n = int(rng() % 12);
        LineStore doc = numbered(n);
        const std::vector<std::string> original = doc.lines.strings();
        const EditSet set = randomSet(rng, n);
        ASSERT_TRUE(validEdits(set, n));
        tundo step = applyEditSet(doc, set);
        EXPECT_EQ(doc.lines, rebuilt(original, set));
        undoStep(doc, step);
        EXPECT_EQ(doc.lines, original);
    }
}

TEST(LineEdits, RecordsOneActionPerEditHighestPositionFirst)
{
    LineStore doc = numbered(10);
    EditSet set;
    set.erase(2, 3);
    set.replace(7, "x");
    set.insert(9, {"a", "b"});
    const tundo step = applyEditSet(doc, set);
    ASSERT_EQ(step.actions.size(), 3u);
    EXPECT_EQ(step.actions[0].typ, 0);
    EXPECT_EQ(step.actions[0].start, 9);
    EXPECT_EQ(step.actions[0].len, 2);
    EXPECT_EQ(step.actions[1].typ, 2);
    EXPECT_EQ(step.actions[1].ustrs, std::vector<std::string>{"l7"});
    EXPECT_EQ(step.actions[2].typ, 1);
    EXPECT_EQ(step.actions[2].start, 2);
    EXPECT_EQ(step.actions[2].ustrs, (std::vector<std::string>{"l2", "l3", "l4"}));
}

TEST(LineEdits, InsertionsAtOnePlaceKeepTheirOrderBeforeTheLineThere)
{
    LineStore doc = numbered(3);
    EditSet set;
    set.replace(1, "r");
    set.insert(1, {"a"});
    set.insert(1, {"b"});
    set.erase(2, 1);
    set.insert(2, {"c"});  // takes the place of the deleted line
    applyEditSet(doc, set);
    EXPECT_EQ(doc.lines, (std::vector<std::string>{"l0", "a", "b", "r", "c"}));
}

TEST(LineEdits, RefusesSetsThatDoNotFit)
{
    struct Case {
        const char* what;
        EditSet set;
    };
    auto make = [](auto f) {
        EditSet s;
        f(s);
        return s;
    };
    const Case cases[] = {
        {"insert past the end", make([](EditSet& s) { s.insert(6, {"x"}); })},
        {"insert before the start", make([](EditSet& s) { s.insert(-1, {"x"}); })},
        {"delete past the end", make([](EditSet& s) { s.erase(4, 2); })},
        {"replace past the end", make([](EditSet& s) { s.replace(5, "x"); })},
        {"overlapping deletions", make([](EditSet& s) { s.erase(1, 2), s.erase(2, 2); })},
        {"replace inside a deletion", make([](EditSet& s) { s.erase(1, 3), s.replace(2, "x"); })},
        {"insert inside a deletion", make([](EditSet& s) { s.erase(1, 3), s.insert(3, {"x"}); })},
        {"two replacements of a line", make([](EditSet& s) { s.replace(2, "x"), s.replace(2, "y"); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(validEdits(c.set, 5));
    }
    EXPECT_TRUE(validEdits(make([](EditSet& s) { s.insert(5, {"x"}), s.erase(0, 5); }), 5));
}
