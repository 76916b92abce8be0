// The record array (cursor, growth in hundreds, bounds) and the UTF-16 string routines.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "nesting/tarvel.h"

using namespace kerbon;

namespace {

struct Rec {
    int id;
    double x;
    std::string name;  // an owning member: records must be moved, not byte-copied
};

std::vector<int> ids(const TDynaArray<Rec>& a)
{
    std::vector<int> v;
    for (std::uint32_t i = 0; i < a.count(); ++i)
        v.push_back(a.recordAt(i).id);
    return v;
}

}  // namespace

TEST(TDynaArray, OperationsMoveTheCursorAndIgnoreBadIndexes)
{
    enum Op { Add, Insert, Delete, Change, First, Next, WhileNext, Clear };
    struct Step {
        Op op;
        int a, b;
        bool ret;                  // non-null / true
        int aobjnr;                // cursor after the step
        std::vector<int> ids;      // records after the step
        int current;               // id of the current record, -1 for none
    };
    // Added and inserted records get ids 1, 2, 3, ... in the order they are made.
    const Step steps[] = {
        {Next, 0, 0, false, -1, {}, -1},
        {First, 0, 0, false, -1, {}, -1},
        {Add, 0, 0, true, 0, {1}, 1},
        {Add, 0, 0, true, 1, {1, 2}, 2},
        {Insert, 2, 0, true, 2, {1, 2, 3}, 3},        // at count: appends
        {Insert, 4, 0, false, 2, {1, 2, 3}, 3},       // count + 1: refused
        {Insert, -1, 0, false, 2, {1, 2, 3}, 3},
        {Insert, 0, 0, true, 0, {4, 1, 2, 3}, 4},
        {Insert, 2, 0, true, 2, {4, 1, 5, 2, 3}, 5},
        {Delete, 5, 0, false, 2, {4, 1, 5, 2, 3}, 5}, // out of range: nothing
        {Delete, -1, 0, false, 2, {4, 1, 5, 2, 3}, 5},
        {Delete, 1, 0, true, -1, {4, 5, 2, 3}, -1},   // cursor reset
        {WhileNext, 0, 0, false, -1, {4, 5, 2, 3}, -1},  // the loop needs First
        {Next, 0, 0, true, 0, {4, 5, 2, 3}, 4},          // from the reset state: record 0
        {Next, 0, 0, true, 1, {4, 5, 2, 3}, 5},
        {Change, 0, 4, false, 1, {4, 5, 2, 3}, 5},       // one index out of range
        {Change, -1, 3, false, 1, {4, 5, 2, 3}, 5},
        {Change, 0, 3, true, 3, {3, 5, 2, 4}, 4},        // cursor ends on the second
        {Next, 0, 0, false, 3, {3, 5, 2, 4}, 4},         // already on the last
        {First, 0, 0, true, 0, {3, 5, 2, 4}, 3},
        {WhileNext, 0, 0, true, 1, {3, 5, 2, 4}, 3},     // visits 0, leaves aobjnr at 1
        {WhileNext, 0, 0, true, 2, {3, 5, 2, 4}, 5},
        {Next, 0, 0, true, 3, {3, 5, 2, 4}, 4},
        {WhileNext, 0, 0, true, 4, {3, 5, 2, 4}, 4},
        {WhileNext, 0, 0, false, 4, {3, 5, 2, 4}, 4},    // past the end
        {Next, 0, 0, false, 4, {3, 5, 2, 4}, 4},
        {Clear, 0, 0, true, -1, {}, -1},
        {WhileNext, 0, 0, false, -1, {}, -1},
        {Add, 0, 0, true, 0, {6}, 6},
    };
    Rec* current = nullptr;
    TDynaArray<Rec> a(&current);
    int nextId = 1;
    for (std::size_t n = 0; n < std::size(steps); ++n) {
        const Step& s = steps[n];
        SCOPED_TRACE("step " + std::to_string(n));
        bool ret = true;
        const std::uint32_t before = a.count();
        switch (s.op) {
        case Add:
        case Insert: {
            Rec* r = s.op == Add ? a.Add() : a.Insert(s.a);
            ret = r != nullptr;
            if (r) {
                EXPECT_EQ(r->id, 0);
                EXPECT_TRUE(r->name.empty());
                r->id = nextId++;
            }
            break;
        }
        case Delete: a.Delete(s.a); ret = a.count() != before; break;
        case Change: {
            const std::vector<int> old = ids(a);
            a.Change(s.a, s.b);
            ret = ids(a) != old;
            break;
        }
        case First: a.First(); ret = a.aobj() != nullptr; break;
        case Next: ret = a.Next(); break;
        case WhileNext: ret = a.WhileNext(); break;
        case Clear: a.Clear(); break;
        }
        EXPECT_EQ(ret, s.ret);
        EXPECT_EQ(a.aobjnr(), s.aobjnr);
        EXPECT_EQ(ids(a), s.ids);
        EXPECT_EQ(current, a.aobj());  // the owner's variable mirrors the cursor
        EXPECT_EQ(a.aobj() ? a.aobj()->id : -1, s.current);
    }
}

TEST(TDynaArray, BlockGrowsAndShrinksInHundredsAndKeepsRecords)
{
    TDynaArray<Rec> a;
    EXPECT_EQ(a.amemsize(), 0u);
    EXPECT_EQ(a.poi(), nullptr);
    const std::size_t hundred = 100 * sizeof(Rec);
    struct Case { int count; std::size_t amemsize; };
    const Case grow[] = {{1, hundred}, {100, hundred}, {101, 2 * hundred}, {200, 2 * hundred},
                         {201, 3 * hundred}};
    int made = 0;
    for (const Case& c : grow) {
        while (made < c.count) {
            Rec* r = a.Add();
            r->id = made;
            r->name = "record " + std::to_string(made);
            ++made;
        }
        SCOPED_TRACE(c.count);
        EXPECT_EQ(a.amemsize(), c.amemsize);
    }
    const Case shrink[] = {{200, 2 * hundred}, {101, 2 * hundred}, {100, hundred}, {1, hundred},
                           {0, 0}};
    for (const Case& c : shrink) {
        while (int(a.count()) > c.count)
            a.Delete(std::int64_t(a.count()) / 2);  // from the middle: the tail moves down
        SCOPED_TRACE(c.count);
        EXPECT_EQ(a.amemsize(), c.amemsize);
        for (std::uint32_t i = 1; i < a.count(); ++i)
            ASSERT_LT(a.recordAt(i - 1).id, a.recordAt(i).id);  // order kept
        for (std::uint32_t i = 0; i < a.count(); ++i)
            ASSERT_EQ(a.recordAt(i).name, "record " + std::to_string(a.recordAt(i).id));
    }
    EXPECT_EQ(a.poi(), nullptr);
    Rec* again = a.Add();  // starts afresh with a zero record
    EXPECT_EQ(a.amemsize(), hundred);
    EXPECT_EQ(again->id, 0);
    EXPECT_EQ(again->x, 0.0);
}

TEST(TDynaArray, AddManyTakesOneBlockForTheNewCount)
{
    Rec* cur = nullptr;
    TDynaArray<Rec> a(&cur);
    *a.Add() = Rec{9, 2.0, "first"};
    Rec* added = a.AddMany(250);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(a.count(), 251u);
    EXPECT_EQ(a.amemsize(), 300 * sizeof(Rec));
    EXPECT_EQ(a.recordAt(0).name, "first");
    EXPECT_EQ(added, &a.recordAt(1));
    for (std::uint32_t i = 1; i < a.count(); ++i)
        ASSERT_TRUE(a.recordAt(i).id == 0 && a.recordAt(i).name.empty());
    EXPECT_EQ(a.aobjnr(), 250);
    EXPECT_EQ(cur, &a.recordAt(250));
    EXPECT_EQ(a.AddMany(0), nullptr);
    EXPECT_EQ(a.count(), 251u);
}

TEST(TDynaArray, RecordRemovedFromTheEndComesBackZero)
{
    TDynaArray<Rec> a;
    for (int i = 0; i < 3; ++i)
        *a.Add() = Rec{7, 1.5, "old"};
    a.Delete(2);
    const Rec* r = a.Add();  // same block, same slot
    EXPECT_EQ(a.amemsize(), 100 * sizeof(Rec));
    EXPECT_EQ(r->id, 0);
    EXPECT_EQ(r->x, 0.0);
    EXPECT_EQ(r->name, "");
}

TEST(TDynaArray, IterationIdiomVisitsEveryRecordOnceWithIndexOneBehind)
{
    Rec* cur = nullptr;
    TDynaArray<Rec> a(&cur);
    for (int i = 0; i < 250; ++i)
        a.Add()->id = i;
    std::vector<int> seen;
    a.First();
    while (a.WhileNext()) {
        EXPECT_EQ(cur->id, a.aobjnr() - 1);
        seen.push_back(cur->id);
    }
    ASSERT_EQ(seen.size(), 250u);
    for (int i = 0; i < 250; ++i)
        EXPECT_EQ(seen[i], i);

    // A body that moves the cursor itself changes what is visited next.
    seen.clear();
    a.First();
    while (a.WhileNext()) {
        seen.push_back(cur->id);
        if (cur->id == 1)
            a.GetObject(247);
    }
    EXPECT_EQ(seen, (std::vector<int>{0, 1, 247, 248, 249}));
}

TEST(TDynaArray, AllocationFailureText)
{
    EXPECT_EQ(allocFailureText(1, 2400),
              "Error 1 while trying to allocate 2400 bytes of RAM. Not enough memory.");
    EXPECT_EQ(allocFailureText(3, 0),
              "Error 3 while trying to allocate 0 bytes of RAM. Not enough memory.");
}

TEST(WideString, WritesCountAndLittleEndianCodeUnits)
{
    struct Case { std::string text; std::string bytes; };
    const Case cases[] = {
        {"", std::string("\0\0\0\0", 4)},
        {"A", std::string("\1\0\0\0A\0", 6)},
        {"ü", std::string("\1\0\0\0\xFC\0", 6)},
        {"€", std::string("\1\0\0\0\xAC\x20", 6)},
        {"\xF0\x9D\x84\x9E", std::string("\2\0\0\0\x34\xD8\x1E\xDD", 8)},  // U+1D11E, a pair
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::ostringstream out(std::ios::binary);
        ASSERT_TRUE(WriteWideString(out, c.text));
        EXPECT_EQ(out.str(), c.bytes);
        std::istringstream in(out.str(), std::ios::binary);
        EXPECT_EQ(ReadWideStringUtf8(in), c.text);
        EXPECT_EQ(in.peek(), EOF);  // read exactly its own bytes
    }
}

TEST(WideString, RoundTripsAnyCodeUnitsIncludingLoneSurrogates)
{
    const std::u16string texts[] = {u"", u"Grün Größe", u"\U0001F600x\U00010000",
                                    std::u16string(1, char16_t(0xD800)) + u"a",
                                    std::u16string(1, char16_t(0)) + u"nul inside",
                                    std::u16string(70000, u'x')};
    std::ostringstream out(std::ios::binary);
    for (const auto& t : texts)
        ASSERT_TRUE(WriteWideString(out, std::u16string_view(t)));
    std::istringstream in(out.str(), std::ios::binary);
    for (const auto& t : texts)
        EXPECT_EQ(ReadWideString(in), t);
    EXPECT_EQ(ReadWideString(in), std::nullopt);  // nothing left
}

TEST(WideString, TruncatedOrHostileInputFailsWithoutHugeAllocation)
{
    const std::string cases[] = {
        std::string("\3\0", 2),                      // count cut short
        std::string("\3\0\0\0a\0b\0", 8),            // two of three code units
        std::string("\3\0\0\0a\0b\0c", 9),           // last code unit half there
        std::string("\xFF\xFF\xFF\x7F" "ab", 6),     // 2^31 - 1 code units claimed
        std::string("\xFF\xFF\xFF\xFF" "ab", 6),     // negative count
    };
    for (const auto& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        std::istringstream in(bytes, std::ios::binary);
        EXPECT_EQ(ReadWideString(in), std::nullopt);
    }
}

TEST(WideString, Utf8ConversionReplacesWhatCannotBeDecoded)
{
    struct Case { std::string utf8; std::u16string utf16; };
    const Case cases[] = {
        {"abc", u"abc"},
        {"\xC3\xA4\xE2\x82\xAC", u"ä€"},
        {"\xF0\x9F\x98\x80", u"\U0001F600"},
        {"a\xFF" "b", u"a\uFFFDb"},            // stray byte
        {"\xC3", u"\uFFFD"},                   // cut sequence
        {"\xC0\xAF", u"\uFFFD\uFFFD"},         // overlong
        {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},  // encoded surrogate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        EXPECT_EQ(utf8ToUtf16(c.utf8), c.utf16);
    }
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xDC00)) + u"z"), "\xEF\xBF\xBDz");
    EXPECT_EQ(utf16ToUtf8(u"ä\U0001F600"), "\xC3\xA4\xF0\x9F\x98\x80");
}
