// TimelineWindow's life, its modal showing, message routing, and the reading of the demo: news from the
// reading thread arrive as a posted message and fill the list, the progress bar and the lines.
#include "ui/timeline/TimelineWindow.h"

#include <filesystem>

#include "platform/files/DemoFile.h"
#include "platform/PathNames.h"
#include "platform/Text.h"
#include "ui/base/Dpi.h"
#include "ui/base/ModalLoop.h"
#include "ui/base/TwipsLayout.h"

namespace vorelix::ui {

namespace {

constexpr const wchar_t* kClassName = L"Vorelix.TimelineWindow";
// Posted by the reading thread when news waits; handled by OnReadingNews.
constexpr UINT kReadingNewsMessage = WM_APP + 1;

// A demo's bytes as the text rule shows them, in UTF-8 for the rows.
std::string ShowDemoText(std::string_view bytes) {
    return platform::WideToUtf8(platform::DemoTextForDisplay(bytes));
}

}  // namespace

TimelineWindow::TimelineWindow(TimelineServices services) : services_(std::move(services)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const std::wstring name = platform::GetFileName(services_.demoPath);
    if (!CreateTopLevel(kClassName, (L"Timeline: " + name).c_str(), kToolWindowStyle, kToolWindowExStyle, 700,
                        500, nullptr))
        return;
    CreateControls();
    listMenu_ = CreatePopupMenu();
    AppendMenuW(listMenu_, MF_STRING, ToInt(TimelineControlId::CopyItem), L"&Copy\tCtrl+C");
    AppendMenuW(listMenu_, MF_STRING, ToInt(TimelineControlId::SelectAllItem), L"Select &all\tCtrl+A");
    recordingLine_.SetText(name + L": reading...");
    statusLine_.SetText(L"Reading the demo...");
    saveCsvButton_.Enable(false);

    HWND hwnd = Hwnd();
    const std::filesystem::path path(services_.demoPath);
    reading_ = std::make_unique<demo::net::EventReading>(
        [path]() -> Result<std::unique_ptr<demo::DemoBytes>> {
            auto file = platform::ChunkedDemoFile::Open(path);
            if (!file) return file.failure();
            return std::unique_ptr<demo::DemoBytes>(
                std::make_unique<platform::ChunkedDemoFile>(std::move(*file)));
        },
        ShowDemoText, [hwnd] { PostMessageW(hwnd, kReadingNewsMessage, 0, 0); });
}

TimelineWindow::~TimelineWindow() {
    StopReading();
    Close();
    if (listMenu_) DestroyMenu(listMenu_);
}

void TimelineWindow::ShowModal(HWND owner) {
    if (!Hwnd()) return;
    owner_ = owner;
    closed_ = false;
    if (owner) {
        // A top-level window's "parent" slot holds its owner: it then stays above the owner.
        SetWindowLongPtrW(Hwnd(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
        CenterOver(Hwnd(), owner);
        EnableWindow(owner, FALSE);
    }
    ShowWindow(Hwnd(), SW_SHOW);
    SetFocus(eventList_.Hwnd());
    RunModalLoop(Hwnd(), closed_);
    Close();
}

void TimelineWindow::StopReading() {
    if (!reading_) return;
    reading_->Stop();
    // The thread stops before its next frame; what it handed over last tells how it ended.
    reading_.reset();
    if (!end_) end_ = demo::net::ReadingEnd{true, std::nullopt, {}};
}

void TimelineWindow::Close() {
    StopReading();
    if (closed_ && !owner_) return;
    closed_ = true;
    // The owner is enabled before this window hides, so that the system gives it the activation.
    if (owner_) EnableWindow(owner_, TRUE);
    owner_ = nullptr;
    if (Hwnd()) ShowWindow(Hwnd(), SW_HIDE);
}

LRESULT TimelineWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kReadingNewsMessage:
            OnReadingNews();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) == eventList_.Hwnd()) {
                OnListContextMenu(
                    POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            ApplyDpi(HIWORD(wParam));
            MoveToSuggestedPlace(Hwnd(), lParam);
            return 0;
        }
        case WM_ACTIVATE:
            // Not a dialog, so the focus is kept by hand while a message box or another window is active.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(Hwnd(), focus)) lastFocus_ = focus;
            } else {
                const bool usable = lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_) &&
                                    IsWindowVisible(lastFocus_);
                SetFocus(usable ? lastFocus_ : GetNextDlgTabItem(Hwnd(), nullptr, FALSE));
            }
            return 0;
        case WM_NEXTDLGCTL: {
            // The dialog manager moves the focus with this message, a label's mnemonic among others
            // (it focuses the label, then the next control); only a dialog's own procedure would
            // answer it.
            HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                         : GetNextDlgTabItem(Hwnd(), GetFocus(), wParam != 0);
            if (target) {
                SetFocus(target);
                if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
                    SendMessageW(target, EM_SETSEL, 0, -1);
            }
            return 0;
        }
        case WM_CLOSE:
            Close();
            return 0;
        default:
            break;
    }
    return DefaultProc(message, wParam, lParam);
}

void TimelineWindow::OnCommand(int id, int code) {
    using Id = TimelineControlId;
    const bool clicked = code == BN_CLICKED;
    switch (static_cast<Id>(id)) {
        case Id::FindBox:
            if (code == EN_CHANGE) OnFilterChanged();
            break;
        case Id::ChatBox:
        case Id::KillsBox:
        case Id::RoundsBox:
        case Id::PlayersBox:
            if (clicked) OnFilterChanged();
            break;
        case Id::CopyButton:
        case Id::CopyItem:
            if (clicked) OnCopyClick();
            break;
        case Id::SelectAllItem:
            eventList_.SelectAll();
            break;
        case Id::SaveCsvButton:
            if (clicked) OnSaveCsvClick();
            break;
        case Id::CloseButton:
            if (clicked) Close();
            break;
        default:
            if (id == IDCANCEL) Close();  // Esc
            // Enter: the dialog manager's default command; on the list it opens the focused row.
            if (id == IDOK && GetFocus() == eventList_.Hwnd()) OnRowActivated(eventList_.FocusedRow());
            break;
    }
}

LRESULT TimelineWindow::OnNotify(const NMHDR& header) {
    if (header.idFrom != static_cast<UINT_PTR>(ToInt(TimelineControlId::EventList))) return 0;
    switch (header.code) {
        case LVN_GETDISPINFOW:
            OnGetRowText(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
            return 0;
        case LVN_KEYDOWN:
            OnListKey(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey);
            return 0;
        case NM_DBLCLK:
            OnRowActivated(reinterpret_cast<const NMITEMACTIVATE&>(header).iItem);
            return 0;
        default:
            return 0;
    }
}

void TimelineWindow::OnReadingNews() {
    if (!reading_) return;
    demo::net::ReadingNews news = reading_->Take();
    if (news.recording) {
        recordingLine_.SetText(platform::GetFileName(services_.demoPath) + L": " +
                               platform::Utf8ToWide(*news.recording));
    }
    const std::size_t from = rows_.size();
    if (rows_.empty()) {
        rows_ = std::move(news.rows);
    } else {
        rows_.insert(rows_.end(), std::make_move_iterator(news.rows.begin()),
                     std::make_move_iterator(news.rows.end()));
    }
    AddShownRows(from);
    if (news.bytesTotal > 0) {
        readingProgress_.SetPosition(
            static_cast<int>(news.bytesRead * static_cast<std::uint64_t>(kProgressSteps) / news.bytesTotal));
    }
    if (!news.end) {
        statusLine_.SetText(L"Reading the demo... " + std::to_wstring(rows_.size()) + L" events so far");
        return;
    }
    end_ = std::move(news.end);
    reading_.reset();
    ShowEnd();
}

void TimelineWindow::ShowEnd() {
    const std::wstring line = platform::Utf8ToWide(demo::net::DescribeReadingEnd(*end_, rows_.size()));
    statusLine_.SetText(line);
    saveCsvButton_.Enable(true);
    // A demo whose events cannot be read at all says why where its list would be.
    if (!demo::net::ShowsNoList(*end_, rows_.size())) return;
    noEventsText_.SetText(line);
    ShowWindow(eventList_.Hwnd(), SW_HIDE);
    ShowWindow(noEventsText_.Hwnd(), SW_SHOW);
    recordingLine_.SetText(platform::GetFileName(services_.demoPath) + L": recording not known");
    saveCsvButton_.Enable(false);
    copyButton_.Enable(false);
}

}  // namespace vorelix::ui
