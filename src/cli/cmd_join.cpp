// kerbon-cli join: the contour tool on the command line, file to file.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/json.h"
#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

using namespace kerbon;

namespace {

const char* const usageText =
    "usage: kerbon-cli join lines|polylines SRC DST [--tolerance T] [--reverse] [--arcs]\n"
    "                  [--close] [--json]\n"
    "  Writes DST as a copy of SRC in which pieces meeting end to start within T (0.01)\n"
    "  are joined into polylines: LINE pieces (lines) or POLYLINE/LWPOLYLINE (polylines).\n"
    "  --reverse  also join pieces that meet end to end or start to start, reversing one\n"
    "  --arcs     ARC entities take part as one bulged segment each (lines only)\n"
    "  --close    a chain ending on its first point becomes a closed polyline\n"
    "  --json     print the counts as {\"pieces\", \"polylines\", \"closed\", \"open\"}\n";

int usage()
{
    std::fputs(usageText, stderr);
    return 2;
}

}  // namespace

int cmdJoin(int argc, char** argv)
{
    double t = 0.01;
    contour::JoinOptions opts;
    bool json = false;
    const char* pos[3] = {};
    int npos = 0;
    for (int k = 0; k < argc; ++k) {
        const std::string a = argv[k];
        if (a == "--tolerance") {
            auto v = k + 1 < argc ? contour::parseReal(argv[k + 1]) : std::nullopt;
            if (!v || !(*v >= 0)) {
                std::fprintf(stderr, "kerbon-cli: --tolerance needs a number >= 0\n");
                return 2;
            }
            t = *v;
            ++k;
        } else if (a == "--reverse") {
            opts.reverse = true;
        } else if (a == "--arcs") {
            opts.arcs = true;
        } else if (a == "--close") {
            opts.close = true;
        } else if (a == "--json") {
            json = true;
        } else if (npos < 3 && !a.starts_with("--")) {
            pos[npos++] = argv[k];
        } else {
            return usage();
        }
    }
    const bool lines = npos == 3 && std::strcmp(pos[0], "lines") == 0;
    const bool polylines = npos == 3 && std::strcmp(pos[0], "polylines") == 0;
    if (!lines && !polylines)
        return usage();
    if (polylines && opts.arcs) {
        std::fprintf(stderr, "kerbon-cli: --arcs applies to join lines only\n");
        return 2;
    }
    contour::ContourModel m;
    const contour::JoinOutcome r = lines
                                       ? contour::joinLinesFile(m, pos[1], pos[2], t, opts)
                                       : contour::combinePolylinesFile(m, pos[1], pos[2], t, opts);
    if (!r.written) {
        std::fprintf(stderr, "kerbon-cli: %s\n", r.message.c_str());
        return 1;
    }
    if (json)
        std::printf("%s\n", cli::JsonObject()
                                .field("pieces", r.pieces)
                                .field("polylines", r.polylines)
                                .field("closed", r.closed)
                                .field("open", r.open)
                                .str()
                                .c_str());
    else
        std::printf("%d pieces read, %d polylines written, %d closed, %d open\n", r.pieces,
                    r.polylines, r.closed, r.open);
    return 0;
}
