// kerbon-cli render: a drawing painted as the editor's drawing area shows it, into a PNG.
#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "dxf/LineStore.h"
#include "dxf/processdxf.h"
#include "view/ViewState.h"

#ifdef KERBON_HAVE_RENDER
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "render/paintImage.h"
#include "view/paint.h"
#endif

using namespace kerbon;

static int renderUsage()
{
    std::fprintf(stderr,
                 "usage: kerbon-cli render FILE OUT.png [--size WxH] [--tab N] [--zoom F]\n"
                 "                         [--preview] [--no-weights] [--repeat N] [--threads N]\n"
                 "  --zoom F: after zoom to extents, zoom by F about the area centre\n"
                 "  --repeat N: paint N times and print the time of one paint\n"
                 "  --threads N: paint in N bands at once (default: by the machine)\n");
    return 2;
}

int cmdRender(int argc, char** argv)
{
#ifndef KERBON_HAVE_RENDER
    (void)argc, (void)argv;
    std::fprintf(stderr, "kerbon-cli: built without rendering\n");
    return 1;
#else
    if (argc < 2)
        return renderUsage();
    int W = 1280, H = 800, tab = 0, repeat = 0, threads = 0;
    double zoom = 1;
    view::DisplayOptions opt;
    for (int i = 2; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!std::strcmp(argv[i], "--size") && more) {
            if (std::sscanf(argv[++i], "%dx%d", &W, &H) != 2 || W < 1 || H < 1 || W > 20000 || H > 20000)
                return renderUsage();
        } else if (!std::strcmp(argv[i], "--tab") && more) {
            tab = std::atoi(argv[++i]);
        } else if (!std::strcmp(argv[i], "--zoom") && more) {
            zoom = std::atof(argv[++i]);
            if (!(zoom > 0))
                return renderUsage();
        } else if (!std::strcmp(argv[i], "--repeat") && more) {
            repeat = std::max(0, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--threads") && more) {
            threads = std::max(0, std::atoi(argv[++i]));
        } else if (!std::strcmp(argv[i], "--preview")) {
            opt.printPreview = true;
        } else if (!std::strcmp(argv[i], "--no-weights")) {
            opt.showLineweights = false;
        } else {
            return renderUsage();
        }
    }

    LineStore& store = untilExit<LineStore>();
    if (!loadLines(argv[0], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", argv[0]);
        return 1;
    }
    model::DisplayModel& m = untilExit<model::DisplayModel>();
    const auto tParse = std::chrono::steady_clock::now();
    processdxf(store, m);
    const double parseMs =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - tParse).count();

    view::ViewState v;
    view::PageValues page;
    v.W = W, v.H = H;
    v.tabindex = tab;
    v.ZoomFullIn(m, page);
    if (zoom != 1)
        v.zoomAbout(W / 2, H / 2, zoom, m);

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qargc = 1;
    char name[] = "kerbon-cli";
    char* qargv[] = {name, nullptr};
    QGuiApplication app(qargc, qargv);

    QImage image(W, H, QImage::Format_RGB32);
    view::RenderCache& cache = untilExit<view::RenderCache>();  // kept between paints, as the editor keeps it
    const auto paint = [&] { render::paintImage(image, m, v, page, opt, 96, cache, threads); };
    const auto since = [](std::chrono::steady_clock::time_point t0) {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    };
    const auto tFirst = std::chrono::steady_clock::now();
    paint();
    const double firstMs = since(tFirst);
    if (repeat > 0) {
        const auto t0 = std::chrono::steady_clock::now();
        const std::clock_t c0 = std::clock();
        for (int i = 0; i < repeat; ++i)
            paint();
        const double cpuMs = double(std::clock() - c0) * 1000 / CLOCKS_PER_SEC;
        std::printf("entities: %d\nparse: %.1f ms\nfirst paint (with extents cache): %.1f ms\n"
                    "repaint: %.2f ms wall, %.2f ms cpu (mean of %d)\n",
                    m.anzpoly, parseMs, firstMs, since(t0) / repeat, cpuMs / repeat, repeat);
    }
    // The fastest compression: the same picture in a file some 5 % larger, written in less
    // than half the time of the default (a large picture took 0.2 s).
    constexpr int kFastPng = 85;  // Qt's quality scale: zlib level 1
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG", kFastPng)) {
        std::fprintf(stderr, "kerbon-cli: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
#endif
}
