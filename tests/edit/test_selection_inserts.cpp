// Selecting block inserts by what their block shows where it shows it.
#include <gtest/gtest.h>

#include "edit/PickIndex.h"
#include "edit/selection.h"
#include "support/ParseFixture.h"

using namespace kerbon;

TEST(Selection, InsertsAreCaughtWhereTheirBlockIsDrawn)
{
    // Block B: an L from its base point (10, 0) to (12, 0) to (12, 1). Inserted at
    // (100, 50), turned by 90 and doubled, it shows (100, 50), (100, 54), (98, 54); the
    // unplaced block would lie at (10, 0) ... (12, 1). The second insert is an array of
    // three columns 10 apart of the plain block at (200, 0).
    model::DisplayModel m = test::parsed(
        "0|SECTION|2|BLOCKS|0|BLOCK|2|B|10|10|20|0|"
        "0|LWPOLYLINE|8|0|90|3|10|10|20|0|10|12|20|0|10|12|20|1|0|ENDBLK|0|ENDSEC|" +
        test::entitiesOnly("0|INSERT|8|0|2|B|10|100|20|50|41|2|42|2|50|90|"
                           "0|INSERT|8|0|2|B|10|200|20|0|70|3|44|10"));
    const LayoutFilter f = currentLayoutFilter(m, 0);
    // Ten pixels per drawing unit: pixel (10 x, 1999 - 10 y).
    view::ViewState v;
    v.zoomedvalue = 1000;
    v.scrollx = v.scrolly = 0;
    v.W = 3000;
    v.H = 2000;
    auto px = [](double x) { return 10 * x; };
    auto py = [](double y) { return 1999 - 10 * y; };
    PickIndex index;
    index.build(m);
    struct Case { const char* name; bool window; double x1, y1, x2, y2; bool first, second; };
    const Case cases[] = {
        {"window round the far corner only", true, 97, 53, 99, 55, true, false},
        {"window where the unplaced block lies", true, 9, -1, 13, 2, false, false},
        {"pick on the turned leg", false, 99, 54.05, 0, 0, true, false},
        {"pick on the unplaced block", false, 11, 0, 0, 0, false, false},
        {"pick on the third cell of the array", false, 221, 0, 0, 0, false, true},
        {"window round the third cell only", true, 221.5, -1, 222.5, 2, false, true},
    };
    for (const Case& c : cases) {
        for (PickIndex* with : {static_cast<PickIndex*>(nullptr), &index}) {
            SCOPED_TRACE(std::string(c.name) + (with ? " (index)" : ""));
            selectNone(m);
            if (c.window)
                MassSelect(m, f, v, px(c.x1), py(c.y1), px(c.x2), py(c.y2), false);
            else
                pickAt(m, f, v, px(c.x1), py(c.y1), false, with);
            EXPECT_EQ(m.polys[1].selected, c.first);
            EXPECT_EQ(m.polys[2].selected, c.second);
        }
    }
}
