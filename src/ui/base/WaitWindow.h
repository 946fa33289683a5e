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

class WaitWindow : public Window {
  public:
    // Creates the window centred over `owner`, shows it without taking the activation and paints it.
    explicit WaitWindow(HWND owner);

    HWND ControlHwnd(WaitControlId id) const { return GetDlgItem(Hwnd(), static_cast<int>(id)); }

    // Moves the progress bar and paints whatever waits to be painted on this thread's windows: the
    // copy runs on this thread, so nothing else would.
    void ShowProgress(std::uint64_t copied, std::uint64_t total);

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    FontSet fonts_;
    Control progress_;
};

}  // namespace vorelix::ui
