// The line-joining window: two buttons, the tolerance field and the file dialogs. The work
// itself (read, join, write) is done by the contour tool's core.
#include "gui/PolyFUnit.h"

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/QtUi.h"
#include "i18n/translateunit.h"

using namespace kerbon;

TPolyForm::TPolyForm(QWidget* parent, Ui* ui) : QDialog(parent), ownUi(new QtUi(this)), ui(ui)
{
    if (!this->ui)
        this->ui = ownUi.get();
    setWindowTitle(QString::fromUtf8("Linien zusammenfügen"));
    setObjectName("PolyForm");

    JoinLinesBtn = new QPushButton(QString::fromUtf8("Linien zusammenfügen..."), this);
    JoinLinesBtn->setObjectName("JoinLinesBtn");
    CombinePolyBtn = new QPushButton(QString::fromUtf8("Polylinien verbinden..."), this);
    CombinePolyBtn->setObjectName("CombinePolyBtn");
    BitBtn1 = new QPushButton(QString::fromUtf8("Abbrechen"), this);
    BitBtn1->setObjectName("BitBtn1");
    Label4 = new QLabel(QString::fromUtf8("Akzeptiere eine Abweichung von X DXF Einheiten, beim "
                                          "Zusammenfügen von Linienstückchen:"),
                        this);
    Label4->setObjectName("Label4");
    Label4->setWordWrap(true);
    AbweichLinEd = new QDoubleSpinBox(this);
    AbweichLinEd->setObjectName("AbweichLinEd");
    AbweichLinEd->setLocale(QLocale::c());  // the point is the decimal separator
    AbweichLinEd->setDecimals(7);
    AbweichLinEd->setRange(0, 1000000);
    AbweichLinEd->setAlignment(Qt::AlignRight);
    ReverseCB = new QCheckBox(QString::fromUtf8("Richtung angleichen"), this);
    ReverseCB->setObjectName("ReverseCB");
    ArcsCB = new QCheckBox(QString::fromUtf8("Bögen einbeziehen"), this);
    ArcsCB->setObjectName("ArcsCB");
    CloseCB = new QCheckBox(QString::fromUtf8("Geschlossene Ketten schließen"), this);
    CloseCB->setObjectName("CloseCB");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(JoinLinesBtn);
    buttons->addWidget(CombinePolyBtn);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addWidget(AbweichLinEd);
    layout->addWidget(ReverseCB);
    layout->addWidget(ArcsCB);
    layout->addWidget(CloseCB);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // fixed dialog border

    connect(JoinLinesBtn, &QPushButton::clicked, this, &TPolyForm::JoinLinesBtnClick);
    connect(CombinePolyBtn, &QPushButton::clicked, this, &TPolyForm::CombinePolyBtnClick);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    FormCreate();
}

TPolyForm::~TPolyForm() = default;

void TPolyForm::setUi(Ui* u)
{
    ui = u ? u : ownUi.get();
}

void TPolyForm::FormCreate()
{
    AbweichLinEd->setValue(0.01);
}

bool TPolyForm::pickFiles(std::string& source, std::string& target)
{
    FileDialogOptions opts;
    opts.filter = "DXF-Dateien (*.dxf)|*.dxf";
    opts.defaultExt = ".dxf";
    const auto src = ui->openFileDialog(opts);
    if (!src)
        return false;
    opts.overwritePrompt = true;
    const auto dst = ui->saveFileDialog(opts);
    if (!dst)
        return false;
    source = *src;
    target = *dst;
    return true;
}

contour::JoinOptions TPolyForm::options() const
{
    return {ReverseCB->isChecked(), ArcsCB->isChecked(), CloseCB->isChecked()};
}

void TPolyForm::report(const contour::JoinOutcome& r, const std::string& target)
{
    if (!r.written) {
        ui->messageBox(r.message, r.title, r.information ? MsgIcon::Information : MsgIcon::Error,
                       MsgButtons::Ok);
        return;
    }
    auto count = [](int n) { return std::to_string(n) + "\n"; };
    const std::string text = TranslateText("Gelesene Teile: ") + count(r.pieces) +
                             TranslateText("Geschriebene Polylinien: ") + count(r.polylines) +
                             TranslateText("davon geschlossen: ") + count(r.closed) +
                             TranslateText("davon offen: ") + count(r.open) + "\n" +
                             TranslateText("Ergebnis im Editor öffnen?");
    if (ui->messageBox(text, windowTitle().toStdString(), MsgIcon::Information,
                       MsgButtons::YesNo) == MsgResult::Yes) {
        openTarget = target;
        accept();
    }
}

void TPolyForm::JoinLinesBtnClick()
{
    std::string source, target;
    if (!pickFiles(source, target))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);  // large drawings take a moment
    const contour::JoinOutcome r =
        contour::joinLinesFile(model, source, target, AbweichLinEd->value(), options());
    QApplication::restoreOverrideCursor();
    report(r, target);
}

void TPolyForm::CombinePolyBtnClick()
{
    std::string source, target;
    if (!pickFiles(source, target))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    contour::JoinOptions opts = options();
    opts.arcs = false;  // arcs are pieces of line joining only
    const contour::JoinOutcome r =
        contour::combinePolylinesFile(model, source, target, AbweichLinEd->value(), opts);
    QApplication::restoreOverrideCursor();
    report(r, target);
}
