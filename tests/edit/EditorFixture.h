// An editor on a scripted Ui with a document from a template, an example drawing or
// inline lines, for the tests of editing operations.
#pragma once

#include <string>
#include <vector>

#include "dxf/LineStore.h"
#include "edit/Editor.h"
#include "edit/script.h"
#include "support/ParseFixture.h"
#include "support/ScriptedUi.h"

namespace kerbon::test {

inline std::string dataFile(const std::string& name)
{
    return std::string(std::getenv("KERBON_TEST_DATA")) + name;
}

// Runs script text on the editor; the error text, or empty when every command ran.
inline std::string runScript(Editor& ed, const std::string& text)
{
    std::vector<script::Command> cmds;
    std::string error;
    script::Report report;
    if (!script::parseScript(text, cmds, error) || !script::runCommands(ed, cmds, report, error))
        return error;
    return {};
}

struct EditorFixture {
    ScriptedUi ui;
    Editor ed{ui};

    EditorFixture() { ed.setAreaSize(1000, 700); }

    // "template0.dat", "template1.dat", "examples/parts.dxf", ...
    explicit EditorFixture(const std::string& dataName) : EditorFixture()
    {
        if (!ed.openfilewithname(dataFile(dataName)))
            throw std::runtime_error("cannot open " + dataName);
    }

    void setText(std::string_view text)
    {
        ed.dxf.lines = splitLines(text);
        ed.FreeUndos();
        ed.processdxf();
    }

    // The pairs of the entity whose handle is h, from its "0" line up to the next "0".
    std::vector<std::string> entityText(int32_t h) const
    {
        const model::DisplayModel& m = ed.model;
        for (int i = 0; i < m.anzpoly; ++i) {
            const model::tpoly& p = m.polys[size_t(i)];
            if (p.han != h)
                continue;
            std::vector<std::string> out;
            for (int k = p.linefrom; k <= p.linebis; ++k)
                out.emplace_back(ed.dxf[k]);
            return out;
        }
        return {};
    }

    std::string headerValue(const std::string& var) const
    {
        for (int i = 0; i + 3 < ed.dxf.count(); ++i)
            if (trimDxf(ed.dxf[i]) == "9" && trimDxf(ed.dxf[i + 1]) == var)
                return std::string(trimDxf(ed.dxf[i + 3]));
        return {};
    }
};

}  // namespace kerbon::test
