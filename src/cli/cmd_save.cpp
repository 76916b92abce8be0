// kerbon-cli save: load a drawing and save it again.
#include <cstdio>

#include "cli/commands.h"
#include "dxf/LineStore.h"

using namespace kerbon;

int cmdSave(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kerbon-cli save SRC DST\n");
        return 2;
    }
    LineStore store;
    if (!loadLines(argv[0], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", argv[0]);
        return 1;
    }
    if (!saveLines(argv[1], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
