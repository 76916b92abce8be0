// The compact line list against a plain list of strings doing the same edits.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "dxf/LineList.h"

using namespace kerbon;

namespace {

using Lines = std::vector<std::string>;

// One edit, done on both lists. `text` of "=N" means the text of line N of the list
// itself, so the list must copy from its own arena.
struct Op {
    enum Kind { Insert, Erase, Replace } kind;
    size_t pos;
    std::string text;  // Insert, Replace
    size_t count = 1;  // Erase
};

void apply(LineList& list, Lines& oracle, const Op& op)
{
    std::string_view text = op.text;
    std::string copy = op.text;
    if (!op.text.empty() && op.text[0] == '=') {
        const size_t from = std::stoul(op.text.substr(1));
        text = list[from];
        copy = oracle[from];
    }
    switch (op.kind) {
    case Op::Insert:
        list.insert(op.pos, text);
        oracle.insert(oracle.begin() + long(op.pos), copy);
        break;
    case Op::Erase:
        list.erase(op.pos, op.count);
        oracle.erase(oracle.begin() + long(op.pos), oracle.begin() + long(op.pos + op.count));
        break;
    case Op::Replace:
        list.replace(op.pos, text);
        oracle[op.pos] = copy;
        break;
    }
}

}  // namespace

TEST(LineList, EditsGiveTheSameLinesAsAListOfStrings)
{
    const std::string longLine((size_t(1) << 24) - 1, 'x');  // the shortest whose length a reference cannot hold
    const std::string wide(300000, 'w');                 // larger than a block for short lines
    struct Case {
        const char* name;
        Lines start;
        std::vector<Op> ops;
    } cases[] = {
        {"insert in the middle", {"  0", "LINE", "  8", "0"}, {{Op::Insert, 2, " 62"}, {Op::Insert, 3, "1"}}},
        {"insert at both ends", {"a"}, {{Op::Insert, 0, "first"}, {Op::Insert, 2, "last"}}},
        {"erase a range in the middle", {"a", "b", "c", "d", "e"}, {{Op::Erase, 1, "", 3}}},
        {"erase everything", {"a", "b"}, {{Op::Erase, 0, "", 2}}},
        {"replace in the middle", {"a", "b", "c"}, {{Op::Replace, 1, "longer than before"}}},
        {"empty lines", {"", "a", ""}, {{Op::Replace, 1, ""}, {Op::Insert, 1, ""}, {Op::Replace, 0, "x"}}},
        {"a line's own text", {"  10", "12.5"}, {{Op::Replace, 1, "=1"}, {Op::Replace, 0, "=1"}, {Op::Insert, 1, "=0"}}},
        {"long lines", {"a", "b"},
         {{Op::Insert, 1, longLine}, {Op::Replace, 0, wide}, {Op::Insert, 0, "=2"}, {Op::Replace, 2, "short"},
          {Op::Erase, 3, ""}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LineList list(c.start);
        Lines oracle = c.start;
        for (const Op& op : c.ops)
            apply(list, oracle, op);
        EXPECT_EQ(list.strings(), oracle);
        EXPECT_EQ(LineList(list), list);  // a copy, written afresh, holds the same
    }
}

TEST(LineList, RandomEditsAgreeWithAListOfStrings)
{
    std::mt19937 rng(11);
    auto text = [&rng] {
        // Mostly short lines as in a drawing, now and then an empty or a wide one.
        const unsigned pick = rng() % 100;
        const size_t len = pick < 5 ? 0 : pick < 97 ? rng() % 16 : 1000 + rng() % 200000;
        std::string s(len, 'a');
        for (char& ch : s)
            ch = char('a' + rng() % 26);
        return s;
    };
    LineList list;
    Lines oracle;
    for (int step = 0; step < 3000; ++step) {
        const size_t n = oracle.size();
        const unsigned what = rng() % 10;
        if (n == 0 || what < 4)
            apply(list, oracle, {Op::Insert, rng() % (n + 1), what == 0 && n ? "=" + std::to_string(rng() % n) : text()});
        else if (what < 6) {
            const size_t pos = rng() % n;
            apply(list, oracle, {Op::Erase, pos, "", 1 + rng() % std::min<size_t>(n - pos, 3)});
        } else {
            apply(list, oracle, {Op::Replace, rng() % n, what == 6 ? "=" + std::to_string(rng() % n) : text()});
        }
        ASSERT_EQ(list.size(), oracle.size()) << step;
        // Text left behind never outweighs the text in use after an erasure or insertion.
        if (what < 6) {
            ASSERT_LE(list.wastedBytes(), list.textBytes()) << step;
        }
    }
    EXPECT_EQ(list.strings(), oracle);
}

TEST(LineList, ViewsOutliveReplacementsOfOtherLinesAndReclaimingKeepsTheText)
{
    LineList list = {"  0", "CIRCLE", " 40", "2.5"};
    const std::string_view kept = list[1];
    std::string wide(5000, 'r');
    for (int i = 0; i < 2000; ++i) {  // far more text than the first blocks hold
        wide[0] = char('a' + i % 26);
        list.replace(3, wide);
    }
    EXPECT_EQ(kept, "CIRCLE");
    EXPECT_EQ(list[3], wide);
    EXPECT_GT(list.wastedBytes(), list.textBytes());

    list.insert(4, "  0");  // an insertion reclaims what the replacements left
    EXPECT_EQ(list.wastedBytes(), 0u);
    EXPECT_EQ(list, (Lines{"  0", "CIRCLE", " 40", wide, "  0"}));
}
