// Thin non-owning wrappers over native controls: the window that creates a control owns its HWND.
#pragma once

#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vorelix::ui {

class Control {
  public:
    Control() = default;
    explicit Control(HWND hwnd) : hwnd_(hwnd) {}

    HWND Hwnd() const { return hwnd_; }
    int Id() const { return GetDlgCtrlID(hwnd_); }

    void SetText(std::wstring_view text) const;
    std::wstring Text() const;
    void Enable(bool enabled) const { EnableWindow(hwnd_, enabled ? TRUE : FALSE); }
    bool IsEnabled() const { return IsWindowEnabled(hwnd_) != FALSE; }
    void SetFont(HFONT font) const { SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }
    // Places the control in its parent's client area, in pixels.
    void Place(const RECT& pixels) const;

  protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageW(hwnd_, message, wParam, lParam);
    }

  private:
    HWND hwnd_ = nullptr;
};

// Creates a child control; `id` becomes its control id.
HWND CreateChildControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style,
                        DWORD exStyle, int id);

class Button : public Control {
  public:
    using Control::Control;
    // A picture shown above the caption (comctl32 v6 image list alignment); the list stays owned by the
    // caller.
    void SetPictureAbove(HIMAGELIST images) const;
    // For check boxes and option buttons.
    bool IsChecked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
    void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class GroupBox : public Control {
  public:
    using Control::Control;
};

class Label : public Control {
  public:
    using Control::Control;
};

class Edit : public Control {
  public:
    using Control::Control;
    void LimitText(int characters) const { Send(EM_SETLIMITTEXT, static_cast<WPARAM>(characters)); }
    void SelectAll() const { Send(EM_SETSEL, 0, -1); }
};

class ListBox : public Control {
  public:
    using Control::Control;
    int Count() const { return static_cast<int>(Send(LB_GETCOUNT)); }
    // The height of every entry of an owner-drawn list of fixed entry height.
    void SetItemHeight(int height) const { Send(LB_SETITEMHEIGHT, 0, height); }
    int Add(const std::wstring& text) const;
    // Adds entries in their order, as many Add calls would, without going through subclasses.
    void AddAll(const std::vector<std::wstring>& texts) const;
    std::wstring ItemText(int index) const;
    int Selected() const { return static_cast<int>(Send(LB_GETCURSEL)); }
    // Sets the selection without the notification the user's click would send.
    void SetSelected(int index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
    void Clear() const { Send(LB_RESETCONTENT); }
    void ReserveItems(int items, std::size_t textBytes) const;
    void Delete(int index) const { Send(LB_DELETESTRING, static_cast<WPARAM>(index)); }
    // A list box has no way to change an entry's text: the entry is deleted and inserted anew, and loses
    // its selection on the way.
    void Replace(int index, const std::wstring& text, LPARAM data) const;
    void SetItemData(int index, LPARAM data) const { Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data); }
    int TopIndex() const { return static_cast<int>(Send(LB_GETTOPINDEX)); }
    void SetTopIndex(int index) const { Send(LB_SETTOPINDEX, static_cast<WPARAM>(index)); }

    // For lists that select many entries: the entry with the focus rectangle, and the selected ones.
    int Caret() const { return static_cast<int>(Send(LB_GETCARETINDEX)); }
    void SetCaret(int index) const { Send(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE); }
    bool IsItemSelected(int index) const { return Send(LB_GETSEL, static_cast<WPARAM>(index)) > 0; }
    void SetItemSelected(int index, bool selected) const {
        Send(LB_SETSEL, selected ? TRUE : FALSE, static_cast<LPARAM>(index));
    }
    // In ascending order.
    std::vector<int> SelectedIndices() const;
};

class ComboBox : public Control {
  public:
    using Control::Control;
    int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
    int Add(const std::wstring& text) const;
    std::wstring ItemText(int index) const;
    int Selected() const { return static_cast<int>(Send(CB_GETCURSEL)); }
    // Sets the selection without notification; an index outside the list leaves none selected (Wine keeps
    // the old selection for an index past the end, so such an index is sent as -1).
    void SetSelected(int index) const {
        Send(CB_SETCURSEL, static_cast<WPARAM>(index >= 0 && index < Count() ? index : -1));
    }
    void Clear() const { Send(CB_RESETCONTENT); }
};

// A report list view of names, each with a check box (LVS_EX_CHECKBOXES).
class CheckListView : public Control {
  public:
    using Control::Control;
    // Makes a report-view list a list of names, each with its check box: one column, whole rows selected.
    void SetUpAsCheckList() const;
    void SetColumnWidth(int width) const { ListView_SetColumnWidth(Hwnd(), 0, width); }
    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    // Appends an entry; its index, or -1 when the list could not take it.
    int Add(const std::wstring& text) const;
    void Clear() const { Send(LVM_DELETEALLITEMS); }
    bool IsChecked(int index) const { return ListView_GetCheckState(Hwnd(), index) != FALSE; }
    void SetChecked(int index, bool checked) const {
        ListView_SetCheckState(Hwnd(), index, checked ? TRUE : FALSE);
    }
};

// A report list view whose rows the window hands out when they are drawn (LVS_OWNERDATA): the list
// holds only their number and which of them are selected.
class ReportList : public Control {
  public:
    using Control::Control;
    // Whole rows selected, and the columns with their titles (SetColumnWidth sizes them).
    void SetUpColumns(std::initializer_list<const wchar_t*> titles) const;
    void SetColumnWidth(int column, int width) const { ListView_SetColumnWidth(Hwnd(), column, width); }
    int Count() const { return static_cast<int>(Send(LVM_GETITEMCOUNT)); }
    // Sets the number of rows; the rows in view keep their place, and only those are drawn anew.
    void SetRowCount(int count) const;
    // Every row unselected, and the rows drawn anew.
    void ClearSelection() const;
    // In ascending order.
    std::vector<int> SelectedRows() const;
    void SelectAll() const { ListView_SetItemState(Hwnd(), -1, LVIS_SELECTED, LVIS_SELECTED); }
    // The row with the focus rectangle, -1 for none.
    int FocusedRow() const { return static_cast<int>(ListView_GetNextItem(Hwnd(), -1, LVNI_FOCUSED)); }
};

class ProgressBar : public Control {
  public:
    using Control::Control;
    void SetRange(int most) const { Send(PBM_SETRANGE32, 0, most); }
    void SetPosition(int position) const { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
};

// Shows a popup menu at a screen point and returns the chosen command id (0 for none).
using PopupTracker = std::function<UINT(HMENU menu, POINT screenPoint, HWND owner)>;
UINT TrackPopupAndReturnCommand(HMENU menu, POINT screenPoint, HWND owner);

// Stops a control from repainting while it is filled, and repaints it once afterwards.
class RedrawPause {
  public:
    explicit RedrawPause(HWND hwnd);
    ~RedrawPause();
    RedrawPause(const RedrawPause&) = delete;
    RedrawPause& operator=(const RedrawPause&) = delete;

  private:
    HWND hwnd_;
};

}  // namespace vorelix::ui
