// The timeline window driven through its real controls: opened from the demo menu, filled by its
// reading thread, filtered, copied, saved as CSV, a chat row opening its line in the utilities, a demo
// without decoded messages, and a close that stops the reading of a large demo.
#include <gtest/gtest.h>

#include <memory>

#include "DialogDriver.h"
#include "MainWindowFixture.h"
#include "MessageDemo.h"
#include "platform/Clipboard.h"
#include "ui/timeline/TimelineWindow.h"
#include "ui/utilities/UtilitiesWindow.h"

namespace vorelix::test {
namespace {

using Id = ui::TimelineControlId;
constexpr UINT kReadingNews = WM_APP + 1;

std::string Say(std::uint8_t sender, std::string_view token, std::string_view text) {
    return UserMessage(kSayText,
                       std::string(1, static_cast<char>(sender)) + Text(token) + Text("") + Text(text));
}

// A match: Вася (UTF-8) and Bob chat, a kill, a round end, a player joining, and older-form chat lines
// that the utilities window's chat list holds too.
std::string MatchDemo() {
    return MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, "\\name\\Вася") + UserInfo(1, 2, "\\name\\Bob")},
                           {{1.0f, Say(1, "#Cstrike_Chat_All", "Привет, all\n")},
                            {2.0f, Say(2,
                                       "\x02"
                                       "Bob :   first line\n",
                                       "")},
                            {3.0f, Say(2,
                                       "\x02"
                                       "Bob :   second \"line\"\n",
                                       "")},
                            {10.5f, UserMessage(kDeathMsg, std::string("\x01\x02\x00", 3) + Text("awp"))},
                            {11.0f, UserMessage(kTextMsg, "\x04" + Text("#Terrorists_Win"))},
                            {12.0f, UserInfo(2, 3, "\\name\\Carol")},
                            {13.0f, Say(2,
                                        "\x02"
                                        "Bob :   third line\n",
                                        "")}})
        .bytes;
}

// A list's rows as its control draws them: every column of each row, joined by " | ".
std::vector<std::wstring> ListRows(HWND list) {
    std::vector<std::wstring> rows;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        std::wstring line;
        for (int column = 0; column < 3; ++column) {
            wchar_t text[512] = {};
            LVITEMW item{};
            item.iSubItem = column;
            item.pszText = text;
            item.cchTextMax = 512;
            SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
            line += (column > 0 ? L" | " : L"") + std::wstring(text);
        }
        rows.push_back(line);
    }
    return rows;
}

void SelectRows(HWND list, std::initializer_list<int> rows) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows)
        ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A key pressed on a control with Ctrl held, as the keyboard sends it.
void CtrlKey(HWND control, WPARAM key) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(control, WM_KEYDOWN, key, 1);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// What the list sends its window on a double click on a row.
void DoubleClickRow(HWND window, HWND list, int row) {
    NMITEMACTIVATE activate{};
    activate.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(NM_DBLCLK)};
    activate.iItem = row;
    SendMessageW(window, WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
}

class TimelineWindowTest : public MainWindowTest {
  protected:
    using MainWindowTest::Control;

    void TearDown() override {
        timeline.reset();
        MainWindowTest::TearDown();
    }

    // A timeline window on `bytes` written as "match.dem", read to its end unless told otherwise.
    void Open(const std::string& bytes, bool readAll = true) {
        WriteFileBytes(demoPath = dir.Path() / L"match.dem", bytes);
        ui::TimelineServices services{prompter, demoPath.wstring(), {}, {}};
        services.chooseCsvFile = [this](HWND, const std::wstring& suggested) {
            suggestedCsv = suggested;
            return csvChoice;
        };
        timeline = std::make_unique<ui::TimelineWindow>(services);
        ASSERT_TRUE(timeline->IsCreated());
        if (readAll) {
            while (!timeline->HowReadingEnded()) PumpOne();
        }
    }
    // Handles the next message of this thread, waiting for one.
    static void PumpOne() {
        MSG message;
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) return;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    HWND Control(Id id) const { return timeline->ControlHwnd(id); }
    void Click(Id id) const { SendMessageW(Control(id), BM_CLICK, 0, 0); }

    TempDir dir;
    std::filesystem::path demoPath;
    std::wstring csvChoice;
    std::wstring suggestedCsv;
    std::unique_ptr<ui::TimelineWindow> timeline;
};

TEST_F(TimelineWindowTest, ListsEveryEventUnderTheRecordingLineByTheLayoutRulesAtEachDpi) {
    Open(MatchDemo());
    HWND hwnd = timeline->Hwnd();
    EXPECT_EQ(Text(hwnd), L"Timeline: match.dem");
    // The text that says why a demo has no events takes the list's place, shown instead of it.
    ExpectLaidOut(hwnd, {144u, 120u, 96u}, {{ui::ToInt(Id::EventList), ui::ToInt(Id::NoEventsText)}});
    EXPECT_EQ(Text(Control(Id::RecordingLine)),
              L"match.dem: server \"Test server\", map de_dust2, recorded by Вася (slot 1), first-person");
    EXPECT_EQ(ListRows(Control(Id::EventList)),
              (std::vector<std::wstring>{
                  L"00:01.00 | chat | Вася: Привет, all", L"00:02.00 | chat | Bob: first line",
                  L"00:03.00 | chat | Bob: second \"line\"", L"00:10.50 | kill | Вася killed Bob with awp",
                  L"00:11.00 | round | Terrorists win", L"00:12.00 | player | Carol (slot 3) joined",
                  L"00:13.00 | chat | Bob: third line"}));
    EXPECT_EQ(Text(Control(Id::StatusLine)), L"7 events.");
    EXPECT_EQ(SendMessageW(Control(Id::ReadingProgress), PBM_GETPOS, 0, 0), 1000);
    EXPECT_NE(GetWindowLongPtrW(Control(Id::EventList), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_EQ(GetWindowLongPtrW(Control(Id::NoEventsText), GWL_STYLE) & WS_VISIBLE, 0);
    // Tab goes round the find box, the four kinds, the list and the buttons, in that order.
    std::vector<int> order;
    HWND at = Control(Id::FindBox);
    do {
        order.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(hwnd, at, FALSE);
    } while (at != Control(Id::FindBox) && order.size() < 20);
    EXPECT_EQ(order,
              (std::vector<int>{ui::ToInt(Id::FindBox), ui::ToInt(Id::ChatBox), ui::ToInt(Id::KillsBox),
                                ui::ToInt(Id::RoundsBox), ui::ToInt(Id::PlayersBox), ui::ToInt(Id::EventList),
                                ui::ToInt(Id::CopyButton), ui::ToInt(Id::SaveCsvButton),
                                ui::ToInt(Id::CloseButton)}));
}

TEST_F(TimelineWindowTest, TheKindsAndTheFindBoxFilterAndCopyAndCsvTakeTheRowsAsShown) {
    Open(MatchDemo());
    HWND list = Control(Id::EventList);
    Click(Id::KillsBox);
    Click(Id::PlayersBox);
    EXPECT_EQ(ListRows(list).size(), 5u);
    SetWindowTextW(Control(Id::FindBox), L"LINE");  // sends EN_CHANGE as typing does
    EXPECT_EQ(ListRows(list), (std::vector<std::wstring>{L"00:02.00 | chat | Bob: first line",
                                                         L"00:03.00 | chat | Bob: second \"line\"",
                                                         L"00:13.00 | chat | Bob: third line"}));
    SetWindowTextW(Control(Id::FindBox), L"вася");
    EXPECT_EQ(ListRows(list), (std::vector<std::wstring>{L"00:01.00 | chat | Вася: Привет, all"}));
    Click(Id::KillsBox);
    EXPECT_EQ(ListRows(list).size(), 2u) << "the kill by Вася is back";
    Click(Id::ChatBox);
    EXPECT_EQ(ListRows(list), (std::vector<std::wstring>{L"00:10.50 | kill | Вася killed Bob with awp"}));
    SetWindowTextW(Control(Id::FindBox), L"");
    Click(Id::ChatBox);
    Click(Id::PlayersBox);
    ASSERT_EQ(ListRows(list).size(), 7u);

    // Ctrl+A and Ctrl+C on the list, the button, and the list's menu all copy the selected rows.
    ASSERT_TRUE(platform::PutTextOnClipboard(nullptr, L"before"));
    CtrlKey(list, 'A');
    CtrlKey(list, 'C');
    const std::wstring all = platform::ClipboardText(nullptr);
    EXPECT_EQ(std::count(all.begin(), all.end(), L'\n'), 7);
    EXPECT_EQ(all.substr(0, all.find(L'\n') + 1), L"00:01.00\tchat\tВася: Привет, all\r\n");
    SelectRows(list, {1, 4});
    Click(Id::CopyButton);
    EXPECT_EQ(platform::ClipboardText(nullptr),
              L"00:02.00\tchat\tBob: first line\r\n00:11.00\tround\tTerrorists win\r\n");
    EXPECT_EQ(Text(Control(Id::StatusLine)), L"2 rows copied to the clipboard.");
    bool copyOffered = false;
    timeline->trackPopup = [&](HMENU menu, POINT, HWND) {
        copyOffered = !(GetMenuState(menu, ui::ToInt(Id::CopyItem), MF_BYCOMMAND) & MF_GRAYED);
        return static_cast<UINT>(ui::ToInt(Id::CopyItem));
    };
    SelectRows(list, {3});
    SendMessageW(timeline->Hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list), MAKELPARAM(-1, -1));
    EXPECT_TRUE(copyOffered);
    EXPECT_EQ(platform::ClipboardText(nullptr), L"00:10.50\tkill\tВася killed Bob with awp\r\n");

    // The CSV holds the shown rows, in UTF-8, quoted where they must be; a cancel writes nothing.
    Click(Id::RoundsBox);
    Click(Id::KillsBox);
    Click(Id::SaveCsvButton);
    EXPECT_EQ(suggestedCsv, (dir.Path() / L"match.csv").wstring());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / L"match.csv"));
    csvChoice = (dir.Path() / L"события.csv").wstring();
    Click(Id::SaveCsvButton);
    EXPECT_EQ(ReadFileBytes(csvChoice),
              "\xEF\xBB\xBF"
              "time,kind,event\r\n"
              "00:01.00,chat,\"Вася: Привет, all\"\r\n"
              "00:02.00,chat,Bob: first line\r\n"
              "00:03.00,chat,\"Bob: second \"\"line\"\"\"\r\n"
              "00:12.00,player,Carol (slot 3) joined\r\n"
              "00:13.00,chat,Bob: third line\r\n");
    EXPECT_EQ(Text(Control(Id::StatusLine)), L"5 rows saved to события.csv.");
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(TimelineWindowTest, ADemoOfAnotherProtocolSaysWhyItHasNoEventsInPlaceOfTheList) {
    std::string other = MatchDemo();
    PutAt(other, 12, Int32(35));
    Open(other);
    EXPECT_EQ(GetWindowLongPtrW(Control(Id::EventList), GWL_STYLE) & WS_VISIBLE, 0);
    EXPECT_NE(GetWindowLongPtrW(Control(Id::NoEventsText), GWL_STYLE) & WS_VISIBLE, 0);
    const std::wstring why =
        L"No events can be shown: this demo's messages are not decoded (network protocol 35). "
        L"Events are read from demos of network protocol 48 (Counter-Strike 1.6).";
    EXPECT_EQ(Text(Control(Id::NoEventsText)), why);
    EXPECT_EQ(Text(Control(Id::StatusLine)), why);
    EXPECT_EQ(Text(Control(Id::RecordingLine)), L"match.dem: recording not known");
    EXPECT_FALSE(IsWindowEnabled(Control(Id::SaveCsvButton)));
    EXPECT_FALSE(IsWindowEnabled(Control(Id::CopyButton)));
}

TEST_F(TimelineWindowTest, ClosingTheWindowStopsTheReadingOfALargeDemoPartWay) {
    // About 48 MB of chat frames: far more than is read between the first rows and the close.
    std::vector<MessageFrame> frames(300000);
    for (std::size_t i = 0; i < frames.size(); ++i)
        frames[i] = {static_cast<float>(i) * 0.01f,
                     Say(1, "#Cstrike_Chat_All", std::string(120, 'x') + "\n")};
    Open(MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, "\\name\\Ann")}, frames).bytes, false);
    while (timeline->RowCount() == 0) PumpOne();
    EXPECT_FALSE(timeline->HowReadingEnded());
    SendMessageW(timeline->Hwnd(), WM_CLOSE, 0, 0);
    // Closing returns once the reading thread has stopped: it ended stopped, short of the demo's end.
    ASSERT_TRUE(timeline->HowReadingEnded());
    EXPECT_TRUE(timeline->HowReadingEnded()->stopped);
    EXPECT_LT(timeline->RowCount(), frames.size());
    EXPECT_FALSE(IsWindowVisible(timeline->Hwnd()));
    // News the thread posted before it stopped find nothing to take.
    MSG message;
    while (PeekMessageW(&message, timeline->Hwnd(), kReadingNews, kReadingNews, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_TRUE(timeline->HowReadingEnded()->stopped);
}

TEST_F(TimelineWindowTest, TheDemoMenuOpensItModallyAndAChatRowOpensItsLineInTheUtilities) {
    WriteFileBytes(dir.Path() / L"match.dem", MatchDemo());
    ShowFolder(dir.Path());
    PickDemo(L"match.dem");
    bool offered = false;
    window->trackPopup = [&](HMENU menu, POINT, HWND) {
        offered = !(GetMenuState(menu, ui::ToInt(ui::ControlId::TimelineItem), MF_BYCOMMAND) & MF_GRAYED);
        return static_cast<UINT>(ui::ToInt(ui::ControlId::TimelineItem));
    };
    std::vector<std::wstring> chatSelected;
    std::wstring chatCurrent;
    HWND utilitiesOwner = nullptr;
    DialogDriver driver(
        [&](HWND hwnd) {
            EXPECT_EQ(GetWindow(hwnd, GW_OWNER), window->Hwnd());
            EXPECT_FALSE(IsWindowEnabled(window->Hwnd())) << "the main window waits";
            HWND list = GetDlgItem(hwnd, ui::ToInt(Id::EventList));
            // Only the reading's news is handled here: the driver's timer must not fire meanwhile.
            MSG message;
            while (SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) < 7 &&
                   GetMessageW(&message, hwnd, kReadingNews, kReadingNews) > 0) {
                DispatchMessageW(&message);
            }
            // Row 2 is the second older-form line, which the chat list holds.
            DialogDriver utilities(
                [&](HWND tools) {
                    utilitiesOwner = GetWindow(tools, GW_OWNER);
                    HWND chat = GetDlgItem(tools, ui::ToInt(ui::UtilitiesControlId::ChatList));
                    const std::vector<std::wstring> entries = Items(chat);
                    const auto caret = SendMessageW(chat, LB_GETCARETINDEX, 0, 0);
                    if (caret >= 0 && static_cast<std::size_t>(caret) < entries.size())
                        chatCurrent = entries[caret];
                    for (std::size_t i = 0; i < entries.size(); ++i)
                        if (SendMessageW(chat, LB_GETSEL, i, 0) > 0) chatSelected.push_back(entries[i]);
                    SendMessageW(tools, WM_CLOSE, 0, 0);
                },
                L"Vorelix.UtilitiesWindow");
            DoubleClickRow(hwnd, list, 2);
            EXPECT_TRUE(utilities.acted);
            // A kill row opens nothing: the driver, whose work is done, would have to close it.
            DoubleClickRow(hwnd, list, 3);
            EXPECT_FALSE(utilities.forcedClosed);
            EXPECT_EQ(ThreadWindowOfClass(L"Vorelix.UtilitiesWindow"), nullptr);
            // Alt+F reaches the find box, and Esc closes the window, through the dialog keys.
            MSG altF{list, WM_SYSCHAR, 'f', 1 << 29, 0, {}};
            EXPECT_TRUE(IsDialogMessageW(hwnd, &altF));
            EXPECT_EQ(GetDlgCtrlID(GetFocus()), ui::ToInt(Id::FindBox));
            MSG escape{GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1, 0, {}};
            EXPECT_TRUE(IsDialogMessageW(hwnd, &escape));
        },
        L"Vorelix.TimelineWindow");
    RECT item{};
    SendMessageW(Control(ui::ControlId::DemoList), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item));
    SendMessageW(Control(ui::ControlId::DemoList), WM_RBUTTONDOWN, MK_RBUTTON,
                 MAKELPARAM(item.left + 3, item.top + 3));
    EXPECT_TRUE(offered);
    EXPECT_TRUE(driver.acted);
    EXPECT_FALSE(driver.forcedClosed) << "Esc closed it";
    EXPECT_NE(utilitiesOwner, nullptr);
    EXPECT_NE(utilitiesOwner, window->Hwnd()) << "the utilities lie over the timeline";
    EXPECT_EQ(chatCurrent, L"Bob :   second \"line\"");
    EXPECT_EQ(chatSelected, (std::vector<std::wstring>{chatCurrent}));
    EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
    EXPECT_EQ(ThreadWindowOfClass(L"Vorelix.TimelineWindow"), nullptr) << "closing discards the window";
}

}  // namespace
}  // namespace vorelix::test
