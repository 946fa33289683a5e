// The dialog driver's timer: the first visible window of the class is acted on, then closed.
#include "DialogDriver.h"

#include <cstdlib>

namespace vorelix::test {

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    static const int holdTicks = [] {
        const char* hold = std::getenv("VORELIX_DIALOG_HOLD_MS");
        return hold != nullptr ? std::atoi(hold) / static_cast<int>(kTickMs) : 0;
    }();
    if (!current_) return;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, current_->class_.c_str(), nullptr)) &&
           (GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() || !IsWindowVisible(window))) {
    }
    if (!window) return;
    if (!current_->acted) {
        if (current_->heldTicks_++ < holdTicks) return;
        current_->acted = true;
        current_->act_(window);
    } else {
        current_->forcedClosed = true;
        EndDialog(window, IDCANCEL);
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
}

}  // namespace vorelix::test
