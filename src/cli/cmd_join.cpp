// kerbon-cli join: the contour tool on the command line, file to file.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "nesting/contour_model.h"
#include "nesting/contour_text.h"

using namespace kerbon;

int cmdJoin(int argc, char** argv)
{
    const char* usage = "usage: kerbon-cli join lines|polylines SRC DST [--tolerance T]\n";
    double t = 0.01;
    const char* pos[3] = {};
    int npos = 0;
    for (int k = 0; k < argc; ++k) {
        if (std::strcmp(argv[k], "--tolerance") == 0) {
            auto v = k + 1 < argc ? contour::parseReal(argv[k + 1]) : std::nullopt;
            if (!v || !(*v >= 0)) {
                std::fprintf(stderr, "kerbon-cli: --tolerance needs a number >= 0\n");
                return 2;
            }
            t = *v;
            ++k;
        } else if (npos < 3) {
            pos[npos++] = argv[k];
        } else {
            std::fputs(usage, stderr);
            return 2;
        }
    }
    const bool lines = npos == 3 && std::strcmp(pos[0], "lines") == 0;
    const bool polylines = npos == 3 && std::strcmp(pos[0], "polylines") == 0;
    if (!lines && !polylines) {
        std::fputs(usage, stderr);
        return 2;
    }
    contour::ContourModel m;
    const contour::JoinOutcome r = lines ? contour::joinLinesFile(m, pos[1], pos[2], t)
                                         : contour::combinePolylinesFile(m, pos[1], pos[2], t);
    if (!r.written) {
        std::fprintf(stderr, "kerbon-cli: %s\n", r.message.c_str());
        return 1;
    }
    std::printf("%d pieces in, %d polylines out\n", r.pieces, r.polylines);
    return 0;
}
