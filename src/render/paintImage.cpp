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

// Every band is painted on a picture of the whole area's size, clipped to its rows: Qt
// cuts lines and places dashes relative to the whole picture, so the bands together give
// exactly the picture painted in one go.
void paintBand(QImage& target, int y0, int y1, model::DisplayModel& m, const view::ViewState& v,
               const view::PageValues& page, const view::DisplayOptions& opt, int screenDpi,
               view::RenderCache& cache)
{
    const QRect rows(0, y0, target.width(), y1 - y0);
    QPainter painter(&target);
    painter.setClipRect(rows);
    QPainterSurface surface(painter, 0, 0, rows);
    const view::PixelRect rect{0, double(y0), double(target.width()), double(y1)};
    view::PaintBox1Paint(surface, m, v, page, opt, screenDpi, &cache, &rect);
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
        QPainter painter(&image);
        QPainterSurface surface(painter);
        view::PaintBox1Paint(surface, m, v, page, opt, screenDpi, &cache);
        return;
    }
    // Band 0 on the image itself, the others on pictures of their own, copied in after.
    std::vector<QImage> pictures(size_t(threads - 1));
    std::vector<std::thread> workers;
    for (int t = 1; t < threads; ++t) {
        const int y0 = H * t / threads, y1 = H * (t + 1) / threads;
        QImage& picture = pictures[size_t(t - 1)];
        picture = QImage(image.size(), image.format());
        workers.emplace_back([&, y0, y1] { paintBand(picture, y0, y1, m, v, page, opt, screenDpi, cache); });
    }
    paintBand(image, 0, H / threads, m, v, page, opt, screenDpi, cache);
    for (std::thread& w : workers)
        w.join();
    const size_t rowBytes = size_t(image.width()) * size_t(image.depth() / 8);
    for (int t = 1; t < threads; ++t)
        for (int y = H * t / threads; y < H * (t + 1) / threads; ++y)
            std::memcpy(image.scanLine(y), pictures[size_t(t - 1)].constScanLine(y), rowBytes);
}

}  // namespace kerbon::render
