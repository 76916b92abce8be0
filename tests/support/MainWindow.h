// The main window of the GUI tests: made offscreen on a temporary program directory
// ("prog", created) and configuration directory ("config"), asking through the given port.
#pragma once

#include <filesystem>
#include <memory>

#include "gui/MainUnit.h"
#include "support/QtApp.h"
#include "support/TempFiles.h"

namespace kerbon::test {

inline TMainForm::Setup mainWindowSetup(const TempDir& dir, Ui& ui)
{
    qtApp();
    std::filesystem::create_directories(dir.dir / "prog");
    TMainForm::Setup s;
    s.progpath = dir.path("prog") + "/";
    s.configpath = dir.path("config") + "/";
    s.ui = &ui;
    return s;
}

inline std::unique_ptr<TMainForm> makeMainWindow(const TempDir& dir, Ui& ui)
{
    return std::make_unique<TMainForm>(mainWindowSetup(dir, ui));
}

}  // namespace kerbon::test
