// The folder box: the current path's folders from the root down, then its subfolders, indented.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/base/Controls.h"

namespace vorelix::ui {

class FolderBox {
  public:
    // The list box must be owner-drawn with fixed item height.
    void Attach(HWND listBox);
    HWND Hwnd() const { return box_.Hwnd(); }
    void SetItemHeight(int height) const { box_.SetItemHeight(height); }

    const std::wstring& Path() const { return path_; }
    // Opens a folder. Runs onChange only when the folder really changes; false when it is not an
    // existing folder (the box then stays as it was).
    bool SetPath(const std::wstring& path);
    // Shows a folder as current without running onChange (start-up).
    bool ShowPath(const std::wstring& path);
    // Lists the current folder's subfolders again.
    void Refill();

    // The full path of entry `index`; "" outside the list.
    std::wstring ItemPath(int index) const;
    // The entry the user has highlighted, and the entry of the current folder.
    int Selected() const { return box_.Selected(); }
    int CurrentIndex() const { return currentIndex_; }

    void MeasureItem(MEASUREITEMSTRUCT& item, UINT dpi) const;
    void DrawItem(const DRAWITEMSTRUCT& item, UINT dpi) const;

    std::function<void()> onChange;

  private:
    struct Entry {
        std::wstring path;
        int depth = 0;
        bool open = false;  // the current folder and those above it
    };

    ListBox box_;
    std::wstring path_;
    std::vector<Entry> entries_;
    int currentIndex_ = -1;
};

}  // namespace vorelix::ui
