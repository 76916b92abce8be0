// The drawing tools through the real window, offscreen: the tool commands press their
// buttons, mouse presses draw, the rubber band lies over the cached picture without
// drawing it anew, the right-click menu and the coordinate entry work.
#include <gtest/gtest.h>

#include <QAction>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "gui/DrawArea.h"
#include "edit/EditorFixture.h"
#include "gui/MainUnit.h"
#include "support/MainWindow.h"
#include "support/QtApp.h"
#include "support/ScriptedUi.h"
#include "support/TempFiles.h"

using namespace kerbon;
using kerbon::test::ScriptedUi;
using kerbon::test::TempDir;

namespace {

// A main window on temporary directories, the view one pixel per drawing unit.
struct Window {
    TempDir dir;
    ScriptedUi ui;
    std::unique_ptr<TMainForm> form;

    Window()
    {
        form = kerbon::test::makeMainWindow(dir, ui);
        form->resize(900, 700);
        form->show();
        ed().view.zoomedvalue = 100;
        form->refreshView();
    }
    Editor& ed() { return *form->editor; }
    DrawArea* area() { return form->PaintBox1; }
    QPointF drawingPoint(QPoint p)
    {
        QPointF d;
        ed().view.Bildschirm2DXF(p.x(), p.y(), d.rx(), d.ry());
        return d;
    }
    QPoint screenPoint(double x, double y)
    {
        double sx = 0, sy = 0;
        ed().view.DXF2Bildschirm(x, y, sx, sy);
        return QPoint(int(std::lround(sx)), int(std::lround(sy)));
    }
    void click(QPoint p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseMove(area(), p);
        QTest::mouseClick(area(), b, {}, p);
    }
    // Mouse events of the left button as the toolkit delivers them.
    void send(QEvent::Type type, QPoint p, Qt::MouseButtons held)
    {
        const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, p, area()->mapToGlobal(QPointF(p)), b, held, Qt::NoModifier);
        QApplication::sendEvent(area(), &e);
    }
    void drag(QPoint from, QPoint to)
    {
        send(QEvent::MouseMove, from, Qt::NoButton);
        send(QEvent::MouseButtonPress, from, Qt::LeftButton);
        send(QEvent::MouseMove, to, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    // The toolkit reports a double click as press, release, double click, release.
    void doubleClick(QPoint p)
    {
        send(QEvent::MouseMove, p, Qt::NoButton);
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
            send(t, p, Qt::LeftButton);
            send(QEvent::MouseButtonRelease, p, Qt::NoButton);
        }
    }
};

}  // namespace

TEST(ToolsWindow, EveryToolCommandPressesItsButton)
{
    Window w;
    TMainForm& f = *w.form;
    const std::pair<QAction*, QAction*> commands[] = {
        {f.Linie1, f.LineBtn},         {f.Konstruktionslinie1, f.LineBtn},
        {f.Strahl1, f.LineBtn},        {f.Polylinie1, f.PolyLineBtn},
        {f.Freihand1, f.PenBtn},       {f.Vieleck1, f.CircleBtn},
        {f.Rechteck1, f.RectangleBtn}, {f.N3PunkteStartMitteEnde1, f.ArcBtn},
        {f.N3PunkteStartEndeMitte1, f.ArcBtn}, {f.MittelpunktStart1, f.ArcBtn},
        {f.MittelpunktRadius1, f.CircleBtn},   {f.MittelpunktDurchmesser1, f.CircleBtn},
        {f.N2Punkte1, f.CircleBtn},    {f.N3Punkte1, f.CircleBtn},
        {f.Achsen1, f.EllipseBtn},     {f.Mittelpunkt1, f.EllipseBtn},
        {f.Ellipsenbogen1, f.EllipseBtn}, {f.EllipsenbogenMittelpunkt1, f.EllipseBtn},
        {f.Text1, f.TextBtn},          {f.Punkt1, f.PointBtn},
        {f.Flche1, f.SolidBtn},        {f.Pfeil1, f.ArrowBtn},
        {f.SplineBtn, f.SplineBtn},    {f.DimensionBtn, f.DimensionBtn},
        {f.PolyGon, f.CircleBtn},      {f.LineBtn, f.LineBtn},
    };
    for (const auto& [command, button] : commands) {
        SCOPED_TRACE(command->objectName().toStdString());
        EXPECT_TRUE(command->isEnabled());
        command->trigger();
        EXPECT_TRUE(button->isChecked());
        int down = 0;
        for (QAction* a : {f.LineBtn, f.PolyLineBtn, f.PolyGon, f.RectangleBtn, f.ArcBtn,
                           f.CircleBtn, f.SplineBtn, f.EllipseBtn, f.TextBtn, f.DimensionBtn,
                           f.PointBtn, f.SolidBtn, f.ArrowBtn, f.PenBtn})
            down += a->isChecked();
        EXPECT_EQ(down, 1);
    }
    // An edit command without a selection waits for one with the arrow cursor; Escape
    // ends it and releases the buttons.
    f.MoveBtn->trigger();
    EXPECT_TRUE(f.tools->inmoveselect);
    EXPECT_EQ(f.PaintBox1->cursor().shape(), Qt::ArrowCursor);
    QTest::keyClick(f.keyedit, Qt::Key_Escape);
    EXPECT_FALSE(f.tools->inmoveselect);
    EXPECT_FALSE(f.LineBtn->isChecked());
    for (QAction* a : {f.CopyBtn, f.MoveBtn, f.RotateBtn, f.ScaleBtn, f.MirrorBtn, f.ArrayBtn,
                       f.DelBtn, f.AllesAuswhlen1, f.Nichtsauswhlen1, f.Skalierungsfaktor1,
                       f.Rotationsrichtung1, f.Fertig1, f.Linienzugschlieen1, f.Kreisbogen2,
                       f.Linie2})
        EXPECT_TRUE(a->isEnabled()) << a->objectName().toStdString();
    EXPECT_TRUE(f.BenutzenBtn->isEnabled());
    EXPECT_TRUE(f.Xed->isEnabled());
}

TEST(ToolsWindow, DrawsALineWithARubberBandOverTheCachedPicture)
{
    Window w;
    TMainForm& f = *w.form;
    const QPoint a(100, 300), b(300, 200);
    f.LineBtn->trigger();
    w.click(a);
    EXPECT_FALSE(f.LineBtn->isChecked());  // released by the first press
    f.PaintBox1->repaint();
    const int renders = f.PaintBox1->renders;

    QTest::mouseMove(f.PaintBox1, b);
    f.PaintBox1->repaint();
    EXPECT_EQ(f.PaintBox1->renders, renders);  // the mouse move drew no new picture
    const QPointF at = w.drawingPoint(b);
    EXPECT_EQ(f.statusText->text(), QString::asprintf("%.4f, %.4f", at.x(), at.y()));
    // On the rubber band the picture is inverted, beside it as it was.
    const QImage shown = f.PaintBox1->grab().toImage();
    const QImage& cache = f.PaintBox1->cache;
    const QRgb under = cache.pixel(200, 250);
    EXPECT_EQ(shown.pixel(200, 250) & 0xffffff, ~under & 0xffffff);
    EXPECT_EQ(shown.pixel(200, 260) & 0xffffff, cache.pixel(200, 260) & 0xffffff);

    w.click(b);
    ASSERT_EQ(w.ed().model.anzpoly, 1);
    const model::tpoly& line = w.ed().model.polys[0];
    EXPECT_DOUBLE_EQ(line.ps[0].x, w.drawingPoint(a).x());
    EXPECT_DOUBLE_EQ(line.ps[1].y, at.y());
    w.click(QPoint(300, 100), Qt::RightButton);  // ends the chain
    EXPECT_FALSE(f.tools->inlin);
    // The keyboard sink leaves Ctrl+Z to "Rückgängig".
    f.keyedit->setFocus();
    QTest::keyClick(f.windowHandle(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w.ed().model.anzpoly, 0);
}

TEST(ToolsWindow, PolylineClosedFromTheRightClickMenuAndTypedCoordinates)
{
    Window w;
    TMainForm& f = *w.form;
    f.PolyLineBtn->trigger();
    for (const QPoint p : {QPoint(100, 300), QPoint(300, 300), QPoint(300, 150)})
        w.click(p);
    w.click(QPoint(250, 200), Qt::RightButton);
    EXPECT_TRUE(f.PopupMenu1->isVisible());
    f.Linienzugschlieen1->trigger();
    f.PopupMenu1->hide();
    ASSERT_EQ(w.ed().model.anzpoly, 1);
    EXPECT_TRUE(w.ed().model.polys[0].isclosed);

    // Two presses typed as coordinates draw the line between exactly those points.
    f.Linie1->trigger();
    for (const auto& [x, y] : {std::pair{1.5, 2.0}, std::pair{11.25, -3.5}}) {
        f.Xed->setValue(x);
        f.YEd->setValue(y);
        QTest::mouseClick(f.BenutzenBtn, Qt::LeftButton);
    }
    ASSERT_EQ(w.ed().model.anzpoly, 2);
    const model::tpoly& line = w.ed().model.polys[1];
    EXPECT_EQ(line.ps[0].x, 1.5);
    EXPECT_EQ(line.ps[0].y, 2.0);
    EXPECT_EQ(line.ps[1].x, 11.25);
    EXPECT_EQ(line.ps[1].y, -3.5);
    EXPECT_TRUE(f.keyedit->hasFocus() || !QApplication::focusWindow());
}

TEST(ToolsWindow, WindowSelectionGripDragAndDoubleClickOnAText)
{
    Window w;
    TMainForm& f = *w.form;
    ASSERT_EQ(kerbon::test::runScript(w.ed(), "line 0 0 100 0; text 10 50 5 \"Hallo\""), "");
    f.refreshView();
    const QPoint end = w.screenPoint(100, 0), text = w.screenPoint(10, 50);

    // A selection window of two presses around the line's end selects the line only.
    w.click(end + QPoint(-10, -10));
    EXPECT_TRUE(f.tools->inmassselect);
    w.click(end + QPoint(10, 10));
    ASSERT_EQ(w.ed().model.anzpoly, 2);
    EXPECT_TRUE(w.ed().model.polys[0].selected);
    EXPECT_FALSE(w.ed().model.polys[1].selected);

    // Its grip dragged 10 pixels right at zoom 100 moves the end by 10 units.
    w.drag(end, end + QPoint(10, 0));
    ASSERT_EQ(w.ed().model.anzpoly, 2);
    EXPECT_DOUBLE_EQ(w.ed().model.polys[0].ps[1].x, 110);
    EXPECT_DOUBLE_EQ(w.ed().model.polys[0].ps[0].x, 0);

    // A double click beside the text opens nothing; on its insertion point the press
    // selects it and the double click opens its editor.
    w.ui.typeText = "Welt";
    w.doubleClick(text + QPoint(0, 40));
    EXPECT_TRUE(w.ui.textEdits.empty());
    w.doubleClick(text);
    EXPECT_EQ(w.ui.textEdits, std::vector<std::string>{"Hallo\n"});
    EXPECT_EQ(w.ed().model.polys[1].textstr, "Welt");
}
