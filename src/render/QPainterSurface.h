// The drawing surface on a QPainter: the screen, the printer page and PNG export.
// Antialiased; integer coordinates fall on pixel centres, so one-pixel lines at whole
// positions stay crisp. "Arial" resolves through fontconfig (Liberation Sans).
#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRect>
#include <QTransform>
#include <QVector>
#include <optional>

#include "view/DrawSurface.h"

namespace kerbon::render {

class QPainterSurface : public view::DrawSurface {
public:
    // `originX`, `originY`: the device pixel the painter's (0, 0) stands for, when the
    // painter paints one band of a larger area.
    // `bounds`: when not empty, the surface never paints outside it (a clip that replaces
    // the clip stays inside it).
    explicit QPainterSurface(QPainter& painter, int originX = 0, int originY = 0, QRect bounds = {});

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
    int originX = 0, originY = 0;
    QRect bounds;
    bool plain = true;                // no world transform: the painter keeps the identity
    double offx = 0.5, offy = 0.5;    // shift still to add to coordinates (half pixel, origin)
    std::vector<QTransform> saved;
    QVector<QPointF> points;          // reused for polylines
    QFont font;
    std::optional<QFontMetricsF> metrics;  // of `font`
    int painterFontSize = -1;         // pixel size of the font the painter holds
    view::Pen lastPen;                // the pen last given to the painter ...
    bool lastPenValid = false;        // ... while this is set

    void usePen(const view::Pen& pen);
    static bool thinPen(const view::Pen& pen);  // solid and drawn cosmetic

    void applyWorld();
    QPen toQPen(const view::Pen& pen) const;
    QPainterPath toQPath(const view::Path& path, QTransform* textScale = nullptr);
    // The font at an em size; sizes beyond what fonts handle well are reached by `scale`.
    const QFont& fontAt(double pixelSize, double& scale);
};

}  // namespace kerbon::render
