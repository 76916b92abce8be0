// Gives every test program the locations it needs when ctest did not pass them in the
// environment: the data folder, the command-line tool, and Qt's offscreen platform.
#include <cstdlib>

namespace {

const bool environmentReady = [] {
    setenv("KERBON_TEST_DATA", KERBON_TEST_DATA_DEFAULT, 0);
    setenv("KERBON_CLI", KERBON_CLI_DEFAULT, 0);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    return true;
}();

}  // namespace

// Allocations the system libraries keep for the life of the process, so that a test
// program run on its own (outside ./test.sh) reports only leaks of our own code.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig\nleak:libdbus\nleak:libglib\n";
}
