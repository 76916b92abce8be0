// The page set-up and print dialog "Drucken/Seite einrichten": the scale (millimetres on
// paper per drawing units), the offset of the drawing origin and the page margin, each
// millimetre field with its inch twin.
#pragma once

#include <QDialog>
#include <functional>

#include "edit/Ui.h"

class QDoubleSpinBox;
class QPushButton;

class TDruckenForm : public QDialog {
    Q_OBJECT
public:
    explicit TDruckenForm(QWidget* parent = nullptr);

    QDoubleSpinBox* mmEd = nullptr;         // "mm =" ...
    QDoubleSpinBox* UnitsEd = nullptr;      // ... "Einheiten"
    QDoubleSpinBox* RxSpinEdit4 = nullptr;  // mmEd in inches
    QDoubleSpinBox* XOffsetEd = nullptr;
    QDoubleSpinBox* YOffsetEd = nullptr;
    QDoubleSpinBox* RxSpinEdit1 = nullptr;  // XOffsetEd in inches
    QDoubleSpinBox* RxSpinEdit2 = nullptr;  // YOffsetEd in inches
    QDoubleSpinBox* RandEd = nullptr;
    QDoubleSpinBox* RxSpinEdit3 = nullptr;  // RandEd in inches
    QPushButton* DruckerBtn = nullptr;      // "Drucker einrichten"
    QPushButton* OKBtn = nullptr;
    QPushButton* VorschauBtn = nullptr;
    QPushButton* AbbrechenBtn = nullptr;

    // Set while a field is set from its twin, so that the twin is not set back.
    bool dontch = false;

    // "Drucker einrichten": the printer set-up of the window that owns the printer.
    std::function<void()> onPrinterSetup;
    // The settings file the page values are kept in between runs; empty: not kept.
    QString settingsFile;

    // The dialog with the five page values of `page`. "OK" and "Vorschau" write them back
    // (fields still being typed included) and keep them in the settings file; "Abbrechen"
    // and the close box leave them.
    kerbon::PageDialogResult run(kerbon::view::PageValues& page);

    static constexpr int PreviewResult = 2;  // the result of "Vorschau"

protected:
    void showEvent(QShowEvent* e) override;

private:
    void link(QDoubleSpinBox* mm, QDoubleSpinBox* inch);
    void recomputeInches();
};
