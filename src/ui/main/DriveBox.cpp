// The drive box: entries "c: [label]", each with its drive letter as item data.
#include "ui/main/DriveBox.h"

#include <cwctype>

#include "platform/FolderPaths.h"

namespace vorelix::ui {

namespace {
// The drive letter of "Z:\work" or "Z:", in upper case; 0 for anything else.
wchar_t DriveLetterOf(const std::wstring& path) {
    if (path.size() < 2 || path[1] != L':') return 0;
    return static_cast<wchar_t>(std::towupper(path[0]));
}
}  // namespace

void DriveBox::Attach(HWND comboBox) {
    box_ = ComboBox(comboBox);
}

void DriveBox::Fill() {
    box_.Clear();
    for (wchar_t letter : platform::LogicalDrives()) {
        const int index = box_.Add(platform::DriveDisplayText(letter));
        SendMessageW(box_.Hwnd(), CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(letter));
    }
    box_.SetSelected(IndexOf(drive_));
}

int DriveBox::IndexOf(wchar_t driveLetter) const {
    const int count = box_.Count();
    for (int i = 0; i < count; ++i) {
        const auto letter = SendMessageW(box_.Hwnd(), CB_GETITEMDATA, static_cast<WPARAM>(i), 0);
        if (static_cast<wchar_t>(letter) == driveLetter) return i;
    }
    return -1;
}

bool DriveBox::SetDrive(const std::wstring& pathOrDrive) {
    const wchar_t letter = DriveLetterOf(pathOrDrive);
    if (!letter || IndexOf(letter) < 0) return false;
    if (letter == drive_) return true;
    ShowDrive(letter);
    if (onChange) onChange();
    return true;
}

bool DriveBox::ShowDriveOf(const std::wstring& path) {
    const wchar_t letter = DriveLetterOf(path);
    if (!letter || IndexOf(letter) < 0) return false;
    if (letter != drive_) ShowDrive(letter);
    return true;
}

void DriveBox::ShowDrive(wchar_t driveLetter) {
    drive_ = static_cast<wchar_t>(std::towupper(driveLetter));
    box_.SetSelected(IndexOf(drive_));
}

void DriveBox::OnSelectionChange() {
    const int index = box_.Selected();
    if (index < 0) return;
    const auto letter =
        static_cast<wchar_t>(SendMessageW(box_.Hwnd(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    if (letter == drive_) return;
    drive_ = letter;
    if (onChange) onChange();
}

}  // namespace vorelix::ui
