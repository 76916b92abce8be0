// Script commands that draw: each calls the writer the drawing tool calls.
#include "edit/Editor.h"
#include "edit/script.h"

namespace kerbon::script {

namespace {

// line, xline, ray: AddLine with the tool's arcmode.
Handler lineCommand(int arcmode, std::string usage)
{
    return [arcmode, usage](Editor& ed, Args& a) {
        if (!a.expect(4, usage))
            return false;
        const double x1 = a.number(0), y1 = a.number(1), x2 = a.number(2), y2 = a.number(3);
        if (a.failed())
            return false;
        ed.arcmode = arcmode;
        return wrote(a, ed.AddLine(x1, y1, 0, x2, y2, 0));
    };
}

}  // namespace

void addDrawCommands(CommandTable& t)
{
    t.add({"line", "line X1 Y1 X2 Y2", lineCommand(0, "line X1 Y1 X2 Y2")});
    t.add({"xline", "xline X1 Y1 X2 Y2", lineCommand(1, "xline X1 Y1 X2 Y2")});
    t.add({"ray", "ray X1 Y1 X2 Y2", lineCommand(2, "ray X1 Y1 X2 Y2")});
}

}  // namespace kerbon::script
