// The line-joining window: two buttons, the tolerance field and the file dialogs. The work
// itself (read, join, write) is done by the contour tool's core.
#include "gui/PolyFUnit.h"

#include <QApplication>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/QtUi.h"

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

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(JoinLinesBtn);
    buttons->addWidget(CombinePolyBtn);
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label4);
    layout->addWidget(AbweichLinEd);
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

void TPolyForm::report(const contour::JoinOutcome& r)
{
    if (r.message.empty())
        return;
    ui->messageBox(r.message, r.title, r.information ? MsgIcon::Information : MsgIcon::Error,
                   MsgButtons::Ok);
}

void TPolyForm::JoinLinesBtnClick()
{
    std::string source, target;
    if (!pickFiles(source, target))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);  // large drawings take a moment
    const contour::JoinOutcome r =
        contour::joinLinesFile(model, source, target, AbweichLinEd->value());
    QApplication::restoreOverrideCursor();
    report(r);
}

void TPolyForm::CombinePolyBtnClick()
{
    std::string source, target;
    if (!pickFiles(source, target))
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const contour::JoinOutcome r =
        contour::combinePolylinesFile(model, source, target, AbweichLinEd->value());
    QApplication::restoreOverrideCursor();
    report(r);
}
