// processdxf: sections, header variables, tables, blocks, layouts and the entity frame.
#include <gtest/gtest.h>

#include "dxf/parse_context.h"
#include "dxf/processdxf.h"
#include "support/ParseFixture.h"

using namespace kerbon;
using kerbon::test::entitiesOnly;
using kerbon::test::parsed;
using kerbon::test::splitLines;

namespace {

struct RecordingObserver : ParseObserver {
    std::vector<std::string> linetypes, layers, tabs;
    int calls = 0;
    void refreshSelectors(const std::vector<std::string>& lt,
                          const std::vector<std::string>& la) override
    {
        linetypes = lt;
        layers = la;
        ++calls;
    }
    void refreshLayoutTabs(const std::vector<std::string>& names) override { tabs = names; }
};

const char* const kLine = "0|LINE|8|0|10|0|20|0|11|10|21|0";

}  // namespace

TEST(processdxf, AcceptsCodeLinesWithAnyLeadingBlanks)
{
    const auto m = parsed("  0|SECTION|  2|ENTITIES|0|LINE|8|0| 10|0| 20|0|"
                          " 11|10| 21|0|     0|ENDSEC|  0|EOF");
    ASSERT_EQ(m.anzpoly, 1);
    EXPECT_EQ(m.polys[0].linefrom, 4);
    EXPECT_EQ(m.polys[0].linebis, 15);
    EXPECT_EQ(m.polys[0].code.from, 4);
    EXPECT_EQ(m.polys[0].code.to, 15);
    EXPECT_EQ(m.polys[0].layer, "0");
    EXPECT_EQ(m.insertlinepos, 16);
    EXPECT_GE(m.polys.size(), 1000u);
}

TEST(processdxf, HeaderVariables)
{
    struct Case {
        const char* name;
        const char* header;  // pairs of the HEADER section
        int cadver;
        int handleseedpos;
        int32_t maxhandle;
    };
    // Lines 0 to 3 open the HEADER section; its pairs start at line 4.
    const Case cases[] = {
        {"seed and version", "9|$ACADVER|1|AC1015|9|$HANDSEED|5|2A", 1015, 11, 0x29},
        {"R12 version", "9|$ACADVER|1|AC1009", 1009, -1, 0},
        {"seed 20000", "9|$HANDSEED|5|20000", 0, 7, 0x1FFFF},
        {"seed that does not convert", "9|$HANDSEED|5|XYZ", 0, 7, 0},
        {"seed of the largest handle", "9|$HANDSEED|5|80000000", 0, 7, 0},
        {"version without number", "9|$ACADVER|1|AC", 0, -1, 0},
        {"another variable disarms", "9|$HANDSEED|9|$EXTMIN|5|40", 0, -1, 0},
        {"lower-case variable", "9|$handseed|5|40|9|$acadver|1|AC1018", 0, -1, 0},
        {"code line 010 is not code 10 nor 1", "9|$ACADVER|01|AC1018", 0, -1, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        model::DisplayModel m;
        m.cadver = 77;  // the version of a document opened before
        processdxf(splitLines(std::string("0|SECTION|2|HEADER|") + k.header + "|0|ENDSEC|0|EOF"), m);
        EXPECT_EQ(m.cadver, k.cadver);
        EXPECT_EQ(m.handleseedpos, k.handleseedpos);
        EXPECT_EQ(m.maxhandle, k.maxhandle);
    }
}

TEST(processdxf, LineTypeScales)
{
    struct Case { const char* header; const char* line48; double drawing, entity; };
    const Case cases[] = {
        {"9|$LTSCALE|40|10", "48|2.5|", 10, 2.5},
        {"9|$ACADVER|1|AC1015", "", 1, 0},  // neither given: patterns as defined
        {"9|$LTSCALE|40|0", "48|0|", 1, 0},
        {"9|$LTSCALE|40|-2", "48|-1|", 1, 0},
        {"9|$LTSCALE|40|abc", "48|x|", 1, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.header);
        model::DisplayModel m;
        m.ltscale = 7;  // of a document opened before
        processdxf(splitLines(std::string("0|SECTION|2|HEADER|") + k.header +
                              "|0|ENDSEC|0|SECTION|2|ENTITIES|0|LINE|" + k.line48 +
                              "10|0|20|0|11|1|21|0|0|ENDSEC|0|EOF"),
                   m);
        EXPECT_EQ(m.ltscale, k.drawing);
        ASSERT_EQ(m.anzpoly, 1);
        EXPECT_EQ(m.polys[0].ltscale, k.entity);
    }
}

TEST(processdxf, VariableWithoutValueDoesNotReachIntoTheNextSection)
{
    // The header ends right after the names: the table handle and the TEXT's code 1 are
    // neither the seed (the writers would overwrite that handle) nor the version.
    model::DisplayModel m;
    m.cadver = 1009;
    processdxf(splitLines("0|SECTION|2|HEADER|9|$ACADVER|9|$HANDSEED|0|ENDSEC|"
                          "0|SECTION|2|TABLES|0|TABLE|2|LAYER|5|2|0|ENDTAB|0|ENDSEC|"
                          "0|SECTION|2|HEADER|9|$ACADVER|0|ENDSEC|"
                          "0|SECTION|2|ENTITIES|0|TEXT|1|AC1032|0|ENDSEC|0|EOF"), m);
    EXPECT_EQ(m.handleseedpos, -1);
    EXPECT_EQ(m.cadver, 0);
    EXPECT_EQ(m.maxhandle, 2);
}

TEST(processdxf, MaxhandleIsTheLargestHandleInUse)
{
    const auto m = parsed("0|SECTION|2|HEADER|9|$HANDSEED|5|2A|0|ENDSEC|"
                          "0|SECTION|2|ENTITIES|0|LINE|5|3F|8|0|0|LINE|5|30|0|ENDSEC|0|EOF");
    EXPECT_EQ(m.maxhandle, 0x3F);
    EXPECT_EQ(m.polys[0].han, 0x3F);
    EXPECT_EQ(m.polys[1].han, 0x30);

    // Handles of records the parse does not read count as well, so a new handle never
    // repeats one that is in use: an unknown entity, an ENDBLK, a dictionary, a DIMSTYLE.
    const char* const stale[] = {
        "0|SECTION|2|ENTITIES|0|ATTRIB|5|9A|0|ENDSEC|0|EOF",
        "0|SECTION|2|BLOCKS|0|BLOCK|5|10|0|ENDBLK|5|9A|0|ENDSEC|0|EOF",
        "0|SECTION|2|OBJECTS|0|DICTIONARY|5|9A|0|ENDSEC|0|EOF",
        "0|SECTION|2|TABLES|0|TABLE|2|DIMSTYLE|0|DIMSTYLE|105|9A|0|ENDTAB|0|ENDSEC|0|EOF",
    };
    for (const char* text : stale) {
        SCOPED_TRACE(text);
        EXPECT_EQ(parsed(text).maxhandle, 0x9A);
    }
    // The header's own code 5 (the seed) is not a handle in use.
    EXPECT_EQ(parsed("0|SECTION|2|HEADER|9|$HANDSEED|5|9A|5|FF|0|ENDSEC|0|EOF").maxhandle, 0x99);
}

// The version of one document decided which entity forms the tools wrote into the next
// one, opened without a header.
TEST(processdxf, CadverOfTheDocumentBeforeDoesNotCarryOver)
{
    model::DisplayModel m;
    processdxf(splitLines("0|SECTION|2|HEADER|9|$ACADVER|1|AC1027|0|ENDSEC|0|EOF"), m);
    EXPECT_EQ(m.cadver, 1027);
    processdxf(splitLines(entitiesOnly(kLine)), m);
    EXPECT_EQ(m.cadver, 0);
    EXPECT_EQ(m.handleseedpos, -1);
    EXPECT_EQ(m.anzpoly, 1);
}

TEST(processdxf, InsertlineposIsTheEndOfTheFirstEntitiesSection)
{
    // 0 SECTION, 2 ENTITIES, LINE at 4..15, ENDSEC at 16
    const std::string one = entitiesOnly(kLine);
    EXPECT_EQ(parsed(one).insertlinepos, 16);
    const std::string two = "0|SECTION|2|ENTITIES|" + std::string(kLine) +
                            "|0|ENDSEC|0|SECTION|2|ENTITIES|" + kLine + "|0|ENDSEC|0|EOF";
    const auto m = parsed(two);
    EXPECT_EQ(m.insertlinepos, 16);
    EXPECT_EQ(m.anzpoly, 2);
    EXPECT_EQ(parsed("0|SECTION|2|BLOCKS|0|ENDSEC|0|EOF").insertlinepos, -1);
}

TEST(processdxf, SectionAndEntityNamesAreExactAndCaseSensitive)
{
    EXPECT_EQ(parsed("0|SECTION|2|entities|" + std::string(kLine) + "|0|ENDSEC|0|EOF").anzpoly, 0);
    EXPECT_EQ(parsed(entitiesOnly("0|line|8|0|10|1|20|1")).anzpoly, 0);
    // An unknown type between two LINEs is passed over; both LINEs are read.
    const auto m = parsed(entitiesOnly(std::string(kLine) + "|0|ATTRIB|8|X|10|5|20|5|" + kLine));
    ASSERT_EQ(m.anzpoly, 2);
    EXPECT_EQ(m.polys[0].linebis, 15);
    EXPECT_EQ(m.polys[1].linefrom, 24);
}

TEST(processdxf, LayerAndLinetypeTables)
{
    // LTYPE entry at line 10, its ENDTAB at 22; LAYER entries at 28 and 44, ENDTAB at 50
    const auto m = parsed("0|SECTION|2|TABLES|0|TABLE|2|LTYPE|5|5|0|LTYPE|2|DASHED|3|__ __|"
                          "49|0.5|49|-0.25|49|0|0|ENDTAB|0|TABLE|2|LAYER|"
                          "0|LAYER|2|Kontur|70|4|62|1|6|DASHED|370|25|290|0|390|F|"
                          "0|LAYER|2|Bohrung|62|x|0|ENDTAB|0|ENDSEC|0|EOF");
    ASSERT_EQ(m.anzlt, 1);
    EXPECT_EQ(m.linetype[0].name, "DASHED");
    EXPECT_EQ(m.linetype[0].desc, "__ __");
    EXPECT_EQ(m.linetype[0].parts, (std::vector<float>{0.5f, -0.25f, 0.f}));
    EXPECT_EQ(m.ltypeinsetlinenr, 22);
    EXPECT_EQ(m.layerinsertlinenr, 50);
    EXPECT_EQ(m.plotstylereaded, "F");
    ASSERT_EQ(m.anzlayer, 2);
    const model::TLayer& a = m.layers[0];
    EXPECT_EQ(a.name, "Kontur");
    EXPECT_EQ(a.flag, 4);
    EXPECT_EQ(a.flaglinenr, 33);
    EXPECT_TRUE(a.flagpresent);
    EXPECT_EQ(a.colornr, 1);
    EXPECT_EQ(a.colorlinenr, 35);
    EXPECT_EQ(a.ltname, "DASHED");
    EXPECT_EQ(a.ltnamelinenr, 37);
    EXPECT_EQ(a.lineweight, 25);
    EXPECT_EQ(a.lineweightlinenr, 39);
    EXPECT_TRUE(a.colorpresent && a.ltnamepresent && a.linweightpresent);
    EXPECT_EQ(a.plotflag, 0);
    const model::TLayer& b = m.layers[1];
    EXPECT_EQ(b.name, "Bohrung");
    EXPECT_FALSE(b.colorpresent || b.flagpresent || b.ltnamepresent || b.linweightpresent);
    EXPECT_EQ(m.maxhandle, 5);
}

TEST(processdxf, EmptyLayerTableAndGrowth)
{
    RecordingObserver obs;
    model::DisplayModel m;
    processdxf(splitLines("0|SECTION|2|TABLES|0|TABLE|2|LAYER|70|0|0|ENDTAB|0|ENDSEC|0|EOF"), m, &obs);
    EXPECT_EQ(m.anzlayer, 0);
    EXPECT_EQ(m.layerinsertlinenr, -1);
    EXPECT_TRUE(obs.layers.empty());

    std::string text = "0|SECTION|2|TABLES|0|TABLE|2|LAYER";
    for (int i = 0; i < 11; ++i)
        text += "|0|LAYER|2|L" + std::to_string(i);
    processdxf(splitLines(text + "|0|ENDTAB|0|ENDSEC|0|EOF"), m, &obs);
    EXPECT_EQ(m.anzlayer, 11);
    EXPECT_EQ(m.layers.size(), 20u);
    ASSERT_EQ(obs.layers.size(), 11u);
    EXPECT_EQ(obs.layers.front(), "L0");
    EXPECT_EQ(obs.layers.back(), "L10");

    // A re-parse starts every layer and line type empty again.
    processdxf(splitLines("0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|0|ENDTAB|"
                          "0|TABLE|2|LTYPE|0|LTYPE|0|ENDTAB|0|ENDSEC|0|EOF"), m, &obs);
    EXPECT_EQ(m.anzlayer, 1);
    EXPECT_EQ(m.layers[0].name, "");
    EXPECT_EQ(m.anzlt, 1);
    EXPECT_EQ(m.linetype[0].name, "");
    EXPECT_EQ(obs.linetypes, (std::vector<std::string>{""}));
    EXPECT_EQ(obs.layers, (std::vector<std::string>{""}));
}

TEST(processdxf, TableLeftOpenDoesNotSwallowTheEntities)
{
    const auto m = parsed("0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2|A|0|ENDSEC|"
                          "0|SECTION|2|ENTITIES|" + std::string(kLine) + "|0|ENDSEC|0|EOF");
    EXPECT_EQ(m.anzlayer, 1);
    EXPECT_EQ(m.anzpoly, 1);
}

TEST(processdxf, LayoutTabsInSortedOrder)
{
    struct Case {
        const char* name;
        const char* layouts;
        std::vector<std::string> tabs;
    };
    const Case cases[] = {
        {"order decides", "0|LAYOUT|1|Layout1|71|1|0|LAYOUT|1|Model|71|0", {"Model", "Layout1"}},
        {"three", "0|LAYOUT|1|B|71|2|0|LAYOUT|1|A|71|1|0|LAYOUT|1|Model|71|0", {"Model", "A", "B"}},
        {"Model moves forward", "0|LAYOUT|1|A|71|0|0|LAYOUT|1|Model|71|5", {"Model", "A"}},
        {"equal order keeps file order", "0|LAYOUT|1|X|71|1|0|LAYOUT|1|Y|71|1", {"X", "Y"}},
        {"no layouts", "0|DICTIONARY|5|C", {"Model", "Layout1"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        RecordingObserver obs;
        model::DisplayModel m;
        processdxf(splitLines(std::string("0|SECTION|2|OBJECTS|") + k.layouts + "|0|ENDSEC|0|EOF"), m, &obs);
        EXPECT_EQ(obs.tabs, k.tabs);
        EXPECT_EQ(obs.calls, 1);
    }
}

TEST(processdxf, LayoutFields)
{
    const auto m = parsed("0|SECTION|2|OBJECTS|0|LAYOUT|5|1E|330|1A|100|AcDbLayout|1|Model|"
                          "71|0|10|1|20|2|30|3|11|4|21|5|31|6|14|7|24|8|34|9|15|10|25|11|35|12|"
                          "330|1F|0|ENDSEC|0|EOF");
    ASSERT_EQ(m.layouts.size(), 1u);
    const model::Tlayout& l = m.layouts[0];
    EXPECT_EQ(l.name, "Model");
    EXPECT_EQ(l.layhan, 0x1F);  // the later owner code wins
    EXPECT_EQ(m.maxhandle, 0x1E);
    EXPECT_EQ((std::vector<double>{l.lminx, l.lminy, l.lminz, l.lmaxx, l.lmaxy, l.lmaxz, l.eminx,
                                   l.eminy, l.eminz, l.emaxx, l.emaxy, l.emaxz}),
              (std::vector<double>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(processdxf, BlockDefinitions)
{
    // BLOCK A at line 4, its LINE at 20, ENDBLK at 28; BLOCK B at 32, its LINE at 36,
    // ENDBLK at 42; a third BLOCK at 44
    const auto m = parsed("0|SECTION|2|BLOCKS|0|BLOCK|5|20|330|1F|2|A|3|A|10|1|20|2|30|3|"
                          "0|LINE|8|0|10|0|20|0|0|ENDBLK|5|21|0|BLOCK|3|B|"
                          "0|LINE|330|77|8|0|0|ENDBLK|0|BLOCK|0|ENDBLK|0|ENDSEC|"
                          "0|SECTION|2|ENTITIES|0|LINE|8|0|0|ENDSEC|0|EOF");
    ASSERT_EQ(m.blocks.size(), 3u);
    EXPECT_EQ(m.blocks[0].blockname, "A");
    EXPECT_EQ(m.blocks[0].hand, 0x1F);
    EXPECT_EQ(m.blocks[0].linetoinsert, 28);
    EXPECT_EQ(m.blocks[1].blockname, "B");
    EXPECT_EQ(m.blocks[1].linetoinsert, 42);
    EXPECT_EQ(m.maxhandle, 0x21);

    ASSERT_EQ(m.anzpoly, 3);
    const model::tpoly& a = m.polys[0];
    EXPECT_TRUE(a.isblock);
    EXPECT_EQ(a.theblockname, "A");
    EXPECT_EQ(a.layhan, 0x1F);
    EXPECT_EQ(a.blockbasex, 1);
    EXPECT_EQ(a.blockbasey, 2);
    EXPECT_EQ(a.blockbasez, 3);
    EXPECT_EQ(a.linebis, 27);
    const model::tpoly& b = m.polys[1];
    EXPECT_EQ(b.theblockname, "B");
    EXPECT_EQ(b.layhan, 0x77);  // its own owner code replaces the block's
    const model::tpoly& e = m.polys[2];
    EXPECT_FALSE(e.isblock);
    EXPECT_EQ(e.theblockname, "");
    EXPECT_EQ(e.layhan, 0);
    EXPECT_EQ(e.blockbasex, 0);
}

// A header that lacked a code took the value of the block before it: two blocks then
// shared one name, and an INSERT of the first drew the second's members too.
TEST(processdxf, BlockHeaderTakesNothingFromTheBlockBefore)
{
    struct Case { const char* header; const char* name; int32_t owner; double basex; };
    const Case cases[] = {
        {"2|B", "B", 0, 0},                // R12 writes the name under code 2 only
        {"3|B", "B", 0, 0},
        {"2|B|3|C", "B", 0, 0},            // the name is code 2
        {"3|C|2|B|330|1A|10|4", "B", 0x1A, 4},
        {"5|22", "", 0, 0},                // nothing given: nothing inherited
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.header);
        const auto m = parsed(std::string("0|SECTION|2|BLOCKS|0|BLOCK|2|A|3|A|330|1F|10|1|20|2|") +
                              "0|ENDBLK|0|BLOCK|" + k.header + "|0|LINE|10|0|20|0|0|ENDBLK|0|ENDSEC|0|EOF");
        ASSERT_EQ(m.blocks.size(), 2u);
        EXPECT_EQ(m.blocks[1].blockname, k.name);
        EXPECT_EQ(m.blocks[1].hand, k.owner);
        ASSERT_EQ(m.anzpoly, 1);
        EXPECT_EQ(m.polys[0].theblockname, k.name);
        EXPECT_EQ(m.polys[0].layhan, k.owner);
        EXPECT_EQ(m.polys[0].blockbasex, k.basex);
        EXPECT_EQ(m.polys[0].blockbasey, 0);
    }
}

TEST(processdxf, EntitiesOutsideABlockDefinitionAreNotRead)
{
    // Between ENDBLK and the next BLOCK nothing is an entity of the drawing.
    const auto m = parsed("0|SECTION|2|BLOCKS|0|BLOCK|3|A|0|ENDBLK|" + std::string(kLine) +
                          "|0|ENDSEC|0|EOF");
    EXPECT_EQ(m.anzpoly, 0);
    ASSERT_EQ(m.blocks.size(), 1u);
}

TEST(entityFrame, CommonAttributeCodes)
{
    // entity body after "0|TYPE" (its code line is line 4, so the body starts at line 6)
    const std::string body = "|5|1A|330|1F|67|1|8|Kontur|6|DASHED|370|35|62|3";
    struct Case {
        const char* type;
        bool ltname, lineweight, color;
    };
    const Case cases[] = {
        {"LINE", true, true, true},       {"CIRCLE", true, true, true},
        {"TEXT", true, true, true},       {"HATCH", true, true, true},
        {"SOLID", true, false, true},     {"POINT", true, false, true},
        {"VIEWPORT", false, false, false}, {"POLYLINE", true, true, true},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.type);
        const auto m = parsed(entitiesOnly(std::string("0|") + k.type + body));
        ASSERT_EQ(m.anzpoly, 1);
        const model::tpoly& p = m.polys[0];
        EXPECT_EQ(p.han, 0x1A);
        EXPECT_EQ(p.layhan, 0x1F);
        EXPECT_TRUE(p.ispaperspace);
        EXPECT_EQ(p.layer, "Kontur");
        EXPECT_TRUE(p.layerpresent);
        EXPECT_EQ(p.layerlinenr, 13);
        EXPECT_EQ(p.ltnamepresent, k.ltname);
        EXPECT_EQ(p.ltname, k.ltname ? "DASHED" : "");
        EXPECT_EQ(p.ltnamelinenr, k.ltname ? 15 : 0);
        EXPECT_EQ(p.linweightpresent, k.lineweight);
        EXPECT_EQ(p.lineweight, k.lineweight ? 35 : 0);
        EXPECT_EQ(p.lineweightlinenr, k.lineweight ? 17 : 0);
        EXPECT_EQ(p.colorispresent, k.color);
        EXPECT_EQ(p.colornr, k.color ? 3 : 0);
        EXPECT_EQ(p.colorlinenr, k.color ? 19 : 0);
        EXPECT_EQ(p.linefrom, 4);
        EXPECT_EQ(p.linebis, 19);
        EXPECT_EQ(m.maxhandle, 0x1A);
    }
}

TEST(entityFrame, LaterCodesReplaceAndOddValuesAreSkipped)
{
    const auto m = parsed(entitiesOnly("0|LINE|8|A|8|B|62|x|62|5|62|1.5|370|-|67|2|5|XYZ|330|"));
    const model::tpoly& p = m.polys[0];
    EXPECT_EQ(p.layer, "B");
    EXPECT_EQ(p.layerlinenr, 9);
    EXPECT_EQ(p.colornr, 5);
    EXPECT_EQ(p.colorlinenr, 13);
    EXPECT_FALSE(p.linweightpresent);
    EXPECT_FALSE(p.ispaperspace);
    EXPECT_EQ(p.han, 0);
    EXPECT_EQ(p.layhan, 0);
}

// The common codes of the VERTEX and SEQEND records were taken as the polyline's: their
// owner (the POLYLINE itself, in files since R2000) hid the polyline from its layout, and
// the layer and colour lines pointed into the SEQEND, where a property edit would land.
TEST(entityFrame, PolylineRangeRunsThroughVertexAndSeqendButItsCodesAreTheHeaders)
{
    // 4 POLYLINE (5 at 7, 330 at 9, 8 at 11, 62 at 13), 16 VERTEX, 26 VERTEX, 34 SEQEND, 44 LINE
    const auto m = parsed(entitiesOnly("0|POLYLINE|5|2A|330|1F|8|P|62|3|66|1|"
                                       "0|VERTEX|5|2B|330|2A|8|V1|10|0|0|VERTEX|5|2C|330|2A|10|1|"
                                       "0|SEQEND|5|2D|330|2A|8|S|62|5|" + std::string(kLine)));
    ASSERT_EQ(m.anzpoly, 2);
    const model::tpoly& p = m.polys[0];
    EXPECT_EQ(p.linefrom, 4);
    EXPECT_EQ(p.linebis, 43);
    EXPECT_EQ(p.code.size(), 40);
    EXPECT_EQ(p.han, 0x2A);
    EXPECT_EQ(p.layhan, 0x1F);
    EXPECT_EQ(p.layer, "P");
    EXPECT_EQ(p.layerlinenr, 11);
    EXPECT_EQ(p.colornr, 3);
    EXPECT_EQ(p.colorlinenr, 13);
    EXPECT_EQ(p.anzp, 2);
    EXPECT_EQ(m.maxhandle, 0x2D);  // the records' handles are in use all the same
    EXPECT_EQ(m.polys[1].linefrom, 44);
}

TEST(entityFrame, ReparseStartsFromZeroedRecords)
{
    model::DisplayModel m;
    std::string many;
    for (int i = 0; i < 1500; ++i)
        many += std::string(i ? "|" : "") + "0|LINE|8|L|62|3|5|" + std::to_string(100 + i);
    processdxf(splitLines(entitiesOnly(many)), m);
    EXPECT_EQ(m.anzpoly, 1500);
    EXPECT_GE(m.polys.size(), 1501u);
    m.polys[0].selected = true;
    m.polys[0].massselected = true;

    processdxf(splitLines(entitiesOnly("0|LINE|10|1|20|2")), m);
    EXPECT_EQ(m.anzpoly, 1);
    const model::tpoly& p = m.polys[0];
    EXPECT_FALSE(p.selected || p.massselected || p.layerpresent || p.colorispresent);
    EXPECT_EQ(p.layer, "");
    EXPECT_EQ(p.han, 0);
    EXPECT_EQ(m.maxhandle, 0);
}

TEST(entityFrame, SmallDrawingAfterALargeOneGivesTheStorageBack)
{
    model::DisplayModel m;
    std::string many;
    for (int i = 0; i < 6000; ++i)
        many += std::string(i ? "|" : "") + "0|CIRCLE|10|0|20|0|40|1";
    processdxf(splitLines(entitiesOnly(many)), m);
    ASSERT_EQ(m.anzpoly, 6000);
    processdxf(splitLines(entitiesOnly("0|LINE|10|1|20|2|11|3|21|4")), m);
    EXPECT_EQ(m.anzpoly, 1);
    EXPECT_EQ(m.polys.size(), 1001u);
    EXPECT_EQ(m.polys[0].anzp, 2);
    // and a re-parse of the same size keeps what it has
    processdxf(splitLines(entitiesOnly(many)), m);
    const size_t size = m.polys.size();
    processdxf(splitLines(entitiesOnly(many)), m);
    EXPECT_EQ(m.polys.size(), size);
}

TEST(processdxf, HostileInputNeitherCrashesNorHangs)
{
    std::string deep = "0|SECTION|2|BLOCKS";
    for (int i = 0; i < 2000; ++i)
        deep += "|0|BLOCK|3|B" + std::to_string(i);
    const std::string inputs[] = {
        "",
        "0",
        "0|SECTION|2",
        "0|SECTION|2|ENTITIES|0|LINE|8",                 // truncated inside an entity
        "0|SECTION|2|ENTITIES|0|LINE|10|1|20|2",         // no ENDSEC, no EOF
        "0|SECTION|2|ENTITIES|0|POLYLINE|0|VERTEX|0|VERTEX",
        "0|SECTION|2|TABLES|0|TABLE|2|LAYER|0|LAYER|2",  // table never closed
        "0|SECTION|2|OBJECTS|0|LAYOUT|71|99999999999999|1",
        "0|SECTION|2|ENTITIES|0|LWPOLYLINE|90|2147483647|10|1e400|20|nan|42|inf|0|ENDSEC|0|EOF",
        "x|y|z|0|SECTION|-5|ENTITIES|99999999999|LINE|  |  |0|ENDSEC",
        "0|SECTION|2|ENTITIES|0|VIEWPORT|69|-2147483648|0|ENDSEC|0|EOF",
        "0|SECTION|2|HEADER|9|$HANDSEED|5|FFFFFFFF|9|$ACADVER|1|AC99999999999|0|ENDSEC",
        "0|ENDBLK|0|ENDSEC|0|ENDTAB|0|SEQEND|0|VERTEX|2|ENTITIES|0|EOF",
        deep,
        // Values at the edge of the number range in every kind of entity.
        entitiesOnly("0|SPLINE|71|2147483647|10|0|20|0|10|1|20|1|10|2|20|0"),
        entitiesOnly("0|SPLINE|71|-5|40|0|40|1|10|0|20|0|10|1|20|1"),
        entitiesOnly("0|SPLINE|11|0|21|0|11|0|21|0|11|0|21|0"),
        entitiesOnly("0|SPLINE|40|1e308|40|-1e308|40|0|40|0|10|0|20|0|10|1|20|1|10|1e308|20|1"),
        entitiesOnly("0|ARC|10|1e308|20|-1e308|40|1e308|50|1e308|51|-1e308"),
        entitiesOnly("0|ELLIPSE|11|1e308|21|1e308|40|1e308|41|1e300|42|-1e300"),
        entitiesOnly("0|DIMENSION|70|-1|10|1e308|13|1e308|14|-1e308|15|0"),
        entitiesOnly("0|DIMENSION|70|2|10|0|13|0|14|0|15|0|0|DIMENSION|70|6"),
        entitiesOnly("0|HATCH|91|1|92|2|93|2|10|0|20|0|42|1e308|10|1|20|0|98|1|10|5|20|5"),
        entitiesOnly("0|LWPOLYLINE|70|1|10|0|20|0|42|1e308|10|1e308|20|0|42|-1e308|10|5|42|1e-300"),
        entitiesOnly("0|POLYLINE|70|1|0|VERTEX|10|0|20|0|42|1|0|VERTEX|0|SEQEND|0|VERTEX|10|1"),
        entitiesOnly("0|WIPEOUT|11|1e308|21|1e308|12|1|22|1|14|1e308|24|1e308|0|VIEWPORT|69|2|"
                     "40|1e308|41|1e308|1040|1|1040|2|1040|3|1040|4|1040|5"),
        entitiesOnly("0|XLINE|10|0|20|0|11|1e308|21|1e308|0|RAY|11|1"),
    };
    for (const std::string& text : inputs) {
        SCOPED_TRACE(text.substr(0, 80));
        model::DisplayModel m;
        processdxf(splitLines(text), m);
        EXPECT_GE(m.polys.size(), 1000u);
        EXPECT_LE(m.anzpoly, int(m.polys.size()));
    }
    EXPECT_EQ(parsed(deep).blocks.size(), 2000u);
}

TEST(processdxf, TheLastLineIsNeverRead)
{
    // Without EOF the closing ENDSEC's value is the last line: it is not read, so the
    // section stays open and the insertion position is not found; the LINE is read.
    const auto m = parsed("0|SECTION|2|ENTITIES|" + std::string(kLine) + "|0|ENDSEC");
    EXPECT_EQ(m.anzpoly, 1);
    EXPECT_EQ(m.polys[0].linebis, 15);
    EXPECT_EQ(m.insertlinepos, -1);
}

TEST(groupCodeNumber, OnlyPlainDecimalCodesConvert)
{
    const std::pair<const char*, int> cases[] = {
        {"0", 0},        {"5", 5},           {"10", 10},         {"1071", 1071},
        {"99999", 99999}, {"-1", -1},        {"-5", -5},         {"010", kNoCode},
        {"00", kNoCode}, {"-0", kNoCode},    {"-01", kNoCode},   {"", kNoCode},
        {"-", kNoCode},  {"+5", kNoCode},    {"1a", kNoCode},    {"1 0", kNoCode},
        {"1.0", kNoCode}, {"12345678901", kNoCode}, {"2147483648", kNoCode},
    };
    for (auto [text, want] : cases)
        EXPECT_EQ(groupCodeNumber(text), want) << '"' << text << '"';
}
