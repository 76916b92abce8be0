// The main window's page set-up and printing: the printer, its set-up dialog, printing the
// current tab, and the page values kept between runs.
#include <QDialogButtonBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "gui/MainUnit.h"
#include "render/printDrawing.h"

using namespace kerbon;

// The five page values the print dialog keeps between runs.
void TMainForm::restorePageValues()
{
    render::loadPageValues(settingsFile(), editor->page);
}

void TMainForm::createPrinter()
{
    printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (printer->outputFormat() == QPrinter::PdfFormat) {
        // No printer: a PDF page, its printable area the whole sheet.
        printer->setResolution(render::printResolution);
        printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    }
    render::takePageMetrics(*printer, editor->page);
}

void TMainForm::Druckereinrichten1Click()
{
    QPrintDialog dialog(printer.get(), this);
    dialog.setWindowTitle(QString::fromStdString(editor->translate("Drucker einrichten")));
    // The dialog chooses the printer; it prints nothing.
    if (auto* box = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = box->button(QDialogButtonBox::Ok))
            ok->setText(QStringLiteral("OK"));
    dialog.exec();
    render::takePageMetrics(*printer, editor->page);
    refreshView();  // the sheet follows the paper
}

void TMainForm::Drucken1Click()
{
    if (editor->Drucken1Click())
        printTo(*printer);
}

bool TMainForm::printTo(QPrinter& p)
{
    Editor& ed = *editor;
    bool askedName = false;
    if (p.outputFormat() == QPrinter::PdfFormat && p.outputFileName().isEmpty()) {
        FileDialogOptions opts;
        opts.filter = "PDF-Dateien (*.pdf)|*.pdf";
        opts.defaultExt = "pdf";
        opts.overwritePrompt = true;
        const auto name = ed.ui.saveFileDialog(opts);
        if (!name)
            return false;
        p.setOutputFileName(QString::fromStdString(*name));
        askedName = true;
    }
    p.setDocName(QString::fromStdString(ed.printTitle()));
    const bool ok = render::printDrawing(p, ed.model, ed.view.tabindex, ed.page, ed.display);
    if (!ok) {
        const QString where = p.outputFileName().isEmpty() ? p.printerName() : p.outputFileName();
        ed.ui.messageBox(ed.translate("Der Druck konnte nicht ausgeführt werden: ") +
                             where.toStdString(),
                         "", MsgIcon::Error, MsgButtons::Ok);
    }
    if (askedName)
        p.setOutputFileName({});  // the next print asks again
    refreshView();
    return ok;
}
