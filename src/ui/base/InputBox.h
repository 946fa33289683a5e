// Our own modal input box: a prompt, a title, a text to start from, OK and Cancel.
#pragma once

#include <windows.h>

#include <string>

namespace vorelix::ui {

// Control ids inside the input box, for those who drive it.
inline constexpr int kInputBoxPromptId = 1001;
inline constexpr int kInputBoxEditId = 1002;

// Shows the box (the starting text selected) and returns the confirmed text; "" for Cancel, Esc or close.
std::wstring ShowInputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                          const std::wstring& initialText);

}  // namespace vorelix::ui
