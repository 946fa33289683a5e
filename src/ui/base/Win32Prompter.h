// The real Prompter: MessageBoxW for messages, our input box for texts, owned by one window.
#pragma once

#include <windows.h>

#include "ui/base/Prompter.h"

namespace vorelix::ui {

// The MessageBoxW flags for a request's icon and buttons.
UINT MessageBoxFlags(const MessageRequest& request);

class Win32Prompter : public Prompter {
  public:
    // The window the boxes belong to; none (the desktop) until it is set.
    void SetOwner(HWND owner) { owner_ = owner; }

    Answer ShowMessage(const MessageRequest& request) override;
    std::wstring AskText(const InputRequest& request) override;

  private:
    HWND owner_ = nullptr;
};

}  // namespace vorelix::ui
