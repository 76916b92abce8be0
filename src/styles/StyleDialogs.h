// The values of the layer dialog, the new-layer dialog and the line type dialog, as the
// editor hands them to the window (Ui) and takes them back.
#pragma once

#include <string>
#include <vector>

#include "styles/layers.h"

namespace kerbon::styles {

// "Ebenen": the rows the buttons edit, the line types of its box, the words of the rows.
struct LayerDialogValues {
    std::vector<LayerRow> rows;
    std::vector<std::string> lineTypes;
    LayerWords words;
};

// How the layer dialog was closed: its edits are written either way; "Neue Ebene..."
// goes on to the new-layer dialog.
enum class LayerDialogEnd { Closed, NewLayer };

// "Neue Ebene hinzufügen": the typed name and the chosen entries (indices into the line
// types, the nine colour names and layerWeightItems).
struct NewLayerValues {
    std::string name;
    std::vector<std::string> lineTypes;
    int lineType = 0;
    int colour = 0;
    int lineWeight = 0;
};

// "Linienstil hinzufügen", kept by the editor between uses: name, description and the
// pattern lines separated by "\n".
struct LineTypeValues {
    std::string name;
    std::string description;
    std::string pattern = "6.4\n-1.27\n1.27\n-1.27";
};

}  // namespace kerbon::styles
