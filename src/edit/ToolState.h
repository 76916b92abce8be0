// The drawing and editing tools: which tool is armed, what the next press in the drawing
// area means, the rubber band drawn between presses, Escape, the right-click menu of the
// polyline and spline tools and the coordinate entry that stands in for a press.
//
// The main window feeds it the commands of its menus and tool bars and the mouse of the
// drawing area (button, area pixel, Shift and Ctrl) and shows what it answers: the pressed
// tool button (`down`), the cursor, the rubber band (`remove`, drawn over the picture of
// the drawing) and the coordinates for the status bar. The edits themselves go through
// the editor's operations (writers, transforms, selection), so a sequence of presses writes
// what the matching script commands write.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "dxf/model.h"
#include "edit/EntityText.h"

namespace kerbon {

class Editor;
struct SnapResult;

enum class MouseButton { Left, Right, Middle };

// A press or release in the drawing area, in area pixels.
struct MouseEvent {
    MouseButton button = MouseButton::Left;
    double x = 0, y = 0;
    bool shift = false;
    bool ctrl = false;              // switches snapping off
};

// The buttons of the left tool bar; at most one is down. The polygon command presses the
// circle button.
enum class ToolButton {
    None, LineBtn, PolyLineBtn, RectangleBtn, ArcBtn, CircleBtn, SplineBtn, EllipseBtn,
    TextBtn, DimensionBtn, PointBtn, SolidBtn, ArrowBtn, PenBtn,
};

enum class ToolCursor {
    Crosshair,    // drawing and point phases, the default
    Arrow,        // selection phases
    Cross,        // after the selection of the array command
    HandPoint,    // pan tool
    Magnifier,    // zoom tool
};

// What a press asks of the window besides showing the state.
enum class PressAnswer { Done, OpenPopup /* the right-click menu at the press position */ };

class ToolState {
public:
    explicit ToolState(Editor& ed);
    Editor& ed;

    // ---- What the window shows ----
    ToolButton down = ToolButton::None;
    ToolCursor cursor = ToolCursor::Crosshair;
    // The rubber band: segments in area pixels over the picture of the drawing. Erasing
    // it (`removeall`) empties the list; the window paints what is in it.
    std::vector<model::tremove> remove;
    std::string statusText;          // the drawing point under the mouse, "x, y"

    // The two check items of "Optionen" that steer the rotate and scale tools.
    bool scaleByKeyboard = true;     // "Skalierungsfaktor per Tastatur eingeben"
    bool rotateByKeyboard = false;   // "Rotationsrichtung per Tastatur eingeben"

    // ---- Drawing-tool commands: each ends the active tool and arms its own ----
    void LineBtnClick();
    void Konstruktionslinie1Click();  // needs a drawing of version 1010 or later
    void Strahl1Click();              // likewise
    void PolyLineBtnClick();
    void PenBtnClick();               // freehand
    void PolyGonClick();              // the corner count first, then the circle button
    void RectangleBtnClick();
    void ArcBtnClick();               // 3 points (start, middle, end)
    void N3PunkteStartEndeMitte1Click();
    void MittelpunktStart1Click();    // centre, start, end
    void CircleBtnClick();            // centre, radius
    void MittelpunktDurchmesser1Click();
    void N2Punkte1Click();
    void N3Punkte1Click();
    void EllipseBtnClick();           // axes; the ellipse commands need version 1010
    void Mittelpunkt1Click();         // centre
    void Ellipsenbogen1Click();       // elliptical arc by its axes
    void EllipsenbogenMittelpunkt1Click();
    void SplineBtnClick();            // needs version 1010
    void TextBtnClick();
    void DimensionBtnClick();
    void PointBtnClick();
    void SolidBtnClick();
    void ArrowBtnClick();

    // ---- Edit commands: the point phase with a selection, else the selection phase ----
    void CopyBtnClick();
    void MoveBtnClick();
    void RotateBtnClick();
    void ScaleBtnClick();
    void MirrorBtnClick();
    void ArrayBtnClick();             // with a selection the array dialog at once
    void DelBtnClick();               // with a selection deletes it at once

    // ---- View tools ----
    void ZoomBtnClick();
    void HandBtnClick();

    // Ends whatever is active (erases the rubber band, clears the flags, cross-hair
    // cursor); leaves the sub-modes, the selection and the tool buttons alone.
    void SetAlltoFalse();
    void removeall() { remove.clear(); }

    // The keyboard sink's key-down: only Escape (27) does something.
    void keyeditKeyDown(int key);

    // "Klick an diese Stelle (Anstatt Mausklick)": a left press at the drawing point (x, y),
    // which reaches the tool exactly as typed (no snapping). Only a press: it serves the
    // tools and the selection, and starts no drag.
    void BenutzenBtnClick(double x, double y);

    // The right-click menu of the polyline and spline tools.
    void Fertig1Click();              // "Fertig"
    void Linienzugschlieen1Click();   // "Linienzug schließen"
    void Kreisbogen2Click();          // "Kreisbogen": the next segments are tangent arcs
    void Linie2Click();               // "Linie": the next segments are straight

    // ---- The mouse of the drawing area ----
    PressAnswer PaintBox1MouseDown(const MouseEvent& e);
    // Every move: status text, pan and zoom drags, the rubber band and the values the
    // next press takes from it. Never re-parses or repaints the drawing itself, except
    // for the view drags.
    void PaintBox1MouseMove(double x, double y, bool ctrl);
    void PaintBox1MouseUp(const MouseEvent& e);
    // A double click (delivered after its press) on the insertion point of a selected text
    // opens the text editor for it.
    void PaintBox1DblClick();
    // The text object a double click at the last mouse position edits, or -1.
    int textAtLastMouse() const;

    // ---- The tool state (plain fields; the flags are all false at start) ----
    // Pending-click flags of the drawing tools.
    bool inlin = false, inarrow = false, inrec = false, incircle = false, inarc = false;
    bool inellipse = false, insolid = false, indim = false, inpoly = false;
    // Edit commands: waiting for a selection, or for the base and target points.
    bool incopyselect = false, inmoveselect = false, inrotateselect = false;
    bool inscaleselect = false, inmirrorselect = false, inarrayselect = false;
    bool indelselect = false;
    bool incopyline = false, inmoveline = false, inrotateline = false, inscaleline = false;
    bool inmirrorline = false;
    // Direct manipulation.
    bool inmassselect = false;        // a selection window has its first corner
    bool inmove = false;              // pressed on the selection: the release moves it
    bool inmovepoint = false;         // pressed on a grip: the release moves that vertex
    // The press being handled comes from the coordinate entry.
    bool useexact = false;
    double exactx = 0, exacty = 0;    // its unrounded area position
    double exactpx = 0, exactpy = 0;  // the drawing point as typed

    int ellipsemode = 0;   // click counter of the multi-click tools and of the point phases
    int addmode = 0;       // next polyline segment: 0 straight, 1 tangent arc
    bool splineshouldclose = false;
    // Points of the construction in progress, drawing units (the dimension's computed
    // points and the elliptical arc's parameters are the editor's: the writers read them).
    double linesx = 0, linesy = 0, linesx2 = 0, linesy2 = 0;
    double lastcalcbulge = 0;         // bulge of the polyline segment being previewed
    // Drags: the press position, the grip and its object, and the parse they refer to.
    double movestartx = 0, movestarty = 0;
    int movepointnr = -1, moveobjnr = -1;
    uint64_t dragparse = 0;
    int lastmousex = 0, lastmousey = 0;  // the last mouse move, area pixels

private:
    // A drawing point taken from a press at area position (X, Y) with the reference point
    // (rx, ry) in drawing units: the rubber band is erased, the position is aligned and
    // snapped (not for a typed point), and (X, Y) is left at the aligned or snapped pixel.
    struct Taken {
        double x = 0, y = 0;
    };
    Taken takePoint(double rx, double ry, double& X, double& Y, bool ctrl);
    // The first point of a construction: its own reference, the rubber band kept.
    Taken firstPoint(double X, double Y, bool ctrl);
    // The drawing point of area position (X, Y) (the typed point for a typed press).
    Taken drawingPoint(double X, double Y) const;
    // Snaps the mouse with the reference at area pixel (sx, sy), shows the marker, and
    // gives the position at whole pixels.
    struct Pixel {
        double x = 0, y = 0;
    };
    Pixel snapMouse(double sx, double sy, double X, double Y, bool ctrl);
    void showMarker(const SnapResult& r);
    Pixel screen(double x, double y) const;
    void segment(double x1, double y1, double x2, double y2, int syl = 0);
    void segment(Pixel a, Pixel b) { segment(a.x, a.y, b.x, b.y); }

    bool version1010(WriteStatus refusal);
    void finishCollected(bool closed);
    void setAddmode(int mode);
    void editCommand(bool& lineFlag, bool& selectFlag);
    bool anyToolActive() const;
    // Finishes the re-parse the editor still owes for edits it applied, so that no press
    // acts on stale line references; a drag that began before it is dropped.
    void syncModel();

    // What the rubber band computes for the next press (the dimension line, the elliptical
    // arc's parameters, the tangent arc's bulge), at area position M.
    void dimensionAt(Pixel m);
    void ellipseParameters(Pixel m);
    void tangentBulge(Pixel m);
    // Makes those values follow the press position when the press is not where the last
    // mouse move was (a typed point, a press without a move before it).
    void computeForPress(double X, double Y, bool ctrl);

    void previewTransform(double X, double Y, bool ctrl);
    void previewCircle(Pixel s, Pixel m);
    void previewEllipse(Pixel s, Pixel m);
    void previewArc(Pixel s, Pixel m);
    void previewPolyline(double X, double Y, bool ctrl);
    void previewSpline(Pixel m);
    void piece(Pixel a, Pixel b, double bulge, bool draw, double& tx, double& ty);
    void walkPolyline(bool draw, double& tx, double& ty);
    void curve(Pixel c, double a, double b, double theta, double t0, double t1);
};

}  // namespace kerbon
