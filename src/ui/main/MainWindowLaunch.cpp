// MainWindow's part in launching the game: choosing hl.exe, the config window, and PlayDemo and ViewDemo
// with the wait window over the copy of a demo.
#include <memory>

#include "launch/ConfigFiles.h"
#include "launch/GameFolder.h"
#include "launch/LaunchExecutor.h"
#include "launch/RealSystem.h"
#include "platform/dialogs/CommonDialog.h"
#include "ui/base/WaitWindow.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

namespace {

// Mouse and key messages that queued up while the window was disabled: they were meant for a window
// that took no input then, and must not act once it is enabled again.
void DiscardQueuedInput() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    while (PeekMessageW(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
}

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
    if (auto configs = launch::LoadConfigList(gameFolder, services_.configsIniPath)) {
        configWindow_->SetConfigs(*configs);
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

    // The wait window stands over the main window while a demo is copied; the main window takes no
    // input meanwhile.
    std::unique_ptr<WaitWindow> wait;
    const launch::LaunchEvents events{[&] {
                                          EnableWindow(Hwnd(), FALSE);
                                          wait = std::make_unique<WaitWindow>(Hwnd());
                                      },
                                      [&](std::uint64_t copied, std::uint64_t total) {
                                          if (wait) wait->ShowProgress(copied, total);
                                          return true;
                                      },
                                      [&] {
                                          DiscardQueuedInput();
                                          // Enabled before the wait window goes, so that the activation comes
                                          // back here.
                                          EnableWindow(Hwnd(), TRUE);
                                          wait.reset();
                                      }};
    launch::LaunchTargets targets;
    targets.owner = Hwnd();
    if (const auto stop = launch::LaunchDemo(inputs, configWindow_->Autoexec(), events, targets))
        Warn(services_.prompter, stop->text, stop->title);
}

}  // namespace vorelix::ui
