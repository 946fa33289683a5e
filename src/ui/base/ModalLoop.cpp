// The modal message loop shared by the program's modal windows.
#include "ui/base/ModalLoop.h"

namespace vorelix::ui {

void RunModalLoop(HWND window, const bool& ended) {
    MSG message;
    while (!ended) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: the main loop must see the quit too.
            if (got == 0) PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (IsDialogMessageW(window, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace vorelix::ui
