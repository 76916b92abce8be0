// The line-joining window "Linien zusammenfügen": picks a source and a target drawing and
// runs the contour tool on them (loose LINE pieces or broken polylines become polylines).
#pragma once

#include <QDialog>
#include <memory>

#include "edit/Ui.h"
#include "nesting/contour_model.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QtUi;

class TPolyForm : public QDialog {
    Q_OBJECT
public:
    // Asks the person through `ui`; without one the window uses Qt dialogs of its own.
    explicit TPolyForm(QWidget* parent = nullptr, kerbon::Ui* ui = nullptr);
    ~TPolyForm() override;
    void setUi(kerbon::Ui* ui);

    QPushButton* JoinLinesBtn = nullptr;    // "Linien zusammenfügen..."
    QPushButton* CombinePolyBtn = nullptr;  // "Polylinien verbinden..."
    QPushButton* BitBtn1 = nullptr;         // "Abbrechen": closes the window
    QLabel* Label4 = nullptr;
    QDoubleSpinBox* AbweichLinEd = nullptr; // tolerance in drawing units
    // The options, off at first; like the tolerance they keep their state between uses.
    QCheckBox* ReverseCB = nullptr;         // "Richtung angleichen"
    QCheckBox* ArcsCB = nullptr;            // "Bögen einbeziehen" (line joining only)
    QCheckBox* CloseCB = nullptr;           // "Geschlossene Ketten schließen"

    // The tool's model of the last operation, kept until the next one.
    kerbon::contour::ContourModel model;
    // The target the user chose to open in the editor from the report; the window closes
    // then, and whoever showed it opens the file. Empty otherwise.
    std::string openTarget;

public slots:
    void JoinLinesBtnClick();
    void CombinePolyBtnClick();

private:
    void FormCreate();
    // The source and target file dialogs; false when either is cancelled.
    bool pickFiles(std::string& source, std::string& target);
    kerbon::contour::JoinOptions options() const;
    // The outcome: a message when nothing was written, otherwise the report, which offers
    // to open the target in the editor.
    void report(const kerbon::contour::JoinOutcome& r, const std::string& target);

    std::unique_ptr<QtUi> ownUi;
    kerbon::Ui* ui = nullptr;
};
