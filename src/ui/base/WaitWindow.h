// The wait window WaitWindow: "Please wait..." and the copy's progress over the main window while a
// demo is copied into the game's folder.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/base/Controls.h"
#include "ui/base/Fonts.h"
#include "ui/base/Window.h"

namespace vorelix::ui {

enum class WaitControlId : int { Message = 500, Progress };

// Handles every message waiting on this thread but clicks and keys in client areas, which are dropped:
// paints, the system's messages, a close through the caption or Alt+F4, and messages posted by other
// programs. A WM_QUIT is left for the main loop.
void PumpDuringCopy();

class WaitWindow : public Window {
  public:
    // Creates the window centred over `owner`, shows it without taking the activation and paints it.
    explicit WaitWindow(HWND owner);

    HWND ControlHwnd(WaitControlId id) const { return GetDlgItem(Hwnd(), static_cast<int>(id)); }

    // Moves the progress bar and handles what waits on this thread (PumpDuringCopy): the copy runs on
    // this thread, so nothing else would paint, answer the system or hear a close.
    void ShowProgress(std::uint64_t copied, std::uint64_t total);

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    FontSet fonts_;
    Control progress_;
};

}  // namespace vorelix::ui
