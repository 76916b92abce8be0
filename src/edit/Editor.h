// The editor without widgets: the document, its display model and the state the main
// window works on. The Qt main window owns one Editor and forwards its events to it;
// what the window must show after an operation reaches it through the callbacks below.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "dxf/processdxf.h"
#include "edit/DialogValues.h"
#include "edit/EntityText.h"
#include "edit/LineEdits.h"
#include "edit/PickIndex.h"
#include "edit/Recovery.h"
#include "edit/selection.h"
#include "edit/snapping.h"
#include "edit/transforms.h"
#include "edit/Ui.h"
#include "styles/StyleEdit.h"
#include "styles/properties.h"
#include "view/DisplayOptions.h"
#include "view/PageValues.h"
#include "view/ViewState.h"

namespace kerbon {

class Editor {
public:
    explicit Editor(Ui& ui);

    Ui& ui;
    LineStore dxf;              // the document
    std::string afilename;      // file the document is saved to; empty when untitled
    bool changed = false;
    model::DisplayModel model;
    view::ViewState view;       // zoom, scroll positions, area size, current tab
    view::PageValues page;      // page set-up values and printer metrics
    view::DisplayOptions display;  // "Linienbreite zeigen", "Druckvorschau"

    // Where the program keeps its own files (options.dat, translate.dat). progpath is the
    // program's directory and configpath the per-user configuration directory, both ending
    // in "/". A copy in configpath is read first when present; files are written to the
    // program directory unless it cannot be written or a configpath copy exists.
    std::string progpath;
    std::string configpath;
    // Directories holding the files the program ships, each ending in "/" (shippedDataDirs):
    // the templates are looked up there after the current directory, and the shipped
    // translation table fills in what the user's translate.dat lacks.
    std::vector<std::string> datadirs;

    std::string maincap = "Tarvel Kerbon 1.0";  // caption without the document part
    int language = 0;           // column of the translation table used for every lookup
    int languagesetto = 0;      // language read from options.dat, applied at first show
    bool dontchlang = false;    // while set the language commands do nothing

    // Called with the new caption whenever the changed flag or the file name is set.
    std::function<void(const std::string&)> onCaption;
    // Told after every rebuild of the display model (tab row, layer and type boxes).
    ParseObserver* parseObserver = nullptr;
    // Called when the drawing area must be repainted (view or document changed).
    std::function<void()> onRepaint;

    // Rebuilds the display model from the document.
    void processdxf();

    // Document lifecycle. Each returns true on success.
    bool openfilewithname(const std::string& fname);  // load; message 32 on failure
    bool OpenFile();                 // open dialog, then openfilewithname
    bool SaveFile();                 // to afilename, asking for a name when untitled
    bool SaveTheFile();              // to afilename without asking
    bool SaveFileUnder(const std::string& fname);  // write the lines; message 6 on failure
    bool SaveAs();                   // "Speichern unter...": always asks for a name
    bool NewFile(bool r12);          // "Neue DXF Datei ..." from template0/template1.dat
    bool Open();                     // "Öffnen...": save question, then OpenFile
    bool OpenNamed(const std::string& fname);  // save question, then openfilewithname
    // The unsaved-changes question (message 7). True when the caller may go on: no
    // changes, "No", or "Yes" with a successful save.
    bool askToSave();
    // The close query: true when the window may close; options.dat is written then.
    bool FormCloseQuery();

    void SetChanged();
    void SetUnChanged();
    std::string caption() const;     // maincap + " - [name]" or " - [name*]"

    // options.dat: one 32-bit little-endian integer, the language index.
    void LoadOptions();
    void SaveOptions();
    // A language command ("Deutsch" 0, "English" 1): takes effect for lookups at once
    // and tells the user that windows follow at the next start. False while dontchlang.
    bool setLanguage(int index);

    std::string templatePath(const std::string& name) const;

    // Built-in message n in the current language.
    std::string messageText(int n) const;
    // Any German text of the program in the current language.
    std::string translate(const std::string& german) const;

    // View commands: each changes the view and asks for a repaint.
    void ZoomInBtnClick();
    void ZoomOutBtnClick();
    void ZoomAllClick();             // zoom to extents and repaint
    void ZoomFullIn();               // zoom to extents without repaint
    void mouseWheel(bool up, double px, double py, bool shift, bool ctrl);
    void scrollbarChange(int64_t scrollx, int64_t scrolly);  // the user moved a scroll bar
    void setAreaSize(int w, int h);
    // Restores the tab's view (or zooms to extents); a layout tab without viewports gets
    // them (addMissingViewports), each as an undo step of its own.
    void TabControl1Change(int t);
    // The sheet viewport number 1 of a layout kept in a block, and a viewport showing the
    // model, when the layout tab shown has none; without a word when the drawing has no
    // place for them.
    void addMissingViewports();

    // ---- Editing: every change of the document goes through applyEdits ----
    std::vector<tundo> undos;        // oldest step first
    bool undoBtnEnabled = false;     // "Rückgängig" tool button: set by a new step, after an
                                     // undo exactly when steps remain; FreeUndos keeps it
    int arcmode = 0;                 // variant of the active drawing tool
    // Values of the small input dialogs, kept for the next use.
    TextValues textValues;
    ArrayValues arrayValues;
    PolygonValues polygonValues;
    RotationValues rotationValues;
    ScaleValues scaleValues;

    // Applies the set as one undo step, marks the document changed, re-parses and
    // repaints. An empty set adds no step unless `keepEmptyStep` (transforms that touched
    // nothing still leave their step). False, and nothing changed, for a set that does not
    // fit the document (see validEdits) or an empty one that adds no step.
    bool applyEdits(EditSet set, bool keepEmptyStep = false);
    void Rckgngig1Click();           // undo the last step; nothing when there is none
    void FreeUndos();                // forget every step (a document opened or created)
    // Deletes the selected objects of the current layout (an INSERT with the ATTRIBs and
    // SEQEND that follow it); one step. False when nothing was selected.
    bool Loeschen();

    // What the writers take from the document: model, place in the tab shown, layer.
    WriteContext writeContext() const;
    // Applies a writer's result, or tells the user why nothing was written. Returns the
    // writer's status.
    WriteStatus insertWritten(Written w);
    // The words for a writer's status; empty for a refusal the user is not told about.
    std::string writeStatusText(WriteStatus s) const;

    // State the drawing tools leave for the writers.
    std::vector<model::Tmypoi> polyline0;  // collected points of the polyline/spline tools
    int splinemode = 0;              // 0 points; 1 start tangent; 2 end tangent
    double ellipsewinkel1 = 0, ellipsewinkel2 = 0;  // elliptical arc parameters, radians
    // Dimension: the text position (middle of the dimension line) and its ends.
    double linesx3 = 0, linesy3 = 0, linesz3 = 0;
    double linesx4 = 0, linesy4 = 0, linesx5 = 0, linesy5 = 0;

    // The entity writers (drawing units; meanings by arcmode as the tools use them). Each
    // is one undo step; the composite ones (polygon, arrow, dimension) are built from the
    // others. A refusal is told the user (writeStatusText) and returned.
    WriteStatus AddLine(double x1, double y1, double z1, double x2, double y2, double z2);
    WriteStatus AddSolid(double x1, double y1, double z1, double x2, double y2, double z2,
                         double x3, double y3, double z3, double x4, double y4, double z4);
    WriteStatus AddPoint(double x1, double y1, double z1);
    // MTEXT (TEXT below version 1010) of textValues at the point.
    WriteStatus AddText(double x1, double y1, double z1, double fontsize);
    WriteStatus AddPolyLine(bool closed);  // from polyline0
    // The rectangle tool's closed polyline over two opposite corners.
    WriteStatus AddRectangle(double x1, double y1, double x2, double y2);
    WriteStatus AddCircle(double x1, double y1, double z1, double x2, double y2, double z2);
    WriteStatus AddCircleDurch3Punkte(double x1, double y1, double z1, double x2, double y2,
                                      double z2, double x3, double y3, double z3);
    WriteStatus AddArc(double x1, double y1, double z1, double x2, double y2, double z2,
                       double x3, double y3, double z3);
    WriteStatus AddEllipse(double x1, double y1, double z1, double x2, double y2, double z2,
                           double x3, double y3, double z3);
    // Regular polygon of polygonValues.ecken corners about p1 through p2's direction.
    WriteStatus AddPolyGon(double x1, double y1, double z1, double x2, double y2, double z2);
    // Arrowhead with its tip at (linesx, linesy) pointing away from (xx, yy).
    WriteStatus AddArrowToLine(double linesx, double linesy, double xx, double yy);
    // Dimension between p1 and p2 (p3 unused) with the text at p4 and the dimension line
    // linesx4 ... linesy5: three lines, two arrowheads and the text of the text dialog
    // (prefilled with the distance), six undo steps.
    WriteStatus AddDimension(double x1, double y1, double z1, double x2, double y2, double z2,
                             double x3, double y3, double z3, double x4, double y4, double z4);
    WriteStatus AddSPLINE(bool closed);   // fitted through polyline0 by splinemode

    // ---- Snapping and selection (positions in area pixels; EditorSelect.cpp) ----
    LayoutFilter layoutFilter() const;   // the layout tab shown
    SnapResult SnapPoints(double xx, double yy, double x, double y, bool ctrl);
    // The pick of a press that no tool takes; repaints when the selection changed.
    PickResult pick(double X, double Y, bool shift);
    // Window selection between two corners; repaints when it caught something.
    int MassSelect(double screenx1, double screeny1, double screenx2, double screeny2, bool shift);
    bool IsSelected() const;
    void AllesAuswhlen1Click();      // "Alles Auswählen"
    void Nichtsauswhlen1Click();     // "Nichts auswählen" (also Escape with no tool active)

    // ---- Transforms of the selection (EditorTransforms.cpp) ----
    // Each is one undo step, kept also when nothing changed, then a re-parse and repaint
    // when there were objects to work on. What the user must be told is shown; the status
    // says it to the caller (Ok: the step was made).
    TransformStatus MoveObjects(double dx, double dy);
    // Copies moved by (dx, dy), one insertion step; re-parses unless `donotprocess`.
    TransformStatus CopyObjects(double dx, double dy, bool donotprocess = false);
    // About the base point D = (dx, dy) with the second point E = (ex, ey): modex 0 turns
    // by the direction D -> E, 1 mirrors across the line D E (the pairs a mirror adds form
    // a second step), 2 scales by |E - D|.
    TransformStatus RotateObjects(double dx, double dy, double ex, double ey, int modex);
    // "Array erstellen": copies of the selection on a turned grid, one step per copy.
    TransformStatus MakeArray();
    // Moves grip `pointnr` of object `objnr` by (dx, dy) to the point (ex, ey).
    TransformStatus MovePoint(int objnr, int pointnr, double dx, double dy, double ex, double ey);
    // The rotate and scale tools with the angle (degrees, clockwise) or the factor (per
    // cent) typed into their dialogs, about (cx, cy); applied however the dialog closes.
    TransformStatus rotateByDialog(double cx, double cy);
    TransformStatus scaleByDialog(double cx, double cy);
    std::string transformStatusText(TransformStatus s) const;

    // Applies the set as one undo step without re-parsing (edits of one operation that
    // come in several steps); false for a set applyEdits would refuse.
    bool recordEdits(EditSet set, bool keepEmptyStep = false);
    // Steps applied by recordEdits whose re-parse has not run yet: until it does, the
    // model's line references do not fit the document.
    bool reparsePending() const { return pendingFrom != kNothingPending; }
    // Runs that re-parse now and repaints; nothing when none is owed.
    void finishPendingReparse();

    // ---- Layouts, viewports, page set-up and printing (EditorLayout.cpp) ----
    // A VIEWPORT on the tab shown: centre and size on the sheet, the model point shown at
    // its centre and the height of model shown. `mustbenr1`: the sheet viewport number 1.
    WriteStatus AddViewport(double cx, double cy, double widx, double widy, double panx,
                            double pany, double viewheight, bool mustbenr1);
    // A viewport with the default values, shown in the viewport dialog first when
    // `showconfig`.
    WriteStatus ViewportAdden(bool showconfig, bool mustbenr1);
    WriteStatus Viewporthinzufgen1Click() { return ViewportAdden(true, false); }
    // "Seite einrichten...": the page dialog; "Vorschau" turns the print preview on.
    PageDialogResult Seiteeinrichten1Click();
    // "Drucken...": the page dialog; true when the user chose to print ("OK"). The window
    // then prints the current tab (view/paint.h printPage) as a job titled printTitle().
    bool Drucken1Click() { return Seiteeinrichten1Click() == PageDialogResult::Ok; }
    std::string printTitle() const;  // "DXF Datei"
    // ---- Layers, line types, object properties (src/styles/EditorStyles.cpp) ----
    styles::LineTypeValues lineTypeValues;  // "Linienstil hinzufügen", kept between uses
    // The layer chosen in the layer box: new objects go to it while the table holds it
    // (else to the table's first layer), and the box shows it first. Empty on a new document.
    std::string chosenLayer;
    std::string layerForNewObjects() const;
    void LayerBtnClick();            // the layer dialog, then perhaps the new-layer dialog
    void Linienstile1Click();        // the line type dialog
    // Each tells the user why nothing was written and returns the reason.
    styles::StyleStatus AddNewLayer(const styles::NewLayer& layer);
    styles::StyleStatus AddLineStil(const std::string& name, const std::string& description,
                                    const std::vector<double>& pattern);
    // The property boxes: the value given to the selected objects of the layout tab shown,
    // one undo step (kept even when nothing was selected).
    styles::StyleStatus SetColorForObjects(int newcolornr);
    styles::StyleStatus SetLineTypeForObjects(const std::string& newlinetype);
    styles::StyleStatus SetLayerForObjects(const std::string& newlinetype);
    styles::StyleStatus SetLeineWeightForObjects(const std::string& newlinetype);
    // Choosing a layer in the layer box: the layer of the selection and of new objects.
    void chooseLayer(const std::string& name);
    // The double click on a selected text object: its text in the text dialog, then
    // setObjectText. True when the text was changed.
    bool ChangeText(int textobj);
    // Stores `typed` (as typed in the text dialog) as the text of object `textobj`, one
    // undo step; nothing happens when the text stays the same.
    styles::StyleStatus setObjectText(int textobj, const std::string& typed);
    std::string styleStatusText(styles::StyleStatus s) const;

    void repaint();                  // ask the window to repaint

    // ---- Autosave (EditorRecovery.cpp): unsaved lines in a recovery file ----
    // Folder of the recovery files, ending in "/"; empty (command line): no autosave.
    std::string recoverydir;
    static constexpr int autosaveEdits = 50;  // SetChanged writes after this many edits
    AutosaveState recovery;
    // Writes the recovery file when the drawing has changes it does not hold yet (the
    // window's timer calls it every minute). False when it could not be written.
    bool autosave();
    // The recovery file for the drawing as it is named now; empty without recoverydir.
    std::string recoveryPath() const;
    // Removes this editor's recovery file: the changes are saved or given up.
    void discardRecovery();
    // At start: offers each recovery file a run that did not end cleanly left behind,
    // newest first: "Wiederherstellen" opens it as the changed drawing under its own
    // name, "Verwerfen" removes it and asks about the next. True when one was restored.
    bool offerRecovery();

private:
    static constexpr int kNothingPending = 1 << 30;
    int pendingFrom = kNothingPending;  // first line changed by steps not parsed yet
    // The transform of the selected objects of the current layout, as one step.
    TransformStatus transformSelection(const Transform& t);
    PickIndex pickIndex;
    uint64_t lockedParse = UINT64_MAX;  // the parse whose lock flags are set
    // Once per parse, when first needed: the objects' lock flags; the pick index.
    void ensureLocked();
    PickIndex& currentPickIndex();
    // The re-parse after a step was applied or undone, from near its first change; after
    // the steps from undos[firstStep] on; from line `firstChanged` on. Every re-parse
    // clears the selection.
    void reparseAfter(const tundo& step);
    void reparseAfterSteps(size_t firstStep);
    void reparseFrom(int firstChanged);
    void showCaption();
    styles::StyleStatus setPropertyForObjects(styles::Property prop, const std::string& value);
    styles::StyleStatus told(styles::StyleStatus s);  // shows the reason, if any
    bool saveToChosenName();
    static FileDialogOptions saveDialogOptions();
};

}  // namespace kerbon
