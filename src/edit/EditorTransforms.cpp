// The editor's transforms of the selection: move, copy, rotate, mirror, scale, array and
// the grip edits, each through the one road of edits.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "edit/AddToLayout.h"
#include "edit/Editor.h"
#include "edit/grips.h"

namespace kerbon {

namespace {

// Copies of an array beyond this many lines in all are refused: the document could not
// hold them.
constexpr double kMaxArrayLines = 50e6;

bool finite(std::initializer_list<double> values)
{
    for (double v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

}  // namespace

std::string Editor::transformStatusText(TransformStatus s) const
{
    switch (s) {
    case TransformStatus::NotFinite:
        return translate("Ein Wert ist keine endliche Zahl. Es wurde nichts geändert.");
    case TransformStatus::ZeroMirrorLine:
        return translate("Die beiden Punkte der Spiegelachse fallen zusammen. Es wurde nichts "
                         "gespiegelt.");
    case TransformStatus::ZeroScale:
        return translate("Der Skalierungsfaktor ist 0. Es wurde nichts skaliert.");
    case TransformStatus::NoPlace: return writeStatusText(WriteStatus::NoPlace);
    case TransformStatus::NoHandles:
        return translate("Die Zeichnung hat keine freien Handles mehr. Es wurde nichts kopiert.");
    case TransformStatus::TooLarge:
        return translate("So viele Kopien kann die Zeichnung nicht aufnehmen. Es wurde nichts "
                         "kopiert.");
    case TransformStatus::Ok:
    case TransformStatus::Cancelled: break;
    }
    return {};
}

// Tells the user why nothing was changed; returns the status.
static TransformStatus refused(const Editor& ed, TransformStatus s)
{
    const std::string text = ed.transformStatusText(s);
    if (!text.empty())
        ed.ui.messageBox(text, "", MsgIcon::Error, MsgButtons::Ok);
    return s;
}

TransformStatus Editor::MoveObjects(double dx, double dy)
{
    if (!finite({dx, dy}))
        return refused(*this, TransformStatus::NotFinite);
    return transformSelection(Transform::move(dx, dy));
}

TransformStatus Editor::RotateObjects(double dx, double dy, double ex, double ey, int modex)
{
    if (!finite({dx, dy, ex, ey}))
        return refused(*this, TransformStatus::NotFinite);
    if (modex == 1 && ex == dx && ey == dy)
        return refused(*this, TransformStatus::ZeroMirrorLine);
    const Transform t = Transform::about(dx, dy, ex, ey, modex);
    if (modex == 2 && t.s == 0)
        return refused(*this, TransformStatus::ZeroScale);
    if (!finite({t.s, t.turn}))
        return refused(*this, TransformStatus::NotFinite);
    return transformSelection(t);
}

TransformStatus Editor::transformSelection(const Transform& t)
{
    const std::vector<int> objects = operandObjects(model, layoutFilter(), false);
    TransformEdits r = transformObjects(dxf, model, objects, t);
    if (!r.finite)
        return refused(*this, TransformStatus::NotFinite);
    const size_t first = undos.size();
    recordEdits(std::move(r.edits), true);
    recordEdits(std::move(r.added));  // the extrusion a mirror adds: a step of its own
    if (!objects.empty()) {
        reparseAfterSteps(first);
        repaint();
    }
    return TransformStatus::Ok;
}

TransformStatus Editor::CopyObjects(double dx, double dy, bool donotprocess)
{
    if (!finite({dx, dy}))
        return refused(*this, TransformStatus::NotFinite);
    const std::vector<int> objects = operandObjects(model, layoutFilter(), true);
    if (objects.empty())
        return TransformStatus::Ok;  // nothing to copy
    const int place = AddToLayout(model, view.tabindex, false).insertlinepos;
    if (place < 0)
        return refused(*this, TransformStatus::NoPlace);
    CopiedText c = copyObjects(dxf, model, objects, dx, dy, model.maxhandle);
    if (!c.finite)
        return refused(*this, TransformStatus::NotFinite);
    if (!c.handlesLeft)
        return refused(*this, TransformStatus::NoHandles);
    recordEdits(InsertCode(model, place, std::move(c.lines), c.lasthandle));
    if (!donotprocess) {
        reparseAfter(undos.back());
        repaint();
    }
    return TransformStatus::Ok;
}

TransformStatus Editor::MakeArray()
{
    if (!ui.arrayDialog(arrayValues))
        return TransformStatus::Cancelled;
    const ArrayValues& v = arrayValues;
    const double rho = v.rotieren * std::numbers::pi / 180;
    if (!finite({v.spaltenAbstand, v.zeilenAbstand, rho}))
        return refused(*this, TransformStatus::NotFinite);
    const std::vector<int> objects = operandObjects(model, layoutFilter(), true);
    const int place = AddToLayout(model, view.tabindex, false).insertlinepos;
    if (!objects.empty() && place < 0)
        return refused(*this, TransformStatus::NoPlace);

    // Every copy is taken from the selected objects as they are now, and goes after the
    // copies before it, each as its own step.
    std::vector<CopiedText> copies;
    int32_t last = model.maxhandle;
    const double count = double(std::max(v.spalten, 0)) * double(std::max(v.zeilen, 0)) - 1;
    for (int i = 0; i < v.spalten && !objects.empty(); ++i)
        for (int j = 0; j < v.zeilen; ++j) {
            if (i == 0 && j == 0)
                continue;
            const double a = v.spaltenAbstand * i, c = v.zeilenAbstand * j;
            CopiedText copy = copyObjects(dxf, model, objects, a * std::cos(rho) - c * std::sin(rho),
                                          a * std::sin(rho) + c * std::cos(rho), last);
            if (!copy.finite)
                return refused(*this, TransformStatus::NotFinite);
            if (!copy.handlesLeft)
                return refused(*this, TransformStatus::NoHandles);
            if (copies.empty() && double(copy.lines.size()) * count > kMaxArrayLines)
                return refused(*this, TransformStatus::TooLarge);
            last = copy.lasthandle;
            copies.push_back(std::move(copy));
        }
    const size_t first = undos.size();
    int pos = place;
    const int seed = model.handleseedpos;
    for (CopiedText& copy : copies) {
        const int n = int(copy.lines.size());
        EditSet set;
        set.insert(pos, std::move(copy.lines));
        if (seed != -1)  // the header normally lies before the entities
            set.replace(seed < place ? seed : seed + (pos - place), handleText(copy.lasthandle + 1));
        recordEdits(std::move(set));
        pos += n;
    }
    reparseAfterSteps(first);
    repaint();
    return TransformStatus::Ok;
}

TransformStatus Editor::MovePoint(int objnr, int pointnr, double dx, double dy, double ex,
                                  double ey)
{
    if (!finite({dx, dy, ex, ey}))
        return refused(*this, TransformStatus::NotFinite);
    if (objnr < 0 || objnr >= std::min(model.anzpoly, int(model.polys.size()))) {
        recordEdits({}, true);  // the step is made all the same
        return TransformStatus::Ok;
    }
    const model::tpoly& p = model.polys[size_t(objnr)];
    const bool viewport = p.isviewport && p.viewid != 1;
    GripEdits g;
    if (viewport) {
        ViewportFrame f = draggedViewport(p, pointnr, dx, dy);
        if (pointnr == 7) {  // the grip below the centre: every value in the dialog
            ViewportValues v{f.w, f.h, f.cx, f.cy, f.panx, f.pany, f.viewheight};
            ui.viewportDialog(v);
            f = {v.breite, v.hoehe, v.mitteX, v.mitteY, v.inhaltX, v.inhaltY, v.heiCont};
        }
        g = viewportEdits(dxf, p, pointnr, f);
    } else {
        g = pointGripEdits(dxf, p, pointnr, dx, dy, ex, ey);
    }
    if (!g.finite)
        return refused(*this, TransformStatus::NotFinite);
    if (!viewport && (pointnr < 0 || pointnr >= p.anzp)) {
        recordEdits({}, true);
        return TransformStatus::Ok;
    }
    // A viewport stays selected, so that its other grips can be dragged next: the step
    // replaces lines only, so the objects keep their places in the model.
    std::vector<bool> selection;
    if (viewport)
        for (int i = 0; i < model.anzpoly; ++i)
            selection.push_back(model.polys[size_t(i)].selected);
    recordEdits(std::move(g.edits), true);
    reparseAfter(undos.back());
    for (size_t i = 0; i < selection.size() && i < size_t(model.anzpoly); ++i)
        model.polys[i].selected = selection[i];
    repaint();
    return TransformStatus::Ok;
}

TransformStatus Editor::rotateByDialog(double cx, double cy)
{
    ui.rotationDialog(rotationValues);  // the angle is applied however the dialog closes
    const double a = rotationValues.rot * std::numbers::pi / 180;
    if (!finite({a}))
        return refused(*this, TransformStatus::NotFinite);
    return RotateObjects(cx, cy, cx + std::cos(a), cy - std::sin(a), 0);  // clockwise
}

TransformStatus Editor::scaleByDialog(double cx, double cy)
{
    ui.scaleDialog(scaleValues);  // the factor is applied however the dialog closes
    const double f = scaleValues.skal / 100;
    if (!finite({f}))
        return refused(*this, TransformStatus::NotFinite);
    return RotateObjects(cx, cy, cx + f, cy, 2);
}

}  // namespace kerbon
