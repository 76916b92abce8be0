// gen_drawing: writes a large R2000 drawing of mixed entities for benchmarks.
//
//   gen_drawing [--entities N] [--seed S] [--out PATH]     (defaults: 200000, 1, stdout)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "drawing_gen.h"

int main(int argc, char** argv)
{
    long entities = 200000;
    unsigned seed = 1;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--entities") == 0 && hasValue)
            entities = std::strtol(argv[++i], nullptr, 10);
        else if (std::strcmp(argv[i], "--seed") == 0 && hasValue)
            seed = unsigned(std::strtoul(argv[++i], nullptr, 10));
        else if (std::strcmp(argv[i], "--out") == 0 && hasValue)
            out = argv[++i];
        else {
            std::fprintf(stderr, "usage: gen_drawing [--entities N] [--seed S] [--out PATH]\n");
            return 2;
        }
    }
    if (entities < 0 || entities > 100000000) {
        std::fprintf(stderr, "gen_drawing: entity count out of range\n");
        return 2;
    }
    FILE* f = out ? std::fopen(out, "wb") : stdout;
    if (!f) {
        std::perror(out);
        return 1;
    }
    const long lines = kerbon::bench::writeDrawing(f, entities, seed);
    const bool ok = std::fflush(f) == 0 && !std::ferror(f);
    if (out)
        std::fclose(f);
    std::fprintf(stderr, "gen_drawing: %ld entities, %ld lines\n", entities, lines);
    return ok ? 0 : 1;
}
