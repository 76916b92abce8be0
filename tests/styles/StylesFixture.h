// Drawings for the layer, line type and property tests: a template with a few entities of
// each kind put into its ENTITIES section, script runs, and reading a saved drawing back
// with ezdxf.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "edit/EditorFixture.h"
#include "edit/script.h"
#include "support/Ezdxf.h"
#include "support/RunCli.h"

namespace kerbon::test {

// The scripted Ui with the layer, line type and text dialogs: each calls its hook (which
// plays the person at the dialog) and records that it was shown.
struct StylesUi : ScriptedUi {
    std::function<styles::LayerDialogEnd(styles::LayerDialogValues&)> onLayerDialog;
    std::function<bool(styles::NewLayerValues&)> onNewLayerDialog;
    std::function<bool(styles::LineTypeValues&)> onLineTypeDialog;
    std::function<bool(std::string&)> onTextEditDialog;
    std::vector<std::string> textsShown;  // what each text dialog showed

    styles::LayerDialogEnd layerDialog(styles::LayerDialogValues& v) override
    {
        return onLayerDialog ? onLayerDialog(v) : styles::LayerDialogEnd::Closed;
    }
    bool newLayerDialog(styles::NewLayerValues& v) override
    {
        return onNewLayerDialog ? onNewLayerDialog(v) : true;
    }
    bool lineTypeDialog(styles::LineTypeValues& v) override
    {
        return onLineTypeDialog ? onLineTypeDialog(v) : true;
    }
    bool textEditDialog(std::string& text) override
    {
        textsShown.push_back(text);
        return onTextEditDialog ? onTextEditDialog(text) : true;
    }
};

// An editor on a template with `entities` (lines joined by "|") in its ENTITIES section.
struct StylesFixture {
    StylesUi ui;
    Editor ed{ui};

    explicit StylesFixture(bool r12, const std::string& entities = {})
    {
        ed.setAreaSize(1000, 700);
        if (!ed.openfilewithname(dataFile(r12 ? "template0.dat" : "template1.dat")))
            throw std::runtime_error("cannot open the template");
        if (!entities.empty())
            insertInto("ENTITIES", entities);
    }

    // Puts `text` (lines joined by "|") at the start of the section named `section` and
    // parses again, with no undo step.
    void insertInto(const std::string& section, const std::string& text)
    {
        std::vector<std::string> lines = ed.dxf.lines.strings();
        size_t at = 0;
        for (size_t i = 0; i + 1 < lines.size(); ++i)
            if (trimDxf(lines[i]) == section) {
                at = i + 1;
                break;
            }
        std::vector<std::string> add;
        std::stringstream in(text);
        for (std::string l; std::getline(in, l, '|');)
            add.push_back(l);
        lines.insert(lines.begin() + long(at), add.begin(), add.end());
        ed.dxf.lines = lines;
        ed.FreeUndos();
        ed.processdxf();
    }

    // Runs script text; the error, or empty.
    std::string run(const std::string& text) { return runScript(ed, text); }

    // Index of the object with handle h, or -1.
    int object(int32_t h) const
    {
        for (int i = 0; i < ed.model.anzpoly; ++i)
            if (ed.model.polys[size_t(i)].han == h)
                return i;
        return -1;
    }

    // All lines of the object with handle h, VERTEX and SEQEND records included.
    std::vector<std::string> objectText(int32_t h) const
    {
        const int i = object(h);
        if (i < 0)
            return {};
        const model::tpoly& p = ed.model.polys[size_t(i)];
        return {ed.dxf.lines.begin() + p.linefrom, ed.dxf.lines.begin() + p.linebis + 1};
    }
};

// What ezdxf reads from a saved drawing: per entity of the model space (and per VERTEX
// and SEQEND of a polyline, as "handle/n") the values "layer", "color", "linetype",
// "lineweight" and "text", and the audit's complaints under "audit".
using Read = std::map<std::string, std::map<std::string, std::string>>;

inline Read ezdxfRead(const TempDir& tmp, const std::string& path)
{
    static const char* const program =
        "import sys, ezdxf\n"
        "doc = ezdxf.readfile(sys.argv[1])\n"
        "a = doc.audit()\n"
        "print('audit\\tproblems\\t' + ' / '.join([e.message for e in a.errors + a.fixes]))\n"
        "def show(key, e):\n"
        "    for n in ('layer', 'color', 'linetype', 'lineweight', 'text'):\n"
        "        if e.dxf.hasattr(n):\n"
        "            print(key + '\\t' + n + '\\t' + str(e.dxf.get(n)))\n"
        "    if e.dxftype() == 'MTEXT':\n"
        "        print(key + '\\ttext\\t' + e.text)\n"
        "for e in doc.modelspace():\n"
        "    show(e.dxf.handle, e)\n"
        "    if e.dxftype() == 'POLYLINE':\n"
        "        for n, v in enumerate(list(e.vertices) + [e.seqend]):\n"
        "            show(e.dxf.handle + '/' + str(n), v)\n";
    const std::string script = tmp.path("ezdxf_read.py");
    writeBytes(script, program);
    const CliRun r = runShell(tmp, "/usr/bin/python3 " + shq(script) + " " + shq(path));
    Read out;
    if (r.status != 0) {
        out["audit"]["problems"] = "ezdxf failed: " + r.out + r.err;
        return out;
    }
    std::stringstream in(r.out);
    for (std::string l; std::getline(in, l);) {
        const size_t a = l.find('\t'), b = l.find('\t', a + 1);
        if (a != std::string::npos && b != std::string::npos)
            out[l.substr(0, a)][l.substr(a + 1, b - a - 1)] = l.substr(b + 1);
    }
    return out;
}

}  // namespace kerbon::test
