// kerbon-cli: the editor's core on the command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"

static int usage()
{
    std::fprintf(stderr,
                 "usage: kerbon-cli info FILE [--json]\n"
                 "       kerbon-cli save SRC DST [--encoding ENC] [--strict]\n"
                 "       kerbon-cli join lines|polylines SRC DST [--tolerance T]\n"
                 "       kerbon-cli render FILE OUT.png [--size WxH] [--tab N]\n"
                 "       kerbon-cli edit SRC DST [--script FILE] [--json] [COMMAND ...]\n"
                 "       kerbon-cli print FILE OUT.pdf [--tab N] [--scale MM:UNITS] [--offset X,Y]\n"
                 "                        [--margin MM] [--paper NAME] [--landscape]\n"
                 "       kerbon-cli nest SRC DST --width W --height H [options]\n"
                 "       kerbon-cli --version\n");
    return 2;
}

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("kerbon-cli %s\n", KERBON_VERSION);
        return 0;
    }
    struct Command {
        const char* name;
        int (*run)(int, char**);
    };
    static const Command commands[] = {
        {"info", cmdInfo},
        {"save", cmdSave},
        {"join", cmdJoin},
        {"render", cmdRender},
        {"nest", cmdNest},
        {"edit", cmdEdit},
        {"print", cmdPrint},
    };
    for (const Command& c : commands)
        if (std::strcmp(argv[1], c.name) == 0)
            return c.run(argc - 2, argv + 2);
    return usage();
}
