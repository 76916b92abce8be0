// The line-joining window (shell; the joining commands come with the contour tool).
#include "gui/PolyFUnit.h"

TPolyForm::TPolyForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Linien zusammenfügen"));
}
