// The nesting window: settings fields, preview, search with progress bar and cancel, and
// the transfer. The search runs on worker threads of the nesting core; the window only
// watches it with a timer, so it keeps answering while the search works.
#include "gui/SchachtelungFUnit.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include "edit/Editor.h"
#include "gui/QtUi.h"
#include "nesting/nest_preview.h"
#include "nesting/nest_transfer.h"
#include "render/QPainterSurface.h"

using namespace kerbon;

namespace {

QString u(const char* s)
{
    return QString::fromUtf8(s);
}

// The preview surface: paints the window's elements on the sheet.
class NestPreviewArea : public QWidget {
public:
    explicit NestPreviewArea(TSchachtelungForm* form) : QWidget(form), form(form) {}

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        render::QPainterSurface s(p);
        nest::paintPreview(s, width(), height(), form->nest, form->settings.pw, form->settings.ph);
    }

private:
    TSchachtelungForm* form;
};

QDoubleSpinBox* decimalField(QWidget* parent, const char* name, double lo, double hi)
{
    auto* f = new QDoubleSpinBox(parent);
    f->setObjectName(name);
    f->setLocale(QLocale::c());  // the point is the decimal separator
    f->setDecimals(2);
    f->setRange(lo, hi);
    f->setAlignment(Qt::AlignRight);
    return f;
}

QSpinBox* wholeField(QWidget* parent, const char* name, int lo, int hi)
{
    auto* f = new QSpinBox(parent);
    f->setObjectName(name);
    f->setRange(lo, hi);
    f->setAlignment(Qt::AlignRight);
    return f;
}

// Why the search cannot run, in the window's words: German, looked up through `tr`.
template <class Tr>
std::string problemText(nest::NestProblem p, Tr tr)
{
    switch (p) {
    case nest::NestProblem::SheetWidth: return tr("Die Blattbreite muss eine Zahl größer als 0 sein.");
    case nest::NestProblem::SheetHeight: return tr("Die Blatthöhe muss eine Zahl größer als 0 sein.");
    case nest::NestProblem::Spacing:
        return tr("Der Mindestabstand muss mindestens 0 und kleiner als die Blattbreite sein.");
    case nest::NestProblem::Margin:
        return tr("Der Seitenrand muss mindestens 0 und kleiner als die halbe Blattbreite und "
                  "die halbe Blatthöhe sein.");
    case nest::NestProblem::Pixels: return tr("Die Pixelbreite muss zwischen 20 und 1000 liegen.");
    case nest::NestProblem::Iterations:
        return tr("Die Anzahl der Iterationen muss zwischen 1 und 100000000 liegen.");
    case nest::NestProblem::RasterHeight:
        return tr("Das Blatt ist für diese Pixelbreite zu niedrig. Erhöhen Sie die Blatthöhe "
                  "oder die Pixelbreite.");
    case nest::NestProblem::RasterSize:
        return tr("Das Raster wird zu groß. Verringern Sie die Blatthöhe oder die Pixelbreite.");
    case nest::NestProblem::None: break;
    }
    return "";
}

}  // namespace

TSchachtelungForm::TSchachtelungForm(QWidget* parent, Ui* ui)
    : QDialog(parent), ownUi(new QtUi(this)), ui(ui)
{
    if (!this->ui)
        this->ui = ownUi.get();
    setWindowTitle(u("Schachteln..."));
    setObjectName("SchachtelungForm");
    resize(648, 471);

    auto* top = new QWidget(this);
    top->setObjectName("Panel1");
    top->setFixedHeight(129);
    BitBtn3 = new QPushButton(u("Zurück..."), top);
    BitBtn3->setObjectName("BitBtn3");
    BitBtn1 = new QPushButton(u("Berechnen..."), top);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(u("In DXF Datei übernehmen..."), top);
    BitBtn2->setObjectName("BitBtn2");
    AbbrechenBtn = new QPushButton(u("Abbrechen"), top);
    AbbrechenBtn->setObjectName("AbbrechenBtn");
    BreitEd = decimalField(top, "BreitEd", -1e12, 1e12);
    hoched = decimalField(top, "hoched", -1e12, 1e12);
    AbstandEd = decimalField(top, "AbstandEd", -1e12, 1e12);
    SeitenrandEd = decimalField(top, "SeitenrandEd", 0, 10000);
    IterationsEd = wholeField(top, "IterationsEd", 1, nest::maxIterations);
    PixEd = wholeField(top, "PixEd", nest::minPixbreite, nest::maxPixbreite);
    InnenkonturenBox = new QCheckBox(u("Innenkonturen mit dem Teil verschieben"), top);
    InnenkonturenBox->setObjectName("InnenkonturenBox");
    ProgressBar1 = new QProgressBar(top);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedWidth(120);
    QSizePolicy keep = ProgressBar1->sizePolicy();
    keep.setRetainSizeWhenHidden(true);  // the row keeps its layout while no search runs
    ProgressBar1->setSizePolicy(keep);

    auto label = [&](const char* name, const char* text) {
        auto* l = new QLabel(u(text), top);
        l->setObjectName(name);
        return l;
    };
    auto* grid = new QGridLayout;
    grid->addWidget(label("Label1", "Blattbreite:"), 0, 0);
    grid->addWidget(BreitEd, 0, 1);
    grid->addWidget(label("Label2", "Blatthöhe:"), 1, 0);
    grid->addWidget(hoched, 1, 1);
    grid->addWidget(label("Label6", "Seitenrand:"), 2, 0);
    grid->addWidget(SeitenrandEd, 2, 1);
    grid->addWidget(label("Label3", "Mindest Abstand zwischen 2 Elementen:"), 0, 2);
    grid->addWidget(AbstandEd, 0, 3);
    grid->addWidget(label("Label4", "Anzahl der Iterationen:"), 1, 2);
    grid->addWidget(IterationsEd, 1, 3);
    grid->addWidget(
        label("Label5", "Anordnungen simulieren auf Bitmap mit folgender Pixelbreite:"), 2, 2);
    grid->addWidget(PixEd, 2, 3);
    grid->setColumnStretch(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    buttons->addWidget(InnenkonturenBox);
    buttons->addStretch();
    buttons->addWidget(ProgressBar1);
    buttons->addWidget(AbbrechenBtn);
    buttons->addWidget(BitBtn3);
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(6, 6, 6, 6);
    topLayout->addLayout(grid);
    topLayout->addLayout(buttons);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("ScrollBox1");
    PaintBox1 = new NestPreviewArea(this);
    PaintBox1->setObjectName("PaintBox1");
    scroll->setWidget(PaintBox1);
    scroll->setWidgetResizable(true);  // the preview fills the scrolling area
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(scroll, 1);

    timer = new QTimer(this);
    timer->setInterval(50);
    connect(timer, &QTimer::timeout, this, &TSchachtelungForm::pollSearch);
    connect(BitBtn1, &QPushButton::clicked, this, &TSchachtelungForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TSchachtelungForm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TSchachtelungForm::reject);
    connect(AbbrechenBtn, &QPushButton::clicked, this, &TSchachtelungForm::AbbrechenBtnClick);
    FormCreate();
    // The change rules: every field sets its setting; the sheet size redraws the preview.
    connect(BreitEd, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        settings.pw = v;
        PaintBox1Paint();
    });
    connect(hoched, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        settings.ph = v;
        PaintBox1Paint();
    });
    connect(AbstandEd, &QDoubleSpinBox::valueChanged, this, [this](double v) { settings.distance = v; });
    connect(IterationsEd, &QSpinBox::valueChanged, this, [this](int v) { settings.anziterations = v; });
    connect(PixEd, &QSpinBox::valueChanged, this, [this](int v) { settings.pixbreite = v; });
    connect(SeitenrandEd, &QDoubleSpinBox::valueChanged, this, [this](double v) { settings.seitenrand = v; });
    connect(InnenkonturenBox, &QCheckBox::toggled, this, [this](bool on) {
        keepHoles = on;
        if (editor) {  // the elements change with the option; the arrangement is gone
            nest.Uebernehmen(editor->model, editor->view.tabindex, keepHoles);
            PaintBox1Paint();
        }
    });
}

TSchachtelungForm::~TSchachtelungForm()
{
    stopSearch();
}

void TSchachtelungForm::setUi(Ui* u)
{
    ui = u ? u : ownUi.get();
}

void TSchachtelungForm::setEditor(Editor* e)
{
    editor = e;
}

void TSchachtelungForm::FormCreate()
{
    BreitEd->setValue(10.0);
    hoched->setValue(10.0);
    AbstandEd->setValue(0.1);
    IterationsEd->setValue(50);
    PixEd->setValue(200);
    SeitenrandEd->setValue(2.0);
    InnenkonturenBox->setChecked(true);
    applyFields();
    setBusy(false);
}

void TSchachtelungForm::applyFields()
{
    settings.distance = AbstandEd->value();
    settings.pw = BreitEd->value();
    settings.ph = hoched->value();
    settings.pixbreite = PixEd->value();
    settings.seitenrand = SeitenrandEd->value();
    settings.anziterations = IterationsEd->value();
    keepHoles = InnenkonturenBox->isChecked();
}

void TSchachtelungForm::UebernehmenBtnClick()
{
    if (!editor || searching())
        return;
    nest.Uebernehmen(editor->model, editor->view.tabindex, InnenkonturenBox->isChecked());
    const nest::SheetProposal p = nest.proposal();
    BreitEd->setValue(p.width);
    hoched->setValue(p.height);
    AbstandEd->setValue(p.spacing);
    SeitenrandEd->setValue(p.margin);
    applyFields();
    PaintBox1Paint();
}

void TSchachtelungForm::PaintBox1Paint()
{
    PaintBox1->update();
}

void TSchachtelungForm::showProblem(nest::NestProblem problem)
{
    const std::string text = problemText(problem, [this](const char* german) {
        return editor ? editor->translate(german) : std::string(german);
    });
    ui->messageBox(text, "", MsgIcon::Error, MsgButtons::Ok);
}

void TSchachtelungForm::setBusy(bool busy)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BitBtn1, BitBtn2, BreitEd, hoched, AbstandEd,
                                                      IterationsEd, PixEd, SeitenrandEd,
                                                      InnenkonturenBox})
        w->setEnabled(!busy);
    AbbrechenBtn->setEnabled(busy);
    ProgressBar1->setVisible(busy);
}

void TSchachtelungForm::BitBtn1Click()
{
    if (searching())
        return;
    applyFields();
    const nest::NestProblem problem = nest::checkSettings(settings);
    if (problem != nest::NestProblem::None) {
        showProblem(problem);
        return;
    }
    keptCaption = windowTitle();
    setWindowTitle("0");
    ProgressBar1->setRange(0, settings.anziterations);
    ProgressBar1->setValue(0);
    setBusy(true);
    progress.accepted = 0;
    progress.cancel = false;
    finished = false;
    const std::span<const nest::TNestElement> els(nest.elemente.poi(), nest.elemente.count());
    worker = std::thread([this, els, s = settings] {
        searchResult = nest::searchArrangement(els, s, programRandom(), 0, &progress);
        finished = true;
    });
    timer->start();
}

void TSchachtelungForm::pollSearch()
{
    const int done = progress.accepted.load();
    setWindowTitle(QString::number(done));
    ProgressBar1->setValue(done);
    if (finished)
        finishSearch(true);
}

void TSchachtelungForm::finishSearch(bool report)
{
    timer->stop();
    worker.join();
    nest::takeArrangement({nest.elemente.poi(), nest.elemente.count()}, searchResult);
    setWindowTitle(keptCaption);
    setBusy(false);
    PaintBox1Paint();
    if (!report)
        return;
    if (searchResult.problem != nest::NestProblem::None)  // the masks would not fit into memory
        showProblem(searchResult.problem);
    else if (searchResult.over && editor)
        ui->messageBox(editor->messageText(40), "", MsgIcon::Error, MsgButtons::Ok);
}

void TSchachtelungForm::AbbrechenBtnClick()
{
    progress.cancel = true;  // the timer sees the search end and keeps what it found
}

void TSchachtelungForm::stopSearch()
{
    if (!searching())
        return;
    progress.cancel = true;
    finishSearch(false);
}

void TSchachtelungForm::BitBtn2Click()
{
    if (!editor || searching())
        return;
    nest::transferInto(*editor, nest);
    accept();
}

void TSchachtelungForm::reject()
{
    stopSearch();
    QDialog::reject();
}

void TSchachtelungForm::closeEvent(QCloseEvent* e)
{
    stopSearch();
    QDialog::closeEvent(e);
}
