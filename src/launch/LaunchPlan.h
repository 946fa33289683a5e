// A launch decided before anything is done: from the main window's and the config window's state to
// the registry values, files, copy and command that one routine then carries out.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "launch/configs/ConfigList.h"
#include "launch/SystemQueries.h"
#include "launch/UserMessage.h"
#include "launch/VideoSettings.h"

namespace vorelix::launch {

enum class DemoCommand { PlayDemo, ViewDemo };  // the console commands "playdemo" and "viewdemo"

// Everything a launch reads, at the moment of the click.
struct LaunchInputs {
    std::wstring hlExePath;            // the text of the hl.exe path box
    std::wstring renderer;             // "Software", "OpenGL", "Direct3D" or "" (nothing selected)
    std::wstring resolution;           // "1024x768" and the like, or ""
    std::vector<ConfigEntry> configs;  // the config list, in its order, with its checks
    bool useAutoexec = false;          // the config window's autoexec box is checked
    std::wstring commandLine;          // the user's command line, exactly as typed
    std::wstring speed;                // the speed box's text
    std::wstring demoFolder;           // the demo list's folder (a drive root ends with "\")
    std::wstring selectedDemo;         // the selected entry's text; "" when none is selected
    std::wstring selectedDemoPath;     // the selected demo's full path
    DemoCommand command = DemoCommand::PlayDemo;
};

// The demo copied into the mod folder because it lies outside one.
struct StagedDemo {
    std::wstring source;
    std::wstring target;  // <game folder>\cstrike\vorelix.dem
    bool operator==(const StagedDemo&) const = default;
};

// What a launch does, in the order it does it.
struct LaunchPlan {
    // 1. Written under HKCU\SOFTWARE\Valve\Half-Life\Settings.
    VideoSettings videoSettings;
    // 2. autoexec.cfg renamed to autoexec.cfg_old in the mod folder.
    bool renameAutoexec = false;
    // 3. The demo copied into the mod folder, replacing an older copy; none for a mod folder's demo.
    std::optional<StagedDemo> stagedDemo;
    // 4. <game folder>\cstrike\vorelix.cfg, replaced: the line playdemo "name.dem" (or viewdemo), and
    //    its bytes in the system's code page followed by CR LF.
    std::wstring configPath;
    std::wstring configLine;
    std::string configBytes;
    // 5. hl.exe started with the verb "open", shown normally (5), in the game folder ("C:\" for a
    //    game at a drive's root).
    std::wstring hlExePath;
    std::wstring parameters;
    std::wstring workingFolder;
    int showMode = 5;

    std::wstring gameFolder;   // never ends with "\"
    std::wstring modFolder;    // <game folder>\cstrike
    std::wstring speedFactor;  // kept, handed to nothing
    bool operator==(const LaunchPlan&) const = default;
};

// The plan, or the message that stops the launch before anything is written or started: no hl.exe
// (the "Where is HL.EXE" message), a game folder without hl.exe or hw.dll, no cstrike folder in it,
// no demo selected or the selected one gone, a resolution without "x", a name the system's code
// page cannot hold, or a checked config whose name the command line cannot carry (ConfigName.h).
std::variant<LaunchPlan, UserMessage> PlanLaunch(const LaunchInputs& inputs, const SystemQueries& system);

// What stops a launch that would copy a demo onto the staged one while the game started on it still
// runs: that game may be reading it.
UserMessage StagedDemoInUse(const StagedDemo& staged);

// The parameters of hl.exe: the command line as typed, " -toconsole ", " +exec <name>" for each
// checked config in list order (unquoted), then " +exec vorelix.cfg".
std::wstring LaunchParameters(const std::wstring& commandLine, const std::vector<ConfigEntry>& configs);

}  // namespace vorelix::launch
