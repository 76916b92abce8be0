// The current tab printed on one page of a paged device (a printer or a PDF file), and the
// page values the program keeps between runs in its settings file.
#pragma once

#include <QString>

#include "view/paint.h"

class QPagedPaintDevice;

namespace kerbon::render {

// Printer pixels per inch of a PDF page (the printer resolution Qt gives PDF output).
inline constexpr int printResolution = 1200;

// The printer metrics of the page values from the device: its resolution and its printable
// area in device pixels.
void takePageMetrics(const QPagedPaintDevice& device, view::PageValues& page);

// Prints tab `tab` on one page of `device`: takes the device's metrics into `page`, then
// draws at the page scale and offsets, clipped to the page less the margin. False when the
// device cannot be painted on (a printer that fails, a PDF file that cannot be written).
bool printDrawing(QPagedPaintDevice& device, model::DisplayModel& m, int tab, view::PageValues& page,
                  const view::DisplayOptions& opt);

// The five page values of the page set-up dialog (scale, offsets, margin) in the settings
// file `file`. Loading keeps the value in `page` for every entry that is missing or not
// usable (a scale field must be above 0, every value finite).
void loadPageValues(const QString& file, view::PageValues& page);
void savePageValues(const QString& file, const view::PageValues& page);

}  // namespace kerbon::render
