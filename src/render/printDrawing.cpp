// Printing on a paged device and the page values in the settings file.
#include "render/printDrawing.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QSettings>
#include <cmath>

#include "render/QPainterSurface.h"

namespace kerbon::render {

void takePageMetrics(const QPagedPaintDevice& device, view::PageValues& page)
{
    page.dpi = device.logicalDpiX();
    page.pagewidth = device.width();
    page.pageheight = device.height();
}

bool printDrawing(QPagedPaintDevice& device, model::DisplayModel& m, int tab, view::PageValues& page,
                  const view::DisplayOptions& opt)
{
    takePageMetrics(device, page);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QPainterSurface surface(painter);
    view::printPage(surface, m, tab, page, opt);
    return painter.end();
}

namespace {

// The settings names are those of the dialog's fields.
struct Entry {
    const char* key;
    double view::PageValues::*field;
    bool scale;  // a scale field: only values above 0
};
const Entry entries[] = {{"XOffsetEd.Value", &view::PageValues::xoffset, false},
                         {"YOffsetEd.Value", &view::PageValues::yoffset, false},
                         {"RandEd.Value", &view::PageValues::rand, false},
                         {"UnitsEd.Value", &view::PageValues::units, true},
                         {"mmEd.Value", &view::PageValues::mm, true}};

}  // namespace

void loadPageValues(const QString& file, view::PageValues& page)
{
    const QSettings s(file, QSettings::IniFormat);
    for (const Entry& e : entries) {
        bool ok = false;
        const double d = s.value(e.key).toDouble(&ok);
        if (ok && std::isfinite(d) && (!e.scale || d > 0))
            page.*e.field = d;
    }
    if (!view::PageValues::validScale(page.mm, page.units))
        page.mm = page.units = 1;  // each field usable, their ratio not
}

void savePageValues(const QString& file, const view::PageValues& page)
{
    QSettings s(file, QSettings::IniFormat);
    for (const Entry& e : entries)
        s.setValue(e.key, page.*e.field);
}

}  // namespace kerbon::render
