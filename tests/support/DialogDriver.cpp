// The dialog driver's timer: the first visible dialog of the thread is acted on, then closed.
#include "DialogDriver.h"

namespace vorelix::test {

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
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
        current_->acted = true;
        current_->act_(dialog);
    } else {
        EndDialog(dialog, IDCANCEL);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

}  // namespace vorelix::test
