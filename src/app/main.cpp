// The program's entry point: the real services, the main window and the message loop.
#include <windows.h>

#include "app/SettingsStore.h"
#include "ui/Win32Prompter.h"
#include "ui/frmMain.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    vorelix::app::SettingsStore settings(HKEY_CURRENT_USER, vorelix::app::SettingsStore::kProgramKey);
    vorelix::ui::Win32Prompter prompter;
    vorelix::ui::frmMain window({settings, prompter});
    if (!window.IsCreated()) return 1;
    prompter.SetOwner(window.Hwnd());
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
