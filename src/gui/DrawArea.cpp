// The drawing area widget.
#include "gui/DrawArea.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <algorithm>

#include "edit/Editor.h"
#include "render/paintImage.h"
#include "view/paint.h"

DrawArea::DrawArea(QWidget* parent) : QWidget(parent)
{
    setObjectName("PaintBox1");
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setCursor(crossCursor());
    setMinimumSize(50, 50);
}

// A thin black cross of 31 pixels with a gap at the centre, hot spot in the middle.
QCursor DrawArea::crossCursor()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::white, 3));
    p.drawLine(0, 15, 12, 15);
    p.drawLine(18, 15, 31, 15);
    p.drawLine(15, 0, 15, 12);
    p.drawLine(15, 18, 15, 31);
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(0, 15, 12, 15);
    p.drawLine(18, 15, 31, 15);
    p.drawLine(15, 0, 15, 12);
    p.drawLine(15, 18, 15, 31);
    p.end();
    return QCursor(pm, 15, 15);
}

// A magnifying glass: a round lens with a handle to the lower right, hot spot in the lens.
QCursor DrawArea::magnifierCursor()
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 4));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.drawLine(18, 18, 28, 28);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(12, 12), 8, 8);
    p.setPen(QPen(Qt::black, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(18, 18, 27, 27);
    p.end();
    return QCursor(pm, 12, 12);
}

void DrawArea::invalidate()
{
    stale = true;
    update();
}

QRect DrawArea::currentOverlayBox() const
{
    QRect box;
    if (overlay)
        for (const kerbon::model::tremove& r : *overlay)
            box |= QRect(QPoint(std::min(r.x1, r.x2), std::min(r.y1, r.y2)),
                         QPoint(std::max(r.x1, r.x2), std::max(r.y1, r.y2)));
    return box & rect();
}

void DrawArea::overlayChanged()
{
    const QRect box = currentOverlayBox();
    const QRect dirty = box | overlayBox;
    if (!dirty.isEmpty())
        update(dirty.adjusted(-1, -1, 1, 1));
}

void DrawArea::renderCache()
{
    const QSize s = size().expandedTo(QSize(1, 1));
    if (cache.size() != s)
        cache = QImage(s, QImage::Format_ARGB32_Premultiplied);
    cache.fill(Qt::white);
    stale = false;
    ++renders;
    if (!editor)
        return;
    kerbon::render::paintImage(cache, editor->model, editor->view, editor->page, editor->display,
                               logicalDpiX(), renderData);
}

void DrawArea::paintEvent(QPaintEvent*)
{
    // While a view operation sets zoom and both scroll positions nothing is drawn; the
    // operation asks for a repaint when it is done.
    const bool busy = editor && editor->view.donotdrawnow;
    if ((stale || cache.size() != size()) && !busy)
        renderCache();
    QPainter p(this);
    if (cache.isNull())
        p.fillRect(rect(), Qt::white);
    else
        p.drawImage(0, 0, cache);
    if (!overlay || overlay->empty()) {
        overlayBox = QRect();
        return;
    }
    // The rubber band is drawn into a layer of its own, then laid over the picture in
    // difference mode: white inverts each pixel it covers once, as an exclusive-or pen
    // does (black on the white paper, white on black lines), also where strokes meet.
    const QRect box = overlayBox = currentOverlayBox();
    if (box.isEmpty())
        return;
    std::vector<QLine> lines;
    lines.reserve(overlay->size());
    for (const kerbon::model::tremove& r : *overlay)
        lines.emplace_back(r.x1, r.y1, r.x2, r.y2);
    if (layer.size() != size())
        layer = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    QPainter lp(&layer);
    lp.setCompositionMode(QPainter::CompositionMode_Source);
    lp.fillRect(box, Qt::transparent);
    lp.setCompositionMode(QPainter::CompositionMode_SourceOver);
    lp.setClipRect(box);
    lp.setPen(QPen(Qt::white, 0));
    lp.drawLines(lines.data(), int(lines.size()));
    lp.end();
    p.setCompositionMode(QPainter::CompositionMode_Difference);
    p.drawImage(box.topLeft(), layer, box);
}

void DrawArea::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    stale = true;
    emit resized(width(), height());
}

void DrawArea::mousePressEvent(QMouseEvent* e)
{
    emit mousePressed(e);
}

void DrawArea::mouseMoveEvent(QMouseEvent* e)
{
    emit mouseMoved(e);
}

void DrawArea::mouseReleaseEvent(QMouseEvent* e)
{
    emit mouseReleased(e);
}

void DrawArea::mouseDoubleClickEvent(QMouseEvent* e)
{
    emit mouseDoubleClicked(e);
}

void DrawArea::wheelEvent(QWheelEvent* e)
{
    emit wheelTurned(e);
    e->accept();  // the wheel is always handled
}
