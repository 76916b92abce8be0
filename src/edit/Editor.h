// The editor without widgets: the document, its display model and the state the main
// window works on. The Qt main window owns one Editor and forwards its events to it.
#pragma once

#include <string>

#include "dxf/LineStore.h"
#include "dxf/model.h"
#include "edit/Ui.h"
#include "view/DisplayOptions.h"
#include "view/PageValues.h"
#include "view/ViewState.h"

namespace kerbon {

class Editor {
public:
    explicit Editor(Ui& ui) : ui(ui) {}

    Ui& ui;
    LineStore dxf;              // the document
    std::string afilename;      // file the document is saved to; empty when untitled
    bool changed = false;
    model::DisplayModel model;
    view::ViewState view;       // zoom, scroll positions, area size, current tab
    view::PageValues page;      // page set-up values and printer metrics
    view::DisplayOptions display;  // "Linienbreite zeigen", "Druckvorschau"

    // Rebuilds the display model from the document.
    void processdxf();
};

}  // namespace kerbon
