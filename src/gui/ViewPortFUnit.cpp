// The viewport dialog. (window shell; its fields come with the commands that use it).
#include "gui/ViewPortFUnit.h"

TViewPortForm::TViewPortForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Viewport konfigurieren"));
}
