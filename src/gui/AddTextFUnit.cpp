// The text dialog: new texts, dimension texts and the editing of a text object. (window shell; its fields come with the commands that use it).
#include "gui/AddTextFUnit.h"

TAddTextForm::TAddTextForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Text hinzufügen"));
}
