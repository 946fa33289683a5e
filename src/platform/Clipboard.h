// The clipboard: text put on it as CF_UNICODETEXT.
#pragma once

#include <windows.h>

#include <string>

#include "demo/Result.h"

namespace vorelix::platform {

// Replaces what the clipboard holds with `text`; `owner` becomes the clipboard's owner.
Status PutTextOnClipboard(HWND owner, const std::wstring& text);

// The text the clipboard holds (CF_UNICODETEXT), or "" when it holds none.
std::wstring ClipboardText(HWND owner);

}  // namespace vorelix::platform
