// What the fuzz targets share: a scratch directory of their own, a Ui that nobody answers,
// and a check that stops the run with a message when a promise of the code is broken.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "edit/Ui.h"

namespace kerbon::fuzz {

// A directory of this process under $TMPDIR (or /tmp), made on first use and removed with
// its files at exit. Ends in "/".
const std::string& scratchDir();

bool writeFile(const std::string& path, std::string_view bytes);
std::string readFile(const std::string& path);

// The bytes as text: libFuzzer hands over raw memory.
inline std::string_view bytesOf(const uint8_t* data, size_t size)
{
    return {reinterpret_cast<const char*>(data), size};
}

// A small number taken from the input without consuming any of it, for choices a target
// varies between inputs (tolerances, options).
inline unsigned inputChoice(std::string_view bytes, unsigned n)
{
    uint32_t h = 2166136261u;
    for (unsigned char c : bytes.substr(0, 64))
        h = (h ^ c) * 16777619u;
    return unsigned(h ^ uint32_t(bytes.size())) % n;
}

// Makes the program's random numbers (fitting splines through points) the same for every
// run of an input: a finding must show again when its input is run again.
void repeatableRandom();

// Watches one input: one that takes more than 10 s of processor time is a finding (a
// hang), whatever the load of the machine. Inputs that never end are left to libFuzzer's
// own timeout, which counts wall-clock time.
class CpuLimit {
public:
    CpuLimit() : start(std::clock()) {}
    ~CpuLimit();
    CpuLimit(const CpuLimit&) = delete;
    CpuLimit& operator=(const CpuLimit&) = delete;

private:
    std::clock_t start;
};

// Aborts with the message when `ok` is false (a finding, like a sanitizer report).
inline void require(bool ok, const char* what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

// Answers every question with Cancel (OK for OK-only boxes) and cancels file dialogs.
class QuietUi : public Ui {
public:
    MsgResult messageBox(const std::string&, const std::string&, MsgIcon,
                         MsgButtons buttons) override
    {
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
    std::optional<std::string> openFileDialog(const FileDialogOptions&) override { return {}; }
    std::optional<std::string> saveFileDialog(const FileDialogOptions&) override { return {}; }
};

}  // namespace kerbon::fuzz
