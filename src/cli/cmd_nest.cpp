// kerbon-cli nest: the nesting window on the command line: take-over of the drawing's model
// tab, the search, and the drawing with its objects moved to the arrangement.
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "cli/CliUi.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "dxf/LineStore.h"
#include "dxf/Random.h"
#include "edit/Editor.h"
#include "i18n/translateunit.h"
#include "nesting/nest_search.h"
#include "nesting/nest_transfer.h"

using namespace kerbon;
using namespace kerbon::nest;

namespace {

const char* const usageText =
    "usage: kerbon-cli nest SRC DST --width W --height H [--spacing D] [--margin M]\n"
    "                       [--iterations N] [--pixels P] [--seed S] [--threads T]\n"
    "                       [--keep-holes|--separate] [--json]\n"
    "  Arranges the objects of SRC's model tab on a sheet W x H as the nesting window does\n"
    "  and saves the drawing with the objects moved there as DST.\n"
    "  --spacing D     minimum spacing between two parts (default: 1 % of the sheet the\n"
    "                  window proposes, 110 % of the drawing's width)\n"
    "  --margin M      margin along the sheet's edges (default: as the spacing)\n"
    "  --iterations N  arrangements tried (default 50)\n"
    "  --pixels P      raster width in pixels, 20 ... 1000 (default 200)\n"
    "  --seed S        seed of the random orders (default: from the clock)\n"
    "  --threads T     threads of the search (default: all cores); never changes the result\n"
    "  --keep-holes    an object inside the closed outline of another moves with it (default)\n"
    "  --separate      every object is a part of its own\n"
    "  --json          print one JSON object with the figures of the run\n"
    "  Exit code 3 when not all parts fit on the sheet (the arrangement is still saved).\n";

int usage()
{
    std::fputs(usageText, stderr);
    return 2;
}

template <class T>
std::optional<T> wholeNumber(const char* s)
{
    T v{};
    const char* end = s + std::strlen(s);
    const auto r = std::from_chars(s, end, v);
    if (r.ec != std::errc() || r.ptr != end)
        return std::nullopt;
    return v;
}

const char* problemText(NestProblem p)
{
    switch (p) {
    case NestProblem::SheetWidth: return "--width must be a number greater than 0";
    case NestProblem::SheetHeight: return "--height must be a number greater than 0";
    case NestProblem::Spacing: return "--spacing must be at least 0 and less than the sheet width";
    case NestProblem::Margin:
        return "--margin must be at least 0 and less than half the sheet width and height";
    case NestProblem::Pixels: return "--pixels must lie in 20 ... 1000";
    case NestProblem::Iterations: return "--iterations must lie in 1 ... 100000000";
    case NestProblem::RasterHeight:
        return "the sheet is too low for its width at this pixel width: no raster row";
    case NestProblem::RasterSize:
        return "the sheet is too high for its width: the raster would get too large";
    case NestProblem::None: break;
    }
    return "";
}

std::string number(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

}  // namespace

int cmdNest(int argc, char** argv)
{
    const char* paths[2] = {nullptr, nullptr};
    int npaths = 0;
    std::optional<double> width, height, spacing, margin;
    NestSettings s;
    uint64_t seed = clockSeed();
    int threads = 0;
    bool keepHoles = true, json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        auto real = [&](std::optional<double>& out) {
            out = v ? dxfToDouble(v) : std::nullopt;
            ++i;
            return out.has_value();
        };
        auto whole = [&](auto& out) {
            const auto n = v ? wholeNumber<std::decay_t<decltype(out)>>(v) : std::nullopt;
            ++i;
            if (n)
                out = *n;
            return n.has_value();
        };
        bool ok = true;
        if (a == "--width")
            ok = real(width);
        else if (a == "--height")
            ok = real(height);
        else if (a == "--spacing")
            ok = real(spacing);
        else if (a == "--margin")
            ok = real(margin);
        else if (a == "--iterations")
            ok = whole(s.anziterations);
        else if (a == "--pixels")
            ok = whole(s.pixbreite);
        else if (a == "--seed")
            ok = whole(seed);
        else if (a == "--threads")
            ok = whole(threads) && threads > 0;
        else if (a == "--keep-holes")
            keepHoles = true;
        else if (a == "--separate")
            keepHoles = false;
        else if (a == "--json")
            json = true;
        else if (npaths < 2 && !a.starts_with("--"))
            paths[npaths++] = argv[i];
        else
            return usage();
        if (!ok) {
            std::fprintf(stderr, "kerbon-cli: %s needs a number\n", a.c_str());
            return 2;
        }
    }
    if (npaths < 2 || !width || !height)
        return usage();

    cli::CliUi ui;
    Editor ed(ui);
    if (!ed.openfilewithname(paths[0]))
        return 1;  // the editor named the file
    Schachtelung n;
    n.Uebernehmen(ed.model, ed.view.tabindex, keepHoles);
    const SheetProposal proposal = n.proposal();
    s.pw = *width;
    s.ph = *height;
    s.distance = spacing.value_or(proposal.spacing);
    s.seitenrand = margin.value_or(proposal.margin);
    if (const NestProblem p = checkSettings(s); p != NestProblem::None) {
        std::fprintf(stderr, "kerbon-cli: %s\n", problemText(p));
        return 2;
    }

    const int used = threads > 0 ? threads : int(std::max(1u, std::thread::hardware_concurrency()));
    Random rnd(seed);
    const auto t0 = std::chrono::steady_clock::now();
    const SearchResult r = searchArrangement({n.elemente.poi(), n.elemente.count()}, s, rnd, used);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (r.problem != NestProblem::None) {  // only the parts' rasters together can be too large
        std::fputs("kerbon-cli: the rasters of the parts would get too large: lower --pixels or "
                   "--height\n", stderr);
        return 2;
    }
    takeArrangement({n.elemente.poi(), n.elemente.count()}, r);

    if (json) {
        cli::JsonObject o;
        o.field("elements", n.objectCount())
            .field("groups", int(n.elemente.count()))
            .field("iterations", r.iterations)
            .raw("seed", std::to_string(seed))
            .field("threads", used)
            .raw("used_width", number(r.usedWidth))
            .raw("used_height", number(r.usedHeight))
            .field("over", r.over)
            .raw("seconds", std::to_string(seconds));
        std::puts(o.str().c_str());
    } else {
        std::printf("%d objects in %u parts, used %s x %s of %s x %s\n", n.objectCount(),
                    n.elemente.count(), number(r.usedWidth).c_str(), number(r.usedHeight).c_str(),
                    number(s.pw).c_str(), number(s.ph).c_str());
    }
    if (r.over)
        std::fprintf(stderr, "kerbon-cli: %s\n", GetMessageText(40).c_str());

    transferInto(ed, n);
    if (!ed.SaveFileUnder(paths[1]))
        return 1;  // the editor named the file
    return r.over ? 3 : 0;
}
