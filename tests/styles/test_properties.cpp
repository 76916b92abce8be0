// The property boxes on selected objects: every kind of object, with and without the
// property's own pair, in R12 and later drawings, read back by ezdxf; the line weight's
// "Wie Ebene"; the layout filter; one undo step.
#include <gtest/gtest.h>

#include "styles/StylesFixture.h"

using namespace kerbon;
using kerbon::test::StylesFixture;
using kerbon::test::TempDir;

namespace {

// Entities whose handles tell the case: A0 LINE without colour, line type, line weight or
// layer; A1 LINE with all four; A2 CIRCLE without; A3 LWPOLYLINE with; A4 MTEXT (TEXT in
// R12) without; A5 POLYLINE with, also on its VERTEX records; A9 POLYLINE without, its
// VERTEX and SEQEND records on layer 0.
const char* const entities2000 =
    "  0|LINE|  5|A0|330|1F|100|AcDbEntity|100|AcDbLine| 10|0| 20|0| 30|0| 11|10| 21|0| 31|0|"
    "  0|LINE|  5|A1|330|1F|100|AcDbEntity|  8|0|  6|Continuous| 62|1|370|25|100|AcDbLine|"
    " 10|0| 20|5| 30|0| 11|10| 21|5| 31|0|"
    "  0|CIRCLE|  5|A2|330|1F|100|AcDbEntity|  8|0|100|AcDbCircle| 10|5| 20|5| 30|0| 40|2|"
    "  0|LWPOLYLINE|  5|A3|330|1F|100|AcDbEntity|  8|0|  6|Continuous| 62|5|370|13|"
    "100|AcDbPolyline| 90|2| 70|0| 10|0| 20|0| 10|1| 20|1|"
    "  0|MTEXT|  5|A4|330|1F|100|AcDbEntity|  8|0|100|AcDbMText| 10|0| 20|0| 30|0| 40|2.5|"
    " 71|1|  1|Hallo|"
    "  0|POLYLINE|  5|A5|330|1F|100|AcDbEntity|  8|0|  6|Continuous| 62|1|370|25|"
    "100|AcDb2dPolyline| 66|1| 10|0| 20|0| 30|0| 70|0|"
    "  0|VERTEX|  5|A6|330|A5|100|AcDbEntity|  8|0| 62|1|370|25|100|AcDbVertex|100|AcDb2dVertex|"
    " 10|0| 20|0| 30|0|"
    "  0|VERTEX|  5|A7|330|A5|100|AcDbEntity|  8|0| 62|1|100|AcDbVertex|100|AcDb2dVertex|"
    " 10|4| 20|4| 30|0|"
    "  0|SEQEND|  5|A8|330|A5|100|AcDbEntity|  8|0|"
    "  0|POLYLINE|  5|A9|330|1F|100|AcDbEntity|  8|0|100|AcDb2dPolyline| 66|1| 10|0| 20|0|"
    " 30|0| 70|0|"
    "  0|VERTEX|  5|AA|330|A9|100|AcDbEntity|  8|0|100|AcDbVertex|100|AcDb2dVertex|"
    " 10|0| 20|9| 30|0|"
    "  0|VERTEX|  5|AB|330|A9|100|AcDbEntity|  8|0|100|AcDbVertex|100|AcDb2dVertex|"
    " 10|4| 20|9| 30|0|"
    "  0|SEQEND|  5|AC|330|A9|100|AcDbEntity|  8|0";

const char* const entities12 =
    "  0|LINE|  5|A0| 10|0| 20|0| 30|0| 11|10| 21|0| 31|0|"
    "  0|LINE|  5|A1|  8|0|  6|CONTINUOUS| 62|1| 10|0| 20|5| 30|0| 11|10| 21|5| 31|0|"
    "  0|CIRCLE|  5|A2|  8|0| 10|5| 20|5| 30|0| 40|2|"
    "  0|TEXT|  5|A4|  8|0| 10|0| 20|0| 30|0| 40|2.5|  1|Hallo|"
    "  0|POLYLINE|  5|A5|  8|0|  6|CONTINUOUS| 62|1| 66|1| 10|0| 20|0| 30|0| 70|0|"
    "  0|VERTEX|  5|A6|  8|0| 62|1| 10|0| 20|0| 30|0|"
    "  0|VERTEX|  5|A7|  8|0| 62|1| 10|4| 20|4| 30|0|"
    "  0|SEQEND|  5|A8|  8|0|"
    "  0|POLYLINE|  5|A9|  8|0| 66|1| 10|0| 20|0| 30|0| 70|0|"
    "  0|VERTEX|  5|AA|  8|0| 10|0| 20|9| 30|0|"
    "  0|VERTEX|  5|AB|  8|0| 10|4| 20|9| 30|0|"
    "  0|SEQEND|  5|AC|  8|0";

struct PropertyCase {
    const char* command;    // script command with its value
    const char* codeLine;   // the code line written where the object has none
    const char* value;      // the value text written
    const char* ezdxfName;  // the attribute ezdxf reads it as
};

const PropertyCase propertyCases[] = {
    {"set-colour 3", " 62", "3", "color"},
    {"set-linetype STRICH", " 6", "STRICH", "linetype"},
    {"set-layer Kontur", " 8", "Kontur", "layer"},
    {"set-lineweight 50", "370", "50", "lineweight"},
};

// The values of the pairs with `code` in each record of `lines` (record 0 is the object's
// own, then its VERTEX and SEQEND records).
std::vector<std::vector<std::string>> pairValues(const std::vector<std::string>& lines,
                                                 const std::string& code)
{
    std::vector<std::vector<std::string>> records;
    for (size_t k = 0; k + 1 < lines.size(); k += 2) {
        const std::string_view c = trimDxf(lines[k]);
        if (c == "0")
            records.emplace_back();
        else if (c == code)
            records.back().push_back(lines[k + 1]);
    }
    return records;
}

}  // namespace

TEST(PropertyBoxes, EveryKindWithAndWithoutTheCodeInBothVersions)
{
    for (const bool r12 : {true, false}) {
        for (const PropertyCase& pc : propertyCases) {
            SCOPED_TRACE(std::string(r12 ? "R12 " : "R2000 ") + pc.command);
            StylesFixture f(r12, r12 ? entities12 : entities2000);
            ASSERT_EQ(f.run("layer-add Kontur; linetype-add STRICH \"1 -0.5\""), "");
            const std::vector<std::string> before = f.ed.dxf.lines.strings();
            const size_t steps = f.ed.undos.size();
            const std::string err = f.run(std::string("select all; ") + pc.command);
            if (r12 && std::string(pc.codeLine) == "370") {
                // No line weights below version 1010: the user is told, nothing changes.
                EXPECT_NE(err.find("no line weights"), std::string::npos) << err;
                EXPECT_EQ(f.ui.shown.back().text, f.ed.messageText(9));
                EXPECT_EQ(f.ed.dxf.lines, before);
                EXPECT_EQ(f.ed.undos.size(), steps);
                continue;
            }
            ASSERT_EQ(err, "");
            EXPECT_EQ(f.ed.undos.size(), steps + 1);

            const std::string code(trimDxf(pc.codeLine));
            for (const int32_t h : {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xA9}) {
                if (r12 && h == 0xA3)
                    continue;
                SCOPED_TRACE(h);
                const std::vector<std::string> now = f.objectText(h);
                const auto records = pairValues(now, code);
                ASSERT_FALSE(records.empty());
                // The object's own record holds the value exactly once ...
                EXPECT_EQ(records[0], std::vector<std::string>{pc.value});
                // ... right behind its type line when it had none before.
                std::vector<std::string> was;
                for (size_t k = 0; k + 1 < before.size(); k += 2) {
                    if (trimDxf(before[k]) != "5" || before[k + 1] != handleText(h))
                        continue;
                    for (size_t j = k + 2; j + 1 < before.size() && trimDxf(before[j]) != "0"; j += 2)
                        if (trimDxf(before[j]) == code)
                            was.push_back(before[j + 1]);
                }
                if (was.empty()) {
                    EXPECT_EQ(std::vector<std::string>(now.begin() + 2, now.begin() + 4),
                              (std::vector<std::string>{pc.codeLine, pc.value}));
                }
                // Every VERTEX and SEQEND pair of the code carries it as well.
                for (size_t r = 1; r < records.size(); ++r)
                    for (const std::string& v : records[r])
                        EXPECT_EQ(v, pc.value) << "record " << r;
            }

            TempDir tmp;
            const std::string path = tmp.path("p.dxf");
            ASSERT_TRUE(f.ed.SaveFileUnder(path));
            const test::Read read = test::ezdxfRead(tmp, path);
            EXPECT_EQ(read.at("audit").at("problems"), "");
            int entitiesRead = 0;
            for (const auto& [key, values] : read) {
                if (key == "audit")
                    continue;
                ++entitiesRead;
                const bool member = key.find('/') != std::string::npos;
                const auto it = values.find(pc.ezdxfName);
                // Sub-records without their own pair have no value of their own.
                if (member && it == values.end())
                    continue;
                ASSERT_NE(it, values.end()) << key;
                EXPECT_EQ(it->second, pc.value) << key;
            }
            EXPECT_GE(entitiesRead, r12 ? 6 : 7);

            f.ed.Rckgngig1Click();  // one step takes it all back
            EXPECT_EQ(f.ed.dxf.lines, before);
        }
    }
}

TEST(PropertyBoxes, LineWeightByLayerTakesTheObjectsOwnPairsOut)
{
    StylesFixture f(false, entities2000);
    const std::vector<std::string> before = f.ed.dxf.lines.strings();
    ASSERT_EQ(f.run("select all; set-lineweight -3"), "");
    for (const int32_t h : {0xA0, 0xA1, 0xA2, 0xA3, 0xA5, 0xA9})
        for (const auto& rec : pairValues(f.objectText(h), "370"))
            EXPECT_TRUE(rec.empty()) << h;  // gone from VERTEX records too, none added
    EXPECT_EQ(f.ed.dxf.count(), int(before.size()) - 2 * 4);
    f.ed.Rckgngig1Click();
    EXPECT_EQ(f.ed.dxf.lines, before);

    // The colour's "Wie Ebene" and "Wie Block" are numbers written like any other.
    ASSERT_EQ(f.run("select all; set-colour 256"), "");
    EXPECT_EQ(pairValues(f.objectText(0xA1), "62")[0], std::vector<std::string>{"256"});
    ASSERT_EQ(f.run("select all; set-colour 0"), "");
    EXPECT_EQ(pairValues(f.objectText(0xA0), "62")[0], std::vector<std::string>{"0"});
}

TEST(PropertyBoxes, OnlySelectedObjectsOfTheTabShown)
{
    // A0 in the model, B0 on the sheet of the layout, C2 in a block definition.
    StylesFixture f(false, std::string(entities2000) +
                               "|  0|LINE|  5|B0|330|1B|100|AcDbEntity| 67|1|  8|0|100|AcDbLine|"
                               " 10|0| 20|0| 30|0| 11|1| 21|1| 31|0");
    f.insertInto("BLOCKS", "  0|BLOCK|  5|C0|330|1F|100|AcDbEntity|  8|0|100|AcDbBlockBegin|"
                           "  2|Teil| 70|0| 10|0| 20|0| 30|0|  3|Teil|"
                           "  0|LINE|  5|C2|330|1F|100|AcDbEntity|  8|0|100|AcDbLine|"
                           " 10|0| 20|0| 30|0| 11|1| 21|1| 31|0|"
                           "  0|ENDBLK|  5|C1|330|1F|100|AcDbEntity|  8|0|100|AcDbBlockEnd");
    for (int i = 0; i < f.ed.model.anzpoly; ++i)
        f.ed.model.polys[size_t(i)].selected = f.ed.model.polys[size_t(i)].han != 0xA1;
    const auto b0 = f.objectText(0xB0), c2 = f.objectText(0xC2), a1 = f.objectText(0xA1);
    ASSERT_FALSE(b0.empty());
    ASSERT_FALSE(c2.empty());
    f.ed.SetColorForObjects(4);
    EXPECT_EQ(pairValues(f.objectText(0xA0), "62")[0], std::vector<std::string>{"4"});
    EXPECT_EQ(f.objectText(0xB0), b0);
    EXPECT_EQ(f.objectText(0xC2), c2);
    EXPECT_EQ(f.objectText(0xA1), a1);  // not selected

    // With nothing selected the lines stay; the (empty) step and the changed mark stay too.
    const std::vector<std::string> before = f.ed.dxf.lines.strings();
    const size_t steps = f.ed.undos.size();
    f.ed.SetUnChanged();
    f.ed.SetLayerForObjects("0");
    EXPECT_EQ(f.ed.dxf.lines, before);
    EXPECT_EQ(f.ed.undos.size(), steps + 1);
    EXPECT_TRUE(f.ed.changed);
}

TEST(PropertyBoxes, ScriptValuesOutsideTheBoxesAreRefused)
{
    StylesFixture f(false, entities2000);
    const std::vector<std::string> before = f.ed.dxf.lines.strings();
    for (const char* bad : {"set-layer Nirgends", "set-linetype Nirgends", "set-colour 257",
                            "set-colour -1", "set-lineweight 17", "set-colour rot", "layer Nirgends"})
        EXPECT_NE(f.run(std::string("select all; ") + bad), "") << bad;
    EXPECT_EQ(f.ed.dxf.lines, before);
    // The property bar's own line types ByLayer and ByBlock can be chosen.
    EXPECT_EQ(f.run("select all; set-linetype ByLayer"), "");
}
