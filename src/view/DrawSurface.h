// The drawing surface the renderer and the paint cycle draw on: pens with real width,
// round caps and joins, dash patterns; paths filled with the even-odd rule; solid and
// hatch brushes; texts and text outlines in "Arial"; a world transform; clipping; text
// metrics and the grip icons. Implemented with QPainter for the screen, the printer and
// PNG export, and by a recording surface for tests. All positions are device pixels
// (x to the right, y downwards) before the world transform is applied.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kerbon::view {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Caps (start, end, dash) and joins are always round.
struct Pen {
    Rgb color;
    double width = 1;               // pixels; 0 is the thinnest line the surface draws
    bool dashDot = false;           // dash-dot style; `dashes` replace its default pattern
    std::vector<double> dashes;     // on, off, on, ... in pen widths; empty: solid (or plain dash-dot)
    double dashOffset = 0;          // in pen widths
    friend bool operator==(const Pen&, const Pen&) = default;
};

struct Brush {
    enum class Style { Solid, BackwardDiagonal };
    Style style = Style::Solid;
    Rgb color;                      // the fill, or the hatch lines
    Rgb background;                 // behind the hatch lines
    friend bool operator==(const Brush&, const Brush&) = default;
};

// A text placed in a path or drawn: its layout box's top-left corner is (x, y).
struct TextItem {
    std::string text;               // UTF-8
    double pixelSize = 1;           // em size in pixels, > 0
    double x = 0, y = 0;
    friend bool operator==(const TextItem&, const TextItem&) = default;
};

// A path of straight figures and text outlines, filled with the even-odd rule.
// Appending a segment that starts where the previous one ended continues the figure.
struct Path {
    struct Elem {
        enum class Kind : uint8_t { MoveTo, LineTo, Close, Text };
        Kind kind = Kind::MoveTo;
        double x = 0, y = 0;        // Text: index into `texts` in x
        friend bool operator==(const Elem&, const Elem&) = default;
    };
    std::vector<Elem> elems;
    std::vector<TextItem> texts;

    void clear()
    {
        elems.clear();
        texts.clear();
    }
    bool empty() const { return elems.empty(); }
    void segment(double x1, double y1, double x2, double y2)
    {
        if (elems.empty() || elems.back().kind == Elem::Kind::Close ||
            elems.back().kind == Elem::Kind::Text || elems.back().x != x1 || elems.back().y != y1)
            elems.push_back({Elem::Kind::MoveTo, x1, y1});
        elems.push_back({Elem::Kind::LineTo, x2, y2});
    }
    void closeFigure()
    {
        if (!elems.empty() && elems.back().kind == Elem::Kind::LineTo)
            elems.push_back({Elem::Kind::Close, 0, 0});
    }
    void addText(std::string_view text, double pixelSize, double x, double y)
    {
        elems.push_back({Elem::Kind::Text, double(texts.size()), 0});
        texts.push_back({std::string(text), pixelSize, x, y});
    }
    void rect(double l, double t, double r, double b)
    {
        segment(l, t, r, t);
        segment(r, t, r, b);
        segment(r, b, l, b);
        segment(l, b, l, t);
        closeFigure();
    }
    friend bool operator==(const Path&, const Path&) = default;
};

// Affine matrix, row-vector convention: x' = x*m11 + y*m21 + dx, y' = x*m12 + y*m22 + dy.
struct Matrix {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    // This transform followed by `b`.
    Matrix then(const Matrix& b) const
    {
        return {m11 * b.m11 + m12 * b.m21, m11 * b.m12 + m12 * b.m22,
                m21 * b.m11 + m22 * b.m21, m21 * b.m12 + m22 * b.m22,
                dx * b.m11 + dy * b.m21 + b.dx, dx * b.m12 + dy * b.m22 + b.dy};
    }
    friend bool operator==(const Matrix&, const Matrix&) = default;
};

struct TextSize {
    int width = 0, height = 0;
};

// Grip icons of a viewport: hand (move), magnifying glass (view), coloured shapes (contents).
enum class Icon { Hand = 0, Magnifier = 1, Shapes = 2 };

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    virtual void strokePath(const Path& path, const Pen& pen) = 0;
    virtual void fillPath(const Path& path, const Brush& brush) = 0;
    // Integer rectangles: (x, y) top-left, w x h pixels.
    virtual void fillRect(int x, int y, int w, int h, Rgb color) = 0;
    virtual void strokeRect(int x, int y, int w, int h, const Pen& pen) = 0;
    // Text filled with a solid colour; (x, y) is the top-left corner of its layout box.
    virtual void drawText(std::string_view text, double pixelSize, double x, double y, Rgb color) = 0;
    virtual void setTransform(const Matrix& m) = 0;
    virtual void resetTransform() = 0;
    virtual void save() = 0;
    virtual void restore() = 0;
    // Intersects the clip with the path, or replaces the clip by it.
    virtual void clipPath(const Path& path, bool replace = false) = 0;
    // Width and height in pixels of a string at a font pixel height.
    virtual TextSize textSize(std::string_view text, double pixelSize) = 0;
    // A 16 x 16 icon with its top-left corner at (x, y).
    virtual void drawIcon(Icon icon, int x, int y) = 0;
};

}  // namespace kerbon::view
