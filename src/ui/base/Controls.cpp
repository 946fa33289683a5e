// The control wrappers' methods: plain messages to the native controls.
#include "ui/base/Controls.h"

#include <commctrl.h>

namespace vorelix::ui {

void Control::SetText(std::wstring_view text) const {
    const std::wstring copy(text);
    SetWindowTextW(hwnd_, copy.c_str());
}

std::wstring Control::Text() const {
    const int length = GetWindowTextLengthW(hwnd_);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(hwnd_, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void Control::Place(const RECT& pixels) const {
    SetWindowPos(hwnd_, nullptr, pixels.left, pixels.top, pixels.right - pixels.left,
                 pixels.bottom - pixels.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateChildControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                        DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                           nullptr);
}

void Button::SetPictureAbove(HIMAGELIST images) const {
    BUTTON_IMAGELIST list{};
    list.himl = images;
    list.margin = RECT{0, 4, 0, 0};
    list.uAlign = BUTTON_IMAGELIST_ALIGN_TOP;
    Send(BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
}

int ListBox::Add(const std::wstring& text) const {
    return static_cast<int>(Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ListBox::AddAll(const std::vector<std::wstring>& texts) const {
    // Straight to the list box's own procedure: under Wine, comctl32's subclass chain asks the server for
    // its window property on every message, which made 10,000 entries take seconds. The program's
    // subclasses of list boxes handle mouse, keys and drops, never LB_ADDSTRING.
    const auto listBoxProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(Hwnd(), GCLP_WNDPROC));
    for (const auto& text : texts)
        CallWindowProcW(listBoxProc, Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring ListBox::ItemText(int index) const {
    const LRESULT length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length == LB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == LB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void ListBox::ReserveItems(int items, std::size_t textBytes) const {
    Send(LB_INITSTORAGE, static_cast<WPARAM>(items), static_cast<LPARAM>(textBytes));
}

void ListBox::Replace(int index, const std::wstring& text, LPARAM data) const {
    Delete(index);
    Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    SetItemData(index, data);
}

std::vector<int> ListBox::SelectedIndices() const {
    const LRESULT count = Send(LB_GETSELCOUNT);
    if (count <= 0) return {};  // LB_ERR for a list that selects one entry only
    std::vector<int> indices(static_cast<std::size_t>(count));
    const LRESULT copied =
        Send(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(indices.data()));
    indices.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return indices;
}

int CheckListView::Add(const std::wstring& text) const {
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = Count();
    item.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<int>(Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

void CheckListView::SetUpAsCheckList() const {
    ListView_SetExtendedListViewStyle(Hwnd(), LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    Send(LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
}

int ComboBox::Add(const std::wstring& text) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

std::wstring ComboBox::ItemText(int index) const {
    const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length == CB_ERR) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return text;
}

void ReportList::SetUpColumns(std::initializer_list<const wchar_t*> titles) const {
    ListView_SetExtendedListViewStyle(Hwnd(), LVS_EX_FULLROWSELECT);
    int index = 0;
    for (const wchar_t* title : titles) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(title);
        column.cx = 50;
        Send(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index++), reinterpret_cast<LPARAM>(&column));
    }
}

void ReportList::SetRowCount(int count) const {
    Send(LVM_SETITEMCOUNT, static_cast<WPARAM>(count), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void ReportList::ClearSelection() const {
    ListView_SetItemState(Hwnd(), -1, 0, LVIS_SELECTED);
    InvalidateRect(Hwnd(), nullptr, TRUE);
}

std::vector<int> ReportList::SelectedRows() const {
    std::vector<int> rows;
    for (int row = ListView_GetNextItem(Hwnd(), -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(Hwnd(), row, LVNI_SELECTED)) {
        rows.push_back(row);
    }
    return rows;
}

UINT TrackPopupAndReturnCommand(HMENU menu, POINT screenPoint, HWND owner) {
    return static_cast<UINT>(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                              screenPoint.x, screenPoint.y, owner, nullptr));
}

RedrawPause::RedrawPause(HWND hwnd) : hwnd_(hwnd) {
    SendMessageW(hwnd_, WM_SETREDRAW, FALSE, 0);
}

RedrawPause::~RedrawPause() {
    SendMessageW(hwnd_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

}  // namespace vorelix::ui
