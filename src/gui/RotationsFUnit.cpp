// The angle of the rotate tool. (window shell; its fields come with the commands that use it).
#include "gui/RotationsFUnit.h"

TRotationsForm::TRotationsForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Rotationswinkel eingeben"));
}
