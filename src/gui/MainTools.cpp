// The main window's side of the drawing and editing tools: one table binds every tool
// command of the menus, tool bars and the right-click menu to the tool state; the mouse of
// the drawing area, Escape and the coordinate entry are handed to it; and what it answers
// (pressed button, cursor, rubber band, coordinates) is shown.
#include <QAction>
#include <QActionGroup>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

#include "edit/ToolState.h"
#include "gui/DrawArea.h"
#include "gui/MainUnit.h"

using namespace kerbon;

void TMainForm::connectToolCommands()
{
    tools = std::make_unique<ToolState>(*editor);
    PaintBox1->overlay = &tools->remove;
    using Command = void (ToolState::*)();
    const struct {
        QAction* action;
        Command command;
    } commands[] = {
        {Linie1, &ToolState::LineBtnClick},
        {LineBtn, &ToolState::LineBtnClick},
        {Konstruktionslinie1, &ToolState::Konstruktionslinie1Click},
        {Strahl1, &ToolState::Strahl1Click},
        {Polylinie1, &ToolState::PolyLineBtnClick},
        {PolyLineBtn, &ToolState::PolyLineBtnClick},
        {Freihand1, &ToolState::PenBtnClick},
        {PenBtn, &ToolState::PenBtnClick},
        {Vieleck1, &ToolState::PolyGonClick},
        {PolyGon, &ToolState::PolyGonClick},
        {Rechteck1, &ToolState::RectangleBtnClick},
        {RectangleBtn, &ToolState::RectangleBtnClick},
        {N3PunkteStartMitteEnde1, &ToolState::ArcBtnClick},
        {ArcBtn, &ToolState::ArcBtnClick},
        {N3PunkteStartEndeMitte1, &ToolState::N3PunkteStartEndeMitte1Click},
        {MittelpunktStart1, &ToolState::MittelpunktStart1Click},
        {MittelpunktRadius1, &ToolState::CircleBtnClick},
        {CircleBtn, &ToolState::CircleBtnClick},
        {MittelpunktDurchmesser1, &ToolState::MittelpunktDurchmesser1Click},
        {N2Punkte1, &ToolState::N2Punkte1Click},
        {N3Punkte1, &ToolState::N3Punkte1Click},
        {Achsen1, &ToolState::EllipseBtnClick},
        {EllipseBtn, &ToolState::EllipseBtnClick},
        {Mittelpunkt1, &ToolState::Mittelpunkt1Click},
        {Ellipsenbogen1, &ToolState::Ellipsenbogen1Click},
        {EllipsenbogenMittelpunkt1, &ToolState::EllipsenbogenMittelpunkt1Click},
        {SplineBtn, &ToolState::SplineBtnClick},
        {Text1, &ToolState::TextBtnClick},
        {TextBtn, &ToolState::TextBtnClick},
        {DimensionBtn, &ToolState::DimensionBtnClick},
        {Punkt1, &ToolState::PointBtnClick},
        {PointBtn, &ToolState::PointBtnClick},
        {Flche1, &ToolState::SolidBtnClick},
        {SolidBtn, &ToolState::SolidBtnClick},
        {Pfeil1, &ToolState::ArrowBtnClick},
        {ArrowBtn, &ToolState::ArrowBtnClick},
        {CopyBtn, &ToolState::CopyBtnClick},
        {MoveBtn, &ToolState::MoveBtnClick},
        {RotateBtn, &ToolState::RotateBtnClick},
        {ScaleBtn, &ToolState::ScaleBtnClick},
        {MirrorBtn, &ToolState::MirrorBtnClick},
        {ArrayBtn, &ToolState::ArrayBtnClick},
        {DelBtn, &ToolState::DelBtnClick},
        {ZoomBtn, &ToolState::ZoomBtnClick},
        {HandBtn, &ToolState::HandBtnClick},
        {Fertig1, &ToolState::Fertig1Click},
        {Linienzugschlieen1, &ToolState::Linienzugschlieen1Click},
        {Kreisbogen2, &ToolState::Kreisbogen2Click},
        {Linie2, &ToolState::Linie2Click},
    };
    for (const auto& c : commands)
        connect(c.action, &QAction::triggered, this, [this, command = c.command] {
            ((*tools).*command)();
            syncTools();
        });
    connect(Skalierungsfaktor1, &QAction::toggled, this,
            [this](bool on) { tools->scaleByKeyboard = on; });
    connect(Rotationsrichtung1, &QAction::toggled, this,
            [this](bool on) { tools->rotateByKeyboard = on; });
    connect(BenutzenBtn, &QPushButton::clicked, this, [this] { BenutzenBtnClick(); });
    connect(PaintBox1, &DrawArea::mousePressed, this, &TMainForm::PaintBox1MouseDown);
    connect(PaintBox1, &DrawArea::mouseMoved, this, &TMainForm::PaintBox1MouseMove);
    connect(PaintBox1, &DrawArea::mouseReleased, this, &TMainForm::PaintBox1MouseUp);
    connect(PaintBox1, &DrawArea::mouseDoubleClicked, this, &TMainForm::PaintBox1DblClick);
}

// The tool bar buttons, the view tool buttons, the cursor and the rubber band as the tool
// state has them.
void TMainForm::syncTools()
{
    const ToolState& t = *tools;
    const std::pair<ToolButton, QAction*> buttons[] = {
        {ToolButton::LineBtn, LineBtn},           {ToolButton::PolyLineBtn, PolyLineBtn},
        {ToolButton::RectangleBtn, RectangleBtn}, {ToolButton::ArcBtn, ArcBtn},
        {ToolButton::CircleBtn, CircleBtn},       {ToolButton::SplineBtn, SplineBtn},
        {ToolButton::EllipseBtn, EllipseBtn},     {ToolButton::TextBtn, TextBtn},
        {ToolButton::DimensionBtn, DimensionBtn}, {ToolButton::PointBtn, PointBtn},
        {ToolButton::SolidBtn, SolidBtn},         {ToolButton::ArrowBtn, ArrowBtn},
        {ToolButton::PenBtn, PenBtn},
    };
    for (const auto& [b, a] : buttons)
        a->setChecked(t.down == b);
    PolyGon->setChecked(false);  // a command; its tool shows as the circle button
    ZoomBtn->setChecked(editor->view.inzoom);
    HandBtn->setChecked(editor->view.inhand);
    if (int(t.cursor) != shownCursor) {
        shownCursor = int(t.cursor);
        switch (t.cursor) {
        case ToolCursor::Crosshair: PaintBox1->setCursor(DrawArea::crossCursor()); break;
        case ToolCursor::Arrow: PaintBox1->setCursor(Qt::ArrowCursor); break;
        case ToolCursor::Cross: PaintBox1->setCursor(Qt::CrossCursor); break;
        case ToolCursor::HandPoint: PaintBox1->setCursor(Qt::PointingHandCursor); break;
        case ToolCursor::Magnifier: PaintBox1->setCursor(DrawArea::magnifierCursor()); break;
        }
    }
    PaintBox1->overlayChanged();
}

static MouseEvent toolEvent(const QMouseEvent* e)
{
    MouseEvent m;
    m.button = e->button() == Qt::RightButton    ? MouseButton::Right
               : e->button() == Qt::MiddleButton ? MouseButton::Middle
                                                 : MouseButton::Left;
    m.x = e->position().x();
    m.y = e->position().y();
    m.shift = e->modifiers() & Qt::ShiftModifier;
    m.ctrl = e->modifiers() & Qt::ControlModifier;
    return m;
}

static bool toolButton(const QMouseEvent* e)
{
    return e->button() == Qt::LeftButton || e->button() == Qt::RightButton ||
           e->button() == Qt::MiddleButton;
}

void TMainForm::PaintBox1MouseDown(QMouseEvent* e)
{
    keyedit->setFocus();
    if (!toolButton(e))
        return;
    if (tools->PaintBox1MouseDown(toolEvent(e)) == PressAnswer::OpenPopup)
        PopupMenu1->popup(PaintBox1->mapToGlobal(e->position().toPoint()));
    syncTools();
}

void TMainForm::PaintBox1MouseMove(QMouseEvent* e)
{
    const QPointF p = e->position();
    tools->PaintBox1MouseMove(p.x(), p.y(), e->modifiers() & Qt::ControlModifier);
    statusText->setText(QString::fromStdString(tools->statusText));
    PaintBox1->overlayChanged();
}

void TMainForm::PaintBox1MouseUp(QMouseEvent* e)
{
    if (!toolButton(e))
        return;
    tools->PaintBox1MouseUp(toolEvent(e));
    syncTools();
}

// The toolkit reports the second press of a double click as the double click itself: it
// is the press first, then the double click.
void TMainForm::PaintBox1DblClick(QMouseEvent* e)
{
    PaintBox1MouseDown(e);
    if (e->button() == Qt::LeftButton)
        tools->PaintBox1DblClick();
    syncTools();
}

void TMainForm::keyeditKeyDown(int key)
{
    tools->keyeditKeyDown(key);
    syncTools();
}

void TMainForm::BenutzenBtnClick()
{
    tools->BenutzenBtnClick(Xed->value(), YEd->value());
    keyedit->setFocus();
    syncTools();
}
