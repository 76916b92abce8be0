// Printing into PDF with kerbon-cli print: the page size, where known lines land for a
// scale, offset and margin (the page rendered back with pdftoppm), the page values the
// editor saved, and the options refused.
#include <gtest/gtest.h>

#include <QString>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "render/printDrawing.h"
#include "support/RunCli.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::CliRun;
using kerbon::test::shq;
using kerbon::test::TempDir;

namespace {

// A line from (0, 0) to (50, 0), and one at y = 30 reaching far beyond any page.
const char* const twoLines =
    "  0\nSECTION\n  2\nENTITIES\n"
    "  0\nLINE\n  8\n0\n 10\n0\n 20\n0\n 11\n50\n 21\n0\n"
    "  0\nLINE\n  8\n0\n 10\n-1000\n 20\n30\n 11\n3000\n 21\n30\n"
    "  0\nENDSEC\n  0\nEOF\n";

// kerbon-cli print with the configuration directory of the test (no saved values unless
// the test wrote them).
CliRun print(const TempDir& tmp, const std::string& args)
{
    return kerbon::test::runShell(tmp, "XDG_CONFIG_HOME=" + shq(tmp.path("config")) + " " +
                                           std::getenv("KERBON_CLI") + " print " + args);
}

// The page rendered in grey at 127 dpi: five pixels per millimetre.
struct Gray {
    int w = 0, h = 0;
    std::string px;
    bool dark(int x, int y) const { return static_cast<unsigned char>(px[size_t(y * w + x)]) < 128; }
};

Gray renderPage(const TempDir& tmp, const std::string& pdf)
{
    const std::string base = tmp.path("page");
    const CliRun r = kerbon::test::runShell(tmp, "pdftoppm -r 127 -gray -singlefile " + shq(pdf) + " " + shq(base));
    Gray g;
    if (r.status != 0) {
        ADD_FAILURE() << "pdftoppm failed (tools/deps.sh installs poppler-utils): " << r.err;
        return g;
    }
    const std::string bytes = kerbon::test::readBytes(base + ".pgm");
    std::istringstream in(bytes);
    std::string magic;
    int maxval = 0;
    in >> magic >> g.w >> g.h >> maxval;
    in.get();
    g.px = bytes.substr(size_t(in.tellg()));
    EXPECT_EQ(magic, "P5");
    EXPECT_EQ(g.px.size(), size_t(g.w) * size_t(g.h));
    return g;
}

// The dark rows of the page as bands: the middle row (from the bottom edge, in pixels)
// and the leftmost and rightmost dark pixel of each.
struct Band {
    double fromBottom;
    int left, right;
};

std::vector<Band> bands(const Gray& g)
{
    std::vector<Band> out;
    int first = -1, left = g.w, right = -1;
    for (int y = 0; y <= g.h; ++y) {
        int l = g.w, r = -1;
        for (int x = 0; y < g.h && x < g.w; ++x)
            if (g.dark(x, y))
                l = std::min(l, x), r = std::max(r, x);
        if (r >= 0) {
            if (first < 0)
                first = y;
            left = std::min(left, l), right = std::max(right, r);
        } else if (first >= 0) {
            out.push_back({g.h - (first + y - 1) / 2.0 - 0.5, left, right});
            first = -1, left = g.w, right = -1;
        }
    }
    return out;
}

std::string pageSize(const TempDir& tmp, const std::string& pdf)
{
    const CliRun r = kerbon::test::runShell(tmp, "pdfinfo " + shq(pdf) + " | grep 'Page size'");
    return r.out;
}

}  // namespace

TEST(KerbonCliPrint, LinesLandAtScaleOffsetAndMarginOnThePaperAsked)
{
    TempDir tmp;
    const std::string src = tmp.path("lines.dxf"), pdf = tmp.path("out.pdf");
    kerbon::test::writeBytes(src, twoLines);
    CliRun r = print(tmp, shq(src) + " " + shq(pdf) + " --scale 2:1 --offset 5,7 --margin 10 --paper A5");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(pageSize(tmp, pdf).find("420 x 595 pts (A5)"), std::string::npos) << pageSize(tmp, pdf);
    const Gray g = renderPage(tmp, pdf);
    ASSERT_NEAR(g.w, 148 * 5, 1);  // the paper's size is whole points
    ASSERT_NEAR(g.h, 210 * 5, 1);
    // A point (x, y) lands 2x + 5 + 10 mm from the left and 2y + 7 + 10 mm from the bottom:
    // the short line from 15 to 115 mm at 17 mm; the long one at 77 mm, cut at the margin.
    const std::vector<Band> b = bands(g);
    ASSERT_EQ(b.size(), 2u);
    EXPECT_NEAR(b[0].fromBottom, 77 * 5, 1.5);
    EXPECT_NEAR(b[0].left, 10 * 5, 1.5);
    EXPECT_NEAR(b[0].right, g.w - 10 * 5, 1.5);
    EXPECT_NEAR(b[1].fromBottom, 17 * 5, 1.5);
    EXPECT_NEAR(b[1].left, 15 * 5, 2.5);   // round caps reach half the line width further
    EXPECT_NEAR(b[1].right, 115 * 5, 2.5);

    // Landscape turns the paper; at 10 mm per unit the 50-unit line would print 500 mm
    // long: it is cut at the edge of the A4 sheet.
    r = print(tmp, shq(src) + " " + shq(pdf) + " --scale 10:1 --offset 0,20 --landscape");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(pageSize(tmp, pdf).find("842 x 595 pts (A4)"), std::string::npos) << pageSize(tmp, pdf);
    const Gray l = renderPage(tmp, pdf);
    EXPECT_GT(l.w, l.h);
    const std::vector<Band> c = bands(l);
    ASSERT_EQ(c.size(), 1u);  // the long line lies 320 mm up, off the sheet
    EXPECT_NEAR(c[0].fromBottom, 20 * 5, 1.5);
    EXPECT_EQ(c[0].left, 0);
    EXPECT_EQ(c[0].right, l.w - 1);
}

TEST(KerbonCliPrint, WithoutOptionsThePageValuesTheEditorSavedAreUsed)
{
    TempDir tmp;
    const std::string src = tmp.path("lines.dxf");
    kerbon::test::writeBytes(src, twoLines);
    ASSERT_EQ(print(tmp, shq(src) + " " + shq(tmp.path("a.pdf")) + " --scale 2:1 --offset 5,7 --margin 10").status, 0);
    view::PageValues saved;
    saved.mm = 4, saved.units = 2, saved.xoffset = 5, saved.yoffset = 7, saved.rand = 10;
    std::filesystem::create_directories(tmp.path("config/kerbon"));
    render::savePageValues(QString::fromStdString(tmp.path("config/kerbon/kerbon.ini")), saved);
    ASSERT_EQ(print(tmp, shq(src) + " " + shq(tmp.path("b.pdf"))).status, 0);
    const Gray a = renderPage(tmp, tmp.path("a.pdf"));
    const Gray b = renderPage(tmp, tmp.path("b.pdf"));
    EXPECT_FALSE(a.px.empty());
    EXPECT_EQ(a.px, b.px);
}

TEST(KerbonCliPrint, RefusesScalesThatAreNoPositiveNumbersAndWritesNothing)
{
    TempDir tmp;
    const std::string src = tmp.path("lines.dxf"), pdf = tmp.path("out.pdf");
    kerbon::test::writeBytes(src, twoLines);
    struct Case {
        const char* args;
        int status;
    };
    const Case cases[] = {
        {"--scale 0:1", 2},      {"--scale -1:1", 2},      {"--scale 1:0", 2},
        {"--scale nan:1", 2},    {"--scale inf:1", 2},     {"--scale 1e300:1e-300", 2},
        {"--scale 1", 2},        {"--margin -1", 2},       {"--offset 1", 2},
        {"--paper Z9", 2},       {"--tab 2", 2},           {"--tab x", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun r = print(tmp, shq(src) + " " + shq(pdf) + " " + c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_FALSE(std::filesystem::exists(pdf));
    }
    EXPECT_EQ(print(tmp, shq(tmp.path("missing.dxf")) + " " + shq(pdf)).status, 1);
    EXPECT_EQ(print(tmp, shq(src) + " " + shq(tmp.path("no/such/dir/out.pdf"))).status, 1);
}

// An empty layout tab prints as the editor shows it once the user turns to it: with the
// viewport it gets there, showing the model drawing. The file is not changed.
TEST(KerbonCliPrint, AnEmptyLayoutPrintsWithTheViewportTheEditorGivesIt)
{
    TempDir tmp;
    const std::string src = tmp.path("line.dxf"), pdf = tmp.path("out.pdf");
    ASSERT_EQ(kerbon::test::runCli(tmp, "edit new " + shq(src) + " line 0 0 50 0").status, 0);
    const std::string before = kerbon::test::readBytes(src);
    const CliRun r = print(tmp, shq(src) + " " + shq(pdf) + " --tab 1");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(kerbon::test::readBytes(src), before);

    // On A4 at 1:1 without margin the viewport lies 12 mm inside the sheet (12 ... 198 mm
    // across, 12 ... 285 mm up) and shows the line about its centre, twice its length
    // across the viewport's width: 100 units on 186 mm, so the line runs from 58.5 to
    // 151.5 mm, 148.5 mm up. Along that row only the frame and the line are dark.
    const Gray g = renderPage(tmp, pdf);
    ASSERT_NEAR(g.w, 210 * 5, 1);
    const int row = g.h - 1 - int(148.5 * 5);
    std::vector<int> dark;
    for (int x = 0; x < g.w; ++x)
        if (g.dark(x, row) || g.dark(x, row + 1) || g.dark(x, row - 1))
            dark.push_back(x);
    ASSERT_FALSE(dark.empty());
    EXPECT_NEAR(dark.front(), 12 * 5, 2);
    EXPECT_NEAR(dark.back(), 198 * 5, 2);
    const auto line = std::find_if(dark.begin(), dark.end(), [](int x) { return x > 15 * 5; });
    ASSERT_NE(line, dark.end());
    EXPECT_NEAR(*line, 58.5 * 5, 2.5);
    const auto end = std::find_if(line, dark.end(), [](int x) { return x > 152 * 5; });
    ASSERT_NE(end, dark.begin());
    EXPECT_NEAR(*std::prev(end), 151.5 * 5, 2.5);
    EXPECT_NEAR(*end, 198 * 5, 2);  // nothing between the line's end and the frame
}
