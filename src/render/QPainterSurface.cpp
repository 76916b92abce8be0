// DrawSurface on QPainter.
#include "render/QPainterSurface.h"

#include <QFontMetricsF>
#include <QPolygonF>
#include <QString>
#include <cmath>

namespace kerbon::render {

using view::Path;

namespace {

constexpr double maxFontPixels = 1000;  // larger em sizes are drawn scaled

QColor qcolor(view::Rgb c) { return QColor(c.r, c.g, c.b); }

QString qstr(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// Integer positions at pixel centres.
const QTransform& half()
{
    static const QTransform t = QTransform::fromTranslate(0.5, 0.5);
    return t;
}

}  // namespace

QPainterSurface::QPainterSurface(QPainter& painter, int originX, int originY, QRect bounds)
    : p(painter), originX(originX), originY(originY), bounds(bounds), font(QStringLiteral("Arial"))
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setBackgroundMode(Qt::TransparentMode);
    font.setStyleHint(QFont::SansSerif);
    applyWorld();
}

// Without a world transform the painter keeps the identity (Qt's fastest path) and the
// half-pixel shift is added to every point; with one, the shift follows it.
void QPainterSurface::applyWorld()
{
    plain = world.isIdentity();
    if (plain) {
        p.setTransform(QTransform());
        offx = 0.5 - originX, offy = 0.5 - originY;
    } else {
        p.setTransform(world * half() * QTransform::fromTranslate(-originX, -originY));
        offx = offy = 0;
    }
}

const QFont& QPainterSurface::fontAt(double pixelSize, double& scale)
{
    double px = std::isfinite(pixelSize) ? std::max(1.0, pixelSize) : 1.0;
    scale = 1;
    if (px > maxFontPixels) {
        scale = px / maxFontPixels;
        px = maxFontPixels;
    }
    const int want = std::max(1, int(std::lround(px)));
    if (font.pixelSize() != want) {
        font.setPixelSize(want);
        metrics.reset();
    }
    if (!metrics)
        metrics.emplace(font);
    scale *= px / want;
    return font;
}

bool QPainterSurface::thinPen(const view::Pen& pen)
{
    return !pen.dashDot && pen.dashes.empty() && !(std::isfinite(pen.width) && pen.width > 1);
}

void QPainterSurface::usePen(const view::Pen& pen)
{
    if (lastPenValid && pen == lastPen)
        return;
    p.setPen(toQPen(pen));
    lastPen = pen;
    lastPenValid = true;
}

QPen QPainterSurface::toQPen(const view::Pen& pen) const
{
    QPen q(qcolor(pen.color));
    // Up to one pixel the pen is cosmetic: the thinnest line, drawn by Qt's fast path for
    // thin lines (dash lengths stay in pixels).
    const double width = std::isfinite(pen.width) && pen.width > 1 ? std::min(pen.width, 1e6) : 0;
    q.setWidthF(width);
    q.setCosmetic(width == 0);
    q.setCapStyle(Qt::RoundCap);
    q.setJoinStyle(Qt::RoundJoin);
    if (pen.dashDot)
        q.setStyle(Qt::DashDotLine);
    if (!pen.dashes.empty()) {
        // Lengths are in pen widths; a pattern finer than a pixel shows as a solid line,
        // and drawing it dash by dash would only cost time.
        QList<qreal> pattern;
        double period = 0;
        bool usable = true;
        for (double d : pen.dashes) {
            if (!std::isfinite(d) || d <= 0)
                usable = false;
            pattern.push_back(d);
            period += d;
        }
        if (pattern.size() % 2 == 1)
            pattern.append(QList<qreal>(pattern));  // an odd list repeats with on and off swapped
        const double w = std::max(1.0, q.widthF());
        if (usable && period * w >= 1.0) {
            q.setDashPattern(pattern);
            if (std::isfinite(pen.dashOffset))
                q.setDashOffset(pen.dashOffset);
        } else if (!pen.dashDot) {
            q.setStyle(Qt::SolidLine);
        }
    }
    return q;
}

QPainterPath QPainterSurface::toQPath(const Path& path, QTransform*)
{
    QPainterPath q;
    q.setFillRule(Qt::OddEvenFill);
    for (const Path::Elem& e : path.elems) {
        switch (e.kind) {
        case Path::Elem::Kind::MoveTo:
            q.moveTo(e.x + offx, e.y + offy);
            break;
        case Path::Elem::Kind::LineTo:
            q.lineTo(e.x + offx, e.y + offy);
            break;
        case Path::Elem::Kind::Close:
            q.closeSubpath();
            break;
        case Path::Elem::Kind::Text: {
            const size_t i = size_t(e.x);
            if (i >= path.texts.size())
                break;
            const view::TextItem& t = path.texts[i];
            double scale = 1;
            const QFont& f = fontAt(t.pixelSize, scale);
            QPainterPath glyphs;
            glyphs.addText(QPointF(0, metrics->ascent()), f, qstr(t.text));
            QTransform place;
            place.translate(t.x + offx, t.y + offy);
            place.scale(scale, scale);
            q.addPath(place.map(glyphs));
            break;
        }
        }
    }
    return q;
}

void QPainterSurface::strokePath(const Path& path, const view::Pen& pen)
{
    if (path.empty())
        return;
    usePen(pen);
    p.setBrush(Qt::NoBrush);
    bool simple = path.texts.empty();
    if (!simple) {
        p.drawPath(toQPath(path));
        return;
    }
    // Straight figures: polylines, without building a QPainterPath. With a thin solid
    // pen, vertices closer than `thin` pixels to the last one kept add nothing a screen
    // can show and are dropped (curves arrive as many short segments).
    const bool thinning = thinPen(pen) && plain;
    constexpr double thin = 0.4;
    points.clear();
    const auto flush = [&](bool closed) {
        if (points.size() >= 2) {
            if (closed)
                p.drawPolygon(points.constData(), int(points.size()));
            else
                p.drawPolyline(points.constData(), int(points.size()));
        }
        points.clear();
    };
    bool pending = false;  // the figure's last vertex was dropped and must end it
    QPointF last;
    const auto finish = [&] {
        if (pending)
            points.push_back(last);
        pending = false;
    };
    for (const Path::Elem& e : path.elems) {
        const QPointF q(e.x + offx, e.y + offy);
        switch (e.kind) {
        case Path::Elem::Kind::MoveTo:
            finish();
            flush(false);
            points.push_back(q);
            break;
        case Path::Elem::Kind::LineTo:
            if (thinning && !points.isEmpty() && std::fabs(q.x() - points.back().x()) < thin &&
                std::fabs(q.y() - points.back().y()) < thin) {
                last = q;
                pending = true;
            } else {
                points.push_back(q);
                pending = false;
            }
            break;
        case Path::Elem::Kind::Close:
            finish();
            flush(true);
            break;
        case Path::Elem::Kind::Text:
            break;
        }
    }
    finish();
    flush(false);
}

void QPainterSurface::fillPath(const Path& path, const view::Brush& brush)
{
    if (path.empty())
        return;
    const QPainterPath q = toQPath(path);
    if (brush.style == view::Brush::Style::BackwardDiagonal) {
        p.fillPath(q, qcolor(brush.background));
        p.fillPath(q, QBrush(qcolor(brush.color), Qt::BDiagPattern));
    } else {
        p.fillPath(q, qcolor(brush.color));
    }
}

void QPainterSurface::fillRect(int x, int y, int w, int h, view::Rgb color)
{
    if (plain) {  // whole pixels, exactly
        p.fillRect(QRect(x - originX, y - originY, w, h), qcolor(color));
        return;
    }
    p.save();
    p.setTransform(world * QTransform::fromTranslate(-originX, -originY));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(x, y, w, h), qcolor(color));
    p.restore();
}

void QPainterSurface::strokeRect(int x, int y, int w, int h, const view::Pen& pen)
{
    usePen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(x + offx, y + offy, w, h));
}

void QPainterSurface::drawText(std::string_view text, double pixelSize, double x, double y, view::Rgb color)
{
    if (text.empty() || !(pixelSize > 0))
        return;
    double scale = 1;
    const QFont& f = fontAt(pixelSize, scale);
    if (painterFontSize != f.pixelSize()) {
        p.setFont(f);
        painterFontSize = f.pixelSize();
    }
    p.setPen(qcolor(color));
    lastPenValid = false;
    const double ascent = metrics->ascent();
    if (scale == 1) {
        p.drawText(QPointF(x + offx, y + offy + ascent), qstr(text));
        return;
    }
    p.save();
    p.translate(x + offx, y + offy);
    p.scale(scale, scale);
    p.drawText(QPointF(0, ascent), qstr(text));
    p.restore();
}

void QPainterSurface::setTransform(const view::Matrix& m)
{
    world = QTransform(m.m11, m.m12, m.m21, m.m22, m.dx, m.dy);
    applyWorld();
}

void QPainterSurface::resetTransform()
{
    world = QTransform();
    applyWorld();
}

void QPainterSurface::save()
{
    lastPenValid = false;
    painterFontSize = -1;
    saved.push_back(world);
    p.save();
}

void QPainterSurface::restore()
{
    if (saved.empty())
        return;
    world = saved.back();
    saved.pop_back();
    p.restore();
    lastPenValid = false;
    painterFontSize = -1;
}

void QPainterSurface::clipPath(const Path& path, bool replace)
{
    if (replace || !p.hasClipping()) {
        if (bounds.isEmpty()) {
            p.setClipPath(toQPath(path), Qt::ReplaceClip);
            return;
        }
        const QTransform t = p.transform();
        p.setTransform(QTransform());
        p.setClipRect(bounds, Qt::ReplaceClip);
        p.setTransform(t);
    }
    p.setClipPath(toQPath(path), Qt::IntersectClip);
}

view::TextSize QPainterSurface::textSize(std::string_view text, double pixelSize)
{
    double scale = 1;
    fontAt(pixelSize, scale);
    return {int(std::lround(metrics->horizontalAdvance(qstr(text)) * scale)),
            int(std::lround(metrics->height() * scale))};
}

void QPainterSurface::drawIcon(view::Icon icon, int x, int y)
{
    lastPenValid = false;
    p.save();
    p.setTransform(QTransform::fromTranslate(x, y) * world * QTransform::fromTranslate(-originX, -originY));
    p.setPen(QPen(Qt::black, 1));
    switch (icon) {
    case view::Icon::Hand:  // an open hand: palm and four fingers
        p.setBrush(QColor(255, 224, 189));
        p.drawRoundedRect(QRectF(3.5, 7.5, 9, 7), 2, 2);
        for (int f = 0; f < 4; ++f)
            p.drawRoundedRect(QRectF(3.5 + f * 2.3, 1.5 + (f == 0 || f == 3 ? 2 : 0), 2, 7), 1, 1);
        break;
    case view::Icon::Magnifier:
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(QRectF(1.5, 1.5, 9, 9));
        p.setPen(QPen(Qt::black, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(9.5, 9.5), QPointF(14.5, 14.5));
        break;
    case view::Icon::Shapes:
        p.setBrush(Qt::red);
        p.drawRect(QRectF(1.5, 1.5, 6, 6));
        p.setBrush(Qt::green);
        p.drawEllipse(QRectF(8.5, 2.5, 6, 6));
        p.setBrush(Qt::blue);
        p.drawPolygon(QPolygonF({QPointF(4.5, 9.5), QPointF(8.5, 14.5), QPointF(0.5, 14.5)}));
        break;
    }
    p.restore();
}

}  // namespace kerbon::render
