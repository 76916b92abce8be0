// The drawing area `PaintBox1`: shows the drawing from a cached image, which is redrawn
// only when something changed, with the tools' rubber band over it, and passes mouse
// events to the main window.
#pragma once

#include <QImage>
#include <QWidget>
#include <vector>

#include "dxf/model.h"
#include "view/Drawpolys.h"

namespace kerbon {
class Editor;
}

class DrawArea : public QWidget {
    Q_OBJECT
public:
    explicit DrawArea(QWidget* parent = nullptr);

    kerbon::Editor* editor = nullptr;  // set by the main window
    QImage cache;                      // the last painted picture of the drawing
    kerbon::view::RenderCache renderData;  // entity extents etc., kept until the next parse
    // The rubber band drawn over the picture, inverting what lies under it; set by the main
    // window. A change of it needs only update(), not a new picture.
    const std::vector<kerbon::model::tremove>* overlay = nullptr;
    int renders = 0;                   // how often the picture was drawn anew

    // Marks the cached picture stale and schedules a repaint.
    void invalidate();
    // Schedules a repaint of where the rubber band was and is now (the picture stays).
    void overlayChanged();
    // Draws the drawing into `cache` at the widget's size (white where nothing is drawn).
    void renderCache();

    static QCursor crossCursor();      // the drawing cross-hair
    static QCursor magnifierCursor();  // the zoom tool

signals:
    void resized(int w, int h);
    void mousePressed(QMouseEvent* e);
    void mouseMoved(QMouseEvent* e);
    void mouseReleased(QMouseEvent* e);
    void mouseDoubleClicked(QMouseEvent* e);
    void wheelTurned(QWheelEvent* e);

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    bool stale = true;
    QImage layer;                      // the rubber band before it is laid over the picture
    QRect overlayBox;                  // where the rubber band was painted last
    QRect currentOverlayBox() const;
};
