// Display options of the main window. They live while the program runs and are not
// stored with the document.
#pragma once

namespace kerbon::view {

struct DisplayOptions {
    bool showLineweights = true;   // "Linienbreite zeigen": pens take the line weights
    bool printPreview = false;     // "Druckvorschau": the sheet on the model tab too, clipped
};

}  // namespace kerbon::view
