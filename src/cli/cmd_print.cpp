// kerbon-cli print: one tab of a drawing printed into a PDF file, on one page, exactly as the
// editor's "Drucken..." prints it (the same page values and renderer).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "cli/CliUi.h"
#include "cli/commands.h"
#include "edit/Editor.h"
#include "i18n/progfiles.h"
#include "i18n/translateunit.h"
#include "view/PageValues.h"

#ifdef KERBON_HAVE_RENDER
#include <QGuiApplication>
#include <QPageSize>
#include <QPdfWriter>

#include "render/printDrawing.h"
#endif

using namespace kerbon;

namespace {

int printUsage()
{
    std::fprintf(stderr,
                 "usage: kerbon-cli print FILE OUT.pdf [--tab N] [--scale MM:UNITS] [--offset X,Y]\n"
                 "                        [--margin MM] [--paper A4|A3|Letter|...] [--landscape]\n"
                 "  Prints tab N (0: the model) on one page at MM millimetres per UNITS drawing\n"
                 "  units, the drawing origin X,Y mm inside the printable area, MM mm margin.\n"
                 "  Values not given come from the editor's saved page set-up, else 1:1, 0, 0.\n"
                 "  Default paper: A4 portrait.\n");
    return 2;
}

// The whole text as one finite number.
bool number(const char* text, double& out)
{
    char* end = nullptr;
    out = std::strtod(text, &end);
    return end != text && *end == '\0' && std::isfinite(out);
}

// "A,B" or "A:B" as two finite numbers.
bool numberPair(const char* text, char sep, double& a, double& b)
{
    const char* mid = std::strchr(text, sep);
    if (!mid)
        return false;
    const std::string first(text, mid);
    return number(first.c_str(), a) && number(mid + 1, b);
}

}  // namespace

int cmdPrint(int argc, char** argv)
{
#ifndef KERBON_HAVE_RENDER
    (void)argc, (void)argv;
    std::fprintf(stderr, "kerbon-cli: built without rendering\n");
    return 1;
#else
    if (argc < 2)
        return printUsage();
    view::PageValues page;
    const std::string config = userConfigDir();
    if (!config.empty())
        render::loadPageValues(QString::fromStdString(config + "kerbon.ini"), page);
    int tab = 0;
    bool landscape = false;
    QPageSize paper(QPageSize::A4);
    for (int i = 2; i < argc; ++i) {
        const bool more = i + 1 < argc;
        const char* a = argv[i];
        if (!std::strcmp(a, "--tab") && more) {
            char* end = nullptr;
            const long t = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || t < 0 || t > 1000000)
                return printUsage();
            tab = int(t);
        } else if (!std::strcmp(a, "--scale") && more) {
            double mm = 0, units = 0;
            if (!numberPair(argv[++i], ':', mm, units) || !view::PageValues::validScale(mm, units)) {
                std::fprintf(stderr, "kerbon-cli: the scale must be two numbers above 0: MM:UNITS\n");
                return 2;
            }
            page.mm = mm, page.units = units;
        } else if (!std::strcmp(a, "--offset") && more) {
            if (!numberPair(argv[++i], ',', page.xoffset, page.yoffset))
                return printUsage();
        } else if (!std::strcmp(a, "--margin") && more) {
            if (!number(argv[++i], page.rand) || page.rand < 0)
                return printUsage();
        } else if (!std::strcmp(a, "--paper") && more) {
            const QString name = QString::fromLocal8Bit(argv[++i]);
            paper = QPageSize();
            for (int id = 0; id <= int(QPageSize::LastPageSize); ++id) {
                const QPageSize p{QPageSize::PageSizeId(id)};
                if (p.key().compare(name, Qt::CaseInsensitive) == 0) {
                    paper = p;
                    break;
                }
            }
            if (!paper.isValid()) {
                std::fprintf(stderr, "kerbon-cli: unknown paper %s\n", argv[i]);
                return 2;
            }
        } else if (!std::strcmp(a, "--landscape")) {
            landscape = true;
        } else {
            return printUsage();
        }
    }

    cli::CliUi ui;
    Editor ed(ui);
    if (!ed.openfilewithname(argv[0]))
        return 1;  // the editor named the file
    const int tabs = ed.model.layouts.empty() ? 2 : int(ed.model.layouts.size());
    if (tab >= tabs) {
        std::fprintf(stderr, "kerbon-cli: no tab %d (the drawing has %d)\n", tab, tabs);
        return 2;
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qargc = 1;
    char name[] = "kerbon-cli";
    char* qargv[] = {name, nullptr};
    QGuiApplication app(qargc, qargv);

    QPdfWriter pdf(QString::fromLocal8Bit(argv[1]));
    const std::string_view title = builtinMessage(11);  // "DXF Datei"
    pdf.setTitle(QString::fromUtf8(title.data(), qsizetype(title.size())));
    pdf.setCreator(QStringLiteral("Kerbon"));
    pdf.setResolution(render::printResolution);
    pdf.setPageLayout(QPageLayout(paper, landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                  QMarginsF(0, 0, 0, 0)));
    // The tab as the editor shows it when the user turns to it: an empty layout gets its
    // viewports there, sized for this page. The file itself is left as it is.
    ed.page = page;
    render::takePageMetrics(pdf, ed.page);
    ed.TabControl1Change(tab);
    if (!render::printDrawing(pdf, ed.model, tab, ed.page, {})) {
        std::fprintf(stderr, "kerbon-cli: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
#endif
}
