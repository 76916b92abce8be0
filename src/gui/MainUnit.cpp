// The main window: builds the menus, tool bars, property bar and drawing area, runs the
// start-up sequence and forwards commands and events to the editor core.
#include "gui/MainUnit.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>  // the printer is destroyed with the window
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QWheelEvent>
#include <clocale>
#include <cmath>

#include "gui/AddNewLayerFUnit.h"
#include "gui/AddTextFUnit.h"
#include "gui/ArrayFUnit.h"
#include "gui/DrawArea.h"
#include "gui/DruckenFUnit.h"
#include "gui/LayerFUnit.h"
#include "gui/LinienStilFUnit.h"
#include "gui/PolyFUnit.h"
#include "gui/PolyGonFUnit.h"
#include "gui/QtUi.h"
#include "gui/RotationsFUnit.h"
#include "gui/SchachtelungFUnit.h"
#include "gui/SkalierungFUnit.h"
#include "gui/ToolIcons.h"
#include "gui/TranslateComponents.h"
#include "gui/TranslateFUnit.h"
#include "gui/ViewPortFUnit.h"
#include "i18n/progfiles.h"
#include "i18n/translateunit.h"
#include "styles/layers.h"
#include "view/tables.h"

using namespace kerbon;

namespace {

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

std::string withSlash(QString dir)
{
    if (!dir.endsWith('/'))
        dir += '/';
    return dir.toStdString();
}

// An action with caption, object name and hint. The hint is set only where it differs
// from the one Qt derives from the caption, so that a translated caption carries it along.
QAction* makeAction(QObject* owner, const char* name, const char* caption,
                    const char* hint = nullptr)
{
    auto* a = new QAction(u(caption), owner);
    a->setObjectName(name);
    if (hint && a->toolTip() != u(hint))
        a->setToolTip(u(hint));
    return a;
}


}  // namespace

TMainForm::TMainForm(QWidget* parent) : TMainForm(Setup{}, parent) {}

TMainForm::TMainForm(const Setup& setup, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("MainForm");
    setWindowTitle("Tarvel Kerbon 1.0");
    qtui = std::make_unique<QtUi>(this);
    editor = std::make_unique<Editor>(setup.ui ? *setup.ui : static_cast<Ui&>(*qtui));
    args = setup.args;
    createActions();
    createMenus();
    createToolBars();
    createCentral();
    connectCommands();
    connectToolCommands();
    FormCreate(setup);
    createDialogs();
}

TMainForm::~TMainForm() = default;

// ---- window creation ----

void TMainForm::FormCreate(const Setup& setup)
{
    Editor& ed = *editor;
    ed.progpath = setup.progpath.empty() ? withSlash(QCoreApplication::applicationDirPath())
                                         : setup.progpath;
    ed.configpath = setup.configpath;
    if (ed.configpath.empty())
        ed.configpath = userConfigDir();
    if (ed.configpath.empty())
        ed.configpath =
            withSlash(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation));
    ed.datadirs = setup.datadirs.empty() ? shippedDataDirs(ed.progpath) : setup.datadirs;
    ed.recoverydir = ed.configpath + "recovery/";
    auto* autosaveTimer = new QTimer(this);
    connect(autosaveTimer, &QTimer::timeout, this, [this] { editor->autosave(); });
    autosaveTimer->start(setup.autosaveMs);
    translations().InitTranslation(ed.progpath, ed.configpath, ed.datadirs);
    qtui->translate = [this](const QString& s) {
        return QString::fromStdString(editor->translate(s.toStdString()));
    };
    ed.maincap = windowTitle().toStdString();
    // Numbers always with "." as decimal separator, in Qt and in the C library alike.
    QLocale::setDefault(QLocale::c());
    std::setlocale(LC_NUMERIC, "C");
    ed.onCaption = [this](const std::string& c) { setWindowTitle(QString::fromStdString(c)); };
    ed.parseObserver = this;
    ed.onRepaint = [this] { refreshView(); };
    ed.dontchlang = true;
    ed.LoadOptions();
    Deutsch1->setChecked(ed.languagesetto != 1);
    English1->setChecked(ed.languagesetto == 1);
    ed.dontchlang = false;
    restorePlacement();
}

void TMainForm::createDialogs()
{
    AddTextForm = new TAddTextForm(this);
    ArrayForm = new TArrayForm(this);
    LayerForm = new TLayerForm(this);
    PolygonForm = new TPolygonForm(this);
    LinienstilForm = new TLinienstilForm(this);
    AddNewLayerForm = new TAddNewLayerForm(this);
    DruckenForm = new TDruckenForm(this);
    ViewPortForm = new TViewPortForm(this);
    SkalierungForm = new TSkalierungForm(this);
    RotationsForm = new TRotationsForm(this);
    TranslateForm = new TTranslateForm(this, editor->ui);
    SchachtelungForm = new TSchachtelungForm(this, &editor->ui);
    SchachtelungForm->setEditor(editor.get());
    PolyForm = new TPolyForm(this);
    qtui->textForm = AddTextForm;
    qtui->arrayForm = ArrayForm;
    qtui->polygonForm = PolygonForm;
    qtui->rotationForm = RotationsForm;
    qtui->scaleForm = SkalierungForm;
    qtui->druckenForm = DruckenForm;
    qtui->viewPortForm = ViewPortForm;
    qtui->layerForm = LayerForm;
    qtui->newLayerForm = AddNewLayerForm;
    qtui->lineTypeForm = LinienstilForm;
    DruckenForm->onPrinterSetup = [this] { Druckereinrichten1Click(); };
    DruckenForm->settingsFile = settingsFile();
    createPrinter();
}

void TMainForm::createActions()
{
    QStyle* st = style();
    // Datei
    NeueDXFDateiR12 = makeAction(this, "NeueDXFDateiR12",
                                 "Neue DXF Datei (R12 ohne Spline/ohne Ellipse usw.)",
                                 "Neue DXF Datei (R12 ohne Spline/ohne Ellipse usw.)");
    NeueDXFDateiR12->setIcon(toolIcon("newr12"));
    NeueDXFDatei1 = makeAction(this, "NeueDXFDatei1", "Neue DXF Datei ", "Neue DXF Datei ");
    NeueDXFDatei1->setIcon(toolIcon("new"));
    NeueDXFDatei1->setShortcut(QKeySequence::New);
    ffnen1 = makeAction(this, "ffnen1", "Öffnen...", "Öffnen...");
    ffnen1->setIcon(st->standardIcon(QStyle::SP_DialogOpenButton));
    ffnen1->setShortcut(QKeySequence::Open);
    Speichern1 = makeAction(this, "Speichern1", "Speichern", "Speichern");
    Speichern1->setIcon(st->standardIcon(QStyle::SP_DialogSaveButton));
    Speichern1->setShortcut(QKeySequence::Save);
    Speichernunter1 = makeAction(this, "Speichernunter1", "Speichern unter...", "Speichern unter...");
    Speichernunter1->setIcon(toolIcon("saveas"));
    Seiteeinrichten1 = makeAction(this, "Seiteeinrichten1", "Seite einrichten...");
    Druckereinrichten1 = makeAction(this, "Druckereinrichten1", "Drucker einrichten...");
    DruckvorschauinModelansichtanaus1 =
        makeAction(this, "DruckvorschauinModelansichtanaus1", "Druckvorschau  an/aus");
    Drucken1 = makeAction(this, "Drucken1", "Drucken...");
    Beenden1 = makeAction(this, "Beenden1", "Beenden");
    // Bearbeiten
    Rckgngig1 = makeAction(this, "Rckgngig1", "Rückgängig");
    Rckgngig1->setShortcut(QKeySequence("Ctrl+Z"));
    Lschen1 = makeAction(this, "Lschen1", "Löschen");
    Lschen1->setShortcut(QKeySequence(Qt::Key_Delete));
    AllesAuswhlen1 = makeAction(this, "AllesAuswhlen1", "Alles Auswählen");
    AllesAuswhlen1->setShortcut(QKeySequence("Ctrl+A"));
    Nichtsauswhlen1 = makeAction(this, "Nichtsauswhlen1", "Nichts auswählen");
    // Ansicht
    Alleszeigen1 = makeAction(this, "Alleszeigen1", "Alles zeigen");
    Linienbreitezeigen1 = makeAction(this, "Linienbreitezeigen1", "Linienbreite zeigen");
    Linienbreitezeigen1->setCheckable(true);
    Linienbreitezeigen1->setChecked(true);
    Druckvorschau1 = makeAction(this, "Druckvorschau1", "Druckvorschau");
    Druckvorschau1->setCheckable(true);
    // Zeichnen
    Linie1 = makeAction(this, "Linie1", "Linie");
    Konstruktionslinie1 = makeAction(this, "Konstruktionslinie1", "Konstruktionslinie");
    Strahl1 = makeAction(this, "Strahl1", "Strahl");
    Polylinie1 = makeAction(this, "Polylinie1", "Polylinie");
    Freihand1 = makeAction(this, "Freihand1", "Freihand");
    Vieleck1 = makeAction(this, "Vieleck1", "Vieleck");
    Rechteck1 = makeAction(this, "Rechteck1", "Rechteck");
    N3PunkteStartMitteEnde1 =
        makeAction(this, "N3PunkteStartMitteEnde1", "3 Punkte (Start, Mitte, Ende)");
    N3PunkteStartEndeMitte1 =
        makeAction(this, "N3PunkteStartEndeMitte1", "3 Punkte (Start, Ende, Mitte)");
    MittelpunktStart1 = makeAction(this, "MittelpunktStart1", "Mittelpunkt, Start, Ende");
    MittelpunktRadius1 = makeAction(this, "MittelpunktRadius1", "Mittelpunkt, Radius");
    MittelpunktDurchmesser1 =
        makeAction(this, "MittelpunktDurchmesser1", "Mittelpunkt, Durchmesser");
    N2Punkte1 = makeAction(this, "N2Punkte1", "2 Punkte");
    N3Punkte1 = makeAction(this, "N3Punkte1", "3 Punkte");
    Achsen1 = makeAction(this, "Achsen1", "Achsen");
    Mittelpunkt1 = makeAction(this, "Mittelpunkt1", "Mittelpunkt");
    Ellipsenbogen1 = makeAction(this, "Ellipsenbogen1", "Ellipsenbogen Achsen");
    EllipsenbogenMittelpunkt1 =
        makeAction(this, "EllipsenbogenMittelpunkt1", "Ellipsenbogen Mittelpunkt");
    Text1 = makeAction(this, "Text1", "Text");
    Punkt1 = makeAction(this, "Punkt1", "Punkt");
    Flche1 = makeAction(this, "Flche1", "Fläche");
    Pfeil1 = makeAction(this, "Pfeil1", "Pfeil");
    Viewporthinzufgen1 = makeAction(this, "Viewporthinzufgen1", "Viewport hinzufügen...");
    // Format
    Ebenen1 = makeAction(this, "Ebenen1", "Ebenen...");
    Linienstile1 = makeAction(this, "Linienstile1", "Linienstile...");
    // Optionen: two self-toggling check items for the rotate and scale tools
    Skalierungsfaktor1 =
        makeAction(this, "Skalierungsfaktor1", "Skalierungsfaktor per Tastatur eingeben");
    Skalierungsfaktor1->setCheckable(true);
    Skalierungsfaktor1->setChecked(true);
    Rotationsrichtung1 =
        makeAction(this, "Rotationsrichtung1", "Rotationsrichtung per Tastatur eingeben");
    Rotationsrichtung1->setCheckable(true);
    // Sprache: one radio group
    Deutsch1 = makeAction(this, "Deutsch1", "Deutsch");
    English1 = makeAction(this, "English1", "English");
    auto* languages = new QActionGroup(this);
    for (QAction* a : {Deutsch1, English1}) {
        a->setCheckable(true);
        languages->addAction(a);
    }
    Deutsch1->setChecked(true);
    bersetzen1 = makeAction(this, "bersetzen1", "Übersetzen...");

    // Upper tool bar
    PrintBtn = makeAction(this, "PrintBtn", "Drucken", "Drucken");
    PrintBtn->setIcon(toolIcon("print"));
    UndoBtn = makeAction(this, "UndoBtn", "Rückgängig", "Rückgängig");
    UndoBtn->setIcon(toolIcon("undo"));
    ZoomInBtn = makeAction(this, "ZoomInBtn", "Vergrößern", "Vergrößern");
    ZoomInBtn->setIcon(toolIcon("zoomin"));
    ZoomOutBtn = makeAction(this, "ZoomOutBtn", "Verkleinern", "Verkleinern");
    ZoomOutBtn->setIcon(toolIcon("zoomout"));
    ZoomAll = makeAction(this, "ZoomAll", "Zeige alles", "Zeige alles");
    ZoomAll->setIcon(toolIcon("zoomall"));
    ZoomBtn = makeAction(this, "ZoomBtn", "Vergrößern/Verkleinern", "Vergrößern/Verkleinern");
    ZoomBtn->setIcon(toolIcon("zoom"));
    HandBtn = makeAction(this, "HandBtn", "Verschieben", "Verschieben");
    HandBtn->setIcon(toolIcon("hand"));
    JoinLinesBtn = makeAction(this, "JoinLinesBtn", "Linien zusammenfügen...",
                              "Linien zusammenfügen...");
    JoinLinesBtn->setIcon(toolIcon("join"));
    BitBtn1 = makeAction(this, "BitBtn1", "Schachteln...", "Schachteln...");
    BitBtn1->setIcon(toolIcon("nest"));

    // Left tool bar: drawing tools, one group of toggle buttons that may all be up.
    drawingTools = new QActionGroup(this);
    drawingTools->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    struct Tool { QAction** slot; const char* name; const char* hint; const char* icon; };
    const Tool tools[] = {
        {&LineBtn, "LineBtn", "Linie", "line"},
        {&PolyLineBtn, "PolyLineBtn", "Polyline", "polyline"},
        {&PolyGon, "PolyGon", "Vieleck", "polygon"},
        {&RectangleBtn, "RectangleBtn", "Rechteck", "rect"},
        {&ArcBtn, "ArcBtn", "Kreisbogen", "arc"},
        {&CircleBtn, "CircleBtn", "Kreis", "circle"},
        {&SplineBtn, "SplineBtn", "Spline", "spline"},
        {&EllipseBtn, "EllipseBtn", "Ellipse", "ellipse"},
        {&TextBtn, "TextBtn", "Text", "text"},
        {&DimensionBtn, "DimensionBtn", "Abmessung", "dimension"},
        {&PointBtn, "PointBtn", "Punkt", "point"},
        {&SolidBtn, "SolidBtn", "Fläche", "solid"},
        {&ArrowBtn, "ArrowBtn", "Pfeil", "arrow"},
        {&PenBtn, "PenBtn", "Freihand", "pen"},
    };
    for (const Tool& t : tools) {
        *t.slot = makeAction(this, t.name, t.hint, t.hint);
        (*t.slot)->setIcon(toolIcon(t.icon));
        (*t.slot)->setCheckable(true);
        if (*t.slot != PolyGon)  // the polygon command presses the circle button
            drawingTools->addAction(*t.slot);
    }
    // Right tool bar: edit commands.
    const Tool edits[] = {
        {&CopyBtn, "CopyBtn", "Kopieren", "copy"},
        {&MoveBtn, "MoveBtn", "Verschieben", "move"},
        {&RotateBtn, "RotateBtn", "Rotieren", "rotate"},
        {&ScaleBtn, "ScaleBtn", "Skalieren", "scale"},
        {&MirrorBtn, "MirrorBtn", "Spiegeln", "mirror"},
        {&ArrayBtn, "ArrayBtn", "Array", "array"},
        {&DelBtn, "DelBtn", "Löschen", "delete"},
    };
    for (const Tool& t : edits) {
        *t.slot = makeAction(this, t.name, t.hint, t.hint);
        (*t.slot)->setIcon(toolIcon(t.icon));
    }

    // "Rückgängig" follows the undo steps.
    for (QAction* a : {Rckgngig1, UndoBtn})
        a->setEnabled(false);
}

void TMainForm::createMenus()
{
    QMenu* datei = menuBar()->addMenu(u("Datei"));
    datei->addActions({NeueDXFDateiR12, NeueDXFDatei1, ffnen1, Speichern1, Speichernunter1});
    datei->addSeparator();
    datei->addActions({Seiteeinrichten1, Druckereinrichten1, DruckvorschauinModelansichtanaus1,
                       Drucken1});
    datei->addSeparator();
    datei->addAction(Beenden1);

    Bearbeiten1 = menuBar()->addMenu(u("Bearbeiten"));
    Bearbeiten1->addActions({Rckgngig1, Lschen1});
    Bearbeiten1->addSeparator();
    Bearbeiten1->addActions({AllesAuswhlen1, Nichtsauswhlen1});

    QMenu* ansicht = menuBar()->addMenu(u("Ansicht"));
    ansicht->addAction(Alleszeigen1);
    ansicht->addSeparator();
    ansicht->addActions({Linienbreitezeigen1, Druckvorschau1});

    QMenu* zeichnen = menuBar()->addMenu(u("Zeichnen"));
    zeichnen->addActions({Linie1, Konstruktionslinie1, Strahl1, Polylinie1, Freihand1,
                          Vieleck1, Rechteck1});
    QMenu* bogen = zeichnen->addMenu(u("Kreisbogen"));
    bogen->setIcon(toolIcon("arc"));
    bogen->addActions({N3PunkteStartMitteEnde1, N3PunkteStartEndeMitte1, MittelpunktStart1});
    QMenu* kreis = zeichnen->addMenu(u("Kreis"));
    kreis->setIcon(toolIcon("circle"));
    kreis->addActions({MittelpunktRadius1, MittelpunktDurchmesser1, N2Punkte1, N3Punkte1});
    QMenu* ellipse = zeichnen->addMenu(u("Ellipse"));
    ellipse->setIcon(toolIcon("ellipse"));
    ellipse->addActions({Achsen1, Mittelpunkt1, Ellipsenbogen1, EllipsenbogenMittelpunkt1});
    zeichnen->addActions({Text1, Punkt1, Flche1, Pfeil1});
    zeichnen->addSeparator();
    zeichnen->addAction(Viewporthinzufgen1);

    QMenu* format = menuBar()->addMenu(u("Format"));
    format->addActions({Ebenen1, Linienstile1});

    QMenu* optionen = menuBar()->addMenu(u("Optionen"));
    optionen->addActions({Skalierungsfaktor1, Rotationsrichtung1});

    QMenu* sprache = menuBar()->addMenu(u("Sprache"));
    sprache->addActions({Deutsch1, English1});
    sprache->addSeparator();
    sprache->addAction(bersetzen1);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    Fertig1 = PopupMenu1->addAction(u("Fertig"));
    Fertig1->setObjectName("Fertig1");
    Linienzugschlieen1 = PopupMenu1->addAction(u("Linienzug schließen"));
    Linienzugschlieen1->setObjectName("Linienzugschlieen1");
    PopupMenu1->addSeparator();
    Kreisbogen2 = PopupMenu1->addAction(u("Kreisbogen"));
    Kreisbogen2->setObjectName("Kreisbogen2");
    Linie2 = PopupMenu1->addAction(u("Linie"));
    Linie2->setObjectName("Linie2");
}

void TMainForm::createToolBars()
{
    QToolBar* top = addToolBar(u("Datei"));
    top->setObjectName("ToolBar1");
    top->setIconSize(QSize(24, 24));
    top->addActions({NeueDXFDateiR12, NeueDXFDatei1, ffnen1, Speichern1, Speichernunter1});
    top->addSeparator();
    top->addActions({PrintBtn, UndoBtn});
    top->addSeparator();
    top->addActions({ZoomInBtn, ZoomOutBtn, ZoomAll, ZoomBtn, HandBtn});
    top->addSeparator();
    top->addActions({JoinLinesBtn, BitBtn1});
    ZoomBtn->setCheckable(true);
    HandBtn->setCheckable(true);

    addToolBarBreak();
    QToolBar* props = addToolBar(u("Eigenschaften"));
    props->setObjectName("PropertyBar");
    LayerBtn = new QPushButton(u("Ebenen..."), props);
    LayerBtn->setObjectName("LayerBtn");
    props->addWidget(LayerBtn);
    auto makeBox = [&](QComboBox*& box, const char* name, const char* hint, int width) {
        box = new QComboBox(props);
        box->setObjectName(name);
        box->setToolTip(u(hint));
        box->setMinimumWidth(width);
        props->addWidget(box);
    };
    makeBox(LayerCombo, "LayerCombo", "Ebene", 160);
    makeBox(LineCombo, "LineCombo", "Linienstil", 160);
    makeBox(ColorComboBox, "ColorComboBox", "Farbe", 120);
    makeBox(LineWeightBox, "LineWeightBox", "Linienbreite", 110);
    for (const char* c : view::colorBoxItems)
        ColorComboBox->addItem(u(c));
    for (const char* w : view::lineWeightBoxItems)
        LineWeightBox->addItem(u(w));

    QToolBar* left = new QToolBar(u("Zeichnen"), this);
    left->setObjectName("ToolBar2");
    left->setIconSize(QSize(24, 24));
    addToolBar(Qt::LeftToolBarArea, left);
    left->addActions(drawingTools->actions());
    left->insertAction(RectangleBtn, PolyGon);

    QToolBar* right = new QToolBar(u("Bearbeiten"), this);
    right->setObjectName("ToolBar3");
    right->setIconSize(QSize(24, 24));
    addToolBar(Qt::RightToolBarArea, right);
    right->addActions({CopyBtn, MoveBtn, RotateBtn, ScaleBtn, MirrorBtn, ArrayBtn, DelBtn});
}

void TMainForm::createCentral()
{
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);

    PaintBox1 = new DrawArea(central);
    PaintBox1->editor = editor.get();
    HorzScrollbar = new QScrollBar(Qt::Horizontal, central);
    HorzScrollbar->setObjectName("HorzScrollbar");
    VertScrollbar = new QScrollBar(Qt::Vertical, central);
    VertScrollbar->setObjectName("VertScrollbar");
    for (QScrollBar* s : {HorzScrollbar, VertScrollbar}) {
        s->setRange(int(view::scrollMin), int(view::scrollMax));
        s->setSingleStep(view::scrollSmallStep);
        s->setPageStep(view::scrollLargeStep);
    }
    HorzScrollbar->setValue(view::scrollxStart);
    VertScrollbar->setValue(view::scrollyStart);

    TabControl1 = new QTabBar(central);
    TabControl1->setObjectName("TabControl1");
    TabControl1->setShape(QTabBar::RoundedSouth);
    TabControl1->setExpanding(false);
    TabControl1->setDrawBase(false);
    TabControl1->addTab("Model");
    TabControl1->addTab("Layout1");

    auto* entry = new QWidget(central);
    entry->setObjectName("Panel1");
    auto* row = new QHBoxLayout(entry);
    row->setContentsMargins(4, 2, 4, 2);
    auto makeField = [&](QDoubleSpinBox*& f, const char* name, const char* label) {
        auto* l = new QLabel(u(label), entry);
        row->addWidget(l);
        f = new QDoubleSpinBox(entry);
        f->setObjectName(name);
        f->setDecimals(4);
        f->setRange(-1e12, 1e12);
        f->setMinimumWidth(120);
        row->addWidget(f);
    };
    makeField(Xed, "Xed", "X:");
    makeField(YEd, "YEd", "Y:");
    BenutzenBtn = new QPushButton(u("Klick an diese Stelle (Anstatt Mausklick)"), entry);
    BenutzenBtn->setObjectName("BenutzenBtn");
    row->addWidget(BenutzenBtn);
    row->addStretch(1);
    // The keyboard sink: a one-pixel edit that holds the focus for the drawing.
    keyedit = new QLineEdit(entry);
    keyedit->setObjectName("keyedit");
    keyedit->setFixedSize(1, 1);
    keyedit->setFrame(false);
    keyedit->installEventFilter(this);
    row->addWidget(keyedit);

    grid->addWidget(PaintBox1, 0, 0);
    grid->addWidget(VertScrollbar, 0, 1);
    grid->addWidget(HorzScrollbar, 1, 0);
    grid->addWidget(TabControl1, 2, 0, 1, 2, Qt::AlignLeft);
    grid->addWidget(entry, 3, 0, 1, 2);
    grid->setRowStretch(0, 1);
    grid->setColumnStretch(0, 1);
    setCentralWidget(central);

    statusText = new QLabel(this);
    statusText->setObjectName("StatusText");
    statusBar()->addWidget(statusText, 1);
}

void TMainForm::connectCommands()
{
    auto on = [this](QAction* a, auto f) { connect(a, &QAction::triggered, this, f); };
    on(NeueDXFDateiR12, [this] { editor->NewFile(true); });
    on(NeueDXFDatei1, [this] { editor->NewFile(false); });
    on(ffnen1, [this] { editor->Open(); });
    on(Speichern1, [this] { editor->SaveFile(); });
    on(Speichernunter1, [this] { editor->SaveAs(); });
    on(Beenden1, [this] { close(); });
    on(Deutsch1, [this] { editor->setLanguage(0); });
    on(English1, [this] { editor->setLanguage(1); });
    on(Rckgngig1, [this] { editor->Rckgngig1Click(); });
    on(UndoBtn, [this] { editor->Rckgngig1Click(); });
    on(Lschen1, [this] { editor->Loeschen(); });
    on(AllesAuswhlen1, [this] { editor->AllesAuswhlen1Click(); });
    on(Nichtsauswhlen1, [this] { editor->Nichtsauswhlen1Click(); });
    connect(Bearbeiten1, &QMenu::aboutToShow, this, [this] {
        Rckgngig1->setEnabled(!editor->undos.empty());
    });
    on(ZoomInBtn, [this] { editor->ZoomInBtnClick(); });
    on(ZoomOutBtn, [this] { editor->ZoomOutBtnClick(); });
    on(ZoomAll, [this] { editor->ZoomAllClick(); });
    on(Alleszeigen1, [this] { editor->ZoomAllClick(); });
    on(JoinLinesBtn, [this] { JoinLinesBtnClick(); });
    on(BitBtn1, [this] { BitBtn1Click(); });
    on(bersetzen1, [this] { bersetzen1Click(); });
    on(Seiteeinrichten1, [this] { editor->Seiteeinrichten1Click(); });
    on(Druckereinrichten1, [this] { Druckereinrichten1Click(); });
    on(Drucken1, [this] { Drucken1Click(); });
    on(PrintBtn, [this] { Drucken1Click(); });
    on(Viewporthinzufgen1, [this] { editor->Viewporthinzufgen1Click(); });
    on(Ebenen1, [this] { editor->LayerBtnClick(); });
    on(Linienstile1, [this] { editor->Linienstile1Click(); });
    connect(LayerBtn, &QPushButton::clicked, this, [this] { editor->LayerBtnClick(); });
    // The property boxes act when an entry is chosen, also the one shown already; the
    // re-parse that follows sets them back to their first entry.
    connect(LayerCombo, &QComboBox::activated, this, [this](int i) {
        if (i >= 0)
            editor->chooseLayer(LayerCombo->itemText(i).toStdString());
    });
    connect(LineCombo, &QComboBox::activated, this, [this](int i) {
        if (i >= 0)
            editor->SetLineTypeForObjects(LineCombo->itemText(i).toStdString());
    });
    connect(ColorComboBox, &QComboBox::activated, this, [this](int i) {
        editor->SetColorForObjects(view::colorNumberOfBoxIndex(i));
    });
    connect(LineWeightBox, &QComboBox::activated, this, [this](int i) {
        editor->SetLeineWeightForObjects(view::lineWeightOfBoxIndex(i));
    });
    on(Linienbreitezeigen1, [this] {
        editor->display.showLineweights = Linienbreitezeigen1->isChecked();
        refreshView();
    });
    on(Druckvorschau1, [this] {
        editor->display.printPreview = Druckvorschau1->isChecked();
        refreshView();
    });
    on(DruckvorschauinModelansichtanaus1, [this] {
        Druckvorschau1->setChecked(!Druckvorschau1->isChecked());
        editor->display.printPreview = Druckvorschau1->isChecked();
        refreshView();
    });

    connect(HorzScrollbar, &QScrollBar::valueChanged, this, &TMainForm::HorzScrollbarChange);
    connect(VertScrollbar, &QScrollBar::valueChanged, this, &TMainForm::VertScrollbarChange);
    connect(TabControl1, &QTabBar::currentChanged, this, [this](int t) {
        if (!syncing && t >= 0)
            editor->TabControl1Change(t);
    });
    connect(PaintBox1, &DrawArea::resized, this, [this](int w, int h) {
        editor->setAreaSize(w, h);
    });
    connect(PaintBox1, &DrawArea::wheelTurned, this, &TMainForm::FormMouseWheel);
}

// ---- start-up and shut-down ----

void TMainForm::showEvent(QShowEvent* e)
{
    QMainWindow::showEvent(e);
    if (!first)
        FormShow();
}

void TMainForm::FormShow()
{
    Editor& ed = *editor;
    ed.setAreaSize(PaintBox1->width(), PaintBox1->height());
    translations().language = 1;
    translations().RegisterMessages();  // every built-in message gets its row
    ed.language = ed.languagesetto;
    translations().language = ed.language;
    if (ed.language != 0)
        TranslateComponents(nullptr, [this](const QString& s) {
            return QString::fromStdString(editor->translate(s.toStdString()));
        });
    installToolkitTranslation(ed.language);
    // The application's title in the user's language names the minimised window. It is
    // not made the toolkit's display name: on X11 that would be appended to every caption.
    setWindowIconText(QString::fromStdString(ed.translate("Kerbon")));
    restorePageValues();
    ed.NewFile(false);
    keyedit->setFocus();
    first = true;
    if (!args.isEmpty())
        ed.openfilewithname(args.first().toStdString());
    ed.offerRecovery();
}

// The toolkit's own texts (file dialogs, standard buttons) in the user's language, when
// the system has them; otherwise they stay English.
void TMainForm::installToolkitTranslation(int language)
{
    static const char* const names[] = {"qtbase_de", nullptr, "qtbase_fr", "qtbase_nl"};
    if (language < 0 || language > 3 || !names[language])
        return;
    auto* t = new QTranslator(this);
    if (t->load(names[language], QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(t);
    else
        delete t;
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    if (!editor->FormCloseQuery()) {
        e->ignore();
        return;
    }
    savePlacement();
    e->accept();
}

QString TMainForm::settingsFile() const
{
    return QString::fromStdString(editor->configpath) + "kerbon.ini";
}

void TMainForm::restorePlacement()
{
    QSettings s(settingsFile(), QSettings::IniFormat);
    if (!restoreGeometry(s.value("MainForm/geometry").toByteArray()))
        resize(1100, 760);
    restoreState(s.value("MainForm/state").toByteArray());
    // The text heights of "Text hinzufügen" are kept from run to run.
    TextValues& t = editor->textValues;
    for (auto [key, field] : {std::pair{"AddTextForm/FontSizeEd", &t.fontsize},
                              std::pair{"AddTextForm/FontSizeDimensionEd", &t.fontsizeDimension}}) {
        bool ok = false;
        const double v = s.value(key).toDouble(&ok);
        if (ok && v >= 1e-06 && v <= 1000000)
            *field = v;
    }
}

void TMainForm::savePlacement()
{
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue("MainForm/geometry", saveGeometry());
    s.setValue("MainForm/state", saveState());
    s.setValue("AddTextForm/FontSizeEd", editor->textValues.fontsize);
    s.setValue("AddTextForm/FontSizeDimensionEd", editor->textValues.fontsizeDimension);
}

// ---- view ----

void TMainForm::refreshView()
{
    const view::ViewState& v = editor->view;
    UndoBtn->setEnabled(editor->undoBtnEnabled);
    Druckvorschau1->setChecked(editor->display.printPreview);
    Rckgngig1->setEnabled(!editor->undos.empty());  // so Ctrl+Z works without the menu
    syncing = true;
    const view::ScrollRange r = v.scrollRange(editor->model);
    hbar = view::scrollBarView(r.hmin, r.hmax, v.scrollx);
    vbar = view::scrollBarView(r.vmin, r.vmax, v.scrolly);
    for (auto [bar, b] : {std::pair{HorzScrollbar, &hbar}, std::pair{VertScrollbar, &vbar}}) {
        bar->setRange(b->minimum, b->maximum);
        bar->setSingleStep(b->single);
        bar->setPageStep(b->page);
        bar->setValue(b->value);
    }
    if (v.tabindex >= 0 && v.tabindex < TabControl1->count())
        TabControl1->setCurrentIndex(v.tabindex);
    syncing = false;
    PaintBox1->invalidate();
}

void TMainForm::refreshLayoutTabs(const std::vector<std::string>& names)
{
    syncing = true;
    while (TabControl1->count() > 0)
        TabControl1->removeTab(TabControl1->count() - 1);
    for (const std::string& n : names)
        TabControl1->addTab(QString::fromStdString(n));
    if (editor->view.tabindex >= TabControl1->count())
        editor->view.tabindex = 0;
    TabControl1->setCurrentIndex(editor->view.tabindex);
    syncing = false;
}

void TMainForm::refreshSelectors(const std::vector<std::string>& linetypeNames,
                                 const std::vector<std::string>& layerNames)
{
    syncing = true;
    LayerCombo->clear();
    for (const std::string& n : styles::layerBoxNames(layerNames, editor->chosenLayer))
        LayerCombo->addItem(QString::fromStdString(n));
    LineCombo->clear();
    for (const std::string& n : linetypeNames)
        LineCombo->addItem(QString::fromStdString(n));
    for (QComboBox* b : {LayerCombo, LineCombo, ColorComboBox, LineWeightBox})
        b->setCurrentIndex(b->count() > 0 ? 0 : -1);
    syncing = false;
}

void TMainForm::HorzScrollbarChange(int value)
{
    if (!syncing)
        editor->scrollbarChange(hbar.position(value), vbar.position(VertScrollbar->value()));
}

void TMainForm::VertScrollbarChange(int value)
{
    if (!syncing)
        editor->scrollbarChange(hbar.position(HorzScrollbar->value()), vbar.position(value));
}

void TMainForm::JoinLinesBtnClick()
{
    PolyForm->openTarget.clear();
    PolyForm->exec();
    if (!PolyForm->openTarget.empty())  // the user chose to open the result
        editor->OpenNamed(PolyForm->openTarget);
}

void TMainForm::BitBtn1Click()
{
    SchachtelungForm->UebernehmenBtnClick();
    SchachtelungForm->applyFields();
    SchachtelungForm->exec();
}

// The translation editor; windows take changed translations only at the next start.
void TMainForm::bersetzen1Click()
{
    TranslateForm->FillStringGrid();
    TranslateForm->exec();
    editor->ui.messageBox(editor->messageText(2), editor->messageText(3), MsgIcon::Information,
                          MsgButtons::Ok);
}

void TMainForm::FormMouseWheel(QWheelEvent* e)
{
    mouseWheelAt(e->position(), e->angleDelta(), e->modifiers());
}

// A wheel turned over a part of the window that does not use it itself (tool bars, the
// panel): the same as over the drawing area, at the mouse position in area pixels.
void TMainForm::wheelEvent(QWheelEvent* e)
{
    const QPointF at = PaintBox1->mapFromGlobal(e->globalPosition());
    mouseWheelAt(at, e->angleDelta(), e->modifiers());
    e->accept();
}

void TMainForm::mouseWheelAt(QPointF p, QPoint d, Qt::KeyboardModifiers mods)
{
    // Some platforms turn a wheel with Shift held into a sideways wheel.
    wheelRest += d.y() != 0 ? d.y() : d.x();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    // One step per notch (120); smaller steps of fine wheels add up.
    while (wheelRest >= 120 || wheelRest <= -120) {
        const bool up = wheelRest > 0;
        wheelRest += up ? -120 : 120;
        editor->mouseWheel(up, p.x(), p.y(), shift, ctrl);
    }
}

// ---- keyboard ----

bool TMainForm::eventFilter(QObject* watched, QEvent* e)
{
    // The sink leaves the menus' shortcuts (Ctrl+Z, Ctrl+A, Del) to the menus.
    if (watched == keyedit && e->type() == QEvent::ShortcutOverride) {
        e->ignore();
        return true;
    }
    if (watched == keyedit && e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape) {
            keyeditKeyDown(27);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, e);
}
