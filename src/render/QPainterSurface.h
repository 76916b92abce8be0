// The drawing surface on a QPainter: the screen, the printer page and PNG export.
// Antialiased; integer coordinates fall on pixel centres, so one-pixel lines at whole
// positions stay crisp. "Arial" resolves through fontconfig (Liberation Sans).
#pragma once

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QTransform>
#include <QVector>

#include "view/DrawSurface.h"

namespace kerbon::render {

class QPainterSurface : public view::DrawSurface {
public:
    explicit QPainterSurface(QPainter& painter);

    void strokePath(const view::Path& path, const view::Pen& pen) override;
    void fillPath(const view::Path& path, const view::Brush& brush) override;
    void fillRect(int x, int y, int w, int h, view::Rgb color) override;
    void strokeRect(int x, int y, int w, int h, const view::Pen& pen) override;
    void drawText(std::string_view text, double pixelSize, double x, double y, view::Rgb color) override;
    void setTransform(const view::Matrix& m) override;
    void resetTransform() override;
    void save() override;
    void restore() override;
    void clipPath(const view::Path& path, bool replace) override;
    view::TextSize textSize(std::string_view text, double pixelSize) override;
    void drawIcon(view::Icon icon, int x, int y) override;

private:
    QPainter& p;
    QTransform world;                 // the world transform set by the caller
    double off = 0.5;                 // half-pixel shift still to add to coordinates
    std::vector<QTransform> saved;
    QVector<QPointF> points;          // reused for polylines
    QFont font;
    view::Pen lastPen;                // the pen last given to the painter ...
    bool lastPenValid = false;        // ... while this is set

    void usePen(const view::Pen& pen);

    void applyWorld();
    QPen toQPen(const view::Pen& pen) const;
    QPainterPath toQPath(const view::Path& path, QTransform* textScale = nullptr);
    // The font at an em size; sizes beyond what fonts handle well are reached by `scale`.
    const QFont& fontAt(double pixelSize, double& scale);
};

}  // namespace kerbon::render
