// The Ui port with Qt message boxes and file dialogs.
#pragma once

#include "edit/Ui.h"

class QWidget;

class QtUi : public kerbon::Ui {
public:
    explicit QtUi(QWidget* parent) : parent(parent) {}
    kerbon::MsgResult messageBox(const std::string& text, const std::string& title,
                                 kerbon::MsgIcon icon, kerbon::MsgButtons buttons) override;
    std::optional<std::string> openFileDialog(const kerbon::FileDialogSpec& spec) override;
    std::optional<std::string> saveFileDialog(const kerbon::FileDialogSpec& spec) override;

private:
    QWidget* parent;
};
