// A drawing surface that records every call as plain values, for tests. Text metrics are
// a fixed rule (see textSize) so that recorded positions do not depend on fonts.
#pragma once

#include <string>
#include <vector>

#include "view/DrawSurface.h"

namespace kerbon::view {

struct Call {
    enum class Op { Stroke, Fill, FillRect, StrokeRect, Text, SetTransform, ResetTransform,
                    Save, Restore, Clip, Icon };
    Op op = Op::Stroke;
    Path path;              // Stroke, Fill, Clip
    Pen pen;                // Stroke, StrokeRect
    Brush brush;            // Fill
    Rgb color;              // FillRect, Text
    Matrix matrix;          // SetTransform; for every call: the transform in force
    int x = 0, y = 0, w = 0, h = 0;  // FillRect, StrokeRect, Icon (w = icon number)
    TextItem text;          // Text
    bool replace = false;   // Clip
};

class RecordingSurface : public DrawSurface {
public:
    std::vector<Call> calls;

    void strokePath(const Path& path, const Pen& pen) override;
    void fillPath(const Path& path, const Brush& brush) override;
    void fillRect(int x, int y, int w, int h, Rgb color) override;
    void strokeRect(int x, int y, int w, int h, const Pen& pen) override;
    void drawText(std::string_view text, double pixelSize, double x, double y, Rgb color) override;
    void setTransform(const Matrix& m) override;
    void resetTransform() override;
    void save() override;
    void restore() override;
    void clipPath(const Path& path, bool replace) override;
    // Width: 0.5 * pixelSize per character (UTF-8 code point), rounded; height: the
    // pixel size rounded up.
    TextSize textSize(std::string_view text, double pixelSize) override;
    void drawIcon(Icon icon, int x, int y) override;

    // The recorded calls of one kind, in order.
    std::vector<const Call*> of(Call::Op op) const;

private:
    Call& add(Call::Op op);
    Matrix current;
    std::vector<Matrix> saved;   // transforms of the saved states
};

}  // namespace kerbon::view
