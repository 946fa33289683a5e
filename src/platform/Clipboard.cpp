// The clipboard's text, through OpenClipboard and a moveable global block.
#include "platform/Clipboard.h"

#include <cstring>

#include "platform/SystemError.h"

namespace vorelix::platform {

namespace {

// Holds the clipboard open for the scope.
class OpenedClipboard {
  public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool IsOpen() const { return open_; }

  private:
    bool open_;
};

}  // namespace

Status PutTextOnClipboard(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return LastErrorFailure();
    void* memory = GlobalLock(block);
    if (!memory) {
        const Failure failure = LastErrorFailure();
        GlobalFree(block);
        return failure;
    }
    std::memcpy(memory, text.c_str(), bytes);
    GlobalUnlock(block);

    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen() || !EmptyClipboard()) {
        const Failure failure = LastErrorFailure();
        GlobalFree(block);
        return failure;
    }
    // Once SetClipboardData accepts the block, the system owns it.
    if (!SetClipboardData(CF_UNICODETEXT, block)) {
        const Failure failure = LastErrorFailure();
        GlobalFree(block);
        return failure;
    }
    return Ok();
}

std::wstring ClipboardText(HWND owner) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.IsOpen()) return {};
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return {};
    const auto* memory = static_cast<const wchar_t*>(GlobalLock(block));
    if (!memory) return {};
    std::wstring text(memory, wcsnlen(memory, GlobalSize(block) / sizeof(wchar_t)));
    GlobalUnlock(block);
    return text;
}

}  // namespace vorelix::platform
