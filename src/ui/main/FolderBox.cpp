// The folder box: entries built from the current path, drawn with an indent and a folder picture.
#include "ui/main/FolderBox.h"

#include "platform/files/File.h"
#include "platform/FolderPaths.h"
#include "ui/base/Dpi.h"

namespace vorelix::ui {

namespace {

std::wstring LastPart(const std::wstring& path) {
    if (path.size() <= 3) return path;
    return path.substr(path.find_last_of(L'\\') + 1);
}

// A small folder drawn with GDI: the tab, the body, and for an open folder a lighter front flap.
void DrawFolderPicture(HDC hdc, int left, int top, int size, bool open) {
    const int unit = size > 16 ? size / 16 : 1;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(150, 110, 20));
    HBRUSH body = CreateSolidBrush(RGB(240, 200, 80));
    HBRUSH flap = CreateSolidBrush(RGB(255, 228, 140));
    HGDIOBJ oldPen = SelectObject(hdc, pen);
    HGDIOBJ oldBrush = SelectObject(hdc, body);
    Rectangle(hdc, left + unit, top + 2 * unit, left + 7 * unit, top + 5 * unit);
    Rectangle(hdc, left + unit, top + 4 * unit, left + 15 * unit, top + 14 * unit);
    if (open) {
        SelectObject(hdc, flap);
        const POINT front[] = {{left + 3 * unit, top + 7 * unit},
                               {left + 16 * unit, top + 7 * unit},
                               {left + 14 * unit, top + 14 * unit},
                               {left + unit, top + 14 * unit}};
        Polygon(hdc, front, 4);
    }
    SelectObject(hdc, oldBrush);
    SelectObject(hdc, oldPen);
    DeleteObject(flap);
    DeleteObject(body);
    DeleteObject(pen);
}

}  // namespace

void FolderBox::Attach(HWND listBox) {
    box_ = ListBox(listBox);
}

bool FolderBox::SetPath(const std::wstring& path) {
    const auto folder = platform::NormalizeFolder(path);
    if (!folder) return false;
    const bool changed = !platform::EqualIgnoringCase(*folder, path_);
    path_ = *folder;
    if (changed) {
        Refill();
        if (onChange) onChange();
    }
    return true;
}

bool FolderBox::ShowPath(const std::wstring& path) {
    const auto folder = platform::NormalizeFolder(path);
    if (!folder) return false;
    path_ = *folder;
    Refill();
    return true;
}

void FolderBox::Refill() {
    entries_.clear();
    if (!path_.empty()) {
        // From the root down to the current folder.
        std::wstring walked = path_.substr(0, 3);
        entries_.push_back({walked, 0, true});
        std::size_t start = 3;
        while (start < path_.size()) {
            std::size_t end = path_.find(L'\\', start);
            if (end == std::wstring::npos) end = path_.size();
            walked = path_.substr(0, end);
            entries_.push_back({walked, static_cast<int>(entries_.size()), true});
            start = end + 1;
        }
        const int depth = static_cast<int>(entries_.size());
        for (const auto& name : platform::ListSubfolders(path_))
            entries_.push_back({platform::JoinFolderAndName(path_, name), depth, false});
    }
    currentIndex_ = path_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].open) currentIndex_ = static_cast<int>(i);
    }

    RedrawPause pause(box_.Hwnd());
    box_.Clear();
    std::vector<std::wstring> texts;
    texts.reserve(entries_.size());
    for (const auto& entry : entries_) texts.push_back(LastPart(entry.path));
    box_.AddAll(texts);
    box_.SetSelected(currentIndex_);
}

std::wstring FolderBox::ItemPath(int index) const {
    if (index < 0 || index >= static_cast<int>(entries_.size())) return {};
    return entries_[static_cast<std::size_t>(index)].path;
}

void FolderBox::MeasureItem(MEASUREITEMSTRUCT& item, UINT dpi) const {
    item.itemHeight = static_cast<UINT>(MulDiv(16, static_cast<int>(dpi), kDefaultDpi));
}

void FolderBox::DrawItem(const DRAWITEMSTRUCT& item, UINT dpi) const {
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= entries_.size()) {
        FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
        return;
    }
    const Entry& entry = entries_[item.itemID];
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const int step = MulDiv(10, static_cast<int>(dpi), kDefaultDpi);
    const int picture = MulDiv(16, static_cast<int>(dpi), kDefaultDpi);
    const int pictureLeft = item.rcItem.left + 2 + entry.depth * step;

    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_WINDOW));
    const int itemHeight = item.rcItem.bottom - item.rcItem.top;
    DrawFolderPicture(item.hDC, pictureLeft, item.rcItem.top + (itemHeight - picture) / 2, picture,
                      entry.open);

    const std::wstring text = LastPart(entry.path);
    RECT textRect = item.rcItem;
    textRect.left = pictureLeft + picture + 3;
    SIZE extent{};
    GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT highlight{textRect.left - 1, textRect.top, textRect.left + extent.cx + 2, textRect.bottom};
    if (selected) FillRect(item.hDC, &highlight, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &highlight);
}

}  // namespace vorelix::ui
