#include "fuzz_support.h"

#include <filesystem>
#include <system_error>

#include <unistd.h>

#include "dxf/Random.h"

namespace kerbon::fuzz {

namespace {

std::string makeScratchDir()
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kerbon-fuzz-XXXXXX";
    if (!mkdtemp(pattern.data())) {
        std::perror("kerbon fuzz: mkdtemp");
        std::abort();
    }
    return pattern + "/";
}

}  // namespace

const std::string& scratchDir()
{
    // Kept for the whole run (never destroyed), so the exit handler can still read it.
    static const std::string* dir = [] {
        auto* d = new std::string(makeScratchDir());
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(*dir, ec);
        });
        return d;
    }();
    return *dir;
}

void repeatableRandom()
{
    programRandom().seed(20240601);
}

CpuLimit::~CpuLimit()
{
    const double seconds = double(std::clock() - start) / CLOCKS_PER_SEC;
    if (seconds > 10) {
        std::fprintf(stderr, "fuzz check failed: one input took %.1f s of processor time\n",
                     seconds);
        std::abort();
    }
}

bool writeFile(const std::string& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace kerbon::fuzz
