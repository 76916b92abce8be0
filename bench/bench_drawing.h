// The generated benchmark drawing as a file: KERBON_BENCH_DRAWING for the 200 000-entity
// case, otherwise /tmp/kerbon_bench_drawing_N.dxf, written on first use.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "drawing_gen.h"

namespace kerbon::bench {

inline std::string drawingPath(long entities)
{
    if (const char* env = std::getenv("KERBON_BENCH_DRAWING"); env && entities == 200000)
        return env;
    const std::string path = "/tmp/kerbon_bench_drawing_" + std::to_string(entities) + ".dxf";
    if (FILE* f = std::fopen(path.c_str(), "rb")) {
        std::fclose(f);
    } else if (FILE* out = std::fopen(path.c_str(), "wb")) {
        writeDrawing(out, entities, 1);
        std::fclose(out);
    }
    return path;
}

}  // namespace kerbon::bench
