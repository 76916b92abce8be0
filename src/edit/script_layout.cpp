// Script commands of the layouts: a viewport on the tab shown.
#include <cmath>

#include "edit/Editor.h"
#include "edit/Viewport.h"
#include "edit/script.h"

namespace kerbon::script {

namespace {

const char* const viewportUsage = "viewport X1 Y1 X2 Y2";

// The sheet rectangle between two corners; the view inside is the dialog's default.
bool viewport(Editor& ed, Args& a)
{
    if (!a.expect(4, viewportUsage))
        return false;
    const double x1 = a.number(0), y1 = a.number(1), x2 = a.number(2), y2 = a.number(3);
    if (a.failed())
        return false;
    if (x1 == x2 || y1 == y2) {
        a.fail("the viewport has no area");
        return false;
    }
    ViewportValues v;
    v.mitteX = (x1 + x2) / 2, v.mitteY = (y1 + y2) / 2;
    v.breite = std::fabs(x2 - x1), v.hoehe = std::fabs(y2 - y1);
    showWholeModel(ed.model, v);
    return wrote(a, ed.AddViewport(v.mitteX, v.mitteY, v.breite, v.hoehe, v.inhaltX, v.inhaltY,
                                   v.heiCont, false));
}

}  // namespace

void addLayoutCommands(CommandTable& t)
{
    t.add({"viewport", viewportUsage, viewport});
}

}  // namespace kerbon::script
