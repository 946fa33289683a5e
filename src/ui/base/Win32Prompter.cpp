// Message boxes and input boxes as the system shows them.
#include "ui/base/Win32Prompter.h"

#include "ui/base/InputBox.h"

namespace vorelix::ui {

namespace {

UINT IconFlag(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return MB_ICONINFORMATION;
        case MessageIcon::Question:
            return MB_ICONQUESTION;
        case MessageIcon::Exclamation:
            return MB_ICONEXCLAMATION;
        case MessageIcon::Critical:
            return MB_ICONERROR;
        case MessageIcon::None:
            break;
    }
    return 0;
}

// The window a box belongs to: the owner, or the window it shows modally above itself (a box owned by a
// disabled owner would enable it again when it closes, under the modal window). None before the owner
// is shown: start-up's boxes stand on their own (and get a taskbar button).
HWND BoxOwner(HWND owner) {
    if (!owner || !IsWindowVisible(owner)) return nullptr;
    HWND popup = GetLastActivePopup(owner);
    return popup && popup != owner && IsWindowVisible(popup) && IsWindowEnabled(popup) ? popup : owner;
}

}  // namespace

UINT MessageBoxFlags(const MessageRequest& request) {
    const UINT buttons = request.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    return buttons | IconFlag(request.icon) | MB_SETFOREGROUND;
}

Answer Win32Prompter::ShowMessage(const MessageRequest& request) {
    switch (MessageBoxW(BoxOwner(owner_), request.text.c_str(), request.title.c_str(),
                        MessageBoxFlags(request))) {
        case IDYES:
            return Answer::Yes;
        case IDNO:
            return Answer::No;
        case IDOK:
            return Answer::Ok;
        default:
            return Answer::Cancel;
    }
}

std::wstring Win32Prompter::AskText(const InputRequest& request) {
    return ShowInputBox(BoxOwner(owner_), request.prompt, request.title, request.initialText);
}

}  // namespace vorelix::ui
