// The corner count of the regular polygon tool. (window shell; its fields come with the commands that use it).
#include "gui/PolyGonFUnit.h"

TPolygonForm::TPolygonForm(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QString::fromUtf8("Vieleck"));
}
