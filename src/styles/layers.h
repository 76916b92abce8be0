// The layer table: the rows of the layer dialog, writing edited rows back into the LAYER
// records, and the record of a new layer.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "dxf/model.h"
#include "edit/LineEdits.h"
#include "styles/StyleEdit.h"

namespace kerbon::styles {

// One layer as the dialog edits it.
struct LayerRow {
    std::string name;
    int colour = 7;          // the colour number without the sign that hides the layer
    bool visible = true;     // a hidden layer keeps a negative colour number
    bool locked = false;     // flag value 4
    std::string ltname;
    int lineweight = 0;      // hundredths of a millimetre; 0 when the layer has none
};

// The translated words the rows are shown with.
struct LayerWords {
    std::array<std::string, 9> colours;  // "Rot" ... "Hellgrau"
    std::string invisible, visible, locked, unlocked;
};

// The rows of the layers, in table order.
std::vector<LayerRow> layerRows(const model::DisplayModel& m);
// The texts of a row's columns "Name", "Farbe", "Sichtbar", "Gesperrt", "Linienstil",
// "Linienbreite" (the weight in millimetres).
std::array<std::string, 6> layerRowTexts(const LayerRow& r, const LayerWords& w);

// The entries of the property bar's layer box: the layer names in table order, the layer
// chosen for new objects moved to the front.
std::vector<std::string> layerBoxNames(std::vector<std::string> names, const std::string& chosen);

// The line types the layer dialogs offer: every name but "ByLayer" and "ByBlock".
std::vector<std::string> lineTypeChoices(const model::DisplayModel& m);

// The line weight list of the layer dialogs: "Standard" (the value -3), then the
// millimetre entries of the property bar's list.
extern const std::array<const char*, 23> layerWeightItems;
int layerWeightOfIndex(int index);   // -3 for "Standard" and for an index outside the list

// Replacements that give layer i the values of rows[i]: each value that differs, where
// the layer's record holds its group code (a record without the code keeps it as it is).
EditSet layerTableEdits(const model::DisplayModel& m, const std::vector<LayerRow>& rows);

// A new layer as the new-layer dialog gives it.
struct NewLayer {
    std::string name;
    std::string linetype;    // empty: the record names none
    int colour = 1;
    int lineweight = -3;
};

// The LAYER record of a new layer before the end of the table, or why it cannot be added
// (an empty, unfit or existing name; no table; no handle left). The name is written
// without the blanks around it.
StyleEdit newLayerText(const model::DisplayModel& m, const NewLayer& layer);

}  // namespace kerbon::styles
