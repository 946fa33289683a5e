// PlanLaunch: every check and every decision of a launch, with no file, registry or process touched.
#include "launch/LaunchPlan.h"

#include "launch/configs/ConfigName.h"
#include "launch/GameFolder.h"
#include "launch/SpeedFactor.h"
#include "platform/files/File.h"

namespace vorelix::launch {

namespace {

UserMessage Stop(std::wstring text) {
    return UserMessage{std::move(text), {}};
}

// Which of the two files that make a Half-Life folder are missing from `folder`.
std::wstring MissingGameFiles(const std::wstring& folder, const FileExistsQuery& exists) {
    std::wstring missing;
    for (const wchar_t* name : {L"hl.exe", L"hw.dll"}) {
        if (exists(folder + L"\\" + name)) continue;
        if (!missing.empty()) missing += L" and ";
        missing += name;
    }
    return missing;
}

std::optional<UserMessage> CheckGameFolder(const std::wstring& hlExePath, const std::wstring& gameFolder,
                                           const FileExistsQuery& exists) {
    if (!gameFolder.empty()) {
        if (exists(ModFolder(gameFolder))) return std::nullopt;
        return Stop(L"The game folder \"" + gameFolder +
                    L"\" has no cstrike folder, where the launch puts its config and the demo.");
    }
    const auto slash = hlExePath.rfind(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : hlExePath.substr(0, slash);
    return Stop(L"The game folder is not recognised: \"" + folder + L"\" has no " +
                MissingGameFiles(folder, exists) +
                L". Please choose the hl.exe of your Half-Life installation with the \"...\" button.");
}

std::wstring CommandWord(DemoCommand command) {
    return command == DemoCommand::ViewDemo ? L"viewdemo" : L"playdemo";
}

UserMessage Unencodable(const std::wstring& what, const std::wstring& name) {
    return Stop(what + L" \"" + name +
                L"\" holds characters that the system's code page has no place for, so the game could not "
                L"read it. Please rename the file.");
}

}  // namespace

UserMessage StagedDemoInUse(const StagedDemo& staged) {
    return Stop(L"The game started on \"" + staged.target +
                L"\" is still running and may be reading it, so no other demo is copied there now. Close the "
                L"game first, or play a demo that lies in the game's cstrike folder.");
}

std::wstring LaunchParameters(const std::wstring& commandLine, const std::vector<ConfigEntry>& configs) {
    std::wstring parameters = commandLine + L" -toconsole ";
    for (const auto& config : configs) {
        if (config.checked) parameters += L" +exec " + config.name;
    }
    return parameters + L" +exec vorelix.cfg";
}

std::variant<LaunchPlan, UserMessage> PlanLaunch(const LaunchInputs& inputs, const SystemQueries& system) {
    const auto& exists = system.fileExists;
    if (!exists(inputs.hlExePath)) {
        return UserMessage{L"The path to hl.exe is not specified! Please specify it!", L"Where is HL.EXE"};
    }
    LaunchPlan plan;
    plan.gameFolder = GetHLFolder(inputs.hlExePath, exists);
    if (auto stop = CheckGameFolder(inputs.hlExePath, plan.gameFolder, exists)) return *stop;
    plan.modFolder = ModFolder(plan.gameFolder);

    if (inputs.selectedDemo.empty()) return Stop(L"No demo is selected. Please select a demo in the list.");
    if (!exists(inputs.selectedDemoPath)) {
        return Stop(L"The demo \"" + inputs.selectedDemoPath + L"\" no longer exists.");
    }
    const auto video = VideoSettingsFor(inputs.renderer, inputs.resolution);
    if (!video) {
        return Stop(L"No screen resolution is chosen: \"" + inputs.resolution +
                    L"\" is not a width and height such as 1024x768. Please choose one in the list beside "
                    L"the graphic mode.");
    }
    plan.videoSettings = *video;

    for (const auto& config : inputs.configs) {
        if (!config.checked) continue;
        if (!system.toAnsi(config.name)) return Unencodable(L"The config", config.name);
        // The window and configs.ini never check such a name; a list set up otherwise must not split
        // the command line either.
        if (const auto why = WhyNotOnCommandLine(config.name))
            return ConfigCannotBeChecked(config.name, *why);
    }
    plan.renameAutoexec = !inputs.useAutoexec;

    // A folder with cached.wad is a mod folder, where the game finds the demo by its own name.
    std::wstring demoName = L"vorelix.dem";
    if (exists(platform::JoinFolderAndName(inputs.demoFolder, L"cached.wad"))) {
        demoName = inputs.selectedDemo;
    } else {
        plan.stagedDemo = StagedDemo{inputs.selectedDemoPath, plan.modFolder + L"\\vorelix.dem"};
    }
    plan.configPath = plan.modFolder + L"\\vorelix.cfg";
    plan.configLine = CommandWord(inputs.command) + L" \"" + demoName + L"\"";
    const auto line = system.toAnsi(plan.configLine);
    if (!line) return Unencodable(L"The demo", demoName);
    plan.configBytes = *line + "\r\n";

    plan.hlExePath = inputs.hlExePath;
    plan.parameters = LaunchParameters(inputs.commandLine, inputs.configs);
    // A game at a drive's root has the folder "C:", which as a working folder would mean C:'s current
    // folder rather than its root.
    plan.workingFolder = plan.gameFolder.size() == 2 ? plan.gameFolder + L"\\" : plan.gameFolder;
    plan.speedFactor = SpeedFactorText(inputs.speed);
    return plan;
}

}  // namespace vorelix::launch
