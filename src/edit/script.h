// The edit script: commands that run through exactly the Editor operations the window
// calls, one undo step per command where the operation makes one. `kerbon-cli edit`
// reads it from a file or its arguments; tests and fuzzing use it directly.
//
// Text form: one command per line, or several separated by ";". A command is a name and
// its values, separated by blanks. A value in double quotes may hold blanks, ";" and "#";
// inside quotes \" stands for a quote, \\ for a backslash and \n for a line break (a
// text of several lines). "#" outside quotes starts a
// comment that runs to the end of the line.
//
// Adding commands: write a function `void addXxxCommands(CommandTable&)` in its own file
// (script_xxx.cpp) that adds one ScriptCommand per command, declare it below and call it
// in commandTable() (script.cpp).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "edit/EntityText.h"

namespace kerbon {

class Editor;

namespace script {

struct Word {
    std::string text;
    bool quoted = false;
};

// One command of a script: its words (the first is the name) and the line it came from.
struct Command {
    int line = 0;
    std::vector<Word> words;
};

// Splits script text into commands. Lines count from 1. False with "line N: ..." in
// `error` when a quote is not closed.
bool parseScript(std::string_view text, std::vector<Command>& out, std::string& error);
// Commands from command-line arguments. Each argument is split like a script line (so
// "line 0 0 1 1; circle 0 0 5" works as one argument too) and its words continue the
// current command: only ";" (alone or at the end of a word) ends a command. "#" has no
// special meaning. The "line" of an
// argument command is its place among the argument commands, counted from 1.
bool parseArguments(const std::vector<std::string>& args, std::vector<Command>& out,
                    std::string& error);

// What a run did, for --json.
struct Report {
    int commands = 0;                   // commands run
    int objectsBefore = 0, objectsAfter = 0;
    std::vector<int32_t> handlesAdded;  // handles of objects present after but not before
};

// The values of one command as its handler sees them. The accessors check and convert;
// on a failure they set `error` and return a harmless value, so a handler checks
// `failed()` (or the result of expect...) before acting.
class Args {
public:
    Args(const Command& c) : cmd(c) {}

    const std::string& name() const { return cmd.words.front().text; }
    int size() const { return int(cmd.words.size()) - 1; }  // values after the name
    // False (with an error naming the usage) unless the command has n values, or between
    // lo and hi values.
    bool expect(int n, const std::string& usage);
    bool expectBetween(int lo, int hi, const std::string& usage);

    double number(int i);               // value i (0-based) as a finite real
    int integer(int i);                 // value i as a whole number
    const std::string& text(int i);     // value i as it stands (quotes removed)
    bool is(int i, std::string_view word) const;  // value i is this bare word

    void fail(std::string message);     // the command fails with this message
    bool failed() const { return !error.empty(); }
    std::string error;

private:
    const Command& cmd;
};

// A command's handler: runs it on the editor and records what it added. Returns false
// when the command failed (with args.error set).
using Handler = std::function<bool(Editor& ed, Args& args)>;

struct ScriptCommand {
    std::string name;
    std::string usage;                  // "line X1 Y1 X2 Y2"
    Handler run;
};

class CommandTable {
public:
    void add(ScriptCommand c);
    const ScriptCommand* find(std::string_view name) const;
    const std::vector<ScriptCommand>& all() const { return commands; }

private:
    std::vector<ScriptCommand> commands;
};

// For handlers of drawing commands: true when the writer wrote its object; otherwise the
// command fails with the reason.
bool wrote(Args& args, WriteStatus s);

// The groups of commands, each in its own file.
void addDrawCommands(CommandTable& t);     // script_draw.cpp: line, circle, text, ...
void addSelectCommands(CommandTable& t);   // script_select.cpp: select, delete, undo, tab
void addTransformCommands(CommandTable& t);  // script_transform.cpp: move, copy, rotate, ...
void addLayoutCommands(CommandTable& t);   // script_layout.cpp: viewport
void addStyleCommands(CommandTable& t);    // script_styles.cpp: layer-add, set-colour, ...

// The table of every command, built on first use.
const CommandTable& commandTable();

// Runs the commands in order on the editor. Stops at the first failing one with
// "line N: NAME: message" in `error` and returns false; the editor then holds the
// document as the failing command left it (the caller discards it).
bool runCommands(Editor& ed, const std::vector<Command>& commands, Report& report,
                 std::string& error);

}  // namespace script
}  // namespace kerbon
