// The layer dialog, the new-layer dialog, the line type dialog and the property bar of the
// main window, driven as a user drives them.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <filesystem>

#include "edit/script.h"
#include "gui/AddNewLayerFUnit.h"
#include "gui/LayerFUnit.h"
#include "gui/LinienStilFUnit.h"
#include "gui/MainUnit.h"
#include "support/MainWindow.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;

namespace {

// Runs `f` once the modal dialog that is about to open runs its event loop.
void whenOpen(std::function<void()> f)
{
    QTimer::singleShot(0, std::move(f));
}

// Scripted message boxes; the layer and line type dialogs are the window's own.
struct FormsUi : ScriptedUi {
    TMainForm* form = nullptr;
    styles::LayerDialogEnd layerDialog(styles::LayerDialogValues& v) override
    {
        return form->LayerForm->edit(v);
    }
    bool newLayerDialog(styles::NewLayerValues& v) override { return form->AddNewLayerForm->edit(v); }
    bool lineTypeDialog(styles::LineTypeValues& v) override { return form->LinienstilForm->edit(v); }
};

struct Window {
    TempDir dir;
    FormsUi ui;
    std::unique_ptr<TMainForm> form;

    Window()
    {
        form = kerbon::test::makeMainWindow(dir, ui);
        ui.form = form.get();
        form->show();
    }
    Editor& ed() { return *form->editor; }

    void run(const std::string& text)
    {
        std::vector<script::Command> cmds;
        std::string error;
        script::Report report;
        ASSERT_TRUE(script::parseScript(text, cmds, error)) << error;
        ASSERT_TRUE(script::runCommands(ed(), cmds, report, error)) << error;
    }

    // The value of `code` in the table record `type` named `name`.
    std::string recordValue(const std::string& type, const std::string& name, const std::string& code)
    {
        const LineList& d = ed().dxf.lines;
        for (size_t i = 0; i + 1 < d.size(); i += 2) {
            if (d[i + 1] != type || trimDxf(d[i]) != "0")
                continue;
            std::string found = "<none>";
            bool named = false;
            for (size_t k = i + 2; k + 1 < d.size() && trimDxf(d[k]) != "0"; k += 2) {
                named |= trimDxf(d[k]) == "2" && d[k + 1] == name;
                if (trimDxf(d[k]) == code)
                    found = d[k + 1];
            }
            if (named)
                return found;
        }
        return "<no record>";
    }
};

QStringList items(const QComboBox* b)
{
    QStringList out;
    for (int i = 0; i < b->count(); ++i)
        out << b->itemText(i);
    return out;
}

}  // namespace

TEST(LayerForm, ButtonsEditTheSelectedRowAndNewLayerFollows)
{
    Window w;
    TLayerForm* f = w.form->LayerForm;
    bool newLayerShown = false;
    whenOpen([&] {
        ASSERT_EQ(f->ListView1->topLevelItemCount(), 1);
        QTreeWidgetItem* row = f->ListView1->topLevelItem(0);
        EXPECT_EQ(row->text(0), "0");
        EXPECT_EQ(row->text(1), "Schwarz");
        EXPECT_EQ(row->text(2), "Sichtbar");
        EXPECT_EQ(items(f->LineCombo), QStringList{"Continuous"});
        f->FarbeBtn->click();  // no row selected: nothing happens
        EXPECT_EQ(row->text(1), "Schwarz");
        // The list's current row, as it takes it on focus, is no selection either.
        f->ListView1->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
        f->SperrenBtn->click();
        EXPECT_EQ(row->text(3), "Entsperrt");
        f->ListView1->setCurrentItem(row);
        f->ColorComboBox->setCurrentIndex(2);  // "Grün"
        f->FarbeBtn->click();
        f->SperrenBtn->click();
        f->LineWeightBox->setCurrentIndex(7);  // "0.25 mm"
        f->LinienbreiteBtn->click();
        EXPECT_EQ(row->text(1), "Grün");
        EXPECT_EQ(row->text(3), "Gesperrt");
        EXPECT_EQ(row->text(5), "0.25");
        // Queued from here, so that it runs in the new-layer dialog's own loop once that
        // dialog is open (a timer started before the layer dialog opened could run before
        // the new-layer dialog on a busy machine, and nothing would close it).
        whenOpen([&] {
            TAddNewLayerForm* n = w.form->AddNewLayerForm;
            newLayerShown = n->isVisible();
            QTest::keyClicks(n->Edit1, "Kontur");
            n->ColorComboBox->setCurrentIndex(4);  // "Blau"
            n->findChild<QPushButton*>("OKBtn")->click();
        });
        f->NeueEbeneBtn->click();
    });
    w.form->LayerBtn->click();
    EXPECT_TRUE(newLayerShown);
    EXPECT_EQ(w.recordValue("LAYER", "0", "62"), "3");
    EXPECT_EQ(w.recordValue("LAYER", "0", "70"), "4");
    EXPECT_EQ(w.recordValue("LAYER", "0", "370"), "25");
    EXPECT_EQ(w.recordValue("LAYER", "Kontur", "62"), "5");
    EXPECT_EQ(w.recordValue("LAYER", "Kontur", "6"), "Continuous");
    EXPECT_EQ(items(w.form->LayerCombo), (QStringList{"0", "Kontur"}));
    EXPECT_EQ(w.ed().undos.size(), 2u);
}

TEST(LinienstilForm, PresetNameAndTheFieldsKeptForTheNextUse)
{
    Window w;
    TLinienstilForm* f = w.form->LinienstilForm;
    whenOpen([&] {
        EXPECT_EQ(f->Memo1->toPlainText(), "6.4\n-1.27\n1.27\n-1.27");
        for (QPushButton* b : f->findChildren<QPushButton*>())
            if (b->text() == "Phantom")
                b->click();
        QTest::keyClicks(f->Edit1, "Phantom");
        f->findChild<QPushButton*>("OKBtn")->click();
    });
    w.form->Linienstile1->trigger();
    EXPECT_EQ(w.recordValue("LTYPE", "Phantom", "73"), "6");
    EXPECT_EQ(items(w.form->LineCombo).last(), "Phantom");

    whenOpen([&] {
        EXPECT_EQ(f->Edit1->text(), "Phantom");  // refused as existing unless changed
        f->findChild<QPushButton*>("OKBtn")->click();
    });
    w.form->Linienstile1->trigger();
    ASSERT_FALSE(w.ui.shown.empty());
    EXPECT_EQ(w.ui.shown.back().text, w.ed().messageText(29));
}

TEST(PropertyBar, BoxesChangeTheSelectionAndGoBackToTheirFirstEntry)
{
    Window w;
    w.run("layer-add Kontur; line 0 0 10 0; select all");
    w.form->ColorComboBox->activated(4);  // "Grün"
    EXPECT_EQ(w.form->ColorComboBox->currentIndex(), 0);
    const model::tpoly& p = w.ed().model.polys[0];
    EXPECT_TRUE(p.colorispresent);
    EXPECT_EQ(p.colornr, 3);

    // Choosing a layer moves the selection and makes it the layer of new objects, shown
    // first in the box from then on.
    w.run("select all");
    w.form->LayerCombo->activated(1);
    EXPECT_EQ(w.ed().model.polys[0].layer, "Kontur");
    EXPECT_EQ(items(w.form->LayerCombo), (QStringList{"Kontur", "0"}));
    w.run("line 0 5 10 5");
    EXPECT_EQ(w.ed().model.polys[1].layer, "Kontur");

    w.run("select all");
    w.form->LineWeightBox->activated(11);  // "0.50 mm"
    EXPECT_EQ(w.ed().model.polys[0].lineweight, 50);
    w.run("select all");  // every change parses again, which ends the selection
    w.form->LineCombo->activated(0);
    EXPECT_TRUE(w.ed().model.polys[0].ltnamepresent);
}
