// The one port through which the core asks the person at the screen. The editor window
// implements it with Qt dialogs; tests implement it with a script of answers.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "edit/DialogValues.h"
#include "edit/Viewport.h"
#include "styles/StyleDialogs.h"
#include "view/PageValues.h"

namespace kerbon {

enum class MsgIcon { None, Error, Warning, Question, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };
// How the page set-up dialog was closed: "OK", "Vorschau" or "Abbrechen".
enum class PageDialogResult { Ok, Preview, Cancel };

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
    // A modal question answered with one of the named buttons (texts as shown). Returns
    // the index of the button chosen, or -1 when the box was closed without one (also
    // where nobody can answer).
    virtual int choiceBox(const std::string& text, const std::string& title, MsgIcon icon,
                          const std::vector<std::string>& buttons)
    {
        return (void)text, (void)title, (void)icon, (void)buttons, -1;
    }

    // The small modal input dialogs. Each shows the values, writes back what the user
    // typed and returns true when the dialog was closed with OK. Without a person at the
    // screen (the command line) the values stay as they are and the answer is OK.
    // textDialog with `dimension` set shows the dimension text height instead of the
    // text height.
    virtual bool textDialog(TextValues& v, bool dimension) { return (void)v, (void)dimension, true; }
    virtual bool arrayDialog(ArrayValues& v) { return (void)v, true; }
    virtual bool polygonDialog(PolygonValues& v) { return (void)v, true; }
    virtual bool rotationDialog(RotationValues& v) { return (void)v, true; }
    virtual bool scaleDialog(ScaleValues& v) { return (void)v, true; }
    // "Viewport konfigurieren": it closes only with OK or its close box, and both keep
    // what was typed.
    virtual void viewportDialog(ViewportValues& v) { (void)v; }
    // "Drucken/Seite einrichten": on OK and Preview the five page values (scale, offsets,
    // margin) are written back; the printer metrics follow the printer chosen meanwhile.
    virtual PageDialogResult pageDialog(view::PageValues& page) { return (void)page, PageDialogResult::Ok; }

    // The layer dialog "Ebenen": the rows are edited in place; how it was closed. The
    // new-layer dialog and the line type dialog: true for OK. The text dialog for the text
    // of a text object, where only the text can be changed: true for OK. Without a person:
    // closed, or OK, with the values unchanged.
    virtual styles::LayerDialogEnd layerDialog(styles::LayerDialogValues& v)
    {
        return (void)v, styles::LayerDialogEnd::Closed;
    }
    virtual bool newLayerDialog(styles::NewLayerValues& v) { return (void)v, true; }
    virtual bool lineTypeDialog(styles::LineTypeValues& v) { return (void)v, true; }
    virtual bool textEditDialog(std::string& text) { return (void)text, true; }
};

}  // namespace kerbon
