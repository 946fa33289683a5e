// The demo list: fills the list box from the folder, sorted, with redrawing paused for big folders.
#include "ui/main/DemoListBox.h"

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
    auto names = platform::ListDemoFiles(folder_);
    RedrawPause pause(box_.Hwnd());
    box_.Clear();
    names_.clear();
    read_ = names.has_value();
    if (!names) return false;
    names_ = std::move(*names);
    std::size_t characters = 0;
    for (const auto& name : names_) characters += name.size() + 1;
    box_.ReserveItems(static_cast<int>(names_.size()), characters * sizeof(wchar_t));
    box_.AddAll(names_);
    return true;
}

std::wstring DemoListBox::Entry(int index) const {
    if (index < 0 || index >= Count()) return {};
    return names_[static_cast<std::size_t>(index)];
}

}  // namespace vorelix::ui
