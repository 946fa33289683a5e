// The timeline window TimelineWindow: what happened in one demo (chat, kills, rounds, players), read on
// a thread of its own while the list fills, filtered, copied and saved as CSV.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "demo/net/EventReading.h"
#include "demo/net/EventRows.h"
#include "ui/base/Controls.h"
#include "ui/base/Fonts.h"
#include "ui/base/Prompter.h"
#include "ui/base/Window.h"

namespace vorelix::ui {

enum class TimelineControlId : int {
    RecordingLine = 400,
    FindLabel,
    FindBox,
    ChatBox,
    KillsBox,
    RoundsBox,
    PlayersBox,
    EventList,
    NoEventsText,
    ReadingProgress,
    StatusLine,
    CopyButton,
    SaveCsvButton,
    CloseButton,
    // Items of the list's popup menu.
    CopyItem = 450,
    SelectAllItem,
};

constexpr int ToInt(TimelineControlId id) {
    return static_cast<int>(id);
}

// The save dialog that asks where the CSV goes, starting in the folder and on the name of
// `suggestedPath`; the chosen path, or "" when the user cancels.
std::wstring ChooseCsvFileWithDialog(HWND owner, const std::wstring& suggestedPath);

struct TimelineServices {
    Prompter& prompter;
    std::wstring demoPath;
    std::function<std::wstring(HWND owner, const std::wstring& suggestedPath)> chooseCsvFile =
        ChooseCsvFileWithDialog;
    // Opens the chat editor with the line that holds this 1-based demo position current; none: a chat
    // row opens nothing.
    std::function<void(HWND owner, std::uint64_t chatPosition)> openChatLine;
};

class TimelineWindow : public Window {
  public:
    // Creates the window hidden and starts reading the demo.
    explicit TimelineWindow(TimelineServices services);
    ~TimelineWindow() override;

    bool IsCreated() const { return Hwnd() != nullptr; }
    HWND ControlHwnd(TimelineControlId id) const { return GetDlgItem(Hwnd(), ToInt(id)); }

    // Shows the window over `owner`, which is disabled until the window is closed, and returns then;
    // the reading has stopped by then.
    void ShowModal(HWND owner);

    // What the reading has brought so far: all rows read, and how it ended once it has.
    std::size_t RowCount() const { return rows_.size(); }
    const std::optional<demo::net::ReadingEnd>& HowReadingEnded() const { return end_; }
    // The line of a row as the list shows it (time, kind, event), for tests and the benchmark.
    std::wstring ShownRowText(int row) const;

    // Shows the popup menu of the list; tests replace it to pick an item without a menu loop.
    PopupTracker trackPopup = TrackPopupAndReturnCommand;

  private:
    // The progress bar's range: how far the reading is, in thousandths of the demo.
    static constexpr int kProgressSteps = 1000;

    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCommand(int id, int code);
    LRESULT OnNotify(const NMHDR& header);
    void Close();
    void StopReading();

    // Layout and creation (TimelineWindowLayout.cpp).
    void CreateControls();
    void ApplyDpi(UINT dpi);

    // The reading (TimelineWindow.cpp).
    void OnReadingNews();
    void ShowEnd();

    // The list (TimelineRows.cpp).
    void OnFilterChanged();
    void AddShownRows(std::size_t from);
    void OnGetRowText(NMLVDISPINFOW& info) const;
    void OnListKey(WORD key);
    void OnListContextMenu(POINT screenPoint);
    void OnCopyClick();
    void OnSaveCsvClick();
    void OnRowActivated(int row);
    std::vector<const demo::net::EventRow*> Rows(const std::vector<int>& shownRows) const;

    TimelineServices services_;
    FontSet fonts_;
    UINT dpi_ = 96;
    HWND owner_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool closed_ = false;
    HMENU listMenu_ = nullptr;

    Label recordingLine_, findLabel_, noEventsText_, statusLine_;
    Edit findBox_;
    Button chatBox_, killsBox_, roundsBox_, playersBox_, copyButton_, saveCsvButton_, closeButton_;
    ReportList eventList_;
    ProgressBar readingProgress_;

    std::unique_ptr<demo::net::EventReading> reading_;
    std::optional<demo::net::ReadingEnd> end_;
    std::vector<demo::net::EventRow> rows_;  // every row read, in time order
    demo::net::RowMatcher matcher_{demo::net::RowFilter{}};
    std::vector<std::size_t> shown_;  // the rows the filter shows: list row -> index into rows_
};

}  // namespace vorelix::ui
