// Carrying out a launch plan: the video settings, autoexec.cfg, the staged demo, vorelix.cfg and the
// game itself, each step stopping the launch with the system's words when it fails.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "demo/Result.h"
#include "launch/configs/AutoexecSwitch.h"
#include "launch/LaunchPlan.h"
#include "launch/StagedDemoGame.h"
#include "launch/UserMessage.h"
#include "platform/files/NewFile.h"
#include "platform/Registry.h"

namespace vorelix::launch {

// What the windows do around the copy of a staged demo (the wait window), all on the calling thread.
struct LaunchEvents {
    std::function<void()> copyStarting;  // before the copy
    // After each chunk of the copy (about a megabyte): the window may paint itself here; false stops
    // the copy.
    platform::CopyProgress copyProgress;
    std::function<void()> copyFinished;  // after the copy, whether it worked or not
};

// Where a launch writes what is not a file: the owner of the shell's messages, the key of the video
// settings (tests point it at a key of their own), and where the game started on a staged demo is
// kept (none: launches do not look after each other).
struct LaunchTargets {
    HWND owner = nullptr;
    HKEY videoSettingsRoot = HKEY_CURRENT_USER;
    std::wstring videoSettingsKey = kHalfLifeSettingsKey;
    StagedDemoGame* stagedDemoGame = nullptr;
};

// Writes the three values in their order, each through its own open, write and close of the key; the
// first failure stops the rest.
std::optional<platform::RegistryError> SetHLGraphics(const VideoSettings& settings, HKEY root,
                                                     const std::wstring& key);

// Creates or empties the config file and writes its bytes (the line and its CR LF).
Status CreateCFG(const std::wstring& path, const std::string& bytes);

// The plan's steps in order: video settings, autoexec.cfg renamed (when the plan says so; a rename
// that fails is no failure), the demo copied, vorelix.cfg written, hl.exe started. A step that fails
// stops the launch with a message carrying the system's text; the steps before it stay done. A plan
// that stages a demo while the game kept in `targets` still runs is refused before the first step; a
// copy that its progress stops leaves no part of it behind and starts nothing.
std::optional<UserMessage> CarryOutLaunch(const LaunchPlan& plan, AutoexecSwitch& autoexec,
                                          const LaunchEvents& events = {}, const LaunchTargets& targets = {});

// The click of PlayDemo or ViewDemo: PlanLaunch on this machine, then CarryOutLaunch. No value when the
// game was started; else the message for the user.
std::optional<UserMessage> LaunchDemo(const LaunchInputs& inputs, AutoexecSwitch& autoexec,
                                      const LaunchEvents& events = {}, const LaunchTargets& targets = {});

}  // namespace vorelix::launch
