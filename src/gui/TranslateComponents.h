// The window translation: every caption, hint and item text of a window tree passes
// through the translation lookup once (at first show, when the language is not German).
#pragma once

#include <QString>
#include <functional>

class QObject;

using TranslateFn = std::function<QString(const QString&)>;

// Walks the object tree breadth-first from `root` (nullptr: every window of the
// application), children from the last to the first, and replaces each text by `tr` of it.
// Which text of which kind of widget is translated:
//   QLabel, QRadioButton, window           text / window title
//   QCheckBox                              tool tip, then text
//   QPushButton, QGroupBox                 text / title, then tool tip
//   QAction (menu items, toolbar buttons)  text, then tool tip (when it has one of its own)
//   spin box (number field)                tool tip
//   QToolButton without an action          tool tip
//   QComboBox                              every item (the current index is kept)
//   QTableWidget                           every horizontal header text
//   QTreeWidget                            every header column text
//   QFileDialog                            the name filters
//   QPlainTextEdit, QTextEdit              every line
//   QLineEdit (not inside a spin or combo box)  the text
// Every object is translated once even when it is reached twice.
void TranslateComponents(QObject* root, const TranslateFn& tr);
