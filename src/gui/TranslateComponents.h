// The window translation: every caption, hint and item text of a window tree passes
// through the translation lookup once (at first show, when the language is not German).
#pragma once

#include <QString>
#include <functional>

#include "i18n/translateunit.h"

class QObject;

using TranslateFn = std::function<QString(const QString&)>;

// Which kind of component a Qt object plays for the translation:
//   QLabel, QRadioButton, window            Label, RadioButton, Form (caption = title)
//   QCheckBox                               CheckBox
//   QPushButton, QGroupBox                  Button, GroupBox
//   QAction (menu items, tool bar buttons)  MenuItem (hint only when it has one of its own)
//   spin box                                SpinEdit
//   QToolButton without an action           ToolButton
//   QComboBox                               ComboBox
//   QTableWidget                            StringGrid (the horizontal header is row 0)
//   QTreeWidget                             ListView (header columns)
//   QFileDialog                             FileDialog (name filters)
//   QPlainTextEdit, QTextEdit               Memo
//   QLineEdit (not inside a spin/combo box) Edit
kerbon::ComponentKind componentKind(const QObject* o);

// Walks the object tree breadth-first from `root` (nullptr: the application, that is
// every window without a parent), children from the last to the first, and replaces
// each text the kind of component carries by `tr` of it. A window root's title first.
void TranslateComponents(QObject* root, const TranslateFn& tr);
