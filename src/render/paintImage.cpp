// Band-parallel painting of the drawing area into an image.
#include "render/paintImage.h"

#include <QPainter>
#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include "render/QPainterSurface.h"

namespace kerbon::render {

namespace {

// Lines that leave a picture are cut at its edge, which can shift the antialiasing of
// the edge rows a little; a band is therefore painted with a margin of rows that the
// neighbouring band owns, and only its own rows are kept.
constexpr int bandMargin = 4;

void paintBand(QImage& image, int y0, int y1, model::DisplayModel& m, const view::ViewState& v,
               const view::PageValues& page, const view::DisplayOptions& opt, int screenDpi,
               view::RenderCache& cache, bool whole)
{
    const view::PixelRect rect{0, double(y0), double(image.width()), double(y1)};
    if (whole) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        view::PaintBox1Paint(surface, m, v, page, opt, screenDpi, &cache, &rect);
        return;
    }
    const int top = std::max(0, y0 - bandMargin), bottom = std::min(image.height(), y1 + bandMargin);
    QImage band(image.width(), bottom - top, image.format());
    {
        QPainter painter(&band);
        QPainterSurface surface(painter, 0, top);
        const view::PixelRect wider{0, double(top), double(image.width()), double(bottom)};
        view::PaintBox1Paint(surface, m, v, page, opt, screenDpi, &cache, &wider);
    }
    const qsizetype rowBytes = qsizetype(image.width()) * (image.depth() / 8);
    for (int y = y0; y < y1; ++y)
        std::memcpy(image.scanLine(y), band.constScanLine(y - top), size_t(rowBytes));
}

}  // namespace

void paintImage(QImage& image, model::DisplayModel& m, const view::ViewState& v, const view::PageValues& page,
                const view::DisplayOptions& opt, int screenDpi, view::RenderCache& cache, int threads)
{
    if (image.isNull() || v.donotdrawnow)
        return;
    cache.ensure(m, screenDpi, opt.showLineweights);
    if (threads <= 0)
        threads = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    const int H = image.height();
    threads = std::clamp(threads, 1, std::max(1, H / 128));
    if (threads == 1) {
        paintBand(image, 0, H, m, v, page, opt, screenDpi, cache, true);
        return;
    }
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        const int y0 = H * t / threads, y1 = H * (t + 1) / threads;
        workers.emplace_back([&, y0, y1] { paintBand(image, y0, y1, m, v, page, opt, screenDpi, cache, false); });
    }
    paintBand(image, 0, H / threads, m, v, page, opt, screenDpi, cache, false);
    for (std::thread& w : workers)
        w.join();
}

}  // namespace kerbon::render
