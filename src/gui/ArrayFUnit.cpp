// The array dialog: columns, rows, their spacing and rotation. (window shell; its fields come with the commands that use it).
#include "gui/ArrayFUnit.h"

TArrayForm::TArrayForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Array erstellen"));
}
