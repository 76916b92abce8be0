// Drawings written by an independent DXF library (tests/view/reference_drawings.py): each is
// parsed and drawn on the model tab, and what is drawn must lie where that library puts the
// drawing: its extents, and where the script gives them, its points of the first entity's
// outline at the parameters this parser samples.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "dxf/LineStore.h"
#include "dxf/processdxf.h"
#include "support/TempFiles.h"
#include "view/RecordingSurface.h"
#include "view/paint.h"

using namespace kerbon;
using namespace kerbon::view;

namespace {

struct Box {
    double minx = INFINITY, miny = INFINITY, maxx = -INFINITY, maxy = -INFINITY;
    void add(double x, double y)
    {
        minx = std::min(minx, x), maxx = std::max(maxx, x);
        miny = std::min(miny, y), maxy = std::max(maxy, y);
    }
};

struct Reference {
    Box box;
    std::vector<std::pair<double, double>> points;
};

// The directory the script has written the drawings to; empty when it could not run.
const std::string& referenceDir()
{
    static test::TempDir dir;
    static const std::string ready = [] {
        const char* data = std::getenv("KERBON_TEST_DATA");
        const std::string script = std::string(data ? data : "") + "../tests/view/reference_drawings.py";
        const std::string cmd = "/usr/bin/python3 '" + script + "' '" + dir.dir.string() + "'";
        return std::system(cmd.c_str()) == 0 ? dir.dir.string() : std::string();
    }();
    return ready;
}

Reference readReference(const std::string& path)
{
    Reference r;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "bbox")
            words >> r.box.minx >> r.box.miny >> r.box.maxx >> r.box.maxy;
        else if (kind == "point")
            words >> r.points.emplace_back().first >> r.points.back().second;
    }
    return r;
}

// Extents of every path point the model tab draws, in drawing units: at 1000 pixels per
// unit a pixel row is 0.001 units.
Box drawnExtents(model::DisplayModel& m)
{
    RecordingSurface s;
    DrawArgs a;
    a.zoomit = 100000;
    a.paintbox1height = 1;
    const TabContext tc = paintTabContext(m, 0);
    a.thelayhan = tc.layhan;
    a.showmodel = a.showmodelforcolor = true;
    Drawpolys(s, m, a);
    Box b;
    for (const Call& c : s.calls)
        if (c.op == Call::Op::Stroke || c.op == Call::Op::Fill)
            for (const Path::Elem& e : c.path.elems)
                if (e.kind == Path::Elem::Kind::MoveTo || e.kind == Path::Elem::Kind::LineTo)
                    b.add(e.x * 100 / a.zoomit, -e.y * 100 / a.zoomit);
    return b;
}

}  // namespace

// Items from drawings of other programs that vanished, came out mirrored or lost their
// curves: a POLYLINE of a file since R2000 (its vertices' owner hid it), splines with their
// own knots and weights, an associative hatch, objects seen from below (extrusion
// (0, 0, -1)) or tilted, and hatches bounded by arcs, ellipses and splines.
TEST(referenceDrawings, DrawnWhereAnIndependentReaderPutsThem)
{
    ASSERT_FALSE(referenceDir().empty()) << "tests/view/reference_drawings.py needs /usr/bin/python3 with ezdxf";
    struct Case { const char* name; double tolerance; };  // extents, in drawing units
    const Case cases[] = {
        {"polyline_r2000", 0.002},
        {"spline_rational_arc", 0.01},
        {"spline_nonuniform", 0.01},
        {"spline_periodic", 0.01},
        {"hatch_associative", 0.002},
        {"arc_mirrored", 0.01},
        {"circle_tilted", 0.01},
        {"lwpolyline_mirrored", 0.01},
        {"polyline2d_mirrored", 0.01},
        {"solid_mirrored", 0.002},
        {"hatch_mirrored", 0.01},
        {"hatch_circle", 0.01},
        {"hatch_edges", 0.01},
        {"hatch_clockwise_arc", 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string base = referenceDir() + "/" + c.name;
        LineStore store;
        ASSERT_TRUE(loadLines(base + ".dxf", store));
        model::DisplayModel m;
        processdxf(store, m);
        const Reference want = readReference(base + ".ref");

        const Box got = drawnExtents(m);
        EXPECT_NEAR(got.minx, want.box.minx, c.tolerance);
        EXPECT_NEAR(got.miny, want.box.miny, c.tolerance);
        EXPECT_NEAR(got.maxx, want.box.maxx, c.tolerance);
        EXPECT_NEAR(got.maxy, want.box.maxy, c.tolerance);

        if (want.points.empty())
            continue;
        const model::tpoly* first = nullptr;
        for (int i = 0; i < m.anzpoly && !first; ++i)
            if (!m.polys[size_t(i)].isblock)
                first = &m.polys[size_t(i)];
        ASSERT_NE(first, nullptr);
        std::vector<model::Tmypoi> outline;
        for (int i = 0; i < first->anzp; ++i)
            if (!first->ps[size_t(i)].donotdraw)
                outline.push_back(first->ps[size_t(i)]);
        ASSERT_EQ(outline.size(), want.points.size());
        for (size_t i = 0; i < outline.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_NEAR(outline[i].x, want.points[i].first, 1e-9);
            EXPECT_NEAR(outline[i].y, want.points[i].second, 1e-9);
        }
    }
}
