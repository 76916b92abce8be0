// The nesting window. (window shell; its fields come with the commands that use it).
#include "gui/SchachtelungFUnit.h"

TSchachtelungForm::TSchachtelungForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Schachteln..."));
}
