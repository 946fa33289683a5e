// The drive box: a drop-down list of the machine's drives that knows the current drive.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "ui/base/Controls.h"

namespace vorelix::ui {

class DriveBox {
  public:
    void Attach(HWND comboBox);
    HWND Hwnd() const { return box_.Hwnd(); }

    // Lists the drives again and shows the current one.
    void Fill();
    // The current drive letter in upper case ('C'); 0 before the first one is set.
    wchar_t Drive() const { return drive_; }

    // Sets the current drive from a path's first letter ("Z:\work" means Z:). Runs onChange only when the
    // drive really changes; false when the path names no drive of the machine.
    bool SetDrive(const std::wstring& pathOrDrive);
    // Shows a drive as current without running onChange (start-up, and putting back a refused pick).
    void ShowDrive(wchar_t driveLetter);
    // Shows the drive of a path as current without running onChange; false, changing nothing, when the
    // path names no drive of the machine.
    bool ShowDriveOf(const std::wstring& path);
    // The user picked an entry of the list.
    void OnSelectionChange();

    std::function<void()> onChange;

  private:
    int IndexOf(wchar_t driveLetter) const;

    ComboBox box_;
    wchar_t drive_ = 0;
};

}  // namespace vorelix::ui
