// Editing the text of TEXT, MTEXT and DIMENSION objects: chunks of long texts that never
// cut a character, line breaks, unchanged and cancelled edits, one undo step.
#include <gtest/gtest.h>

#include "styles/StylesFixture.h"
#include "styles/textedit.h"

using namespace kerbon;
using kerbon::test::StylesFixture;
using kerbon::test::TempDir;
using Lines = std::vector<std::string>;

namespace {

const std::string mtext =
    "  0|MTEXT|  5|A4|330|1F|100|AcDbEntity|  8|0|100|AcDbMText| 10|0| 20|0| 30|0| 40|2.5|"
    " 71|1|  3|Hallo |  1|Welt";
const std::string texts = mtext +
    "|  0|TEXT|  5|A5|330|1F|100|AcDbEntity|  8|0|100|AcDbText| 10|0| 20|9| 30|0| 40|2.5|"
    "  1|Einzeilig|100|AcDbText|"
    "  0|DIMENSION|  5|A6|330|1F|100|AcDbEntity|  8|0|100|AcDbDimension|  2|*D1| 10|0| 20|0|"
    " 30|0| 11|5| 21|1| 31|0| 70|1|  3|Standard|  1|Alt|100|AcDbAlignedDimension|"
    " 13|0| 23|0| 33|0| 14|10| 24|0| 34|0";

// Values of the pairs with `code` in the object's lines.
Lines values(const Lines& lines, const std::string& code)
{
    Lines out;
    for (size_t k = 0; k + 1 < lines.size(); k += 2)
        if (trimDxf(lines[k]) == code)
            out.push_back(lines[k + 1]);
    return out;
}

// Number of characters of UTF-8 text; -1 when it is not well formed.
int characters(const std::string& s)
{
    int n = 0;
    for (size_t i = 0; i < s.size(); ++n) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
        if (len == 0 || i + len > s.size())
            return -1;
        for (size_t k = 1; k < len; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
                return -1;
        i += len;
    }
    return n;
}

}  // namespace

TEST(TextEdit, LongTextInChunksThatNeverCutACharacter)
{
    // A drawing of a version that is stored in UTF-8, so any character can be saved.
    StylesFixture f(false, mtext);
    for (int i = 0; i < f.ed.dxf.count(); ++i)
        if (f.ed.dxf[i] == "AC1015")
            f.ed.dxf.replace(i, "AC1021");
    f.ed.dxf.encoding = Encoding::Utf8;
    f.ed.processdxf();

    // 600 characters; those around each chunk boundary take two, three and four bytes.
    std::string t;
    const char* const wide[] = {"ä", "€", "𝄞", "ß"};
    for (int i = 0; i < 600; ++i)
        t += (i >= 247 && i <= 252) || (i >= 497 && i <= 502) ? wide[i % 4]
                                                              : std::string(1, char('a' + i % 26));
    const int obj = f.object(0xA4);
    const Lines before = f.ed.dxf.lines.strings();
    EXPECT_EQ(f.ed.setObjectText(obj, t), styles::StyleStatus::Ok);
    const Lines now = f.objectText(0xA4);
    const Lines chunks = values(now, "3");
    ASSERT_EQ(chunks.size(), 2u);  // the old one filled, one more in front of the code-1 pair
    EXPECT_EQ(characters(chunks[0]), 250);
    EXPECT_EQ(characters(chunks[1]), 250);
    EXPECT_EQ(characters(values(now, "1")[0]), 100);
    EXPECT_EQ(chunks[0] + chunks[1] + values(now, "1")[0], t);
    EXPECT_EQ(f.ed.model.polys[size_t(f.object(0xA4))].textstr, t);

    TempDir tmp;
    const std::string path = tmp.path("t.dxf");
    ASSERT_TRUE(f.ed.SaveFileUnder(path));
    const test::Read read = test::ezdxfRead(tmp, path);
    EXPECT_EQ(read.at("audit").at("problems"), "");
    EXPECT_EQ(read.at("A4").at("text"), t);

    f.ed.Rckgngig1Click();  // one step
    EXPECT_EQ(f.ed.dxf.lines, before);
}

TEST(TextEdit, MTextLinesAndUnchangedOrCancelledEdits)
{
    StylesFixture f(false, texts);
    const int obj = f.object(0xA4);
    f.ed.model.polys[size_t(obj)].selected = true;
    const Lines before = f.ed.dxf.lines.strings();

    // OK without a change: the chunk keeps its blank, nothing is written, no step.
    EXPECT_FALSE(f.ed.ChangeText(obj));
    EXPECT_EQ(f.ui.textsShown.back(), "Hallo Welt");
    EXPECT_EQ(f.ed.dxf.lines, before);
    EXPECT_TRUE(f.ed.undos.empty());

    // The same for a text that ends in a line break, as the text tool writes them: what
    // the dialog gives back unchanged keeps its "\P".
    f.insertInto("ENTITIES", "  0|MTEXT|  5|B4|330|1F|100|AcDbEntity|  8|0|100|AcDbMText|"
                             " 10|0| 20|0| 30|0| 40|2.5|  1|Hallo Welt\\P");
    const Lines withBreak = f.ed.dxf.lines.strings();
    f.ed.model.polys[size_t(f.object(0xB4))].selected = true;
    EXPECT_FALSE(f.ed.ChangeText(f.object(0xB4)));
    EXPECT_EQ(f.ui.textsShown.back(), "Hallo Welt\n");
    EXPECT_EQ(f.ed.dxf.lines, withBreak);
    EXPECT_TRUE(f.ed.undos.empty());
    f.ed.dxf.lines = before;
    f.ed.processdxf();

    // Two typed lines: "\P" between them, none behind the last; the chunk emptied.
    f.ed.model.polys[size_t(obj)].selected = true;
    f.ui.onTextEditDialog = [](std::string& t) {
        t = "Zeile 1\r\nZeile 2\n";
        return true;
    };
    EXPECT_TRUE(f.ed.ChangeText(obj));
    EXPECT_EQ(values(f.objectText(0xA4), "3"), Lines{""});
    EXPECT_EQ(values(f.objectText(0xA4), "1"), Lines{"Zeile 1\\PZeile 2"});
    EXPECT_EQ(f.ed.undos.size(), 1u);

    // Shown as two lines again; cancelling writes nothing and leaves no step.
    const Lines edited = f.ed.dxf.lines.strings();
    f.ed.model.polys[size_t(obj)].selected = true;
    f.ui.onTextEditDialog = [](std::string& t) {
        t = "anders";
        return false;
    };
    EXPECT_FALSE(f.ed.ChangeText(obj));
    EXPECT_EQ(f.ui.textsShown.back(), "Zeile 1\nZeile 2");
    EXPECT_EQ(f.ed.dxf.lines, edited);
    EXPECT_EQ(f.ed.undos.size(), 1u);

    // Not selected: no dialog.
    const size_t dialogs = f.ui.textsShown.size();
    EXPECT_FALSE(f.ed.ChangeText(obj));
    EXPECT_EQ(f.ui.textsShown.size(), dialogs);

    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, before);
}

TEST(TextEdit, ShorterTextLeavesChunksEmpty)
{
    const std::string a(250, 'a'), b(250, 'b');
    StylesFixture f(false, "  0|MTEXT|  5|A4|330|1F|100|AcDbEntity|  8|0|100|AcDbMText|"
                           " 10|0| 20|0| 30|0| 40|2.5|  3|" + a + "|  3|" + b + "|  1|c");
    const Lines before = f.ed.dxf.lines.strings();
    ASSERT_EQ(f.run("text-edit 0 \"Zehn Zeich\""), "");
    EXPECT_EQ(values(f.objectText(0xA4), "3"), (Lines{"", ""}));
    EXPECT_EQ(values(f.objectText(0xA4), "1"), Lines{"Zehn Zeich"});
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, before);
}

TEST(TextEdit, TextStaysOneLineAndDimensionKeepsItsStyle)
{
    StylesFixture f(false, texts);
    // A TEXT: a second typed line is left out (the user is told); a long text stays in
    // its one code-1 value, without chunks.
    const int text = f.object(0xA5);
    f.ed.model.polys[size_t(text)].selected = true;
    f.ui.onTextEditDialog = [](std::string& t) {
        EXPECT_EQ(t, "Einzeilig");
        t = "Erste\nZweite";
        return true;
    };
    EXPECT_TRUE(f.ed.ChangeText(text));
    EXPECT_EQ(values(f.objectText(0xA5), "1"), Lines{"Erste"});
    EXPECT_EQ(f.ui.shown.back().text.rfind("Ein einzeiliger Text", 0), 0u);
    const std::string longText(600, 'x');
    EXPECT_EQ(f.ed.setObjectText(f.object(0xA5), longText), styles::StyleStatus::Ok);
    EXPECT_EQ(values(f.objectText(0xA5), "1"), Lines{longText});
    EXPECT_TRUE(values(f.objectText(0xA5), "3").empty());

    // A DIMENSION: code 3 names its style and stays; the text is its code-1 value.
    ASSERT_EQ(f.run("text-edit " + std::to_string(f.object(0xA6)) + " \"12\\\\P mm\""), "");
    EXPECT_EQ(values(f.objectText(0xA6), "3"), Lines{"Standard"});
    EXPECT_EQ(values(f.objectText(0xA6), "1"), Lines{"12\\P mm"});

    // Objects without text, and an MTEXT without a text pair to write into, are refused
    // by the script and keep their lines.
    f.insertInto("ENTITIES", "  0|LINE|  5|B0|330|1F|100|AcDbEntity|  8|0|100|AcDbLine|"
                             " 10|0| 20|0| 30|0| 11|1| 21|1| 31|0|"
                             "  0|MTEXT|  5|B1|330|1F|100|AcDbEntity|  8|0|100|AcDbMText|"
                             " 10|0| 20|0| 30|0| 40|2.5");
    const Lines kept = f.ed.dxf.lines.strings();
    for (const int32_t h : {0xB0, 0xB1})
        EXPECT_EQ(f.run("text-edit " + std::to_string(f.object(h)) + " x"),
                  "line 1: text-edit: the object has no text");
    EXPECT_NE(f.run("text-edit 99 x"), "");
    EXPECT_EQ(f.ed.dxf.lines, kept);
}

TEST(TextEdit, Utf8PrefixCountsCharacters)
{
    EXPECT_EQ(styles::utf8Prefix("aä€𝄞b", 4), std::string("aä€𝄞").size());
    EXPECT_EQ(styles::utf8Prefix("ab", 5), 2u);
    EXPECT_EQ(styles::utf8Prefix("", 1), 0u);
}
