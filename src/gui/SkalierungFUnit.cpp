// The scale factor of the scale tool. (window shell; its fields come with the commands that use it).
#include "gui/SkalierungFUnit.h"

TSkalierungForm::TSkalierungForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Skalierungsfaktor eingeben"));
}
