// Runs a fuzz target's input function on files, for builds without the fuzzing engine:
// every file named, and every file in the directories named. Used by the tests to run the
// seed inputs and every input that once failed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_directory(argv[i])) {
            for (const auto& e : fs::recursive_directory_iterator(argv[i]))
                if (e.is_regular_file())
                    files.push_back(e.path());
        } else if (fs::exists(argv[i])) {
            files.emplace_back(argv[i]);
        }
    }
    std::sort(files.begin(), files.end());
    for (const fs::path& f : files) {
        const std::string bytes = kerbon::fuzz::readFile(f.string());
        std::fprintf(stderr, "%s\n", f.string().c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs ran\n", files.size());
    return files.empty() ? 1 : 0;
}
