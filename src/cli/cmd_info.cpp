// kerbon-cli info: what a drawing holds.
#include <cstdio>

#include "cli/commands.h"
#include "dxf/LineStore.h"

using namespace kerbon;

int cmdInfo(int argc, char** argv)
{
    if (argc < 1) {
        std::fprintf(stderr, "usage: kerbon-cli info FILE [--json]\n");
        return 2;
    }
    LineStore store;
    if (!loadLines(argv[0], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", argv[0]);
        return 1;
    }
    std::printf("lines: %d\nencoding: %s\nline ending: %s\n", store.count(),
                encodingName(store.encoding), lineEndingName(store.lineEnding));
    return 0;
}
