// The dialog driver's timer: the first visible dialog of the thread is acted on, then closed.
#include "DialogDriver.h"

#include <cstdlib>

namespace vorelix::test {

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    static const int holdTicks = [] {
        const char* hold = std::getenv("VORELIX_DIALOG_HOLD_MS");
        return hold != nullptr ? std::atoi(hold) / static_cast<int>(kTickMs) : 0;
    }();
    HWND dialog = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(out) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&dialog));
    if (!current_ || !dialog) return;
    if (!current_->acted) {
        if (current_->heldTicks_++ < holdTicks) return;
        current_->acted = true;
        current_->act_(dialog);
    } else {
        EndDialog(dialog, IDCANCEL);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

}  // namespace vorelix::test
