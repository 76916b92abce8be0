// The print and page set-up dialog. (window shell; its fields come with the commands that use it).
#include "gui/DruckenFUnit.h"

TDruckenForm::TDruckenForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Drucken/Seite einrichten"));
}
