// Presses, releases and double clicks in the drawing area: what a press means in each tool
// state, the drags of the selection and of a grip, and the double click on a text.
#include <cmath>

#include "edit/Editor.h"
#include "edit/ToolState.h"

namespace kerbon {

ToolState::Pixel ToolState::screen(double x, double y) const
{
    Pixel p;
    ed.view.DXF2Bildschirm(x, y, p.x, p.y);
    return p;
}

ToolState::Taken ToolState::drawingPoint(double X, double Y) const
{
    if (useexact)  // the typed point itself, not its round trip through the view
        return {exactpx, exactpy};
    Taken t;
    ed.view.Bildschirm2DXF(X, Y, t.x, t.y);
    return t;
}

void ToolState::showMarker(const SnapResult& r)
{
    remove.insert(remove.end(), r.marker.begin(), r.marker.end());
}

ToolState::Taken ToolState::takePoint(double rx, double ry, double& X, double& Y, bool ctrl)
{
    removeall();
    if (useexact)
        return drawingPoint(X, Y);
    const Pixel r = screen(rx, ry);
    const SnapResult s = ed.SnapPoints(r.x, r.y, X, Y, ctrl);
    X = s.x;
    Y = s.y;
    if (s.setted) {
        showMarker(s);
        return {s.ex, s.ey};
    }
    return drawingPoint(X, Y);
}

ToolState::Taken ToolState::firstPoint(double X, double Y, bool ctrl)
{
    if (useexact)
        return drawingPoint(X, Y);
    const SnapResult s = ed.SnapPoints(X, Y, X, Y, ctrl);
    if (s.setted) {
        showMarker(s);
        return {s.ex, s.ey};
    }
    return drawingPoint(s.x, s.y);
}

void ToolState::syncModel()
{
    if (ed.reparsePending())
        ed.finishPendingReparse();
}

// The dimension line, the elliptical arc's parameters and the tangent arc's bulge are
// what the rubber band shows at the press position. A typed press has no mouse move
// before it, and a press need not lie where the last move was: they are computed again.
void ToolState::computeForPress(double X, double Y, bool ctrl)
{
    const bool dimension = indim && ellipsemode != 0;
    const bool ellipseArc = inellipse && (ed.arcmode == 1 || ed.arcmode == 3) && ellipsemode >= 3;
    const bool bulge = inpoly && ed.arcmode == 0 && addmode == 1 && !ed.polyline0.empty();
    if (!dimension && !ellipseArc && !bulge)
        return;
    Pixel m{exactx, exacty};
    if (!useexact) {
        const Pixel s = bulge ? screen(ed.polyline0.back().x, ed.polyline0.back().y)
                              : screen(linesx, linesy);
        m = snapMouse(s.x, s.y, X, Y, ctrl);
    }
    if (dimension)
        dimensionAt(m);
    else if (ellipseArc)
        ellipseParameters(m);
    else
        tangentBulge(m);
}

PressAnswer ToolState::PaintBox1MouseDown(const MouseEvent& e)
{
    syncModel();
    double X = useexact ? exactx : e.x;
    double Y = useexact ? exacty : e.y;
    const bool right = e.button == MouseButton::Right;
    Editor& E = ed;

    // A right press ends the selection phase of an edit command.
    if (right) {
        const struct {
            bool& select;
            bool& line;
        } phases[] = {{incopyselect, incopyline},
                      {inmoveselect, inmoveline},
                      {inrotateselect, inrotateline},
                      {inscaleselect, inscaleline},
                      {inmirrorselect, inmirrorline}};
        for (const auto& p : phases)
            if (p.select) {
                p.line = true;
                cursor = ToolCursor::Crosshair;
                ellipsemode = 0;
                p.select = false;
                return PressAnswer::Done;
            }
        if (inarrayselect) {
            cursor = ToolCursor::Cross;
            inarrayselect = false;
            E.MakeArray();
            return PressAnswer::Done;
        }
        if (indelselect) {
            E.Loeschen();
            indelselect = false;
            return PressAnswer::Done;
        }
    } else {
        computeForPress(X, Y, e.ctrl);
    }

    // The point phase of an edit command: base point, then target.
    if (incopyline || inmoveline || inrotateline || inscaleline || inmirrorline) {
        bool& flag = incopyline    ? incopyline
                     : inmoveline  ? inmoveline
                     : inrotateline ? inrotateline
                     : inscaleline ? inscaleline
                                   : inmirrorline;
        if (right) {
            flag = false;
            cursor = ToolCursor::Crosshair;
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        if (ellipsemode != 0) {
            if (incopyline)
                E.CopyObjects(p.x - linesx, p.y - linesy, false);
            else if (inmoveline)
                E.MoveObjects(p.x - linesx, p.y - linesy);
            else
                E.RotateObjects(linesx, linesy, p.x, p.y, inrotateline ? 0 : inmirrorline ? 1 : 2);
            flag = false;
            removeall();
            return PressAnswer::Done;
        }
        linesx = p.x;
        linesy = p.y;
        ++ellipsemode;
        if (inrotateline && rotateByKeyboard) {
            E.rotateByDialog(linesx, linesy);
            inrotateline = false;
        } else if (inscaleline && scaleByKeyboard) {
            E.scaleByDialog(linesx, linesy);
            inscaleline = false;
        }
        return PressAnswer::Done;
    }

    view::ViewState& v = E.view;
    if (v.inzoom || v.inhand) {
        v.mouseDown(X, Y, right);
        if (right)
            cursor = ToolCursor::Crosshair;
        return PressAnswer::Done;
    }
    if (inmassselect) {  // any button closes the window
        inmassselect = false;
        removeall();
        const Pixel s = screen(linesx, linesy);
        E.MassSelect(s.x, s.y, X, Y, e.shift);
        removeall();
        return PressAnswer::Done;
    }

    // A construction that has its first point.
    if (incircle) {
        if (right) {
            incircle = false;
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        if (E.arcmode == 1 && ellipsemode == 0) {
            linesx2 = p.x;
            linesy2 = p.y;
            ++ellipsemode;
            return PressAnswer::Done;
        }
        if (E.arcmode == 1)
            E.AddCircleDurch3Punkte(linesx, linesy, 0, linesx2, linesy2, 0, p.x, p.y, 0);
        else if (E.arcmode == 3)
            E.AddCircle((linesx + p.x) / 2, (linesy + p.y) / 2, 0, p.x, p.y, 0);
        else if (E.arcmode == 5)
            E.AddPolyGon(linesx, linesy, 0, p.x, p.y, 0);
        else
            E.AddCircle(linesx, linesy, 0, p.x, p.y, 0);
        incircle = false;
        removeall();
        return PressAnswer::Done;
    }
    if (inellipse) {
        if (right) {
            inellipse = false;
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        const bool arc = E.arcmode == 1 || E.arcmode == 3;
        if (ellipsemode == 0) {
            linesx2 = p.x, linesy2 = p.y;
        } else if (!arc) {
            E.AddEllipse(linesx, linesy, 0, linesx2, linesy2, 0, p.x, p.y, 0);
        } else if (ellipsemode == 1) {
            E.linesx3 = p.x, E.linesy3 = p.y;
        } else if (ellipsemode == 2) {
            E.linesx4 = p.x, E.linesy4 = p.y;
        } else {  // the end: its parameter comes from the rubber band
            E.AddEllipse(linesx, linesy, 0, linesx2, linesy2, 0, E.linesx3, E.linesy3, 0);
        }
        if (ellipsemode == 0 || (arc && ellipsemode < 3)) {
            ++ellipsemode;
        } else {
            inellipse = false;
            removeall();
        }
        return PressAnswer::Done;
    }
    if (insolid) {
        if (right) {  // three corners make a three-corner solid
            insolid = false;
            if (ellipsemode == 2)
                E.AddSolid(linesx, linesy, 0, linesx2, linesy2, 0, E.linesx3, E.linesy3, 0,
                           E.linesx3, E.linesy3, 0);
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        if (ellipsemode == 0) {
            linesx2 = p.x, linesy2 = p.y;
        } else if (ellipsemode == 1) {
            E.linesx3 = p.x, E.linesy3 = p.y;
        } else {
            E.AddSolid(linesx, linesy, 0, linesx2, linesy2, 0, E.linesx3, E.linesy3, 0, p.x, p.y, 0);
            insolid = false;
            removeall();
            return PressAnswer::Done;
        }
        ++ellipsemode;
        return PressAnswer::Done;
    }
    if (indim) {
        if (right) {
            indim = false;
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        if (ellipsemode == 0) {
            linesx2 = p.x, linesy2 = p.y;
            ++ellipsemode;
            return PressAnswer::Done;
        }
        // Two measured points that coincide have no dimension line: nothing is written.
        if (linesx != linesx2 || linesy != linesy2)
            E.AddDimension(linesx, linesy, 0, linesx2, linesy2, 0, p.x, p.y, 0, E.linesx3,
                           E.linesy3, E.linesz3);
        indim = false;
        removeall();
        return PressAnswer::Done;
    }
    if (inpoly) {
        if (right) {
            if (E.arcmode == 1) {
                Fertig1Click();
                return PressAnswer::Done;
            }
            return PressAnswer::OpenPopup;
        }
        removeall();
        if (E.polyline0.empty()) {  // nothing collected any more: the tool has ended
            inpoly = false;
            return PressAnswer::Done;
        }
        const model::Tmypoi last = E.polyline0.back();
        const Taken p = takePoint(last.x, last.y, X, Y, e.ctrl);
        model::Tmypoi v0;
        v0.x = p.x;
        v0.y = p.y;
        E.polyline0.push_back(v0);
        // The tangent clicks belong to the spline tool only.
        if (E.arcmode == 2 && E.splinemode == 1) {
            E.splinemode = 2;
        } else if (E.arcmode == 2 && E.splinemode == 2) {
            inpoly = false;
            if (E.polyline0.size() >= 2)
                E.AddSPLINE(splineshouldclose);
            E.splinemode = 0;
            removeall();
        }
        return PressAnswer::Done;
    }
    if (inarc) {
        if (right) {
            inarc = false;
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        if (ellipsemode != 0) {
            E.AddArc(linesx, linesy, 0, linesx2, linesy2, 0, p.x, p.y, 0);
            inarc = false;
            removeall();
        } else {
            linesx2 = p.x, linesy2 = p.y;
            ++ellipsemode;
        }
        return PressAnswer::Done;
    }
    if (inlin) {
        if (right) {
            inlin = inarrow = false;
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        E.AddLine(linesx, linesy, 0, p.x, p.y, 0);
        if (inarrow)
            E.AddArrowToLine(linesx, linesy, p.x, p.y);
        removeall();
        inarrow = false;
        if (E.arcmode == 0) {  // the chain goes on from the pixel that was clicked
            const Taken next = drawingPoint(X, Y);
            linesx = next.x, linesy = next.y;
        }
        return PressAnswer::Done;
    }
    if (inrec) {
        if (right) {
            inrec = false;
            removeall();
            return PressAnswer::Done;
        }
        const Taken p = takePoint(linesx, linesy, X, Y, e.ctrl);
        E.AddRectangle(linesx, linesy, p.x, p.y);
        removeall();
        inrec = false;
        return PressAnswer::Done;
    }

    // The first press of an armed drawing tool.
    auto start = [&](bool& flag) {
        flag = true;
        removeall();
        const Taken p = firstPoint(X, Y, e.ctrl);
        linesx = p.x, linesy = p.y;
        down = ToolButton::None;
    };
    switch (down) {
    case ToolButton::EllipseBtn:
        ellipsemode = 0;
        start(inellipse);
        return PressAnswer::Done;
    case ToolButton::SolidBtn:
        ellipsemode = 0;
        start(insolid);
        return PressAnswer::Done;
    case ToolButton::TextBtn: {
        const Taken p = firstPoint(X, Y, e.ctrl);
        E.textValues.text.clear();
        if (E.ui.textDialog(E.textValues, false))
            E.AddText(p.x, p.y, 0, E.textValues.fontsize);
        down = ToolButton::None;
        return PressAnswer::Done;
    }
    case ToolButton::PenBtn:
        if (right) {
            down = ToolButton::None;
            return PressAnswer::Done;
        }
        [[fallthrough]];
    case ToolButton::PolyLineBtn:
    case ToolButton::SplineBtn: {
        inpoly = true;
        removeall();
        const Taken p = firstPoint(X, Y, e.ctrl);
        model::Tmypoi v0;
        v0.x = p.x;
        v0.y = p.y;
        E.polyline0.assign(1, v0);
        down = ToolButton::None;
        return PressAnswer::Done;
    }
    case ToolButton::CircleBtn:
        ellipsemode = 0;
        start(incircle);
        return PressAnswer::Done;
    case ToolButton::ArcBtn:
        start(inarc);
        return PressAnswer::Done;
    case ToolButton::RectangleBtn:
        start(inrec);
        return PressAnswer::Done;
    case ToolButton::DimensionBtn:
        ellipsemode = 0;
        E.arcmode = 0;
        start(indim);
        return PressAnswer::Done;
    case ToolButton::PointBtn:
        if (right) {
            down = ToolButton::None;
        } else {
            const Taken p = firstPoint(X, Y, e.ctrl);
            linesx = p.x, linesy = p.y;
            E.AddPoint(linesx, linesy, 0);
        }
        return PressAnswer::Done;
    case ToolButton::ArrowBtn:
        inarrow = true;
        E.arcmode = 0;
        start(inlin);
        return PressAnswer::Done;
    case ToolButton::LineBtn:
        start(inlin);
        return PressAnswer::Done;
    case ToolButton::None: break;
    }

    // Nothing armed: the left button picks.
    if (e.button != MouseButton::Left)
        return PressAnswer::Done;
    const PickResult r = E.pick(X, Y, e.shift);
    switch (r.outcome) {
    case PickOutcome::GripDrag:
        inmovepoint = true;
        movepointnr = r.movepointnr;
        moveobjnr = r.moveobjnr;
        movestartx = X, movestarty = Y;
        linesx = r.linesx, linesy = r.linesy;
        dragparse = E.model.parsecount;
        break;
    case PickOutcome::MoveDrag: {
        inmove = true;
        movestartx = X, movestarty = Y;
        const Taken p = drawingPoint(X, Y);
        linesx = p.x, linesy = p.y;
        dragparse = E.model.parsecount;
        break;
    }
    case PickOutcome::SelectionChanged: break;  // the pick has repainted
    case PickOutcome::NothingHit: {
        inmassselect = true;
        const Taken p = drawingPoint(X, Y);
        linesx = p.x, linesy = p.y;
        break;
    }
    }
    return PressAnswer::Done;
}

void ToolState::PaintBox1MouseUp(const MouseEvent& e)
{
    syncModel();
    view::ViewState& v = ed.view;
    if (inpoly && ed.arcmode == 1) {  // a freehand stroke ends; the pen is ready again
        Fertig1Click();
        down = ToolButton::PenBtn;
        return;
    }
    if (v.inzoom) {
        v.inzoomit = false;
        return;
    }
    if (v.inhand) {
        v.inpan = false;
        return;
    }
    if (!inmove && !inmovepoint)
        return;
    const bool grip = inmovepoint;
    const bool moved = e.x != movestartx || e.y != movestarty;
    const bool viewportDialog = grip && moveobjnr >= 0 && moveobjnr < ed.model.anzpoly &&
                                ed.model.polys[size_t(moveobjnr)].isviewport && movepointnr == 7;
    inmove = inmovepoint = false;
    // A drag whose objects were parsed anew meanwhile (an undo, a deletion) has nothing
    // left to act on: its object and vertex numbers name other lines now.
    if ((!moved && !viewportDialog) || ed.model.parsecount != dragparse)
        return;
    // The displacement: from the press's drawing point to the release pixel (snapped), in
    // whole pixels scaled to drawing units.
    const SnapResult s = ed.SnapPoints(e.x, e.y, e.x, e.y, e.ctrl);
    Taken target{s.ex, s.ey};
    if (!s.setted)
        ed.view.Bildschirm2DXF(e.x, e.y, target.x, target.y);
    if (target.x == linesx && target.y == linesy && !viewportDialog)
        return;
    const Pixel from = screen(linesx, linesy);
    removeall();
    const double z = v.zoomedvalue;
    const double dx = (s.x - from.x) * 100 / z, dy = -(s.y - from.y) * 100 / z;
    if (grip) {
        linesx2 = target.x, linesy2 = target.y;
        ed.MovePoint(moveobjnr, movepointnr, dx, dy, linesx2, linesy2);
    } else {
        ed.MoveObjects(dx, dy);
    }
}

// The first selected text object of the layout shown whose insertion point lies, at its
// rounded pixel, within 5 pixels of the last mouse position on both axes; -1 if none.
int ToolState::textAtLastMouse() const
{
    const LayoutFilter f = ed.layoutFilter();
    const model::DisplayModel& m = ed.model;
    for (int i = 0; i < m.anzpoly; ++i) {
        const model::tpoly& p = m.polys[size_t(i)];
        if (p.textstr.empty() || !p.selected || p.ps.empty() || p.ps[0].linex <= 0 ||
            !f.passes(p))
            continue;
        const ScreenPos s = roundedScreen(ed.view, p.ps[0].x, p.ps[0].y);
        if (std::abs(s.x - lastmousex) <= 5 && std::abs(s.y - lastmousey) <= 5)
            return i;
    }
    return -1;
}

void ToolState::PaintBox1DblClick()
{
    syncModel();
    const int i = textAtLastMouse();
    if (i < 0)
        return;
    removeall();
    ed.ChangeText(i);
    SetAlltoFalse();
}

}  // namespace kerbon
