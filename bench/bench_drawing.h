// What the benchmarks share: the generated drawing as a file (KERBON_BENCH_DRAWING for the
// 200 000-entity case, otherwise /tmp/kerbon_bench_drawing_N.dxf, written on first use) and
// a port that asks nobody.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "drawing_gen.h"
#include "edit/Ui.h"

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

// The editor's port for a benchmark: every message box answers OK, no file dialog opens.
class QuietUi : public Ui {
public:
    MsgResult messageBox(const std::string&, const std::string&, MsgIcon, MsgButtons) override
    {
        return MsgResult::Ok;
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(const FileDialogOptions&) override { return {}; }
};

}  // namespace kerbon::bench
