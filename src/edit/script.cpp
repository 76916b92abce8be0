// Reading edit scripts, checking a command's values, the table of commands and the run.
#include "edit/script.h"

#include <algorithm>
#include <unordered_set>

#include "dxf/LineStore.h"
#include "edit/Editor.h"

namespace kerbon::script {

namespace {

bool isBlank(char ch)
{
    return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\v' || ch == '\f';
}

// Splits one line into words, appending to `current` and moving finished commands (at
// ";") to `done`. With `comments`, "#" outside quotes ends the line. False when a quote
// is left open.
bool splitLine(std::string_view s, bool comments, std::vector<Word>& current,
               std::vector<std::vector<Word>>& done)
{
    size_t i = 0;
    while (i < s.size()) {
        const char ch = s[i];
        if (isBlank(ch)) {
            ++i;
        } else if (ch == ';') {
            done.push_back(std::move(current));
            current.clear();
            ++i;
        } else if (ch == '#' && comments) {
            return true;
        } else if (ch == '"') {
            Word w{{}, true};
            ++i;
            for (;;) {
                if (i >= s.size())
                    return false;
                if (s[i] == '"') {
                    ++i;
                    break;
                }
                if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
                    w.text += '\n';
                    i += 2;
                    continue;
                }
                if (s[i] == '\\' && i + 1 < s.size() && (s[i + 1] == '"' || s[i + 1] == '\\'))
                    ++i;
                w.text += s[i++];
            }
            current.push_back(std::move(w));
        } else {
            Word w;
            while (i < s.size() && !isBlank(s[i]) && s[i] != ';' && !(comments && s[i] == '#'))
                w.text += s[i++];
            current.push_back(std::move(w));
        }
    }
    return true;
}

void addCommands(std::vector<std::vector<Word>>& done, int line, std::vector<Command>& out)
{
    for (std::vector<Word>& words : done)
        if (!words.empty())
            out.push_back({line, std::move(words)});
    done.clear();
}

}  // namespace

bool parseScript(std::string_view text, std::vector<Command>& out, std::string& error)
{
    int line = 0;
    size_t start = 0;
    while (start <= text.size()) {
        ++line;
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::vector<Word> current;
        std::vector<std::vector<Word>> done;
        if (!splitLine(text.substr(start, end - start), true, current, done)) {
            error = "line " + std::to_string(line) + ": a quote is not closed";
            return false;
        }
        done.push_back(std::move(current));
        addCommands(done, line, out);
        start = end + 1;
    }
    return true;
}

bool parseArguments(const std::vector<std::string>& args, std::vector<Command>& out,
                    std::string& error)
{
    std::vector<Word> current;
    std::vector<std::vector<Word>> done;
    int n = 0;
    auto flush = [&] {
        for (std::vector<Word>& words : done)
            if (!words.empty())
                out.push_back({++n, std::move(words)});
        done.clear();
    };
    for (const std::string& a : args) {
        if (!splitLine(a, false, current, done)) {
            error = "line " + std::to_string(n + 1) + ": a quote is not closed";
            return false;
        }
        flush();
    }
    done.push_back(std::move(current));
    flush();
    return true;
}

// ---- Args ----

bool Args::expect(int n, const std::string& usage)
{
    if (size() == n)
        return true;
    fail("expected " + std::to_string(n) + " values, got " + std::to_string(size()) +
         " (" + usage + ")");
    return false;
}

bool Args::expectBetween(int lo, int hi, const std::string& usage)
{
    if (size() >= lo && size() <= hi)
        return true;
    fail("expected " + std::to_string(lo) + " to " + std::to_string(hi) + " values, got " +
         std::to_string(size()) + " (" + usage + ")");
    return false;
}

const std::string& Args::text(int i)
{
    static const std::string none;
    if (i < 0 || i >= size()) {
        fail("value " + std::to_string(i + 1) + " is missing");
        return none;
    }
    return cmd.words[size_t(i) + 1].text;
}

double Args::number(int i)
{
    const std::string& t = text(i);
    if (failed())
        return 0;
    if (const auto v = dxfToDouble(t))
        return *v;
    fail("not a number: '" + t + "'");
    return 0;
}

int Args::integer(int i)
{
    const std::string& t = text(i);
    if (failed())
        return 0;
    if (const auto v = dxfToInt(t))
        return *v;
    fail("not a whole number: '" + t + "'");
    return 0;
}

bool Args::is(int i, std::string_view word) const
{
    return i >= 0 && i < size() && !cmd.words[size_t(i) + 1].quoted &&
           cmd.words[size_t(i) + 1].text == word;
}

void Args::fail(std::string message)
{
    if (error.empty())
        error = std::move(message);
}

bool wrote(Args& args, WriteStatus s)
{
    switch (s) {
    case WriteStatus::Ok:
    case WriteStatus::FirstLineOnly: return true;
    case WriteStatus::NoPlace:      args.fail("the drawing has no ENTITIES section"); break;
    case WriteStatus::NotFinite:    args.fail("a value is not a finite number"); break;
    case WriteStatus::BadSize:      args.fail("the height must be greater than 0"); break;
    case WriteStatus::NoHandles:    args.fail("the drawing has no free handles left"); break;
    case WriteStatus::Collinear:    args.fail("the points lie on one line"); break;
    case WriteStatus::ZeroLength:   args.fail("the points coincide"); break;
    case WriteStatus::ZeroAxis:     args.fail("an axis has length 0"); break;
    case WriteStatus::TooFewPoints: args.fail("too few points"); break;
    case WriteStatus::NoXline:
    case WriteStatus::NoRay:
    case WriteStatus::NoEllipse:
    case WriteStatus::NoSpline:
        args.fail("the drawing's DXF version has no such object");
        break;
    }
    return false;
}

// ---- the table ----

void CommandTable::add(ScriptCommand c)
{
    commands.push_back(std::move(c));
}

const ScriptCommand* CommandTable::find(std::string_view name) const
{
    for (const ScriptCommand& c : commands)
        if (c.name == name)
            return &c;
    return nullptr;
}

const CommandTable& commandTable()
{
    static const CommandTable table = [] {
        CommandTable t;
        addDrawCommands(t);
        addSelectCommands(t);
        addTransformCommands(t);
        addLayoutCommands(t);
        addStyleCommands(t);
        return t;
    }();
    return table;
}

// ---- running ----

namespace {

std::unordered_set<int32_t> objectHandles(const model::DisplayModel& m)
{
    std::unordered_set<int32_t> h;
    for (int i = 0; i < m.anzpoly; ++i)
        h.insert(m.polys[size_t(i)].han);
    return h;
}

}  // namespace

bool runCommands(Editor& ed, const std::vector<Command>& commands, Report& report,
                 std::string& error)
{
    const std::unordered_set<int32_t> before = objectHandles(ed.model);
    report.objectsBefore = ed.model.anzpoly;
    bool ok = true;
    for (const Command& c : commands) {
        const std::string& name = c.words.front().text;
        const ScriptCommand* sc = commandTable().find(name);
        if (!sc) {
            error = "line " + std::to_string(c.line) + ": unknown command '" + name + "'";
            ok = false;
            break;
        }
        Args args(c);
        if (!sc->run(ed, args) || args.failed()) {
            error = "line " + std::to_string(c.line) + ": " + name + ": " +
                    (args.error.empty() ? std::string("failed") : args.error);
            ok = false;
            break;
        }
        ++report.commands;
    }
    report.objectsAfter = ed.model.anzpoly;
    report.handlesAdded.clear();
    for (int i = 0; i < ed.model.anzpoly; ++i) {
        const int32_t h = ed.model.polys[size_t(i)].han;
        if (!before.count(h))
            report.handlesAdded.push_back(h);
    }
    return ok;
}

}  // namespace kerbon::script
