// Files the program keeps beside itself (translate.dat, options.dat). They live in the
// program directory `progpath`; when that is not writable they live in the per-user
// configuration directory instead, and a copy there is read first when present.
// Both directories end in "/" (or are empty: no such place).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kerbon {

// $XDG_CONFIG_HOME/kerbon/ when that variable holds an absolute path, else
// $HOME/.config/kerbon/; empty when neither is known.
std::string userConfigDir();

// The file to read `name` from: the configuration directory's copy when it exists, else the
// program directory's; empty when both directories are empty.
std::string progFileForReading(const std::string& progpath, const std::string& configdir,
                               std::string_view name);

// Replaces `name` with `bytes` as a whole (written to a temporary file, then renamed, so
// a failed write never leaves a half file). Goes to the configuration directory's copy when
// that exists, else to the program directory, else (not writable) to the configuration
// directory, which is created when needed. Returns the path written, empty on failure.
std::string writeProgFile(const std::string& progpath, const std::string& configdir,
                          std::string_view name, std::string_view bytes);

// The directory of the running program file, ending in "/"; empty when it cannot be told.
std::string executableDir();

// The directories holding the files the program ships (templates, the translation table),
// each ending in "/", in the order they are searched: share/kerbon/ beside the program's bin
// directory (an installed program, wherever it was installed to; left out without progpath),
// the data directory of the configured install prefix, and the source tree's data/ (a
// program run from its build tree).
std::vector<std::string> shippedDataDirs(const std::string& progpath);

}  // namespace kerbon
