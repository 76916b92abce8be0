// The main window (placeholder shell until the full window lands).
#include "gui/MainUnit.h"

#include "gui/QtUi.h"

TMainForm::TMainForm(QWidget* parent)
    : QMainWindow(parent), ui(std::make_unique<QtUi>(this)),
      editor(std::make_unique<kerbon::Editor>(*ui))
{
    setWindowTitle("Tarvel Kerbon 1.0");
    resize(1024, 768);
}

TMainForm::~TMainForm() = default;
