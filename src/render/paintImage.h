// The drawing area painted into an image: the editor's cached picture and PNG export.
#pragma once

#include <QImage>

#include "view/paint.h"

namespace kerbon::render {

// Paints the area v.W x v.H into `image` (of that size) with the paint cycle. Large areas
// are painted as horizontal bands on several threads; `cache` is brought up to date
// first and then only read. `threads` 0 chooses by the machine.
void paintImage(QImage& image, model::DisplayModel& m, const view::ViewState& v, const view::PageValues& page,
                const view::DisplayOptions& opt, int screenDpi, view::RenderCache& cache, int threads = 0);

}  // namespace kerbon::render
