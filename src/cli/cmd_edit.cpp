// kerbon-cli edit: load a drawing (or a new one), run edit commands on it through the
// editor's own operations, and save the result.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/CliUi.h"
#include "cli/commands.h"
#include "cli/json.h"
#include "edit/Editor.h"
#include "edit/script.h"

using namespace kerbon;

namespace {

const char* const usageText =
    "usage: kerbon-cli edit SRC DST [--script FILE] [--json] [COMMAND ...]\n"
    "  Loads SRC (\"new\" or \"new-r12\": a new drawing from the template), runs the\n"
    "  commands of FILE (\"-\": standard input; \"#\" starts a comment) and then those given\n"
    "  as arguments (\";\" separates them), and saves to DST. A failing command stops with\n"
    "  \"line N: ...\" and exit code 2; DST is then not written.\n"
    "  --json  print what was done: commands run, objects before and after, handles added\n";

int usage()
{
    std::fputs(usageText, stderr);
    std::fputs("commands:\n", stderr);
    for (const script::ScriptCommand& c : script::commandTable().all())
        std::fprintf(stderr, "  %s\n", c.usage.c_str());
    return 2;
}

bool readScript(const std::string& path, std::string& text)
{
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(std::cin), {});
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    text.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

void printJson(const std::string& src, const std::string& dst, const script::Report& r,
               const Editor& ed)
{
    std::string handles = "[";
    for (size_t i = 0; i < r.handlesAdded.size(); ++i)
        handles += (i ? ", " : "") + cli::jsonString(handleText(r.handlesAdded[i]));
    handles += "]";
    cli::JsonObject o;
    o.field("src", src)
        .field("dst", dst)
        .field("commands", r.commands)
        .field("objects_before", r.objectsBefore)
        .field("objects_after", r.objectsAfter)
        .raw("handles_added", handles)
        .field("undo_steps", int(ed.undos.size()));
    std::printf("%s\n", o.str().c_str());
}

}  // namespace

int cmdEdit(int argc, char** argv)
{
    std::vector<std::string> paths, commandArgs;
    std::string scriptPath;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--script") {
            if (i + 1 >= argc || !scriptPath.empty())
                return usage();
            scriptPath = argv[++i];
        } else if (a == "--json") {
            json = true;
        } else if (paths.size() < 2) {
            paths.push_back(a);
        } else {
            commandArgs.push_back(a);
        }
    }
    if (paths.size() < 2)
        return usage();

    std::vector<script::Command> commands;
    std::string error;
    if (!scriptPath.empty()) {
        std::string text;
        if (!readScript(scriptPath, text)) {
            std::fprintf(stderr, "kerbon-cli: cannot read %s\n", scriptPath.c_str());
            return 1;
        }
        if (!script::parseScript(text, commands, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
    }
    if (!script::parseArguments(commandArgs, commands, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }

    cli::CliUi ui;
    Editor ed(ui);
    ed.setAreaSize(1200, 800);  // picks and windows use this area unless "view" sets another
    const std::string& src = paths[0];
    const bool loaded = src == "new" || src == "new-r12" ? ed.NewFile(src == "new-r12")
                                                         : ed.openfilewithname(src);
    if (!loaded)
        return 1;  // the editor named the file

    script::Report report;
    if (!script::runCommands(ed, commands, report, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    if (!ed.SaveFileUnder(paths[1]))
        return 1;
    if (json)
        printJson(src, paths[1], report, ed);
    return 0;
}
