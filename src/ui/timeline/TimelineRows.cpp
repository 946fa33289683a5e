// TimelineWindow's list: the rows the filter shows, their texts handed to the list as it draws them,
// copying the selected rows, saving the shown rows as CSV, and a chat row opening the chat editor.
#include <algorithm>
#include <cwchar>
#include <filesystem>

#include "platform/Clipboard.h"
#include "platform/files/FileOps.h"
#include "platform/PathNames.h"
#include "platform/Text.h"
#include "platform/dialogs/CommonDialog.h"
#include "ui/timeline/TimelineWindow.h"

namespace vorelix::ui {

namespace net = demo::net;

std::wstring ChooseCsvFileWithDialog(HWND owner, const std::wstring& suggestedPath) {
    const std::filesystem::path suggested(suggestedPath);
    platform::CommonDialog dialog;
    dialog.owner = owner;
    dialog.cancelError = true;
    dialog.dialogTitle = L"Save the events as CSV";
    dialog.flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
    dialog.filter = platform::NulSeparated({L"CSV files (*.csv)", L"*.csv", L"All files", L"*.*"});
    dialog.filterIndex = 1;
    dialog.defaultExt = L"csv";
    dialog.initDir = suggested.parent_path().wstring();
    dialog.fileName = suggested.filename().wstring();
    if (dialog.ShowSave()) return {};  // cancelled, or the dialog could not be shown
    return dialog.fileName;
}

void TimelineWindow::OnFilterChanged() {
    net::RowFilter filter;
    filter.chat = chatBox_.IsChecked();
    filter.kills = killsBox_.IsChecked();
    filter.rounds = roundsBox_.IsChecked();
    filter.players = playersBox_.IsChecked();
    filter.text = platform::WideToUtf8(findBox_.Text());
    matcher_ = net::RowMatcher(filter);
    // The list's selection is by row number, which now means other rows.
    eventList_.ClearSelection();
    shown_.clear();
    AddShownRows(0);
}

void TimelineWindow::AddShownRows(std::size_t from) {
    for (std::size_t i = from; i < rows_.size(); ++i) {
        if (matcher_.Shows(rows_[i])) shown_.push_back(i);
    }
    if (static_cast<std::size_t>(eventList_.Count()) != shown_.size())
        eventList_.SetRowCount(static_cast<int>(shown_.size()));
}

std::wstring TimelineWindow::ShownRowText(int row) const {
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) return {};
    const net::EventRow& shown = rows_[shown_[static_cast<std::size_t>(row)]];
    return platform::Utf8ToWide(shown.clock + "  " + std::string(net::EventKindName(shown.kind)) + "  " +
                                shown.what);
}

void TimelineWindow::OnGetRowText(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
    item.pszText[0] = L'\0';
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= shown_.size()) return;
    const net::EventRow& row = rows_[shown_[static_cast<std::size_t>(item.iItem)]];
    std::wstring text;
    switch (item.iSubItem) {
        case 0:
            text = platform::Utf8ToWide(row.clock);
            break;
        case 1:
            text = platform::Utf8ToWide(net::EventKindName(row.kind));
            break;
        default:
            text = platform::Utf8ToWide(row.what);
            break;
    }
    // The list's buffer holds cchTextMax characters with the closing NUL; a longer text is cut.
    const std::size_t copied = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax - 1));
    std::wmemcpy(item.pszText, text.data(), copied);
    item.pszText[copied] = L'\0';
}

void TimelineWindow::OnListKey(WORD key) {
    if (GetKeyState(VK_CONTROL) >= 0) return;
    if (key == 'C' || key == VK_INSERT) OnCopyClick();
    if (key == 'A') eventList_.SelectAll();
}

void TimelineWindow::OnListContextMenu(POINT screenPoint) {
    if (!trackPopup) return;
    // From the keyboard (Shift+F10, the menu key) the point is (-1, -1): the menu opens at the focused
    // row, or at the list's corner.
    if (screenPoint.x == -1 && screenPoint.y == -1) {
        RECT place{LVIR_BOUNDS, 0, 0, 0};
        const int focused = eventList_.FocusedRow();
        if (focused < 0 || !ListView_GetItemRect(eventList_.Hwnd(), focused, &place, LVIR_BOUNDS))
            place = RECT{};
        screenPoint = POINT{place.left, place.bottom};
        ClientToScreen(eventList_.Hwnd(), &screenPoint);
    }
    EnableMenuItem(listMenu_, static_cast<UINT>(ToInt(TimelineControlId::CopyItem)),
                   MF_BYCOMMAND | (eventList_.SelectedRows().empty() ? MF_GRAYED : MF_ENABLED));
    const UINT command = trackPopup(listMenu_, screenPoint, Hwnd());
    if (command != 0) OnCommand(static_cast<int>(command), 0);
}

std::vector<const net::EventRow*> TimelineWindow::Rows(const std::vector<int>& shownRows) const {
    std::vector<const net::EventRow*> rows;
    rows.reserve(shownRows.size());
    for (const int row : shownRows) {
        if (row >= 0 && static_cast<std::size_t>(row) < shown_.size())
            rows.push_back(&rows_[shown_[static_cast<std::size_t>(row)]]);
    }
    return rows;
}

void TimelineWindow::OnCopyClick() {
    const auto rows = Rows(eventList_.SelectedRows());
    if (rows.empty()) return;
    const Status put = platform::PutTextOnClipboard(Hwnd(), platform::Utf8ToWide(net::RowsAsText(rows)));
    if (!put) {
        Warn(services_.prompter, L"The rows could not be copied to the clipboard.\r\n\r\n" +
                                     platform::Utf8ToWide(put.failure().systemText));
        return;
    }
    statusLine_.SetText(std::to_wstring(rows.size()) + (rows.size() == 1 ? L" row" : L" rows") +
                        L" copied to the clipboard.");
}

void TimelineWindow::OnSaveCsvClick() {
    if (!services_.chooseCsvFile) return;
    std::filesystem::path suggested(services_.demoPath);
    suggested.replace_extension(L".csv");
    const std::wstring target = services_.chooseCsvFile(Hwnd(), suggested.wstring());
    if (target.empty()) return;
    std::vector<const net::EventRow*> rows;
    rows.reserve(shown_.size());
    for (const std::size_t index : shown_) rows.push_back(&rows_[index]);
    const Status written = platform::WriteFileReplacing(target, net::CsvFileBytes(rows));
    if (!written) {
        Warn(services_.prompter, L"The CSV file could not be written.\r\n\r\n" +
                                     platform::Utf8ToWide(written.failure().systemText));
        return;
    }
    statusLine_.SetText(std::to_wstring(rows.size()) + (rows.size() == 1 ? L" row" : L" rows") +
                        L" saved to " + platform::GetFileName(target) + L".");
}

void TimelineWindow::OnRowActivated(int row) {
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size() || !services_.openChatLine) return;
    const net::EventRow& activated = rows_[shown_[static_cast<std::size_t>(row)]];
    if (activated.kind != net::EventKind::Chat || activated.chatPosition == 0) return;
    services_.openChatLine(Hwnd(), activated.chatPosition);
}

}  // namespace vorelix::ui
