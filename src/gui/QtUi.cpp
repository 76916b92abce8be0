// Qt implementation of the Ui port.
#include "gui/QtUi.h"

#include <algorithm>

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "gui/AddNewLayerFUnit.h"
#include "gui/AddTextFUnit.h"
#include "gui/ArrayFUnit.h"
#include "gui/DruckenFUnit.h"
#include "gui/LayerFUnit.h"
#include "gui/LinienStilFUnit.h"
#include "gui/PolyGonFUnit.h"
#include "gui/RotationsFUnit.h"
#include "gui/SkalierungFUnit.h"
#include "gui/ViewPortFUnit.h"

using namespace kerbon;

QString QtUi::tr(const char* german) const
{
    const QString s = QString::fromUtf8(german);
    return translate ? translate(s) : s;
}

// "Description (*.ext)|*.ext|..." becomes Qt's "Description (*.ext);;...".
QString QtUi::filterOf(const std::string& filter) const
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << (translate ? translate(parts[i]) : parts[i]);
    return out.join(";;");
}

// Text, caption and icon of a message box.
static void setUpBox(QMessageBox& box, const std::string& text, const std::string& title,
                     MsgIcon icon)
{
    box.setText(QString::fromStdString(text));
    box.setWindowTitle(QString::fromStdString(title));
    switch (icon) {
    case MsgIcon::None:        box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Error:       box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Warning:     box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Question:    box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
}

MsgResult QtUi::messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                           MsgButtons buttons)
{
    QMessageBox box(parent);
    setUpBox(box, text, title, icon);
    switch (buttons) {
    case MsgButtons::Ok:          box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::OkCancel:    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MsgButtons::YesNo:       box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    const std::pair<QMessageBox::StandardButton, QString> captions[] = {
        {QMessageBox::Ok, tr("OK")},
        {QMessageBox::Cancel, tr("Abbrechen")},
        {QMessageBox::Yes, tr("Ja")},
        {QMessageBox::No, tr("Nein")}};
    for (const auto& [b, caption] : captions)
        if (QAbstractButton* btn = box.button(b))
            btn->setText(caption);
    if (buttons == MsgButtons::YesNoCancel || buttons == MsgButtons::OkCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Ok:  return MsgResult::Ok;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No:  return MsgResult::No;
    default:               return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
}

int QtUi::choiceBox(const std::string& text, const std::string& title, MsgIcon icon,
                    const std::vector<std::string>& buttons)
{
    QMessageBox box(parent);
    setUpBox(box, text, title, icon);
    std::vector<QAbstractButton*> added;
    for (const std::string& b : buttons)
        added.push_back(box.addButton(QString::fromStdString(b), QMessageBox::ActionRole));
    box.exec();
    const auto it = std::find(added.begin(), added.end(), box.clickedButton());
    return it == added.end() ? -1 : int(it - added.begin());
}

// Runs a modal file dialog; the chosen path, or nullopt when cancelled.
static std::optional<std::string> runFileDialog(QWidget* parent, const FileDialogOptions& opts,
                                                const QString& filter, bool save)
{
    QFileDialog dlg(parent, QString::fromStdString(opts.title),
                    QString::fromStdString(opts.directory), filter);
    dlg.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dlg.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QString::fromStdString(opts.defaultExt));
    if (save && !opts.overwritePrompt)
        dlg.setOption(QFileDialog::DontConfirmOverwrite);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return std::nullopt;
    return dlg.selectedFiles().first().toStdString();
}

std::optional<std::string> QtUi::openFileDialog(const FileDialogOptions& opts)
{
    return runFileDialog(parent, opts, filterOf(opts.filter), false);
}

std::optional<std::string> QtUi::saveFileDialog(const FileDialogOptions& opts)
{
    return runFileDialog(parent, opts, filterOf(opts.filter), true);
}

bool QtUi::textDialog(TextValues& v, bool dimension)
{
    return textForm ? textForm->edit(v, dimension) : true;
}

bool QtUi::arrayDialog(ArrayValues& v)
{
    return arrayForm ? arrayForm->edit(v) : true;
}

bool QtUi::polygonDialog(PolygonValues& v)
{
    return polygonForm ? polygonForm->edit(v) : true;
}

bool QtUi::rotationDialog(RotationValues& v)
{
    return rotationForm ? rotationForm->edit(v) : true;
}

bool QtUi::scaleDialog(ScaleValues& v)
{
    return scaleForm ? scaleForm->edit(v) : true;
}

void QtUi::viewportDialog(ViewportValues& v)
{
    if (viewPortForm)
        viewPortForm->run(v);
}

PageDialogResult QtUi::pageDialog(view::PageValues& page)
{
    return druckenForm ? druckenForm->run(page) : Ui::pageDialog(page);
}

styles::LayerDialogEnd QtUi::layerDialog(styles::LayerDialogValues& v)
{
    return layerForm ? layerForm->edit(v) : Ui::layerDialog(v);
}

bool QtUi::newLayerDialog(styles::NewLayerValues& v)
{
    return newLayerForm ? newLayerForm->edit(v) : Ui::newLayerDialog(v);
}

bool QtUi::lineTypeDialog(styles::LineTypeValues& v)
{
    return lineTypeForm ? lineTypeForm->edit(v) : Ui::lineTypeDialog(v);
}

bool QtUi::textEditDialog(std::string& text)
{
    return textForm ? textForm->editText(text) : Ui::textEditDialog(text);
}
