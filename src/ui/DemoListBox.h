// The demo list: the "*.dem" files of one folder, and that folder.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/Controls.h"

namespace vorelix::ui {

class DemoListBox {
  public:
    void Attach(HWND listBox);
    HWND Hwnd() const { return box_.Hwnd(); }

    const std::wstring& Folder() const { return folder_; }
    // Lists another folder. Runs onFolderChange only when the folder really changes; false when it is
    // not an existing folder (the list then stays as it was).
    bool SetFolder(const std::wstring& folder);
    // Shows a folder without running onFolderChange (start-up).
    bool ShowFolder(const std::wstring& folder);
    // Reads the folder's entries again; false when the folder can no longer be read.
    bool Refresh();

    int Count() const { return box_.Count(); }
    std::wstring Entry(int index) const { return box_.ItemText(index); }
    int Selected() const { return box_.Selected(); }
    void SetSelected(int index) const { box_.SetSelected(index); }

    std::function<void()> onFolderChange;

  private:
    ListBox box_;
    std::wstring folder_;
};

}  // namespace vorelix::ui
