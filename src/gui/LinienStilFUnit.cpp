// The dialog that adds a line type. (window shell; its fields come with the commands that use it).
#include "gui/LinienStilFUnit.h"

TLinienstilForm::TLinienstilForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Linienstil hinzufügen"));
}
