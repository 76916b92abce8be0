// Tool icons drawn with a few strokes on a 24 x 24 pixmap.
#include "gui/ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

void drawArrowHead(QPainter& p, QPointF tip, QPointF from)
{
    const QPointF d = tip - from;
    const double len = std::hypot(d.x(), d.y());
    if (len == 0)
        return;
    const QPointF u = d / len, n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip - u * 7 + n * 3.5);
    head.lineTo(tip - u * 7 - n * 3.5);
    head.closeSubpath();
    p.fillPath(head, p.pen().color());
}

void paintTool(QPainter& p, const QString& k)
{
    const QColor ink(20, 20, 20), accent(0, 90, 200);
    p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (k == "line") {
        p.drawLine(QPointF(4, 20), QPointF(20, 4));
    } else if (k == "polyline") {
        p.drawPolyline(QPolygonF({{3, 19}, {9, 7}, {15, 16}, {21, 5}}));
    } else if (k == "polygon") {
        QPolygonF g;
        for (int i = 0; i < 6; ++i)
            g << QPointF(12 + 9 * std::cos(i * M_PI / 3), 12 + 9 * std::sin(i * M_PI / 3));
        p.drawPolygon(g);
    } else if (k == "rect") {
        p.drawRect(QRectF(4, 6, 16, 12));
    } else if (k == "arc") {
        p.drawArc(QRectF(4, 6, 16, 16), 0, 180 * 16);
    } else if (k == "circle") {
        p.drawEllipse(QRectF(4, 4, 16, 16));
    } else if (k == "spline") {
        QPainterPath s;
        s.moveTo(3, 18);
        s.cubicTo(8, 0, 14, 26, 21, 6);
        p.drawPath(s);
    } else if (k == "ellipse") {
        p.drawEllipse(QRectF(2, 7, 20, 10));
    } else if (k == "text") {
        QFont f("Arial");
        f.setPixelSize(17);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(0, 0, 24, 24), Qt::AlignCenter, "A");
    } else if (k == "dimension") {
        p.drawLine(QPointF(4, 6), QPointF(4, 20));
        p.drawLine(QPointF(20, 6), QPointF(20, 20));
        p.setPen(QPen(accent, 1.2));
        p.drawLine(QPointF(5, 13), QPointF(19, 13));
        drawArrowHead(p, {5, 13}, {19, 13});
        drawArrowHead(p, {19, 13}, {5, 13});
    } else if (k == "point") {
        p.setBrush(ink);
        p.drawEllipse(QPointF(12, 12), 2.5, 2.5);
    } else if (k == "solid") {
        p.setBrush(QColor(120, 120, 120));
        p.drawPolygon(QPolygonF({{4, 19}, {8, 5}, {20, 8}, {17, 20}}));
    } else if (k == "arrow") {
        p.drawLine(QPointF(4, 20), QPointF(18, 6));
        drawArrowHead(p, {20, 4}, {4, 20});
    } else if (k == "pen") {
        QPainterPath s;
        s.moveTo(3, 16);
        s.cubicTo(6, 6, 9, 20, 12, 12);
        s.cubicTo(15, 4, 18, 18, 21, 9);
        p.drawPath(s);
    } else if (k == "copy") {
        p.drawRect(QRectF(3, 3, 11, 11));
        p.setPen(QPen(accent, 1.6));
        p.drawRect(QRectF(10, 10, 11, 11));
    } else if (k == "move") {
        p.setPen(QPen(accent, 1.6));
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        drawArrowHead(p, {12, 2}, {12, 12});
        drawArrowHead(p, {12, 22}, {12, 12});
        drawArrowHead(p, {2, 12}, {12, 12});
        drawArrowHead(p, {22, 12}, {12, 12});
    } else if (k == "rotate") {
        p.drawArc(QRectF(4, 4, 16, 16), 90 * 16, 270 * 16);
        p.setPen(QPen(accent, 1.6));
        drawArrowHead(p, {12, 4}, {6, 6});
    } else if (k == "scale") {
        p.drawRect(QRectF(3, 11, 10, 10));
        p.setPen(QPen(accent, 1.4, Qt::DashLine));
        p.drawRect(QRectF(3, 3, 18, 18));
    } else if (k == "mirror") {
        p.setPen(QPen(accent, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        p.setPen(QPen(ink, 1.6));
        p.drawPolygon(QPolygonF({{10, 5}, {10, 19}, {3, 19}}));
        p.drawPolygon(QPolygonF({{14, 5}, {14, 19}, {21, 19}}));
    } else if (k == "array") {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                p.drawRect(QRectF(3 + i * 7, 3 + j * 7, 4, 4));
    } else if (k == "delete") {
        p.setPen(QPen(QColor(200, 30, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
    } else if (k == "zoomin" || k == "zoomout" || k == "zoom") {
        const double cx = k == "zoom" ? 9 : 10, cy = k == "zoom" ? 9 : 10;
        p.drawEllipse(QPointF(cx, cy), 6.5, 6.5);
        p.setPen(QPen(ink, 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(cx + 5, cy + 5), QPointF(cx + 11, cy + 11));
        p.setPen(QPen(ink, 1.6));
        p.drawLine(QPointF(cx - 3, cy), QPointF(cx + 3, cy));
        if (k == "zoomin")
            p.drawLine(QPointF(cx, cy - 3), QPointF(cx, cy + 3));
        if (k == "zoom") {  // drag up or down: a double arrow beside the lens
            p.setPen(QPen(accent, 1.4));
            p.drawLine(QPointF(20.5, 4), QPointF(20.5, 14));
            drawArrowHead(p, {20.5, 1.5}, {20.5, 10});
            drawArrowHead(p, {20.5, 16.5}, {20.5, 8});
        }
    } else if (k == "zoomall") {
        p.setPen(QPen(accent, 1.4));
        p.drawRect(QRectF(3, 3, 18, 18));
        p.setPen(QPen(ink, 1.6));
        p.drawEllipse(QRectF(7, 7, 10, 10));
    } else if (k == "hand") {
        // An open hand: four fingers, thumb to the left, palm below.
        QPainterPath h;
        h.addRoundedRect(QRectF(7, 4, 3, 11), 1.5, 1.5);
        h.addRoundedRect(QRectF(10, 2.5, 3, 12), 1.5, 1.5);
        h.addRoundedRect(QRectF(13, 3, 3, 12), 1.5, 1.5);
        h.addRoundedRect(QRectF(16, 5, 3, 10), 1.5, 1.5);
        h.addRoundedRect(QRectF(7, 11, 12, 10.5), 4, 4);
        QPainterPath thumb;
        thumb.moveTo(8, 17);
        thumb.lineTo(3.5, 12.5);
        thumb.quadTo(2.5, 10.5, 4.5, 10.5);
        thumb.lineTo(8.5, 13);
        thumb.closeSubpath();
        h.addPath(thumb);
        h.setFillRule(Qt::WindingFill);
        p.setPen(QPen(ink, 1.2));
        p.setBrush(QColor(250, 222, 190));
        p.drawPath(h.simplified());
    } else if (k == "join") {
        p.drawLine(QPointF(3, 18), QPointF(9, 8));
        p.drawLine(QPointF(11, 7), QPointF(15, 16));
        p.drawLine(QPointF(17, 16), QPointF(21, 5));
        p.setPen(QPen(accent, 1.2));
        p.drawEllipse(QPointF(10, 7.5), 2.2, 2.2);
        p.drawEllipse(QPointF(16, 16), 2.2, 2.2);
    } else if (k == "nest") {
        p.setPen(QPen(ink, 1.2));
        p.drawRect(QRectF(2, 2, 20, 20));
        p.setBrush(QColor(150, 180, 230));
        p.drawRect(QRectF(4, 4, 7, 9));
        p.drawEllipse(QRectF(13, 4, 7, 7));
        p.drawRect(QRectF(4, 15, 16, 5));
    } else if (k == "undo") {
        p.drawArc(QRectF(6, 6, 14, 12), -90 * 16, 180 * 16);
        p.drawLine(QPointF(13, 18), QPointF(6, 18));
        p.drawLine(QPointF(13, 6), QPointF(7, 6));
        drawArrowHead(p, {4, 6}, {13, 6});
    } else if (k == "print") {
        p.setBrush(QColor(230, 230, 230));
        p.drawRect(QRectF(3, 10, 18, 8));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(7, 3, 10, 7));
        p.drawRect(QRectF(7, 15, 10, 6));
    } else if (k == "saveas") {
        p.drawRect(QRectF(4, 4, 14, 16));
        p.drawRect(QRectF(7, 4, 8, 5));
        p.setPen(QPen(accent, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(13, 21), QPointF(22, 12));
    } else if (k == "new") {
        p.setBrush(Qt::white);
        p.drawPolygon(QPolygonF({{5, 3}, {15, 3}, {19, 7}, {19, 21}, {5, 21}}));
        p.drawPolyline(QPolygonF({{15, 3}, {15, 7}, {19, 7}}));
        p.setPen(QPen(QColor(0, 140, 60), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 11), QPointF(12, 18));
        p.drawLine(QPointF(8.5, 14.5), QPointF(15.5, 14.5));
    } else if (k == "newr12") {
        p.drawPolygon(QPolygonF({{5, 3}, {15, 3}, {19, 7}, {19, 21}, {5, 21}}));
        QFont f("Arial");
        f.setPixelSize(8);
        f.setBold(true);
        p.setFont(f);
        p.setPen(accent);
        p.drawText(QRectF(5, 9, 14, 10), Qt::AlignCenter, "R12");
    }
}

}  // namespace

QIcon toolIcon(const QString& key)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    paintTool(p, key);
    p.end();
    return QIcon(pm);
}
