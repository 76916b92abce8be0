// The editor's one road for changes: applying edit sets as undo steps, undo, deletion of
// the selection, and what every writer shares (its context, applying its result, the
// words for a refusal). The writers themselves are in EditorWriters.cpp.
#include <algorithm>
#include <utility>

#include "edit/Editor.h"
#include "edit/LayoutFilter.h"
#include "edit/ObjectLines.h"

namespace kerbon {

namespace {

// The first line a step changed, a change of the $HANDSEED value line aside (the re-parse
// reads that line again in any case).
int firstChangedLine(const tundo& step, int handleseedpos, int lineCount)
{
    int first = lineCount;
    for (const taction& a : step.actions)
        if (!(a.typ == 2 && a.start == handleseedpos))
            first = std::min(first, int(a.start));
    return first;
}

}  // namespace

void Editor::reparseAfter(const tundo& step)
{
    reparseFrom(firstChangedLine(step, model.handleseedpos, dxf.count()));
}

void Editor::reparseAfterSteps(size_t firstStep)
{
    int first = dxf.count();
    for (size_t i = firstStep; i < undos.size(); ++i)
        first = std::min(first, firstChangedLine(undos[i], model.handleseedpos, dxf.count()));
    reparseFrom(first);
}

void Editor::reparseFrom(int firstChanged)
{
    processdxfFrom(dxf, model, std::min(firstChanged, pendingFrom), parseObserver);
    pendingFrom = kNothingPending;
    // The records kept from before the change keep no selection either.
    for (int i = 0; i < model.anzpoly; ++i)
        model.polys[size_t(i)].selected = model.polys[size_t(i)].massselected = false;
}

bool Editor::recordEdits(EditSet set, bool keepEmptyStep)
{
    if (!validEdits(set, dxf.count()) || (set.empty() && !keepEmptyStep))
        return false;
    undos.push_back(applyEditSet(dxf, std::move(set)));
    if (!undos.back().actions.empty())
        pendingFrom = std::min(pendingFrom, firstChangedLine(undos.back(), model.handleseedpos,
                                                             dxf.count()));
    undoBtnEnabled = true;
    SetChanged();
    return true;
}

void Editor::finishPendingReparse()
{
    if (!reparsePending())
        return;
    reparseFrom(pendingFrom);
    repaint();
}

bool Editor::applyEdits(EditSet set, bool keepEmptyStep)
{
    if (!recordEdits(std::move(set), keepEmptyStep))
        return false;
    reparseAfter(undos.back());
    repaint();
    return true;
}

void Editor::Rckgngig1Click()
{
    if (undos.empty())
        return;
    undoStep(dxf, undos.back());
    reparseAfter(undos.back());
    undos.pop_back();
    undoBtnEnabled = !undos.empty();
    repaint();
    SetChanged();
}

void Editor::FreeUndos()
{
    undos.clear();
}

bool Editor::Loeschen()
{
    const LayoutFilter filter = currentLayoutFilter(model, view.tabindex);
    std::vector<LineSpan> spans;
    for (int i = model.anzpoly - 1; i >= 0; --i) {
        const model::tpoly& p = model.polys[size_t(i)];
        if (p.selected && filter.blockTest(p))
            spans.push_back(objectLines(dxf, p));
    }
    EditSet set;
    for (const LineSpan& s : mergeSpans(std::move(spans)))
        set.erase(s.from, s.count);
    return applyEdits(std::move(set));
}

// ---- writers ----

WriteContext Editor::writeContext() const
{
    return {model, AddToLayout(model, view.tabindex, false), layerForNewObjects()};
}

std::string Editor::writeStatusText(WriteStatus s) const
{
    switch (s) {
    case WriteStatus::FirstLineOnly: return messageText(36);
    case WriteStatus::NoSpline:      return messageText(10);
    case WriteStatus::NoEllipse:     return messageText(12);
    case WriteStatus::NoXline:       return messageText(13);
    case WriteStatus::NoRay:         return messageText(33);
    case WriteStatus::NoPlace:
        return translate("Die Zeichnung hat keinen ENTITIES-Abschnitt, in den neue Objekte "
                         "eingefügt werden können.");
    case WriteStatus::NotFinite:
        return translate("Ein Wert des Objekts ist keine endliche Zahl. Es wurde nicht "
                         "gezeichnet.");
    case WriteStatus::NoHandles:
        return translate("Die Zeichnung hat keine freien Handles mehr. Das Objekt wurde "
                         "nicht gezeichnet.");
    case WriteStatus::BadSize:
        return translate("Die Schriftgröße muss größer als 0 sein. Der Text wurde nicht "
                         "geschrieben.");
    case WriteStatus::ZeroAxis:
        return translate("Eine Achse der Ellipse hat die Länge 0. Die Ellipse wurde nicht "
                         "gezeichnet.");
    case WriteStatus::Ok:
    case WriteStatus::Collinear:     // nothing drawn, as the rubber band showed
    case WriteStatus::ZeroLength:
    case WriteStatus::TooFewPoints:
        break;
    }
    return {};
}

WriteStatus Editor::insertWritten(Written w)
{
    if (w.wrote() && !applyEdits(std::move(w.edits)))
        w.status = WriteStatus::NoPlace;  // the place the model named is not in the text
    const std::string text = writeStatusText(w.status);
    if (!text.empty())
        ui.messageBox(text, "", MsgIcon::Error, MsgButtons::Ok);
    return w.status;
}

}  // namespace kerbon
