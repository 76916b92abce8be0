// The tool commands of the menus and tool bars, ending a tool, Escape, the right-click
// menu of the polyline and spline tools and the coordinate entry.
#include "edit/ToolState.h"

#include "edit/Editor.h"

namespace kerbon {

ToolState::ToolState(Editor& editor) : ed(editor) {}

void ToolState::SetAlltoFalse()
{
    removeall();
    inlin = inarrow = indim = inarrayselect = incopyline = inscaleline = inscaleselect = false;
    inmirrorselect = inmirrorline = inrotateline = inrotateselect = inmoveselect = false;
    inmoveline = inmove = inmovepoint = incopyselect = indelselect = false;
    ed.view.inhand = ed.view.inzoom = false;
    cursor = ToolCursor::Crosshair;
    inpoly = inellipse = insolid = inarc = inmassselect = incircle = inrec = false;
}

// A drawing of version 1010 or later; otherwise the user is told why the command does
// nothing.
bool ToolState::version1010(WriteStatus refusal)
{
    if (ed.model.cadver >= 1010)
        return true;
    ed.ui.messageBox(ed.writeStatusText(refusal), "", MsgIcon::Error, MsgButtons::Ok);
    return false;
}

// ---- drawing tools ----

void ToolState::LineBtnClick()
{
    SetAlltoFalse();
    ed.arcmode = 0;
    down = ToolButton::LineBtn;
}

void ToolState::Konstruktionslinie1Click()
{
    if (!version1010(WriteStatus::NoXline))
        return;
    SetAlltoFalse();
    ed.arcmode = 1;
    down = ToolButton::LineBtn;
}

void ToolState::Strahl1Click()
{
    if (!version1010(WriteStatus::NoRay))
        return;
    SetAlltoFalse();
    ed.arcmode = 2;
    down = ToolButton::LineBtn;
}

void ToolState::PolyLineBtnClick()
{
    SetAlltoFalse();
    ed.arcmode = 0;
    down = ToolButton::PolyLineBtn;
}

void ToolState::PenBtnClick()
{
    SetAlltoFalse();
    ed.arcmode = 1;
    addmode = 0;
    down = ToolButton::PenBtn;
}

void ToolState::PolyGonClick()
{
    ed.ui.polygonDialog(ed.polygonValues);  // the corner count is read however it closes
    SetAlltoFalse();
    ed.arcmode = 5;
    ellipsemode = 0;
    down = ToolButton::CircleBtn;
}

void ToolState::RectangleBtnClick()
{
    SetAlltoFalse();
    down = ToolButton::RectangleBtn;
}

void ToolState::ArcBtnClick()
{
    SetAlltoFalse();
    ed.arcmode = 0;
    ellipsemode = 0;
    down = ToolButton::ArcBtn;
}

void ToolState::N3PunkteStartEndeMitte1Click()
{
    ArcBtnClick();
    ed.arcmode = 3;
}

void ToolState::MittelpunktStart1Click()
{
    ArcBtnClick();
    ed.arcmode = 1;
}

void ToolState::CircleBtnClick()
{
    SetAlltoFalse();
    ed.arcmode = 0;
    ellipsemode = 0;
    down = ToolButton::CircleBtn;
}

void ToolState::MittelpunktDurchmesser1Click()
{
    CircleBtnClick();
    ed.arcmode = 2;
}

void ToolState::N2Punkte1Click()
{
    CircleBtnClick();
    ed.arcmode = 3;
}

void ToolState::N3Punkte1Click()
{
    CircleBtnClick();
    ed.arcmode = 1;
}

void ToolState::EllipseBtnClick()
{
    SetAlltoFalse();
    if (!version1010(WriteStatus::NoEllipse)) {
        down = ToolButton::None;  // the previous tool is ended and nothing is armed
        return;
    }
    ed.arcmode = 0;
    ellipsemode = 0;
    down = ToolButton::EllipseBtn;
}

void ToolState::Mittelpunkt1Click()
{
    EllipseBtnClick();
    if (down == ToolButton::EllipseBtn)
        ed.arcmode = 2;
}

void ToolState::Ellipsenbogen1Click()
{
    EllipseBtnClick();
    if (down == ToolButton::EllipseBtn)
        ed.arcmode = 1;
}

void ToolState::EllipsenbogenMittelpunkt1Click()
{
    EllipseBtnClick();
    if (down == ToolButton::EllipseBtn)
        ed.arcmode = 3;
}

void ToolState::SplineBtnClick()
{
    if (!version1010(WriteStatus::NoSpline))
        return;
    SetAlltoFalse();
    ed.arcmode = 2;
    ed.splinemode = 0;
    down = ToolButton::SplineBtn;
}

void ToolState::TextBtnClick()
{
    SetAlltoFalse();
    down = ToolButton::TextBtn;
}

void ToolState::DimensionBtnClick()
{
    SetAlltoFalse();
    down = ToolButton::DimensionBtn;
}

void ToolState::PointBtnClick()
{
    SetAlltoFalse();
    down = ToolButton::PointBtn;
}

void ToolState::SolidBtnClick()
{
    SetAlltoFalse();
    down = ToolButton::SolidBtn;
}

void ToolState::ArrowBtnClick()
{
    SetAlltoFalse();
    down = ToolButton::ArrowBtn;
}

// ---- edit commands ----

void ToolState::editCommand(bool& lineFlag, bool& selectFlag)
{
    SetAlltoFalse();
    if (ed.IsSelected()) {
        lineFlag = true;
        ellipsemode = 0;
        cursor = ToolCursor::Crosshair;
    } else {
        selectFlag = true;
        cursor = ToolCursor::Arrow;
    }
}

void ToolState::CopyBtnClick() { editCommand(incopyline, incopyselect); }
void ToolState::MoveBtnClick() { editCommand(inmoveline, inmoveselect); }
void ToolState::RotateBtnClick() { editCommand(inrotateline, inrotateselect); }
void ToolState::ScaleBtnClick() { editCommand(inscaleline, inscaleselect); }
void ToolState::MirrorBtnClick() { editCommand(inmirrorline, inmirrorselect); }

void ToolState::ArrayBtnClick()
{
    SetAlltoFalse();
    if (ed.IsSelected()) {
        ed.MakeArray();
    } else {
        inarrayselect = true;
        cursor = ToolCursor::Arrow;
    }
}

void ToolState::DelBtnClick()
{
    SetAlltoFalse();
    if (ed.IsSelected() && ed.Loeschen())
        return;
    indelselect = true;  // nothing was deleted: select what is to go
    cursor = ToolCursor::Arrow;
}

// ---- view tools ----

void ToolState::ZoomBtnClick()
{
    SetAlltoFalse();
    ed.view.startZoomTool();
    cursor = ToolCursor::Magnifier;
}

void ToolState::HandBtnClick()
{
    SetAlltoFalse();
    ed.view.startHandTool();
    cursor = ToolCursor::HandPoint;
}

// ---- Escape ----

bool ToolState::anyToolActive() const
{
    const view::ViewState& v = ed.view;
    return insolid || indim || inlin || inmassselect || incircle || inellipse || inarc ||
           inrec || v.inhand || v.inzoom || indelselect || incopyselect || incopyline ||
           inmoveselect || inmoveline || inrotateselect || inrotateline || inmirrorselect ||
           inmirrorline || inscaleselect || inscaleline || inarrayselect || inmove ||
           inmovepoint;
}

void ToolState::keyeditKeyDown(int key)
{
    if (key != 27)
        return;
    down = ToolButton::None;
    if (inpoly) {
        if (ed.arcmode == 2) {  // a spline goes on to its tangents, as with "Fertig"
            Fertig1Click();
            return;
        }
        inpoly = false;  // Escape finishes a polyline rather than discarding it
        removeall();
        if (ed.polyline0.size() >= 2)
            ed.AddPolyLine(false);
    } else if (!anyToolActive()) {
        ed.Nichtsauswhlen1Click();
    } else {
        SetAlltoFalse();
    }
}

// ---- the right-click menu of the polyline and spline tools ----

// "Fertig" (closed false) and "Linienzug schließen" (true): a polyline is written; a
// spline with at least three points goes on to its two tangent clicks (closed: with its
// first point once more), and is written when it is finished again.
void ToolState::finishCollected(bool closed)
{
    if (!inpoly)
        return;
    const size_t n = ed.polyline0.size();
    if (ed.arcmode != 2) {
        inpoly = false;
        if (n >= 2)
            ed.AddPolyLine(closed);
    } else if (ed.splinemode == 0) {
        if (n >= 3) {
            splineshouldclose = closed;
            ed.splinemode = 1;
            if (closed)
                ed.polyline0.push_back(ed.polyline0.front());
        } else {
            inpoly = false;
        }
    } else {
        inpoly = false;
        ed.splinemode = 0;
        if (n >= 2)
            ed.AddSPLINE(splineshouldclose);
    }
    removeall();
}

void ToolState::Fertig1Click() { finishCollected(false); }
void ToolState::Linienzugschlieen1Click() { finishCollected(true); }

void ToolState::setAddmode(int mode)
{
    addmode = mode;
    lastcalcbulge = 0;
    if (!ed.polyline0.empty())
        ed.polyline0.back().bulge = 0;
}

void ToolState::Kreisbogen2Click() { setAddmode(1); }
void ToolState::Linie2Click() { setAddmode(0); }

// ---- coordinate entry ----

void ToolState::BenutzenBtnClick(double x, double y)
{
    ed.view.DXF2Bildschirm(x, y, exactx, exacty);
    exactpx = x;
    exactpy = y;
    useexact = true;
    MouseEvent e;
    e.x = view::roundHalfEven(exactx);
    e.y = view::roundHalfEven(exacty);
    PaintBox1MouseDown(e);
    useexact = false;
    // No release follows a typed press: a drag it began would go on without a button held.
    inmove = inmovepoint = false;
    ed.view.inzoomit = ed.view.inpan = false;
}

}  // namespace kerbon
