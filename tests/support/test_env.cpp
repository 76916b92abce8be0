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
