// libFuzzer target: any bytes as an edit script on a new drawing (R12 or later). The run
// must not crash, and undoing every step must give the drawing back line for line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "edit/Editor.h"
#include "edit/script.h"

namespace {

class SilentUi : public kerbon::Ui {
public:
    kerbon::MsgResult messageBox(const std::string&, const std::string&, kerbon::MsgIcon,
                                 kerbon::MsgButtons) override
    {
        return kerbon::MsgResult::Ok;
    }
    std::optional<std::string> openFileDialog(const kerbon::FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(const kerbon::FileDialogOptions&) override { return {}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 4096)
        return 0;  // long scripts only cost time
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<kerbon::script::Command> commands;
    std::string error;
    if (!kerbon::script::parseScript(text, commands, error))
        return 0;
    SilentUi ui;
    kerbon::Editor ed(ui);
    ed.setAreaSize(800, 600);
    if (!ed.NewFile(!text.empty() && text[0] == '!'))  // "!" first: an R12 drawing
        std::abort();
    const std::vector<std::string> original = ed.dxf.lines;
    kerbon::script::Report report;
    kerbon::script::runCommands(ed, commands, report, error);
    while (!ed.undos.empty())
        ed.Rckgngig1Click();
    if (ed.dxf.lines != original)
        std::abort();
    return 0;
}
