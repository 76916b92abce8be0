// Colour, line weight and line type resolution.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/tables.h"

using namespace kerbon;
using namespace kerbon::view;

namespace {

model::DisplayModel modelWithLayers()
{
    model::DisplayModel m;
    model::TLayer green;
    green.name = " Green ";
    green.colornr = 3;
    green.lineweight = 50;
    green.linweightpresent = true;
    green.ltname = "DASHED";
    model::TLayer off;
    off.name = "Off";
    off.colornr = -5;
    off.flag = 4;
    m.layers = {green, off};
    m.anzlayer = 2;
    m.linetype = {{"DASHED", "", {0.5f, -0.25f}}, {"EMPTY", "", {}}, {"DOTS", "", {0.5f, 0, -0.25f}}};
    m.anzlt = 3;
    return m;
}

model::tpoly onLayer(const char* layer)
{
    model::tpoly p;
    p.layerpresent = true;
    p.layer = layer;
    return p;
}

}  // namespace

TEST(getcolornr, ShortTableDependsOnBackground)
{
    struct Case { int nr; Rgb light, dark; };
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    const Case cases[] = {
        {1, {255, 0, 0}, {255, 0, 0}},     {5, {0, 0, 255}, {0, 0, 255}},
        {8, {128, 128, 128}, {128, 128, 128}}, {255, {179, 179, 179}, {179, 179, 179}},
        {254, {183, 183, 183}, {183, 183, 183}},
        {0, black, white}, {7, black, white}, {30, black, white}, {253, black, white},
        {256, black, white}, {-5, white, white}, {-1000000, white, white}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nr);
        EXPECT_EQ(getcolornr(c.nr, true), c.light);
        EXPECT_EQ(getcolornr(c.nr, false), c.dark);
    }
}

TEST(colorNames, NamesAndNumbersBothWays)
{
    std::array<std::string, 9> names;
    for (int i = 0; i < 9; ++i)
        names[i] = colornames[i];
    EXPECT_EQ(colorName(7, names), "Schwarz");
    EXPECT_EQ(colorName(-3, names), "Grün");
    EXPECT_EQ(colorName(42, names), "42");
    EXPECT_EQ(colorName(-2147483647 - 1, names), "-2147483648");
    EXPECT_EQ(colorNumberOfName("Hellgrau", names), 9);
    EXPECT_EQ(colorNumberOfName("rot", names), 7);  // case-sensitive, not a number
    EXPECT_EQ(colorNumberOfName("130", names), 130);
    EXPECT_EQ(colorNumberOfName("", names), 7);
    EXPECT_EQ(colorNumberOfBoxIndex(0), 256);
    EXPECT_EQ(colorNumberOfBoxIndex(1), 0);
    EXPECT_EQ(colorNumberOfBoxIndex(8), 7);
    EXPECT_EQ(lineWeightOfBoxIndex(0), "-3");
    EXPECT_EQ(lineWeightOfBoxIndex(7), "25");
    EXPECT_EQ(lineWeightOfBoxIndex(22), "211");
    EXPECT_EQ(lineWeightOfBoxIndex(23), "-3");
    EXPECT_EQ(lineWeightOfBoxIndex(-1), "-3");
}

TEST(entityStyle, ColourFromEntityOrLayer)
{
    const model::DisplayModel m = modelWithLayers();
    struct Case { const char* layer; bool own; int nr; int want; bool found; };
    const Case cases[] = {
        {"Green", true, 256, 3, true},   // by layer, trimmed layer name
        {"Green", false, 1, 3, true},    // own number not present
        {"Green", true, 1, 1, true},
        {"Green", true, 0, 0, true},     // by block shows as the default colour
        {"Nowhere", true, 256, 7, false},
        {"", true, 256, 7, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layer);
        model::tpoly p = onLayer(c.layer);
        p.colorispresent = c.own;
        p.colornr = c.nr;
        const LayerStyle ls = layerOf(m, p);
        EXPECT_EQ(ls.found, c.found);
        EXPECT_EQ(entityColorNr(p, ls), c.want);
    }
    const LayerStyle off = layerOf(m, onLayer("Off"));
    EXPECT_TRUE(off.locked);
    EXPECT_LT(off.colornr, 0);
}

TEST(entityStyle, PenWidthInPixels)
{
    const model::DisplayModel m = modelWithLayers();
    model::tpoly own = onLayer("Nowhere");
    own.linweightpresent = true;
    own.lineweight = 25;
    EXPECT_NEAR(penWidthOf(own, layerOf(m, own), 96, true), 1.89, 0.005);
    EXPECT_EQ(penWidthOf(own, layerOf(m, own), 96, false), 1);
    own.lineweight = 0;
    EXPECT_EQ(penWidthOf(own, layerOf(m, own), 96, true), 0);
    model::tpoly byLayer = onLayer("Green");
    byLayer.linweightpresent = true;
    byLayer.lineweight = -1;
    EXPECT_NEAR(penWidthOf(byLayer, layerOf(m, byLayer), 600, true), 600 * 0.5 / 25.39995 * 2, 1e-9);
    EXPECT_EQ(penWidthOf(onLayer("Nowhere"), {}, 96, true), 1);
}

TEST(entityStyle, LineTypeAndDashes)
{
    const model::DisplayModel m = modelWithLayers();
    struct Case { const char* layer; const char* own; const char* want; };
    const Case cases[] = {
        {"Green", "", "DASHED"},  {"Green", "ByLayer", "DASHED"}, {"Green", "ByBlock", "DASHED"},
        {"Green", "bylayer", nullptr},  // not a keyword, and no such line type
        {"Green", "EMPTY", nullptr},    // no parts: solid
        {"Nowhere", "DOTS", "DOTS"},    {"Nowhere", "", nullptr}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.layer) + "/" + c.own);
        model::tpoly p = onLayer(c.layer);
        p.ltnamepresent = true;
        p.ltname = c.own;
        const model::TLineType* lt = lineTypeOf(m, p, layerOf(m, p));
        if (c.want) {
            ASSERT_NE(lt, nullptr);
            EXPECT_EQ(lt->name, c.want);
        } else {
            EXPECT_EQ(lt, nullptr);
        }
    }

    struct Pattern { std::vector<float> parts; double z; std::vector<double> dashes; double offset; };
    const Pattern patterns[] = {{{0.5f, -0.25f}, 100, {0.5, 0.25}, 0},
                                {{-0.25f, 0.5f}, 100, {0.5}, 0.25},
                                {{0.5f, 0, -0.25f}, 100, {0.5, 1.0, 0.25}, 0},
                                {{0.5f, -0.25f}, 400, {2, 1}, 0}};
    for (const Pattern& c : patterns) {
        std::vector<double> dashes{99};
        double offset = -1;
        dashPattern({"X", "", c.parts}, c.z, dashes, offset);
        EXPECT_EQ(dashes, c.dashes);
        EXPECT_EQ(offset, c.offset);
    }
}

TEST(roundPixel, TiesToEvenAndNeverOverflows)
{
    EXPECT_EQ(roundPixel(2.5), 2);
    EXPECT_EQ(roundPixel(3.5), 4);
    EXPECT_EQ(roundPixel(-2.5), -2);
    EXPECT_EQ(roundPixel(1e300), 1000000000);
    EXPECT_EQ(roundPixel(-1e300), -1000000000);
    EXPECT_EQ(roundPixel(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(roundPixel(-std::numeric_limits<double>::infinity()), 0);
}

TEST(roundEven, SameAsTheLibraryRounding)
{
    const double cases[] = {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 0.49999999999999994, 1e15 + 0.5,
                            4503599627370495.5, 9007199254740993.0, -0.0, 1e300, 123.456, -7.5};
    for (double v : cases) {
        SCOPED_TRACE(v);
        EXPECT_EQ(roundEven(v), std::nearbyint(v));
        EXPECT_EQ(std::signbit(roundEven(v)), std::signbit(std::nearbyint(v)));
    }
    EXPECT_TRUE(std::isnan(roundEven(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(roundEven(-std::numeric_limits<double>::infinity()), -std::numeric_limits<double>::infinity());
}
