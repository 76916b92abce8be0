// The edit script reader and its commands: bytes as a script (or, every other input, as
// command-line arguments, one per line) run on a small drawing, one of the templates or
// the drawing that follows a line "%%DXF" in the input. A command name that is a number
// stands for that entry of the command table, so new commands are reached without a
// dictionary. Afterwards the model must equal a fresh parse of the text, and undoing every
// step must give back the text as it was.
#include <cstddef>
#include <cstdint>

#include "dxf/processdxf.h"
#include "edit/Editor.h"
#include "edit/script.h"
#include "edit/selection.h"
#include "fuzz_support.h"

using namespace kerbon;

namespace {

LineStore templateDrawing(const char* name)
{
    return decodeLines(fuzz::readFile(std::string(KERBON_SOURCE_DATA_DIR) + name));
}

void numberedNames(std::vector<script::Command>& commands)
{
    const auto& all = script::commandTable().all();
    for (script::Command& c : commands) {
        std::string& name = c.words.front().text;
        if (!name.empty() && name.size() < 6 &&
            name.find_first_not_of("0123456789") == std::string::npos)
            name = all[size_t(std::stoi(name)) % all.size()].name;
    }
}

// A spline through fit points is fitted with the program's random numbers at every parse,
// so a re-parse may fit it a little differently: its vertices are left out of comparisons.
void forgetFittedCurves(model::DisplayModel& m, const LineStore& dxf)
{
    for (int i = 0; i < m.anzpoly; ++i) {
        model::tpoly& p = m.polys[size_t(i)];
        if (p.linefrom + 1 < dxf.count() && trimDxf(dxf[p.linefrom + 1]) == "SPLINE") {
            p.ps = model::VertexList();
            p.anzp = 0;
            p.reinx = p.reiny = p.reinz = p.rausx = p.rausy = p.rausz = 0;
        }
    }
}

// The views remembered per layout tab belong to the window, not to the parse.
void forgetViews(model::DisplayModel& m)
{
    for (model::Tlayout& l : m.layouts)
        l.zoomsetted = false, l.zoomvalue = 0, l.scrollxvalue = l.scrollyvalue = 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::CpuLimit limit;
    static const LineStore templates[] = {templateDrawing("template0.dat"),
                                          templateDrawing("template1.dat")};
    std::string_view text = fuzz::bytesOf(data, size);
    const unsigned choice = fuzz::inputChoice(text, 4);

    fuzz::repeatableRandom();
    fuzz::QuietUi ui;
    Editor ed(ui);
    const size_t dxfMark = text.find("%%DXF\n");
    if (dxfMark != std::string_view::npos) {
        ed.dxf = decodeLines(text.substr(dxfMark + 6));
        text = text.substr(0, dxfMark);
    } else {
        ed.dxf = templates[choice % 2];
    }
    ed.setAreaSize(320, 240);
    ed.processdxf();
    ed.ZoomFullIn();
    const std::vector<std::string> original = ed.dxf.lines.strings();

    std::vector<script::Command> commands;
    std::string error;
    bool parsed;
    if (choice < 2) {
        parsed = script::parseScript(text, commands, error);
    } else {
        std::vector<std::string> args;
        for (size_t start = 0; start <= text.size();) {
            const size_t end = std::min(text.find('\n', start), text.size());
            args.emplace_back(text.substr(start, end - start));
            start = end + 1;
        }
        parsed = script::parseArguments(args, commands, error);
    }
    if (!parsed)
        return 0;
    // Every edit parses again from near the edit, so a long script on a drawing of costly
    // objects is slow without being wrong: the first commands are enough to search with.
    if (commands.size() > 100)
        commands.resize(100);
    numberedNames(commands);
    script::Report report;
    script::runCommands(ed, commands, report, error);

    selectNone(ed.model);
    // An object's lock flag is the layer table's lock as selecting or painting last read
    // it, not something the parse gives: both sides read it from their layers now.
    markLocked(ed.model);
    forgetViews(ed.model);
    forgetFittedCurves(ed.model, ed.dxf);
    model::DisplayModel fresh;
    processdxf(ed.dxf, fresh);
    markLocked(fresh);
    forgetFittedCurves(fresh, ed.dxf);
    // A drawing whose numbers give values that are not numbers (NaN) makes a model that
    // equals nothing, not even itself: the comparison only tells something without them.
    if (sameModel(fresh, fresh))
        fuzz::require(sameModel(ed.model, fresh), "the model after the edits is not the parse of the text");
    while (!ed.undos.empty())
        ed.Rckgngig1Click();
    fuzz::require(ed.dxf.lines == original, "undoing every step does not give the text back");
    return 0;
}
