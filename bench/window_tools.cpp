// One mouse move over the drawing area with a tool active, through the real window
// offscreen: the event as the toolkit delivers it (snapping, the rubber band) and the
// paint the event loop does after it (where the rubber band was and is, from the cached
// picture of the drawing with the rubber band over it), on
// the generated drawing of 200 000 entities zoomed to its extents in a 1200 x 800 area.
// Each iteration moves the mouse to the next of a fixed list of positions.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <chrono>
#include <random>

#include "bench_drawing.h"
#include "edit/ToolState.h"
#include "gui/DrawArea.h"
#include "gui/MainUnit.h"

namespace {

struct Window {
    kerbon::bench::QuietUi ui;
    std::unique_ptr<TMainForm> form;
    std::vector<QPointF> mouse;

    Window()
    {
        TMainForm::Setup s;
        s.progpath = "/tmp/kerbon_bench_window/";
        s.configpath = "/tmp/kerbon_bench_window/";
        s.args = {QString::fromStdString(kerbon::bench::drawingPath(200000))};
        s.ui = &ui;
        form = std::make_unique<TMainForm>(s);
        form->show();
        form->PaintBox1->setFixedSize(1200, 800);
        QApplication::processEvents();
        form->editor->ZoomAllClick();
        form->PaintBox1->repaint();
        std::mt19937 rng(5);
        for (int i = 0; i < 1000; ++i)
            mouse.emplace_back(double(rng() % 1200), double(rng() % 800));
    }
    double eventSeconds = 0, paintSeconds = 0;
    void moveTo(QPointF p)
    {
        using clock = std::chrono::steady_clock;
        const auto t0 = clock::now();
        QMouseEvent e(QEvent::MouseMove, p, form->PaintBox1->mapToGlobal(p), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form->PaintBox1, &e);
        const auto t1 = clock::now();
        QApplication::processEvents();  // the paint the move asked for
        eventSeconds += std::chrono::duration<double>(t1 - t0).count();
        paintSeconds += std::chrono::duration<double>(clock::now() - t1).count();
    }
    void press(QPointF p)
    {
        for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(t, p, form->PaintBox1->mapToGlobal(p), Qt::LeftButton,
                          t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
            QApplication::sendEvent(form->PaintBox1, &e);
        }
    }
};

Window& window()
{
    static Window w;
    return w;
}

void moves(benchmark::State& state, Window& w)
{
    const int renders = w.form->PaintBox1->renders;
    w.eventSeconds = w.paintSeconds = 0;
    size_t i = 0, segments = 0;
    for (auto _ : state) {
        w.moveTo(w.mouse[i++ % w.mouse.size()]);
        segments += w.form->tools->remove.size();
    }
    state.counters["segments"] = double(segments) / double(i);
    state.counters["new_pictures"] = w.form->PaintBox1->renders - renders;
    state.counters["event_ms"] = w.eventSeconds * 1000 / double(i);
    state.counters["paint_ms"] = w.paintSeconds * 1000 / double(i);
}

// The line tool with its first point: snap, the line to the mouse, the paint.
void BM_MoveLineTool(benchmark::State& state)
{
    Window& w = window();
    w.form->LineBtn->trigger();
    w.press({600, 400});
    moves(state, w);
    w.form->keyeditKeyDown(27);
}

// No tool: the coordinates only.
void BM_MoveNoTool(benchmark::State& state)
{
    Window& w = window();
    moves(state, w);
}

// The move command with its base point, a window's worth of objects selected (about 1 %
// of the drawing): their outlines follow the mouse.
void BM_MoveSelection(benchmark::State& state)
{
    Window& w = window();
    kerbon::Editor& ed = *w.form->editor;
    ed.MassSelect(540, 360, 660, 440, false);
    int selected = 0;
    for (int i = 0; i < ed.model.anzpoly; ++i)
        selected += ed.model.polys[size_t(i)].selected;
    w.form->MoveBtn->trigger();
    w.press({600, 400});
    w.form->PaintBox1->repaint();  // the picture with the selection shown, once
    moves(state, w);
    state.counters["selected"] = selected;
    w.form->keyeditKeyDown(27);
    ed.Nichtsauswhlen1Click();
}

}  // namespace

BENCHMARK(BM_MoveNoTool)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveLineTool)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveSelection)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window().form.reset();
    return 0;
}
