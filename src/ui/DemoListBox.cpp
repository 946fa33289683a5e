// The demo list: fills the list box from the folder, sorted, with redrawing paused for big folders.
#include "ui/DemoListBox.h"

#include "platform/FolderPaths.h"

namespace vorelix::ui {

void DemoListBox::Attach(HWND listBox) {
    box_ = ListBox(listBox);
}

bool DemoListBox::SetFolder(const std::wstring& folder) {
    const auto normal = platform::NormalizeFolder(folder);
    if (!normal) return false;
    if (platform::EqualIgnoringCase(*normal, folder_)) return true;
    folder_ = *normal;
    Refresh();
    if (onFolderChange) onFolderChange();
    return true;
}

bool DemoListBox::ShowFolder(const std::wstring& folder) {
    const auto normal = platform::NormalizeFolder(folder);
    if (!normal) return false;
    folder_ = *normal;
    return Refresh();
}

bool DemoListBox::Refresh() {
    const auto names = platform::ListDemoFiles(folder_);
    RedrawPause pause(box_.Hwnd());
    box_.Clear();
    if (!names) return false;
    std::size_t characters = 0;
    for (const auto& name : *names) characters += name.size() + 1;
    box_.ReserveItems(static_cast<int>(names->size()), characters * sizeof(wchar_t));
    for (const auto& name : *names) box_.Add(name);
    return true;
}

}  // namespace vorelix::ui
