// The Ui port with Qt message boxes and file dialogs, in the user's language.
#pragma once

#include <QString>
#include <functional>

#include "edit/Ui.h"

class QWidget;
class TAddNewLayerForm;
class TAddTextForm;
class TArrayForm;
class TDruckenForm;
class TLayerForm;
class TLinienstilForm;
class TPolygonForm;
class TRotationsForm;
class TSkalierungForm;
class TViewPortForm;

class QtUi : public kerbon::Ui {
public:
    explicit QtUi(QWidget* parent) : parent(parent) {}
    kerbon::MsgResult messageBox(const std::string& text, const std::string& title,
                                 kerbon::MsgIcon icon, kerbon::MsgButtons buttons) override;
    std::optional<std::string> openFileDialog(const kerbon::FileDialogOptions& opts) override;
    std::optional<std::string> saveFileDialog(const kerbon::FileDialogOptions& opts) override;
    int choiceBox(const std::string& text, const std::string& title, kerbon::MsgIcon icon,
                  const std::vector<std::string>& buttons) override;
    // The input dialogs, shown by the windows the main window made (unset: OK, unchanged).
    bool textDialog(kerbon::TextValues& v, bool dimension) override;
    bool arrayDialog(kerbon::ArrayValues& v) override;
    bool polygonDialog(kerbon::PolygonValues& v) override;
    bool rotationDialog(kerbon::RotationValues& v) override;
    bool scaleDialog(kerbon::ScaleValues& v) override;
    void viewportDialog(kerbon::ViewportValues& v) override;
    kerbon::PageDialogResult pageDialog(kerbon::view::PageValues& page) override;
    kerbon::styles::LayerDialogEnd layerDialog(kerbon::styles::LayerDialogValues& v) override;
    bool newLayerDialog(kerbon::styles::NewLayerValues& v) override;
    bool lineTypeDialog(kerbon::styles::LineTypeValues& v) override;
    bool textEditDialog(std::string& text) override;

    TAddTextForm* textForm = nullptr;
    TArrayForm* arrayForm = nullptr;
    TPolygonForm* polygonForm = nullptr;
    TRotationsForm* rotationForm = nullptr;
    TSkalierungForm* scaleForm = nullptr;

    // The dialog windows of the main window that the port shows (unset: the defaults).
    TDruckenForm* druckenForm = nullptr;
    TViewPortForm* viewPortForm = nullptr;
    TLayerForm* layerForm = nullptr;
    TAddNewLayerForm* newLayerForm = nullptr;
    TLinienstilForm* lineTypeForm = nullptr;

    // Lookup for the German texts of the boxes' buttons and of the dialogs' filters;
    // unset: German as written.
    std::function<QString(const QString&)> translate;

private:
    QString tr(const char* german) const;
    QString filterOf(const std::string& filter) const;
    QWidget* parent;
};
