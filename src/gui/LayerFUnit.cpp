// The layer table dialog. (window shell; its fields come with the commands that use it).
#include "gui/LayerFUnit.h"

TLayerForm::TLayerForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Ebenen"));
}
