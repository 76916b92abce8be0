// Script commands for layers, line types, the property boxes and text editing: each does
// what its dialog or box does in the window.
#include <algorithm>

#include "edit/Editor.h"
#include "edit/script.h"
#include "styles/layers.h"
#include "styles/linetypes.h"
#include "view/tables.h"

namespace kerbon::script {

namespace {

using styles::StyleStatus;

// Why a layer or line type command wrote nothing; true when it wrote.
bool done(Args& a, StyleStatus s)
{
    switch (s) {
    case StyleStatus::Ok:
    case StyleStatus::FirstLineOnly:     return true;
    case StyleStatus::EmptyLayerName:    a.fail("the layer has no name"); break;
    case StyleStatus::BadLayerName:
    case StyleStatus::BadLineTypeName:
        a.fail("a name must not hold any of < > / \\ \" : ; ? * | = or a control character");
        break;
    case StyleStatus::LayerExists:       a.fail("a layer of this name exists"); break;
    case StyleStatus::EmptyLineTypeName: a.fail("the line type has no name"); break;
    case StyleStatus::LineTypeExists:    a.fail("a line type of this name exists"); break;
    case StyleStatus::NoLengths:         a.fail("the pattern holds no length"); break;
    case StyleStatus::NoTable:           a.fail("the drawing has no table to add to"); break;
    case StyleStatus::NoHandles:         a.fail("the drawing has no free handles left"); break;
    case StyleStatus::NoLineweights:
        a.fail("the drawing's DXF version has no line weights");
        break;
    case StyleStatus::NotAText:          a.fail("the object has no text"); break;
    }
    return false;
}

// The name of the layer called `name` in the table (blanks around aside), or a failure.
std::string existingLayer(const Editor& ed, Args& a, const std::string& name)
{
    const int i = view::findLayer(ed.model, name);
    if (i < 0) {
        a.fail("no layer '" + name + "'");
        return {};
    }
    return ed.model.layers[size_t(i)].name;
}

// A line type the boxes offer: `all` for the property bar's box (every name), else the
// layer dialogs' (without ByLayer and ByBlock).
bool offeredLineType(const Editor& ed, Args& a, const std::string& name, bool all)
{
    for (int i = 0; i < ed.model.anzlt; ++i) {
        const std::string& n = ed.model.linetype[size_t(i)].name;
        if (n == name && (all || (n != "ByLayer" && n != "ByBlock")))
            return true;
    }
    a.fail("no line type '" + name + "' to choose");
    return false;
}

// A line weight of the boxes' lists: -3 (by layer or standard) or a millimetre entry.
int listedLineweight(Args& a, int i)
{
    const int w = a.integer(i);
    if (a.failed())
        return 0;
    for (int k = 0; k <= 22; ++k)
        if (std::to_string(w) == view::lineWeightOfBoxIndex(k))
            return w;
    a.fail("line weight " + std::to_string(w) + " is not in the list (-3, 0, 5, 9, ... 211)");
    return 0;
}

int colourNumber(Args& a, int i, int lo, int hi)
{
    const int c = a.integer(i);
    if (!a.failed() && (c < lo || c > hi))
        a.fail("colour " + std::to_string(c) + " is outside " + std::to_string(lo) + " ... " +
               std::to_string(hi));
    return c;
}

const char* const layerAddUsage = "layer-add NAME [COLOUR] [LINETYPE] [LINEWEIGHT]";
const char* const layerSetUsage =
    "layer-set NAME [colour N] [linetype NAME] [lineweight N] [visible|invisible] "
    "[locked|unlocked]";
const char* const linetypeAddUsage = "linetype-add NAME PATTERN [DESCRIPTION]";

bool layerAdd(Editor& ed, Args& a)
{
    if (!a.expectBetween(1, 4, layerAddUsage))
        return false;
    styles::NewLayer layer;
    layer.name = a.text(0);
    const std::vector<std::string> types = styles::lineTypeChoices(ed.model);
    if (!types.empty())
        layer.linetype = types.front();
    if (a.size() > 1)
        layer.colour = colourNumber(a, 1, 1, 255);
    if (a.size() > 2 && offeredLineType(ed, a, a.text(2), false))
        layer.linetype = a.text(2);
    if (a.size() > 3)
        layer.lineweight = listedLineweight(a, 3);
    return !a.failed() && done(a, ed.AddNewLayer(layer));
}

bool layerSet(Editor& ed, Args& a)
{
    if (a.size() < 1)
        return a.expect(1, layerSetUsage);
    const int row = view::findLayer(ed.model, a.text(0));
    if (row < 0) {
        a.fail("no layer '" + a.text(0) + "'");
        return false;
    }
    std::vector<styles::LayerRow> rows = styles::layerRows(ed.model);
    styles::LayerRow& r = rows[size_t(row)];
    for (int i = 1; i < a.size() && !a.failed(); ++i) {
        if (a.is(i, "visible") || a.is(i, "invisible")) {
            r.visible = a.is(i, "visible");
        } else if (a.is(i, "locked") || a.is(i, "unlocked")) {
            r.locked = a.is(i, "locked");
        } else if (i + 1 < a.size() && a.is(i, "colour")) {
            r.colour = colourNumber(a, ++i, 1, 255);
        } else if (i + 1 < a.size() && a.is(i, "linetype")) {
            if (offeredLineType(ed, a, a.text(++i), false))
                r.ltname = a.text(i);
        } else if (i + 1 < a.size() && a.is(i, "lineweight")) {
            r.lineweight = listedLineweight(a, ++i);
        } else {
            a.fail("unexpected '" + a.text(i) + "' (" + layerSetUsage + ")");
        }
    }
    if (a.failed())
        return false;
    ed.applyEdits(styles::layerTableEdits(ed.model, rows));  // a record without the code keeps it
    ed.SetChanged();
    return true;
}

bool linetypeAdd(Editor& ed, Args& a)
{
    if (!a.expectBetween(2, 3, linetypeAddUsage))
        return false;
    // The pattern's lengths, separated by blanks, stand for the dialog's lines.
    std::vector<std::string> lines;
    std::string word;
    for (const char ch : a.text(1) + " ") {
        if (ch != ' ' && ch != '\t') {
            word += ch;
        } else if (!word.empty()) {
            lines.push_back(word);
            word.clear();
        }
    }
    const std::string description = a.size() > 2 ? a.text(2) : std::string();
    return done(a, ed.AddLineStil(a.text(0), description, styles::patternLengths(lines)));
}

}  // namespace

void addStyleCommands(CommandTable& t)
{
    t.add({"layer-add", layerAddUsage, layerAdd});
    t.add({"layer-set", layerSetUsage, layerSet});
    t.add({"linetype-add", linetypeAddUsage, linetypeAdd});
    t.add({"layer", "layer NAME", [](Editor& ed, Args& a) {
               if (!a.expect(1, "layer NAME"))
                   return false;
               const std::string name = existingLayer(ed, a, a.text(0));
               if (a.failed())
                   return false;
               ed.chosenLayer = name;
               return true;
           }});
    t.add({"set-layer", "set-layer NAME", [](Editor& ed, Args& a) {
               if (!a.expect(1, "set-layer NAME"))
                   return false;
               const std::string name = existingLayer(ed, a, a.text(0));
               return !a.failed() && done(a, ed.SetLayerForObjects(name));
           }});
    t.add({"set-linetype", "set-linetype NAME", [](Editor& ed, Args& a) {
               return a.expect(1, "set-linetype NAME") && offeredLineType(ed, a, a.text(0), true) &&
                      done(a, ed.SetLineTypeForObjects(a.text(0)));
           }});
    t.add({"set-colour", "set-colour N", [](Editor& ed, Args& a) {
               if (!a.expect(1, "set-colour N"))
                   return false;
               const int c = colourNumber(a, 0, 0, 256);
               return !a.failed() && done(a, ed.SetColorForObjects(c));
           }});
    t.add({"set-lineweight", "set-lineweight N", [](Editor& ed, Args& a) {
               if (!a.expect(1, "set-lineweight N"))
                   return false;
               const int w = listedLineweight(a, 0);
               return !a.failed() && done(a, ed.SetLeineWeightForObjects(std::to_string(w)));
           }});
    t.add({"text-edit", "text-edit OBJECT TEXT", [](Editor& ed, Args& a) {
               if (!a.expect(2, "text-edit OBJECT TEXT"))
                   return false;
               const int i = a.integer(0);
               if (!a.failed() && (i < 0 || i >= ed.model.anzpoly))
                   a.fail("no object " + std::to_string(i) + " (the drawing has " +
                          std::to_string(ed.model.anzpoly) + ")");
               return !a.failed() && done(a, ed.setObjectText(i, a.text(1)));
           }});
}

}  // namespace kerbon::script
