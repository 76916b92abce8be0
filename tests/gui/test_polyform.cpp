// The line-joining window driven through its slots with a scripted Ui.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDoubleSpinBox>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "gui/PolyFUnit.h"
#include "support/ScriptedUi.h"

namespace {

QApplication& app()
{
    static int argc = 1;
    static char name[] = "test_gui";
    static char* argv[] = {name, nullptr};
    static QApplication* a =
        qobject_cast<QApplication*>(QCoreApplication::instance())
            ? qobject_cast<QApplication*>(QCoreApplication::instance())
            : new QApplication(argc, argv);
    return *a;
}

std::string slurp(const std::filesystem::path& p)
{
    std::ifstream f(p, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

}  // namespace

TEST(TPolyForm, JoinsLinesFromSourceToTargetWithTheFieldsTolerance)
{
    app();
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kerbon-polyform-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string src = (dir / "a.dxf").string(), dst = (dir / "b.dxf").string();
    std::ofstream(src, std::ios::binary)
        << "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
           "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0\r\n 20\r\n0\r\n 11\r\n10\r\n 21\r\n0\r\n"
           "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n10.05\r\n 20\r\n0\r\n 11\r\n10\r\n 21\r\n5\r\n"
           "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";

    kerbon::test::ScriptedUi ui;
    TPolyForm form(nullptr, &ui);
    EXPECT_DOUBLE_EQ(form.AbweichLinEd->value(), 0.01);

    // Cancelling a dialog does nothing; the default tolerance does not reach 10.05.
    ui.files = {src, std::nullopt};
    form.JoinLinesBtnClick();
    EXPECT_FALSE(std::filesystem::exists(dst));
    ASSERT_EQ(ui.dialogs.size(), 2u);
    EXPECT_EQ(ui.dialogs[0].filter, "DXF-Dateien (*.dxf)|*.dxf");
    EXPECT_TRUE(ui.dialogs[1].overwritePrompt);

    // The report tells what happened; "Nein" leaves the window open.
    ui.files = {src, dst};
    ui.answers = {kerbon::MsgResult::No};
    form.AbweichLinEd->setValue(0.1);
    form.JoinLinesBtnClick();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].text, "Gelesene Teile: 2\nGeschriebene Polylinien: 1\n"
                                "davon geschlossen: 0\ndavon offen: 1\n\n"
                                "Ergebnis im Editor öffnen?");
    EXPECT_EQ(ui.shown[0].buttons, kerbon::MsgButtons::YesNo);
    EXPECT_TRUE(form.openTarget.empty());
    const std::string out = slurp(dst);
    EXPECT_NE(out.find("POLYLINE"), std::string::npos);
    EXPECT_EQ(form.model.polys[0].anzp, 3);
    ui.shown.clear();

    // No polylines in the source: the information box, and nothing is written.
    ui.files = {src, (dir / "c.dxf").string()};
    form.CombinePolyBtnClick();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].title, "Keine Polylines");
    EXPECT_EQ(ui.shown[0].icon, kerbon::MsgIcon::Information);
    EXPECT_FALSE(std::filesystem::exists(dir / "c.dxf"));

    // A missing source: the error box, and the earlier target stays as it was.
    ui.files = {(dir / "gone.dxf").string(), dst};
    form.JoinLinesBtnClick();
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].text,
              "Folgende DXF Datei konnte nicht geöffnet werden: " + (dir / "gone.dxf").string());
    EXPECT_EQ(ui.shown[1].icon, kerbon::MsgIcon::Error);
    EXPECT_EQ(slurp(dst), out);
    std::filesystem::remove_all(dir);
}

TEST(TPolyForm, OptionsCloseOutlinesAndTheReportOpensTheResult)
{
    app();
    const auto dir = std::filesystem::temp_directory_path() / "kerbon-polyform-options";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string src = (dir / "a.dxf").string(), dst = (dir / "b.dxf").string();
    // A slot: a line, a half circle, a line drawn the other way, a half circle.
    std::ofstream(src, std::ios::binary)
        << "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n"
           "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0\r\n 20\r\n0\r\n 11\r\n10\r\n 21\r\n0\r\n"
           "  0\r\nARC\r\n  8\r\n0\r\n 10\r\n10\r\n 20\r\n2\r\n 40\r\n2\r\n 50\r\n270\r\n 51\r\n90\r\n"
           "  0\r\nLINE\r\n  8\r\n0\r\n 10\r\n0\r\n 20\r\n4\r\n 11\r\n10\r\n 21\r\n4\r\n"
           "  0\r\nARC\r\n  8\r\n0\r\n 10\r\n0\r\n 20\r\n2\r\n 40\r\n2\r\n 50\r\n90\r\n 51\r\n270\r\n"
           "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    kerbon::test::ScriptedUi ui;
    TPolyForm form(nullptr, &ui);
    for (QCheckBox* box : {form.ReverseCB, form.ArcsCB, form.CloseCB}) {
        EXPECT_FALSE(box->isChecked());  // off: the plain rule
        box->setChecked(true);
    }
    ui.files = {src, dst};
    ui.answers = {kerbon::MsgResult::Yes};
    form.JoinLinesBtnClick();
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_TRUE(ui.shown[0].text.starts_with(
        "Gelesene Teile: 4\nGeschriebene Polylinien: 1\ndavon geschlossen: 1\ndavon offen: 0"));
    EXPECT_EQ(form.openTarget, dst);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    for (QCheckBox* box : {form.ReverseCB, form.ArcsCB, form.CloseCB})
        EXPECT_TRUE(box->isChecked());  // kept for the next use
    std::filesystem::remove_all(dir);
}
