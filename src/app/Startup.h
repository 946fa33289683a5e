// Start-up and shutdown of the program, each in its fixed order of steps.
#pragma once

#include <string>

#include "app/ProgramInstance.h"
#include "platform/SettingsStore.h"
#include "platform/association/RegisterOpenFile.h"
#include "ui/base/Prompter.h"
#include "ui/main/MainWindow.h"

namespace vorelix::app {

struct StartupContext {
    platform::SettingsStore& settings;
    ui::Prompter& prompter;
    ProgramIdentity program;
    std::wstring argument;  // the argument string, as ArgumentString() gives it
    launch::AssociationRoots associationRoots;
};

// The single-instance test: when another instance runs, says so and returns false; the caller then
// ends at once, having read and written nothing.
bool PassSingleInstanceTest(bool isFirstInstance, ui::Prompter& prompter);

// Everything start-up does after that test, on the main window while it is still hidden: first
// autoexec.cfg is given back where a run before this one left it renamed. A step that fails is skipped
// and the next one runs.
void RunStartup(ui::MainWindow& window, const StartupContext& context);

// The close request: gives autoexec.cfg its name back when a launch switched it off, then saves the
// command line. Nothing else is written at shutdown. Where an autoexec.cfg has appeared beside the
// renamed one, both are kept and `prompter` tells which is which; without one (the session ends) that
// folder stays noted for the next start to tell.
void RunShutdown(ui::MainWindow& window, platform::SettingsStore& settings, ui::Prompter* prompter);

// Runs the shutdown on the window's close request (with boxes) and at the session's end (without).
void ConnectShutdown(ui::MainWindow& window, platform::SettingsStore& settings, ui::Prompter& prompter);

}  // namespace vorelix::app
