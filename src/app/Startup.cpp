// Start-up: first-run question, autoexec.cfg given back after a run that could not, settings restored
// into the main window and the config window, and the first demo folder; shutdown and the session's
// end: autoexec.cfg given back and the command line kept.
#include "app/Startup.h"

#include "platform/files/File.h"
#include "platform/FolderPaths.h"
#include "platform/PathNames.h"

namespace vorelix::app {

namespace {

constexpr const wchar_t* kFirstRunText =
    L"Welcome to Vorelix! \r\nWith this program you may easily view CS demos!\r\n\r\n"
    L"Do you want to register .dem files with Vorelix?";

void AskFirstRun(const StartupContext& context) {
    const auto firstRun = context.settings.GetInt(L"main", L"firstrun", 1);
    if (!firstRun) return;
    if (*firstRun == 1) {
        if (ui::AskYesNo(context.prompter, kFirstRunText, L"Your first run!")) {
            const std::wstring exe = context.program.folder + L"\\" + context.program.baseName + L".exe";
            const auto error =
                launch::RegisterOpenFile(L"dem", L"vorelix_file", exe + L",0", exe, context.associationRoots);
            // The question never comes back, so a failed association must not pass unnoticed.
            if (error)
                ui::Warn(context.prompter,
                         L".dem files could not be registered with Vorelix: " + error->description);
        }
    }
    context.settings.SetString(L"main", L"firstrun", L"0");
}

// Gives autoexec.cfg back where the switch says it lies renamed, telling where both names are taken.
void GiveAutoexecBack(ui::MainWindow& window, ui::Prompter* prompter) {
    auto& autoexec = window.ConfigSelection().Autoexec();
    if (!autoexec.AutoexecRenamed()) return;
    for (const auto& message : autoexec.RestoreAutoexec(/*keepUntold=*/prompter == nullptr))
        ui::Warn(*prompter, message.text, message.title);
}

void RestoreSettings(ui::MainWindow& window, const platform::SettingsStore& settings) {
    window.SetHLPathText(settings.GetString(L"CooMMon", L"HLEXEPath", L""));
    window.SetCommandLineText(settings.GetString(L"CooMMon", L"CommandLine", L"-game cstrike -console"));
    // Out of the box autoexec.cfg is switched off for the game; only 1 switches it on.
    if (const auto useAutoexec = settings.GetInt(L"CooMMon", L"UseAutoexec", 0))
        window.ConfigSelection().SetUseAutoexec(*useAutoexec == 1);
    if (const auto mode = settings.GetInt(L"main", L"graphmode", 1)) window.SetModeIndex(*mode);
    if (const auto resolution = settings.GetInt(L"main", L"graphres", 4))
        window.SetResolutionIndex(*resolution);
    window.LoadConfigList();
}

// A demo directly in a drive root has the bare drive ("C:") as its parent, which Windows reads as
// that drive's current folder: the root is the folder meant.
std::wstring FolderToShow(const std::wstring& parent) {
    if (parent.size() == 2 && parent[1] == L':') return parent + L"\\";
    return parent;
}

// Shows the folder of the demo named on the command line and selects it.
void ShowArgumentDemo(ui::MainWindow& window, const std::wstring& argument) {
    if (const auto parent = platform::GetParentFolder(argument)) {
        window.ShowDemoFolder(FolderToShow(*parent));
    } else {
        window.LoadDemoList();
    }
    // Both sides in one canonical form: the argument may name the demo by its long or its 8.3 name. That
    // form ends in the file's long name, so only entries of that name are worth the full comparison,
    // which asks the file system (for every entry of a folder of thousands it took seconds).
    const std::wstring wanted = platform::CanonicalPath(argument);
    const std::wstring wantedName = platform::GetFileName(wanted);
    const auto& entries = window.DemoEntries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!platform::EqualIgnoringCase(entries[i], wantedName)) continue;
        if (platform::CanonicalPath(platform::JoinFolderAndName(window.DemoFolder(), entries[i])) == wanted) {
            window.SelectDemo(static_cast<int>(i));
            return;
        }
    }
}

void ShowStartFolder(ui::MainWindow& window, const StartupContext& context) {
    if (platform::FileExists(context.argument)) {
        ShowArgumentDemo(window, context.argument);
        return;
    }
    // Without a known game the list stays where it started, the process's current folder.
    if (window.HLPathText().size() > 3) {
        window.ShowDemoFolder(context.settings.GetString(L"CooMMon", L"DemoPath", L"C:\\"));
    }
}

}  // namespace

bool PassSingleInstanceTest(bool isFirstInstance, ui::Prompter& prompter) {
    if (isFirstInstance) return true;
    ui::Warn(prompter, L"One instance of the program is currently runnig! Using it!", L"Hmm");
    return false;
}

void RunStartup(ui::MainWindow& window, const StartupContext& context) {
    AskFirstRun(context);
    // A run ended by a kill, a crash or a logoff may have left autoexec.cfg renamed.
    GiveAutoexecBack(window, &context.prompter);
    RestoreSettings(window, context.settings);
    ShowStartFolder(window, context);
}

void RunShutdown(ui::MainWindow& window, platform::SettingsStore& settings, ui::Prompter* prompter) {
    GiveAutoexecBack(window, prompter);
    settings.SetString(L"CooMMon", L"CommandLine", window.CommandLineText());
}

void ConnectShutdown(ui::MainWindow& window, platform::SettingsStore& settings, ui::Prompter& prompter) {
    window.onClose = [&window, &settings, &prompter] { RunShutdown(window, settings, &prompter); };
    // No box while the session ends: it would hold the logoff up, or be cut off by it.
    window.onEndSession = [&window, &settings] { RunShutdown(window, settings, nullptr); };
}

}  // namespace vorelix::app
