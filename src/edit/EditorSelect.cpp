// The editor's snapping and selection: the headless functions on the editor's model and
// view, with the pick index kept for the current parse.
#include "edit/Editor.h"

namespace kerbon {

LayoutFilter Editor::layoutFilter() const
{
    return currentLayoutFilter(model, view.tabindex);
}

void Editor::ensureLocked()
{
    if (lockedParse != model.parsecount) {
        markLocked(model);
        lockedParse = model.parsecount;
    }
}

PickIndex& Editor::currentPickIndex()
{
    ensureLocked();
    if (!pickIndex.current(model))
        pickIndex.build(model);
    return pickIndex;
}

SnapResult Editor::SnapPoints(double xx, double yy, double x, double y, bool ctrl)
{
    return kerbon::SnapPoints(model, layoutFilter(), view, xx, yy, x, y, ctrl,
                              &currentPickIndex());
}

PickResult Editor::pick(double X, double Y, bool shift)
{
    PickIndex& index = currentPickIndex();
    const PickResult r = pickAt(model, layoutFilter(), view, X, Y, shift, &index);
    if (r.outcome == PickOutcome::SelectionChanged)
        repaint();
    return r;
}

int Editor::MassSelect(double screenx1, double screeny1, double screenx2, double screeny2,
                       bool shift)
{
    ensureLocked();
    const int hits =
        kerbon::MassSelect(model, layoutFilter(), view, screenx1, screeny1, screenx2, screeny2, shift);
    if (hits > 0)
        repaint();
    return hits;
}

bool Editor::IsSelected() const
{
    return kerbon::IsSelected(model, layoutFilter());
}

void Editor::AllesAuswhlen1Click()
{
    ensureLocked();
    selectAll(model, layoutFilter());
    repaint();
}

void Editor::Nichtsauswhlen1Click()
{
    selectNone(model);
    repaint();
}

}  // namespace kerbon
