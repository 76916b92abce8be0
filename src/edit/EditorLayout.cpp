// The editor's layout commands: viewports (by hand and on entering an empty layout tab),
// the page set-up dialog and the print command.
#include <utility>

#include "edit/Editor.h"
#include "edit/Viewport.h"

namespace kerbon {

WriteStatus Editor::AddViewport(double cx, double cy, double widx, double widy, double panx,
                                double pany, double viewheight, bool mustbenr1)
{
    ViewportValues v;
    v.mitteX = cx, v.mitteY = cy, v.breite = widx, v.hoehe = widy;
    v.inhaltX = panx, v.inhaltY = pany, v.heiCont = viewheight;
    return insertWritten(viewportText(writeContext(), v, mustbenr1));
}

WriteStatus Editor::ViewportAdden(bool showconfig, bool mustbenr1)
{
    ViewportValues v = viewportDefaults(model, page);
    if (showconfig)
        ui.viewportDialog(v);
    return AddViewport(v.mitteX, v.mitteY, v.breite, v.hoehe, v.inhaltX, v.inhaltY, v.heiCont,
                       mustbenr1);
}

void Editor::addMissingViewports()
{
    const MissingViewports missing = missingViewports(model, view.tabindex);
    // The user only switched tabs: a drawing with no place for them gets none, silently.
    for (bool sheet : {true, false}) {
        if (!(sheet ? missing.sheet : missing.view))
            continue;
        Written w = viewportText(writeContext(), viewportDefaults(model, page), sheet);
        if (w.wrote())
            applyEdits(std::move(w.edits));
    }
}

PageDialogResult Editor::Seiteeinrichten1Click()
{
    const PageDialogResult r = ui.pageDialog(page);
    if (r == PageDialogResult::Preview)
        display.printPreview = true;
    repaint();
    return r;
}

std::string Editor::printTitle() const
{
    return messageText(11);
}

}  // namespace kerbon
