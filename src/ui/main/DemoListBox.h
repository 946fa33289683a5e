// The demo list: the "*.dem" files of one folder, and that folder.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/base/Controls.h"

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
    // Whether the last reading of the folder worked.
    bool IsRead() const { return read_; }

    // The entries as the list box shows them, kept beside it: reading them costs no message.
    const std::vector<std::wstring>& Entries() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    std::wstring Entry(int index) const;
    int Selected() const { return box_.Selected(); }
    void SetSelected(int index) const { box_.SetSelected(index); }

    std::function<void()> onFolderChange;

  private:
    ListBox box_;
    std::wstring folder_;
    std::vector<std::wstring> names_;
    bool read_ = false;
};

}  // namespace vorelix::ui
