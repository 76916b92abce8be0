// Colour, line weight and line type tables, and how an entity's colour, pen width and
// dash pattern follow from its own values and its layer's.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "dxf/model.h"
#include "view/DrawSurface.h"

namespace kerbon::view {

// Display colour of a colour number. `showmodel` is the light-background flag: true on
// the model tab and when printing, false on the black paper of layout tabs.
Rgb getcolornr(int nr, bool showmodel);

// German names of the colours 1 ... 9 (7 is "Schwarz"); the layer dialogs pass these
// through the translation table.
extern const std::array<const char*, 9> colornames;

// Name of a colour number: |n| in 1 ... 9 gives names[|n| - 1], anything else its decimal text.
std::string colorName(int n, const std::array<std::string, 9>& names);
// Colour number of a name: one of `names` (case-sensitive) gives 1 ... 9, else the text
// read as a decimal integer, else 7.
int colorNumberOfName(std::string_view text, const std::array<std::string, 9>& names);

// The colour box of the main window: captions, and the colour number each item writes.
extern const std::array<const char*, 11> colorBoxItems;
int colorNumberOfBoxIndex(int index);

// The line weight box: captions, and the value (as text) each item passes on.
// An index outside the list counts as index 0 ("-3", the entity's own weight removed).
extern const std::array<const char*, 23> lineWeightBoxItems;
std::string lineWeightOfBoxIndex(int index);

// What an entity takes from its layer.
struct LayerStyle {
    bool found = false;
    int colornr = 7;            // 7 when the layer is not found
    bool hasLineweight = false;
    int lineweight = 0;
    std::string_view ltname;    // empty: no layer line type
    bool locked = false;        // bit value 4 of the layer flags
};

// A layer name without surrounding blanks, tabs and line breaks, as layers are matched.
std::string_view trimmedLayerName(std::string_view s);
// Index of the first layer whose trimmed name equals the trimmed `name`, or -1.
int findLayer(const model::DisplayModel& m, std::string_view name);
// The layer style of an entity (the straightforward lookup; the renderer caches it).
LayerStyle layerOf(const model::DisplayModel& m, const model::tpoly& p);
LayerStyle layerStyleAt(const model::DisplayModel& m, int layerIndex);

// Colour number an entity shows: its own when given and below 256, else its layer's.
int entityColorNr(const model::tpoly& p, const LayerStyle& layer);

// Pen width in pixels for an output of `dpi` pixels per inch. Line weights draw twice
// their nominal width; without `showweight`, and without a weight, lines are 1 pixel.
double penWidthOf(const model::tpoly& p, const LayerStyle& layer, int dpi, bool showweight);

// The line type an entity draws with, or nullptr for a solid line.
const model::TLineType* lineTypeOf(const model::DisplayModel& m, const model::tpoly& p,
                                   const LayerStyle& layer);

// Dash list and dash offset of a line type at zoom z (pixels per 100 drawing units),
// in pixels of a 1-pixel pen. `dashes` is cleared first.
void dashPattern(const model::TLineType& lt, double z, std::vector<double>& dashes, double& offset);

// Rounds to the nearest integer, ties to even.
double roundEven(double v);
// roundEven as an int, for pixel positions; values beyond +-1e9 are clamped and a value
// that is not finite gives 0 (callers skip non-finite points before they get here).
int roundPixel(double v);

}  // namespace kerbon::view
