// The message loop of a window shown modally: it runs until the window says it is done.
#pragma once

#include <windows.h>

namespace vorelix::ui {

// Runs this thread's messages until `ended` turns true, with Tab, Enter and Esc working in `window` as
// in a dialog. A WM_QUIT that arrives meanwhile ends the loop and is posted again for the main loop.
void RunModalLoop(HWND window, const bool& ended);

}  // namespace vorelix::ui
