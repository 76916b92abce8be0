// The main window `TMainForm`: menus, tool bars, property bar, drawing area with scroll
// bars and layout tabs, coordinate entry and status bar. It owns one Editor and forwards
// its commands and events to it; the dialog windows are created with it and live as long.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "edit/Editor.h"
#include "edit/ToolState.h"

class QAction;
class QActionGroup;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QPushButton;
class QScrollBar;
class QTabBar;
class QToolBar;
class QMouseEvent;
class QWheelEvent;
class QtUi;
class DrawArea;
class TAddTextForm;
class TArrayForm;
class TLayerForm;
class TPolygonForm;
class TLinienstilForm;
class TAddNewLayerForm;
class TDruckenForm;
class TViewPortForm;
class TSkalierungForm;
class TRotationsForm;
class TTranslateForm;
class TSchachtelungForm;
class TPolyForm;

class TMainForm : public QMainWindow, public kerbon::ParseObserver {
    Q_OBJECT
public:
    // Where the window finds its files and how it talks to the user. Empty paths are
    // taken from the platform: the executable's directory and the per-user config dir.
    struct Setup {
        std::string progpath;        // ends in "/"
        std::string configpath;      // ends in "/"
        QStringList args;            // command-line arguments after the program name
        std::vector<std::string> datadirs;  // shipped files; empty: shippedDataDirs(progpath)
        kerbon::Ui* ui = nullptr;    // null: message boxes and file dialogs of Qt
        int autosaveMs = 60000;      // how often unsaved changes go to the recovery file
    };
    explicit TMainForm(QWidget* parent = nullptr);
    explicit TMainForm(const Setup& setup, QWidget* parent = nullptr);
    ~TMainForm() override;

    std::unique_ptr<QtUi> qtui;
    std::unique_ptr<kerbon::Editor> editor;
    std::unique_ptr<kerbon::ToolState> tools;  // the drawing and editing tools (MainTools.cpp)
    QStringList args;
    bool first = false;              // the start-up part of the first show has run

    // The dialog windows, created with the main window.
    TAddTextForm* AddTextForm = nullptr;
    TArrayForm* ArrayForm = nullptr;
    TLayerForm* LayerForm = nullptr;
    TPolygonForm* PolygonForm = nullptr;
    TLinienstilForm* LinienstilForm = nullptr;
    TAddNewLayerForm* AddNewLayerForm = nullptr;
    TDruckenForm* DruckenForm = nullptr;
    TViewPortForm* ViewPortForm = nullptr;
    TSkalierungForm* SkalierungForm = nullptr;
    TRotationsForm* RotationsForm = nullptr;
    TTranslateForm* TranslateForm = nullptr;
    TSchachtelungForm* SchachtelungForm = nullptr;
    TPolyForm* PolyForm = nullptr;

    // Drawing area and what surrounds it.
    DrawArea* PaintBox1 = nullptr;
    QScrollBar* HorzScrollbar = nullptr;
    QScrollBar* VertScrollbar = nullptr;
    QTabBar* TabControl1 = nullptr;
    QLineEdit* keyedit = nullptr;    // keyboard sink of the drawing (Escape)
    QDoubleSpinBox* Xed = nullptr;
    QDoubleSpinBox* YEd = nullptr;
    QPushButton* BenutzenBtn = nullptr;
    QLabel* statusText = nullptr;

    // Property bar.
    QPushButton* LayerBtn = nullptr;
    QComboBox* LayerCombo = nullptr;
    QComboBox* LineCombo = nullptr;
    QComboBox* ColorComboBox = nullptr;
    QComboBox* LineWeightBox = nullptr;

    // Menu "Datei".
    QAction* NeueDXFDateiR12 = nullptr;
    QAction* NeueDXFDatei1 = nullptr;
    QAction* ffnen1 = nullptr;
    QAction* Speichern1 = nullptr;
    QAction* Speichernunter1 = nullptr;
    QAction* Seiteeinrichten1 = nullptr;
    QAction* Druckereinrichten1 = nullptr;
    QAction* DruckvorschauinModelansichtanaus1 = nullptr;
    QAction* Drucken1 = nullptr;
    QAction* Beenden1 = nullptr;
    // Menu "Bearbeiten".
    QMenu* Bearbeiten1 = nullptr;
    QAction* Rckgngig1 = nullptr;
    QAction* Lschen1 = nullptr;
    QAction* AllesAuswhlen1 = nullptr;
    QAction* Nichtsauswhlen1 = nullptr;
    // Menu "Ansicht".
    QAction* Alleszeigen1 = nullptr;
    QAction* Linienbreitezeigen1 = nullptr;
    QAction* Druckvorschau1 = nullptr;
    // Menu "Zeichnen".
    QAction* Linie1 = nullptr;
    QAction* Konstruktionslinie1 = nullptr;
    QAction* Strahl1 = nullptr;
    QAction* Polylinie1 = nullptr;
    QAction* Freihand1 = nullptr;
    QAction* Vieleck1 = nullptr;
    QAction* Rechteck1 = nullptr;
    QAction* N3PunkteStartMitteEnde1 = nullptr;
    QAction* N3PunkteStartEndeMitte1 = nullptr;
    QAction* MittelpunktStart1 = nullptr;
    QAction* MittelpunktRadius1 = nullptr;
    QAction* MittelpunktDurchmesser1 = nullptr;
    QAction* N2Punkte1 = nullptr;
    QAction* N3Punkte1 = nullptr;
    QAction* Achsen1 = nullptr;
    QAction* Mittelpunkt1 = nullptr;
    QAction* Ellipsenbogen1 = nullptr;
    QAction* EllipsenbogenMittelpunkt1 = nullptr;
    QAction* Text1 = nullptr;
    QAction* Punkt1 = nullptr;
    QAction* Flche1 = nullptr;
    QAction* Pfeil1 = nullptr;
    QAction* Viewporthinzufgen1 = nullptr;
    // Menu "Format".
    QAction* Ebenen1 = nullptr;
    QAction* Linienstile1 = nullptr;
    // Menu "Optionen".
    QAction* Skalierungsfaktor1 = nullptr;
    QAction* Rotationsrichtung1 = nullptr;
    // Menu "Sprache".
    QAction* Deutsch1 = nullptr;
    QAction* English1 = nullptr;
    QAction* bersetzen1 = nullptr;

    // Upper tool bar (besides the file commands of the menu).
    QAction* PrintBtn = nullptr;
    QAction* UndoBtn = nullptr;
    QAction* ZoomInBtn = nullptr;
    QAction* ZoomOutBtn = nullptr;
    QAction* ZoomAll = nullptr;
    QAction* ZoomBtn = nullptr;
    QAction* HandBtn = nullptr;
    QAction* JoinLinesBtn = nullptr;
    QAction* BitBtn1 = nullptr;      // "Schachteln..."
    // Left tool bar: the drawing tools, at most one pressed.
    QActionGroup* drawingTools = nullptr;
    QAction* LineBtn = nullptr;
    QAction* PolyLineBtn = nullptr;
    QAction* PolyGon = nullptr;
    QAction* RectangleBtn = nullptr;
    QAction* ArcBtn = nullptr;
    QAction* CircleBtn = nullptr;
    QAction* SplineBtn = nullptr;
    QAction* EllipseBtn = nullptr;
    QAction* TextBtn = nullptr;
    QAction* DimensionBtn = nullptr;
    QAction* PointBtn = nullptr;
    QAction* SolidBtn = nullptr;
    QAction* ArrowBtn = nullptr;
    QAction* PenBtn = nullptr;
    // Right tool bar: the edit commands.
    QAction* CopyBtn = nullptr;
    QAction* MoveBtn = nullptr;
    QAction* RotateBtn = nullptr;
    QAction* ScaleBtn = nullptr;
    QAction* MirrorBtn = nullptr;
    QAction* ArrayBtn = nullptr;
    QAction* DelBtn = nullptr;
    // Right-click menu of the polyline and spline tools.
    QMenu* PopupMenu1 = nullptr;
    QAction* Fertig1 = nullptr;
    QAction* Linienzugschlieen1 = nullptr;
    QAction* Kreisbogen2 = nullptr;
    QAction* Linie2 = nullptr;

    // The start-up part of the first show (runs once).
    void FormShow();
    // Mirrors the editor's view into scroll bars and tab row and repaints the area.
    void refreshView();
    // After every parse: the layer and line type boxes and the layout tabs.
    void refreshSelectors(const std::vector<std::string>& linetypeNames,
                          const std::vector<std::string>& layerNames) override;
    void refreshLayoutTabs(const std::vector<std::string>& names) override;

    // Command handlers.
    void JoinLinesBtnClick();
    void BitBtn1Click();             // "Schachteln...": take-over, then the nesting window
    void bersetzen1Click();
    void keyeditKeyDown(int key);    // the keyboard sink: Escape
    void BenutzenBtnClick();         // the coordinate entry's press at (Xed, YEd)
    void Druckereinrichten1Click();  // the printer (or PDF file) and its paper
    void Drucken1Click();            // page dialog, then the current tab on the printer
    // Prints the current tab on `p` as one page titled "DXF Datei". A PDF printer without
    // a file name asks for one first. False (after a message) when nothing was printed.
    bool printTo(QPrinter& p);

    // The printer of "Drucken...": its resolution and printable area are the page values'
    // printer metrics. Without any printer it prints into a PDF file.
    std::unique_ptr<QPrinter> printer;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormCreate(const Setup& setup);
    void createActions();
    void createMenus();
    void createToolBars();
    void createCentral();
    void createDialogs();
    void connectCommands();
    void restorePlacement();
    void savePlacement();
    void restorePageValues();
    void createPrinter();
    void installToolkitTranslation(int language);
    // The tools (MainTools.cpp): the command table, the mouse, and showing the tool state.
    void connectToolCommands();
    void syncTools();
    void PaintBox1MouseDown(QMouseEvent* e);
    void PaintBox1MouseMove(QMouseEvent* e);
    void PaintBox1MouseUp(QMouseEvent* e);
    void PaintBox1DblClick(QMouseEvent* e);
    void FormMouseWheel(QWheelEvent* e);
    void mouseWheelAt(QPointF areaPos, QPoint angleDelta, Qt::KeyboardModifiers mods);
    void HorzScrollbarChange(int value);
    void VertScrollbarChange(int value);
    QString settingsFile() const;

    bool syncing = false;            // scroll bar and tab changes come from the editor
    kerbon::view::ScrollBarView hbar, vbar;  // how the scroll bars show the view's scroll range
    int wheelRest = 0;               // wheel rotation not yet used, in 1/8 degree
    int shownCursor = -1;            // the tool cursor the drawing area shows
};
