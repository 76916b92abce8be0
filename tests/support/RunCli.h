// Runs a program through the shell and collects its exit status, stdout and stderr.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/TempFiles.h"

namespace kerbon::test {

struct CliRun {
    int status = -1;   // exit code; -1 when the program did not exit normally
    std::string out, err;
};

// `command` is a shell command line (arguments already quoted); stderr goes through a
// file in `tmp`.
inline CliRun runShell(const TempDir& tmp, const std::string& command)
{
    CliRun r;
    const std::string errPath = tmp.path("stderr.txt");
    const std::string cmd = command + " 2>'" + errPath + "'";
    if (FILE* f = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
            r.out.append(buf, n);
        const int st = pclose(f);
        r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    }
    r.err = readBytes(errPath);
    std::filesystem::remove(errPath);
    return r;
}

// kerbon-cli with the given arguments (already quoted for the shell).
inline CliRun runCli(const TempDir& tmp, const std::string& args)
{
    return runShell(tmp, std::string(std::getenv("KERBON_CLI")) + " " + args);
}

// A path or word quoted for the shell.
inline std::string shq(const std::string& s)
{
    std::string out = "'";
    for (const char ch : s)
        out += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return out + "'";
}

}  // namespace kerbon::test
