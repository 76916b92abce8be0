// The translation editor: the translation table as a grid. (window shell; its fields come with the commands that use it).
#include "gui/TranslateFUnit.h"

TTranslateForm::TTranslateForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Übersetzen"));
}
