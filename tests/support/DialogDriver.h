// Acting on a modal window from inside its own modal loop, so tests drive real dialogs without sleeps.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace vorelix::test {

// Runs `act` on the first visible window of `windowClass` (a dialog by default) that this thread shows,
// from a thread timer that fires inside its modal loop; a second firing closes whatever is still open so
// that a failing test cannot hang the run. With VORELIX_DIALOG_HOLD_MS set, the window stays up that long
// before `act` (for screenshots).
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act, std::wstring windowClass = L"#32770")
        : act_(std::move(act)), class_(std::move(windowClass)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, kTickMs, &DialogDriver::OnTimer);
    }
    ~DialogDriver() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    bool acted = false;
    bool forcedClosed = false;  // still open after `act`, so the driver closed it

  private:
    static constexpr UINT kTickMs = 50;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    static inline DialogDriver* current_ = nullptr;
    std::function<void(HWND)> act_;
    std::wstring class_;
    UINT_PTR timer_ = 0;
    int heldTicks_ = 0;
};

}  // namespace vorelix::test
