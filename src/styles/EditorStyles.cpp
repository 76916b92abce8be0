// The editor's layer, line type and property commands: the dialogs through Ui, the edits
// from the builders of this folder, each applied as one undo step.
#include <utility>

#include "edit/Editor.h"
#include "edit/LayoutFilter.h"
#include "styles/layers.h"
#include "styles/linetypes.h"
#include "styles/textedit.h"
#include "view/tables.h"

namespace kerbon {

using styles::StyleStatus;

std::string Editor::styleStatusText(StyleStatus s) const
{
    const auto allowed = [this] {
        return translate("Ein Name darf keines der Zeichen < > / \\ \" : ; ? * | = und keine "
                         "Steuerzeichen enthalten.");
    };
    switch (s) {
    case StyleStatus::EmptyLayerName:    return messageText(28);
    case StyleStatus::LayerExists:       return messageText(27);
    case StyleStatus::EmptyLineTypeName: return messageText(31);
    case StyleStatus::LineTypeExists:    return messageText(29);
    case StyleStatus::NoLengths:         return messageText(30);
    case StyleStatus::NoLineweights:     return messageText(9);
    case StyleStatus::BadLayerName:
        return translate("Sie haben keinen gültigen Namen für die neue Ebene eingegeben.") +
               " " + allowed();
    case StyleStatus::BadLineTypeName:
        return messageText(31) + " " + allowed();
    case StyleStatus::NoHandles:
        return translate("Die Zeichnung hat keine freien Handles mehr. Es wurde nichts "
                         "hinzugefügt.");
    case StyleStatus::FirstLineOnly:
        return translate("Ein einzeiliger Text kann keine Zeilenumbrüche enthalten. Es wird "
                         "nur die erste Zeile verwendet.");
    case StyleStatus::Ok:
    case StyleStatus::NoTable:   // nothing to add to: nothing said
    case StyleStatus::NotAText:
        break;
    }
    return {};
}

StyleStatus Editor::told(StyleStatus s)
{
    const std::string text = styleStatusText(s);
    if (!text.empty())
        ui.messageBox(text, "", MsgIcon::Error, MsgButtons::Ok);
    return s;
}

// ---- layers ----

std::string Editor::layerForNewObjects() const
{
    const int i = chosenLayer.empty() ? -1 : view::findLayer(model, chosenLayer);
    return i >= 0 ? model.layers[size_t(i)].name : newObjectLayer(model);
}

void Editor::LayerBtnClick()
{
    styles::LayerDialogValues v{styles::layerRows(model), styles::lineTypeChoices(model), {}};
    for (int i = 0; i < 9; ++i)
        v.words.colours[size_t(i)] = messageText(14 + i);
    v.words.invisible = messageText(23);
    v.words.visible = messageText(24);
    v.words.locked = messageText(25);
    v.words.unlocked = messageText(26);
    const styles::LayerDialogEnd end = ui.layerDialog(v);
    applyEdits(styles::layerTableEdits(model, v.rows));
    SetChanged();
    if (end != styles::LayerDialogEnd::NewLayer)
        return;
    styles::NewLayerValues n;
    n.lineTypes = styles::lineTypeChoices(model);
    if (!ui.newLayerDialog(n))
        return;
    styles::NewLayer layer;
    layer.name = n.name;
    if (n.lineType >= 0 && n.lineType < int(n.lineTypes.size()))
        layer.linetype = n.lineTypes[size_t(n.lineType)];
    layer.colour = n.colour >= 0 && n.colour < 9 ? n.colour + 1 : 1;
    layer.lineweight = styles::layerWeightOfIndex(n.lineWeight);
    AddNewLayer(layer);
}

StyleStatus Editor::AddNewLayer(const styles::NewLayer& layer)
{
    styles::StyleEdit e = styles::newLayerText(model, layer);
    if (e.status == StyleStatus::Ok)
        applyEdits(std::move(e.edits));
    return told(e.status);
}

// ---- line types ----

void Editor::Linienstile1Click()
{
    if (!ui.lineTypeDialog(lineTypeValues))
        return;
    AddLineStil(lineTypeValues.name, lineTypeValues.description,
                styles::patternLengths(memoLines(lineTypeValues.pattern)));
}

StyleStatus Editor::AddLineStil(const std::string& name, const std::string& description,
                                const std::vector<double>& pattern)
{
    styles::StyleEdit e = styles::newLineTypeText(model, name, description, pattern);
    if (e.status == StyleStatus::Ok)
        applyEdits(std::move(e.edits));
    return told(e.status);
}

// ---- the property boxes ----

StyleStatus Editor::setPropertyForObjects(styles::Property prop, const std::string& value)
{
    if (prop == styles::Property::LineWeight && model.cadver <= 1009)
        return told(StyleStatus::NoLineweights);
    const LayoutFilter filter = currentLayoutFilter(model, view.tabindex);
    applyEdits(styles::propertyEdits(dxf, model, filter, prop, value), true);
    return StyleStatus::Ok;
}

StyleStatus Editor::SetColorForObjects(int newcolornr)
{
    return setPropertyForObjects(styles::Property::Colour, std::to_string(newcolornr));
}

StyleStatus Editor::SetLineTypeForObjects(const std::string& newlinetype)
{
    return setPropertyForObjects(styles::Property::LineType, newlinetype);
}

StyleStatus Editor::SetLayerForObjects(const std::string& newlinetype)
{
    return setPropertyForObjects(styles::Property::Layer, newlinetype);
}

StyleStatus Editor::SetLeineWeightForObjects(const std::string& newlinetype)
{
    return setPropertyForObjects(styles::Property::LineWeight, newlinetype);
}

void Editor::chooseLayer(const std::string& name)
{
    chosenLayer = name;
    SetLayerForObjects(name);
}

// ---- text ----

bool Editor::ChangeText(int textobj)
{
    if (textobj < 0 || textobj >= model.anzpoly || !model.polys[size_t(textobj)].selected)
        return false;
    const model::tpoly& p = model.polys[size_t(textobj)];
    const styles::TextKind kind = styles::textKind(dxf, p);
    const std::string stored = styles::storedText(dxf, p);
    if (kind == styles::TextKind::None || stored.empty())
        return false;
    const std::string shown = styles::textForEditing(kind, stored);
    std::string typed = shown;
    const size_t steps = undos.size();
    // What comes back as it was shown stays as stored, even where storing it anew would
    // differ (a line break behind the last line).
    if (ui.textEditDialog(typed) && typed != shown) {
        setObjectText(textobj, typed);
    } else {
        processdxf();  // a cancelled or unchanged text changes no line
        repaint();
        SetChanged();
    }
    return undos.size() > steps;
}

StyleStatus Editor::setObjectText(int textobj, const std::string& typed)
{
    if (textobj < 0 || textobj >= model.anzpoly)
        return StyleStatus::NotAText;
    const model::tpoly& p = model.polys[size_t(textobj)];
    const styles::TextKind kind = styles::textKind(dxf, p);
    if (kind == styles::TextKind::None || !styles::holdsText(dxf, p))
        return StyleStatus::NotAText;  // nowhere to write it: told, not taken for done
    bool cut = false;
    const std::string text = styles::textFromEditing(kind, typed, cut);
    if (!applyEdits(styles::textEdits(dxf, p, text))) {
        processdxf();  // the text stays as it was
        repaint();
        SetChanged();
    }
    return told(cut ? StyleStatus::FirstLineOnly : StyleStatus::Ok);
}

}  // namespace kerbon
