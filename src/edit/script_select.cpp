// Script commands for the selection, deletion, undo and the layout tab shown.
#include "edit/Editor.h"
#include "edit/LayoutFilter.h"
#include "edit/script.h"
#include "edit/selection.h"

namespace kerbon::script {

namespace {

const char* const selectUsage = "select all | none | window X1 Y1 X2 Y2 | pick X Y";

// Pick distance: three pixels at the current zoom.
double pickTolerance(const Editor& ed)
{
    return 3 * 100 / (ed.view.zoomedvalue > 0 ? ed.view.zoomedvalue : 100);
}

bool select(Editor& ed, Args& a)
{
    const LayoutFilter f = currentLayoutFilter(ed.model, ed.view.tabindex);
    if (a.is(0, "all") && a.expect(1, selectUsage)) {
        selectAll(ed.model, f);
    } else if (a.is(0, "none") && a.expect(1, selectUsage)) {
        selectNone(ed.model);
    } else if (a.is(0, "window") && a.expect(5, selectUsage)) {
        const double x1 = a.number(1), y1 = a.number(2), x2 = a.number(3), y2 = a.number(4);
        if (a.failed())
            return false;
        selectWindow(ed.model, f, x1, y1, x2, y2);
    } else if (a.is(0, "pick") && a.expect(3, selectUsage)) {
        const double x = a.number(1), y = a.number(2);
        if (a.failed())
            return false;
        selectAt(ed.model, f, x, y, pickTolerance(ed));
    } else {
        a.fail(std::string("expected ") + selectUsage);
        return false;
    }
    ed.repaint();
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
}

}  // namespace kerbon::script
