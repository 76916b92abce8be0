// Records drawing calls as plain values.
#include "view/RecordingSurface.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kerbon::view {

Call& RecordingSurface::add(Call::Op op)
{
    Call& c = calls.emplace_back();
    c.op = op;
    c.matrix = current;
    return c;
}

void RecordingSurface::strokePath(const Path& path, const Pen& pen)
{
    Call& c = add(Call::Op::Stroke);
    c.path = path;
    c.pen = pen;
}

void RecordingSurface::fillPath(const Path& path, const Brush& brush)
{
    Call& c = add(Call::Op::Fill);
    c.path = path;
    c.brush = brush;
}

void RecordingSurface::fillRect(int x, int y, int w, int h, Rgb color)
{
    Call& c = add(Call::Op::FillRect);
    c.x = x, c.y = y, c.w = w, c.h = h;
    c.color = color;
}

void RecordingSurface::strokeRect(int x, int y, int w, int h, const Pen& pen)
{
    Call& c = add(Call::Op::StrokeRect);
    c.x = x, c.y = y, c.w = w, c.h = h;
    c.pen = pen;
}

void RecordingSurface::drawText(std::string_view text, double pixelSize, double x, double y, Rgb color)
{
    Call& c = add(Call::Op::Text);
    c.text = {std::string(text), pixelSize, x, y};
    c.color = color;
}

void RecordingSurface::setTransform(const Matrix& m)
{
    current = m;
    add(Call::Op::SetTransform);
}

void RecordingSurface::resetTransform()
{
    current = Matrix{};
    add(Call::Op::ResetTransform);
}

void RecordingSurface::save()
{
    saved.push_back(current);
    add(Call::Op::Save);
}

void RecordingSurface::restore()
{
    if (!saved.empty()) {
        current = saved.back();
        saved.pop_back();
    }
    add(Call::Op::Restore);
}

void RecordingSurface::clipPath(const Path& path, bool replace)
{
    Call& c = add(Call::Op::Clip);
    c.path = path;
    c.replace = replace;
}

// Whole pixels of a size, held inside the int range (texts of huge sizes at a high zoom).
static int pixelCount(double v)
{
    return v > 0 ? int(std::min(v, double(std::numeric_limits<int>::max()))) : 0;
}

TextSize RecordingSurface::textSize(std::string_view text, double pixelSize)
{
    int chars = 0;
    for (unsigned char ch : text)
        if ((ch & 0xC0) != 0x80)
            ++chars;
    return {pixelCount(std::round(0.5 * pixelSize * chars)), pixelCount(std::ceil(pixelSize))};
}

void RecordingSurface::drawIcon(Icon icon, int x, int y)
{
    Call& c = add(Call::Op::Icon);
    c.x = x, c.y = y, c.w = int(icon);
}

std::vector<const Call*> RecordingSurface::of(Call::Op op) const
{
    std::vector<const Call*> out;
    for (const Call& c : calls)
        if (c.op == op)
            out.push_back(&c);
    return out;
}

}  // namespace kerbon::view
