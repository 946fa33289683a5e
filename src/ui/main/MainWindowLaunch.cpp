// MainWindow's part in launching the game: choosing hl.exe, the config window, and PlayDemo and ViewDemo
// with the wait window over the copy of a demo.
#include <memory>
#include <optional>

#include "launch/configs/ConfigFiles.h"
#include "launch/configs/ConfigName.h"
#include "launch/GameFolder.h"
#include "launch/LaunchExecutor.h"
#include "launch/RealSystem.h"
#include "platform/dialogs/CommonDialog.h"
#include "ui/base/WaitWindow.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

namespace {

// Mouse and key messages that queued up since the copy's last pump: they were meant for controls that
// took no input then, and must not act once the wait window is gone.
void DiscardQueuedInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

// Marks a launch as running for as long as it runs, however it ends.
class LaunchScope {
  public:
    explicit LaunchScope(bool& launching) : launching_(launching) { launching_ = true; }
    ~LaunchScope() { launching_ = false; }
    LaunchScope(const LaunchScope&) = delete;
    LaunchScope& operator=(const LaunchScope&) = delete;

  private:
    bool& launching_;
};

}  // namespace

std::wstring ChooseHlExeWithDialog(HWND owner) {
    platform::CommonDialog dialog;
    dialog.owner = owner;
    dialog.dialogTitle = L"Please choose hl.exe";
    dialog.flags = 6144;  // the file and its path must exist
    dialog.filter = platform::NulSeparated({L"hl.exe", L"hl.exe"});
    dialog.ShowOpen();  // a cancel leaves fileName empty and raises nothing
    return dialog.fileName;
}

void MainWindow::OnBrowseHlExeClick() {
    const std::wstring chosen = services_.chooseHlExe ? services_.chooseHlExe(Hwnd()) : std::wstring();
    if (chosen.size() <= 3) return;
    // Any existing hl.exe is taken; whether its folder is a game folder is asked at each use.
    services_.settings.SetString(L"CooMMon", L"HLEXEPath", chosen);
    hlPathBox_.SetText(chosen);
    LoadDemoList();
    LoadConfigList();
}

void MainWindow::LoadConfigList() {
    const auto exists = launch::RealSystemQueries().fileExists;
    const std::wstring gameFolder = launch::GetHLFolder(hlPathBox_.Text(), exists);
    // A mod folder that cannot be listed keeps the list it had: an OK pressed later then still keeps
    // the names configs.ini holds, and a launch refuses such a folder with its own message anyway.
    const auto choice = launch::LoadConfigList(gameFolder, services_.configsIniPath);
    if (!choice) return;
    configWindow_->SetConfigs(choice->entries);
    if (!choice->leftOut.empty()) {
        const auto leftOut = launch::ConfigsLeftOut(choice->leftOut);
        Warn(services_.prompter, leftOut.text, leftOut.title);
    }
}

void MainWindow::OnSelectConfigClick() {
    configWindow_->ShowModal();
}

void MainWindow::OnViewDemoClick() {
    LaunchDemo(launch::DemoCommand::ViewDemo);
}

void MainWindow::OnPlayDemoClick() {
    LaunchDemo(launch::DemoCommand::PlayDemo);
}

void MainWindow::LaunchDemo(launch::DemoCommand command) {
    // One launch at a time: the wait window lets messages through while it copies, so a click posted
    // or queued meanwhile lands here, and must not start a second copy onto the same file.
    if (launching_) return;
    launch::LaunchInputs inputs;
    inputs.hlExePath = hlPathBox_.Text();
    inputs.renderer = rendererBox_.Text();
    inputs.resolution = resolutionBox_.Text();
    inputs.configs = configWindow_->Configs();
    inputs.useAutoexec = configWindow_->UseAutoexec();
    inputs.commandLine = commandLineBox_.Text();
    inputs.speed = speedBox_.Text();
    inputs.demoFolder = demoList_.Folder();
    const int selected = demoList_.Selected();
    inputs.selectedDemo = selected >= 0 ? demoList_.Entry(selected) : std::wstring();
    inputs.selectedDemoPath = GetSelectedDemoPath();
    inputs.command = command;

    // The wait window stands over the main window while a demo is copied; the copy's pump drops the
    // clicks and keys meant for the controls meanwhile, and a close asks whether to stop.
    std::unique_ptr<WaitWindow> wait;
    const launch::LaunchEvents events{[&] { wait = std::make_unique<WaitWindow>(Hwnd()); },
                                      [&](std::uint64_t copied, std::uint64_t total) {
                                          if (wait) wait->ShowProgress(copied, total);
                                          return !stopLaunch_;
                                      },
                                      [&] {
                                          DiscardQueuedInput();
                                          wait.reset();
                                      }};
    launch::LaunchTargets targets;
    targets.owner = Hwnd();
    targets.stagedDemoGame = &stagedDemoGame_;
    std::optional<launch::UserMessage> stop;
    {
        const LaunchScope scope(launching_);
        stop = launch::LaunchDemo(inputs, configWindow_->Autoexec(), events, targets);
    }
    // A stop the user asked for needs no word; the close that asked for it comes now.
    if (stopLaunch_) {
        stopLaunch_ = false;
        if (closeAfterLaunch_) PostMessageW(Hwnd(), WM_CLOSE, 0, 0);
        closeAfterLaunch_ = false;
        return;
    }
    if (stop) Warn(services_.prompter, stop->text, stop->title);
}

void MainWindow::OnCloseDuringLaunch() {
    if (askingToStop_ || stopLaunch_) return;
    askingToStop_ = true;
    const bool stop =
        AskYesNo(services_.prompter,
                 L"A demo is being copied for the game. Stop the launch and close Vorelix?\r\n\r\n"
                 L"Yes stops the copy, removes what it copied and starts nothing. No lets the launch "
                 L"go on and keeps Vorelix open.",
                 L"");
    askingToStop_ = false;
    if (!stop || !launching_) return;
    stopLaunch_ = true;
    closeAfterLaunch_ = true;
}

void MainWindow::OnEndSession() {
    // The process may end as soon as this returns: the copy is told to stop, and autoexec.cfg is given
    // back now rather than by a close that never comes.
    if (launching_) stopLaunch_ = true;
    if (onEndSession) onEndSession();
}

}  // namespace vorelix::ui
