// The one port through which the core asks the person at the screen. The editor window
// implements it with Qt dialogs; tests implement it with a script of answers.
#pragma once

#include <optional>
#include <string>

namespace kerbon {

enum class MsgIcon { None, Error, Warning, Question, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

// A file dialog's filter in the "Description (*.ext)|*.ext" form and its default extension.
struct FileDialogOptions {
    std::string filter;
    std::string defaultExt;
    std::string title;
    std::string directory;         // where the dialog starts; empty: the current directory
    bool overwritePrompt = false;  // save dialogs: ask before replacing an existing file
};

class Ui {
public:
    virtual ~Ui() = default;
    // Shows a modal message box; closing the box counts as Cancel (or Ok for Ok-only boxes).
    virtual MsgResult messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    // Modal file dialogs; nullopt when the user cancels.
    virtual std::optional<std::string> openFileDialog(const FileDialogOptions& opts) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogOptions& opts) = 0;
};

}  // namespace kerbon
