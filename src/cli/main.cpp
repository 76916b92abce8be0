// kerbon-cli: the editor's core on the command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "dxf/LineStore.h"

using namespace kerbon;

static int usage()
{
    std::fprintf(stderr,
                 "usage: kerbon-cli info FILE [--json]\n"
                 "       kerbon-cli save SRC DST\n");
    return 2;
}

static int cmdInfo(int argc, char** argv)
{
    if (argc < 1)
        return usage();
    LineStore store;
    if (!loadLines(argv[0], store)) {
        std::fprintf(stderr, "kerbon-cli: cannot open %s\n", argv[0]);
        return 1;
    }
    std::printf("lines: %d\nencoding: %s\nline ending: %s\n", store.count(),
                encodingName(store.encoding), lineEndingName(store.lineEnding));
    return 0;
}

static int cmdSave(int argc, char** argv)
{
    if (argc < 2)
        return usage();
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

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    const std::string cmd = argv[1];
    if (cmd == "info")
        return cmdInfo(argc - 2, argv + 2);
    if (cmd == "save")
        return cmdSave(argc - 2, argv + 2);
    return usage();
}
