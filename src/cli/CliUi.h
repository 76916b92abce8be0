// The Ui of the command line: message boxes go to stderr, questions are answered Yes,
// file dialogs are cancelled and the input dialogs keep their values (OK).
#pragma once

#include <cstdio>

#include "edit/Ui.h"

namespace kerbon::cli {

class CliUi : public Ui {
public:
    MsgResult messageBox(const std::string& text, const std::string& title, MsgIcon,
                         MsgButtons buttons) override
    {
        std::fprintf(stderr, "kerbon-cli: %s%s%s\n", title.c_str(), title.empty() ? "" : ": ",
                     text.c_str());
        return buttons == MsgButtons::Ok || buttons == MsgButtons::OkCancel ? MsgResult::Ok
                                                                             : MsgResult::Yes;
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(const FileDialogOptions&) override { return {}; }
};

}  // namespace kerbon::cli
