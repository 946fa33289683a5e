// The program's entry point: single instance, start-up on the hidden main window, the message loop.
#include <windows.h>

#include "app/ProgramInstance.h"
#include "app/Startup.h"
#include "launch/configs/ConfigList.h"
#include "platform/SettingsStore.h"
#include "ui/main/MainWindow.h"
#include "ui/base/UnexpectedFailure.h"
#include "ui/base/Win32Prompter.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    using namespace vorelix;
    ui::Win32Prompter prompter;
    // Taken before anything is read: a second start only says so and ends.
    app::SingleInstanceGuard instance;
    if (!app::PassSingleInstanceTest(instance.IsFirstInstance(), prompter)) return 0;

    platform::SettingsStore settings(HKEY_CURRENT_USER, platform::SettingsStore::kProgramKey);
    const app::ProgramIdentity program = app::CurrentProgram();
    ui::MainWindow window({settings, prompter, ui::OpenWebPageWithShell, ui::ChooseHlExeWithDialog,
                           program.folder + L"\\" + launch::kConfigsIniName});
    if (!window.IsCreated()) return 1;

    // Start-up runs while the window is hidden, so its questions stand on their own.
    app::RunStartup(window, {settings, prompter, program, app::ArgumentString(GetCommandLineW()), {}});
    app::ConnectShutdown(window, settings, prompter);
    prompter.SetOwner(window.Hwnd());
    ui::SetUnexpectedFailurePrompter(&prompter);
    window.Show(showCommand);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // Tab and the arrow keys move between the controls as in a dialog.
        if (IsDialogMessageW(window.Hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
