// The nesting window "Schachteln...": sheet and search settings, the preview of the
// arrangement, the search (off the window's thread, with progress and cancel) and the
// transfer of the arrangement into the drawing. The work is done by the nesting core.
#pragma once

#include <QDialog>
#include <QString>
#include <atomic>
#include <memory>
#include <thread>

#include "edit/Ui.h"
#include "nesting/nest_elements.h"
#include "nesting/nest_search.h"

class QCheckBox;
class QDoubleSpinBox;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTimer;
class QtUi;

namespace kerbon {
class Editor;
}

class TSchachtelungForm : public QDialog {
    Q_OBJECT
public:
    // Asks the person through `ui`; without one the window uses Qt dialogs of its own.
    explicit TSchachtelungForm(QWidget* parent = nullptr, kerbon::Ui* ui = nullptr);
    ~TSchachtelungForm() override;
    void setUi(kerbon::Ui* ui);
    // The document whose objects are nested (the main window's editor).
    void setEditor(kerbon::Editor* editor);

    kerbon::nest::Schachtelung nest;          // the elements
    kerbon::nest::NestSettings settings;      // pw, ph, distance, seitenrand, pixbreite, anziterations
    bool keepHoles = true;                    // inner contours travel with their part

    QPushButton* BitBtn3 = nullptr;           // "Zurück..."
    QPushButton* BitBtn1 = nullptr;           // "Berechnen..."
    QPushButton* BitBtn2 = nullptr;           // "In DXF Datei übernehmen..."
    QPushButton* AbbrechenBtn = nullptr;      // "Abbrechen": stops a running search
    QDoubleSpinBox* BreitEd = nullptr;
    QDoubleSpinBox* hoched = nullptr;
    QDoubleSpinBox* AbstandEd = nullptr;
    QSpinBox* IterationsEd = nullptr;
    QSpinBox* PixEd = nullptr;
    QDoubleSpinBox* SeitenrandEd = nullptr;
    QCheckBox* InnenkonturenBox = nullptr;    // "Innenkonturen mit dem Teil verschieben"
    QProgressBar* ProgressBar1 = nullptr;
    QWidget* PaintBox1 = nullptr;             // the preview

    // Take-over of the editor's drawing (the tab shown): elements, proposed sheet, preview.
    void UebernehmenBtnClick();
    // All six fields into the settings: spacing, width, height, pixel width, margin, iterations.
    void applyFields();
    bool searching() const { return worker.joinable(); }
    // Draws the preview on the surface of PaintBox1.
    void PaintBox1Paint();

public slots:
    void BitBtn1Click();       // starts the search
    void BitBtn2Click();       // moves the objects of the drawing to the arrangement
    void AbbrechenBtnClick();  // stops the search; the best arrangement so far is kept

protected:
    void reject() override;
    void closeEvent(QCloseEvent* e) override;

private:
    std::unique_ptr<QtUi> ownUi;
    kerbon::Ui* ui = nullptr;
    kerbon::Editor* editor = nullptr;

    std::thread worker;
    kerbon::nest::SearchProgress progress;
    std::atomic<bool> finished{false};
    kerbon::nest::SearchResult searchResult;
    QTimer* timer = nullptr;
    QString keptCaption;

    void FormCreate();
    void pollSearch();
    void finishSearch(bool report);
    void stopSearch();
    void setBusy(bool busy);
    void showProblem(kerbon::nest::NestProblem problem);
};
