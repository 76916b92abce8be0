// The viewport dialog.
#include "gui/ViewPortFUnit.h"

#include <QVBoxLayout>

#include "gui/DialogFields.h"

using namespace kerbon::gui;

namespace {

// Coordinates and sizes reach the extents' bound of +-1e15 drawing units.
constexpr double fieldLimit = 1e15;

}  // namespace

TViewPortForm::TViewPortForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("ViewPortForm");
    setWindowTitle(QString::fromUtf8("Viewport konfigurieren"));
    auto* top = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    top->addLayout(form);
    // Sizes are above 0: a viewport without area shows nothing.
    auto field = [&](QDoubleSpinBox*& f, const char* name, const char* label, bool size) {
        f = floatField(this, name, size ? 0.0001 : -fieldLimit, fieldLimit, 4, 1);
        addRow(form, this, label, f);
    };
    field(breiteEd, "breiteEd", "Breite:", true);
    field(HoeheEd, "HoeheEd", "Höhe:", true);
    field(MitteXEd, "MitteXEd", "Mitte X:", false);
    field(MitteYEd, "MitteYEd", "Mitte Y:", false);
    field(InhaltX, "InhaltX", "Inhalt X:", false);
    field(InhaltY, "InhaltY", "Inhalt Y:", false);
    field(HeiContEd, "HeiContEd", "Höhe Inhalt:", true);
    top->addLayout(buttonRow(this, false));
    OKBtn = findChild<QPushButton*>("OKBtn");
}

void TViewPortForm::run(kerbon::ViewportValues& v)
{
    const std::pair<QDoubleSpinBox*, double*> fields[] = {
        {breiteEd, &v.breite},   {HoeheEd, &v.hoehe},     {MitteXEd, &v.mitteX},
        {MitteYEd, &v.mitteY},   {InhaltX, &v.inhaltX},   {InhaltY, &v.inhaltY},
        {HeiContEd, &v.heiCont}};
    for (const auto& [f, value] : fields)
        f->setValue(*value);
    exec();
    for (const auto& [f, value] : fields) {
        f->interpretText();  // a value still being typed counts
        *value = f->value();
    }
}
