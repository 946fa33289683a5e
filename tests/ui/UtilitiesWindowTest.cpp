// The utilities window as built and as opened: places, captions, fonts and first states, and the modal
// opening from the main window.
#include <gtest/gtest.h>

#include "MainWindowFixture.h"
#include "SyntheticDemo.h"
#include "UtilitiesWindowFixture.h"
#include "ui/Dpi.h"

namespace vorelix::test {
namespace {

using Id = ui::UtilitiesControlId;

// Twips in the window's client area (frames' corners added), caption, enabled at first, bold caption.
const struct {
    Id id;
    int left, top, width, height;
    const wchar_t* caption;
    bool enabled, bold;
} kPlaces[] = {
    {Id::BackupBox, 210, 210, 3900, 225, L"Make a .bak copy of demo before saving changes", true, false},
    {Id::StatsMeFrame, 105, 630, 4215, 1485, L"Delete StatsMe stats", true, true},
    {Id::DeleteStatsMeButton, 315, 945, 3795, 435, L"Deletes all inscriptions of StatsMe", true, true},
    {Id::StatsMeLabel, 315, 1470, 3900, 435,
     L"Deletes all inscriptions such as: xxx made headhot on yyy, statistics etc.", true, false},
    {Id::NickFrame, 105, 2205, 4215, 3060, L"Editing nicks used in selected demo", true, true},
    {Id::NickList, 210, 2520, 2325, 2010, L"", false, false},
    {Id::NewNickBox, 210, 4725, 2325, 285, L"", false, false},
    {Id::LoadNicksButton, 2730, 2520, 1380, 435, L"Load", true, true},
    {Id::HowToApplyLabel, 2730, 3360, 1275, 225, L"How to apply?:", true, false},
    {Id::OnlySelectedOption, 2730, 3570, 1275, 435, L"Only selected", false, false},
    {Id::AllSimilarOption, 2730, 3885, 1275, 435, L"All similar", false, false},
    {Id::SaveNickButton, 2730, 4620, 1380, 435, L"Save changes", false, true},
    {Id::ChatFrame, 4410, 210, 5685, 5055, L"Editing chat messages in demo", true, true},
    {Id::ChatList, 4620, 525, 5265, 3960, L"", false, false},
    {Id::LoadChatButton, 4620, 4620, 1380, 435, L"Load", true, true},
    {Id::EditMessageButton, 7035, 4620, 1380, 435, L"Edit...", false, true},
    {Id::DeleteMessageButton, 8505, 4620, 1380, 435, L"Delete", false, true},
};

TEST_F(UtilitiesWindowTest, EveryControlSitsWhereTheTwipsTablePutsItInItsFirstState) {
    Open(MakeDemo(1000));
    const UINT dpi = ui::WindowDpi(window->Hwnd());
    const auto px = [dpi](int twips) { return MulDiv(twips, static_cast<int>(dpi), 1440); };
    wchar_t caption[64] = {};
    GetWindowTextW(window->Hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"Useful utils");
    RECT client{};
    GetClientRect(window->Hwnd(), &client);
    EXPECT_EQ((std::vector<long>{client.right, client.bottom}), (std::vector<long>{px(10245), px(5355)}));
    for (const auto& expected : kPlaces) {
        SCOPED_TRACE(ui::ToInt(expected.id));
        EXPECT_EQ(Text(expected.id), expected.caption);
        EXPECT_EQ(Enabled(expected.id), expected.enabled);
        RECT rect{};
        GetWindowRect(Control(expected.id), &rect);
        MapWindowPoints(nullptr, window->Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ((std::vector<long>{rect.left, rect.top, rect.bottom - rect.top}),
                  (std::vector<long>{px(expected.left), px(expected.top), px(expected.height)}));
        // A check box or option may grow right, within its frame, when the face draws its caption wider.
        const bool mayGrow = expected.id == Id::BackupBox || expected.id == Id::OnlySelectedOption ||
                             expected.id == Id::AllSimilarOption;
        EXPECT_TRUE(mayGrow ? rect.right - rect.left >= px(expected.width) && rect.right <= px(4410)
                            : rect.right - rect.left == px(expected.width));
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(Control(expected.id), WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_EQ(font.lfHeight, ui::FontHeightForPoints(825, dpi));
        if (expected.bold) {
            EXPECT_EQ(std::wstring(font.lfFaceName) + L"/" + std::to_wstring(font.lfWeight),
                      ui::InstalledFace(L"Tahoma") + L"/700");
        }
    }
    EXPECT_EQ(Send(Id::BackupBox, BM_GETCHECK) + Send(Id::OnlySelectedOption, BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(Send(Id::AllSimilarOption, BM_GETCHECK), BST_CHECKED);
    EXPECT_FALSE(White(Id::NickList) || White(Id::NewNickBox) || White(Id::ChatList)) << "disabled: grey";
    EXPECT_TRUE(GetWindowLongW(Control(Id::ChatList), GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_FALSE(GetWindowLongW(Control(Id::NickList), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL));
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) &&
           GetWindow(tip, GW_OWNER) != window->Hwnd()) {
    }
    wchar_t tipText[64] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = window->Hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(Control(Id::ChatList));
    info.lpszText = tipText;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(tipText, L"Двойной клик для редактирования");
}

TEST_F(MainWindowTest, UsefulUtilsOpensAFreshModalWindowWhoseChatListANewDemoSelectionEmpties) {
    TempDir folder;
    WriteFileBytes(folder.Path() / "a.dem", MakeDemo(2000, {{1000,
                                                             "\x02"
                                                             "Ann :   hi\n"}}));
    WriteFileBytes(folder.Path() / "b.dem", MakeDemo(2000));
    ShowFolder(folder.Path());
    ClickDemo(IndexOfDemo(L"a.dem"));
    // Runs from a thread timer, which fires inside the window's modal loop.
    static std::function<void()> inside;
    for (int opening = 0; opening < 2; ++opening) {
        bool ran = false;
        inside = [&] {
            ran = true;
            HWND utilities = FindWindowW(L"Vorelix.UtilitiesWindow", L"Useful utils");
            ASSERT_NE(utilities, nullptr);
            EXPECT_EQ(GetWindow(utilities, GW_OWNER), window->Hwnd());
            EXPECT_FALSE(IsWindowEnabled(window->Hwnd())) << "the main window waits";
            const auto send = [utilities](Id id, UINT message) {
                return SendMessageW(GetDlgItem(utilities, ui::ToInt(id)), message, 0, 0);
            };
            EXPECT_EQ(send(Id::BackupBox, BM_GETCHECK), BST_UNCHECKED) << "fresh at opening " << opening;
            EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 0);
            send(Id::BackupBox, BM_CLICK);
            send(Id::LoadChatButton, BM_CLICK);
            EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 1);
            window->SelectDemo(IndexOfDemo(L"b.dem"));
            EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 0) << "the chat of a.dem is gone";
            window->SelectDemo(IndexOfDemo(L"a.dem"));
            SendMessageW(utilities, WM_CLOSE, 0, 0);
        };
        SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            inside();
        });
        Notify(ui::ControlId::UtilsButton, BN_CLICKED);
        EXPECT_TRUE(ran);
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        EXPECT_EQ(FindWindowW(L"Vorelix.UtilitiesWindow", nullptr), nullptr) << "closing discards the window";
    }
}

}  // namespace
}  // namespace vorelix::test
