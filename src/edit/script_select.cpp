// Script commands for the selection, deletion, undo, the layout tab shown and the size of
// the drawing area.
#include "edit/Editor.h"
#include "edit/script.h"

namespace kerbon::script {

namespace {

const char* const selectUsage = "select all | none | window X1 Y1 X2 Y2 | pick X Y";

// The area pixel a click at drawing point (x, y) gives: the view is zoomed to the extents
// of the current tab first, as after opening the drawing. The tab's remembered view is
// left as it was.
ScreenPos clickAt(Editor& ed, double x, double y)
{
    const bool storing = ed.view.donotstorenow;
    ed.view.donotstorenow = true;
    ed.ZoomFullIn();
    ed.view.donotstorenow = storing;
    return roundedScreen(ed.view, x, y);
}

bool select(Editor& ed, Args& a)
{
    if (a.is(0, "all") && a.expect(1, selectUsage)) {
        ed.AllesAuswhlen1Click();
    } else if (a.is(0, "none") && a.expect(1, selectUsage)) {
        ed.Nichtsauswhlen1Click();
    } else if (a.is(0, "window") && a.expect(5, selectUsage)) {
        const double x1 = a.number(1), y1 = a.number(2), x2 = a.number(3), y2 = a.number(4);
        if (a.failed())
            return false;
        const ScreenPos p1 = clickAt(ed, x1, y1), p2 = clickAt(ed, x2, y2);
        ed.MassSelect(p1.x, p1.y, p2.x, p2.y, false);
    } else if (a.is(0, "pick") && a.expect(3, selectUsage)) {
        const double x = a.number(1), y = a.number(2);
        if (a.failed())
            return false;
        const ScreenPos p = clickAt(ed, x, y);
        ed.pick(p.x, p.y, false);
    } else {
        a.fail(std::string("expected ") + selectUsage);
        return false;
    }
    return !a.failed();
}

}  // namespace

void addSelectCommands(CommandTable& t)
{
    t.add({"select", selectUsage, select});
    t.add({"delete", "delete", [](Editor& ed, Args& a) {
               if (!a.expect(0, "delete"))
                   return false;
               ed.Loeschen();  // nothing selected: nothing to do
               return true;
           }});
    t.add({"undo", "undo", [](Editor& ed, Args& a) {
               if (!a.expect(0, "undo"))
                   return false;
               ed.Rckgngig1Click();  // nothing left to undo: nothing to do
               return true;
           }});
    t.add({"tab", "tab N", [](Editor& ed, Args& a) {
               if (!a.expect(1, "tab N"))
                   return false;
               const int n = a.integer(0);
               const int tabs = ed.model.layouts.empty() ? 2 : int(ed.model.layouts.size());
               if (!a.failed() && (n < 0 || n >= tabs))
                   a.fail("no tab " + std::to_string(n) + " (the drawing has " +
                          std::to_string(tabs) + ")");
               if (a.failed())
                   return false;
               ed.TabControl1Change(n);
               return true;
           }});
    t.add({"view", "view W H", [](Editor& ed, Args& a) {
               if (!a.expect(2, "view W H"))
                   return false;
               const int w = a.integer(0), h = a.integer(1);
               if (!a.failed() && (w < 1 || h < 1 || w > 100000 || h > 100000))
                   a.fail("the drawing area must be 1 to 100000 pixels wide and high");
               if (a.failed())
                   return false;
               ed.setAreaSize(w, h);
               return true;
           }});
}

}  // namespace kerbon::script
