// Start-up and shutdown of the program, each in its fixed order of steps.
#pragma once

#include <string>

#include "app/ProgramInstance.h"
#include "platform/association/RegisterOpenFile.h"
#include "platform/SettingsStore.h"
#include "ui/main/MainWindow.h"
#include "ui/base/Prompter.h"

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

// Everything start-up does after that test, on the main window while it is still hidden. A step that
// fails is skipped and the next one runs.
void RunStartup(ui::MainWindow& window, const StartupContext& context);

// The close request: gives autoexec.cfg its name back when a launch switched it off, then saves the
// command line. Nothing else is written at shutdown.
void RunShutdown(ui::MainWindow& window, platform::SettingsStore& settings);

}  // namespace vorelix::app
