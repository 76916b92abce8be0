// The dialog that adds a layer. (window shell; its fields come with the commands that use it).
#include "gui/AddNewLayerFUnit.h"

TAddNewLayerForm::TAddNewLayerForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Neue Ebene hinzufügen"));
}
