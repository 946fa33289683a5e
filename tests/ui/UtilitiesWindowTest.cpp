// The utilities window as opened: captions, frames, fonts and first states, and the modal opening from
// the main window.
#include <gtest/gtest.h>

#include <set>

#include "SyntheticDemo.h"
#include "UtilitiesWindowFixture.h"
#include "ui/Dpi.h"

namespace vorelix::test {
namespace {

using Id = ui::UtilitiesControlId;

TEST_F(UtilitiesWindowTest, OpensWithEveryControlInsideItsFrameAndOnlyTheLoadButtonsToBeginWith) {
    Open(MakeDemo(1000));
    HWND hwnd = utilities->Hwnd();
    const UINT dpi = ui::WindowDpi(hwnd);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_EQ(WindowText(hwnd), L"Useful utils");
    EXPECT_EQ((std::vector<long>{client.right, client.bottom}),
              (std::vector<long>{ui::TwipsToPixels(10245, dpi), ui::TwipsToPixels(5355, dpi)}));
    const std::set<Id> frames = {Id::StatsMeFrame, Id::NickFrame, Id::ChatFrame};
    const std::set<Id> disabled = {Id::NickList,          Id::NewNickBox,         Id::OnlySelectedOption,
                                   Id::AllSimilarOption,  Id::SaveNickButton,     Id::ChatList,
                                   Id::EditMessageButton, Id::DeleteMessageButton};
    std::vector<std::wstring> captions;
    RECT frame = client;  // of the controls that follow a frame in id order, until the next frame
    for (int i = ui::ToInt(Id::BackupBox); i <= ui::ToInt(Id::DeleteMessageButton); ++i) {
        const Id id = static_cast<Id>(i);
        SCOPED_TRACE(i);
        captions.push_back(Text(id));
        EXPECT_EQ(Enabled(id), !disabled.contains(id));
        // Frames and push buttons have the bold caption face; all have the same height.
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(Send(id, WM_GETFONT)), sizeof font, &font);
        wchar_t kind[16] = {};
        GetClassNameW(Control(id), kind, 16);
        const auto type = GetWindowLongW(Control(id), GWL_STYLE) & BS_TYPEMASK;
        const bool caption =
            lstrcmpiW(kind, L"Button") == 0 && (type == BS_PUSHBUTTON || type == BS_GROUPBOX);
        EXPECT_EQ(font.lfHeight, ui::FontHeightForPoints(825, dpi));
        EXPECT_EQ(caption ? std::wstring(font.lfFaceName) + L"/" + std::to_wstring(font.lfWeight) : L"",
                  caption ? ui::InstalledFace(L"Tahoma") + L"/700" : L"");
        // Inside its own frame (or the client area), clear of every other frame.
        RECT rect{}, overlap{};
        GetWindowRect(Control(id), &rect);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rect), 2);
        if (frames.contains(id)) frame = rect;
        EXPECT_TRUE(IntersectRect(&overlap, &rect, &frame) && EqualRect(&overlap, &rect));
        for (Id other : frames) {
            RECT outer{};
            GetWindowRect(Control(other), &outer);
            MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&outer), 2);
            EXPECT_TRUE(EqualRect(&outer, &frame) || !IntersectRect(&overlap, &rect, &outer))
                << ui::ToInt(other);
        }
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{
                            L"Make a .bak copy of demo before saving changes", L"Delete StatsMe stats",
                            L"Deletes all inscriptions of StatsMe",
                            L"Deletes all inscriptions such as: xxx made headhot on yyy, statistics etc.",
                            L"Editing nicks used in selected demo", L"", L"", L"Load", L"How to apply?:",
                            L"Only selected", L"All similar", L"Save changes",
                            L"Editing chat messages in demo", L"", L"Load", L"Edit...", L"Delete"}));
    EXPECT_EQ(Send(Id::BackupBox, BM_GETCHECK) + Send(Id::OnlySelectedOption, BM_GETCHECK), BST_UNCHECKED);
    EXPECT_EQ(Send(Id::AllSimilarOption, BM_GETCHECK), BST_CHECKED);
    EXPECT_FALSE(White(Id::NickList) || White(Id::NewNickBox) || White(Id::ChatList)) << "disabled: grey";
    EXPECT_TRUE(GetWindowLongW(Control(Id::ChatList), GWL_STYLE) & LBS_EXTENDEDSEL);
    EXPECT_FALSE(GetWindowLongW(Control(Id::NickList), GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL));
    HWND tip = nullptr;
    while ((tip = FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) &&
           GetWindow(tip, GW_OWNER) != hwnd) {
    }
    wchar_t tipText[64] = {};
    TTTOOLINFOW info{};
    info.cbSize = sizeof info, info.hwnd = hwnd, info.lpszText = tipText;
    info.uId = reinterpret_cast<UINT_PTR>(Control(Id::ChatList));
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(tipText, L"Двойной клик для редактирования");
}

TEST_F(UtilitiesWindowTest, UsefulUtilsOpensAFreshModalWindowWhoseChatListANewDemoSelectionEmpties) {
    WriteFileBytes(dir.Path() / "a.dem", MakeDemo(2000, {{1000,
                                                          "\x02"
                                                          "Ann :   hi\n"}}));
    WriteFileBytes(dir.Path() / "b.dem", MakeDemo(2000));
    ShowFolder(dir.Path());
    ClickDemo(IndexOfDemo(L"a.dem"));
    // Runs from a thread timer, which fires inside the window's modal loop.
    static std::function<void()> inside;
    for (int opening = 0; opening < 2; ++opening) {
        bool ran = false;
        inside = [&] {
            ran = true;
            HWND hwnd = FindWindowW(L"Vorelix.UtilitiesWindow", L"Useful utils");
            ASSERT_NE(hwnd, nullptr);
            EXPECT_EQ(GetWindow(hwnd, GW_OWNER), window->Hwnd());
            EXPECT_FALSE(IsWindowEnabled(window->Hwnd())) << "the main window waits";
            const auto send = [hwnd](Id id, UINT message) {
                return SendMessageW(GetDlgItem(hwnd, ui::ToInt(id)), message, 0, 0);
            };
            EXPECT_EQ(send(Id::BackupBox, BM_GETCHECK) + send(Id::ChatList, LB_GETCOUNT), 0)
                << "fresh at opening " << opening;
            send(Id::BackupBox, BM_CLICK);
            send(Id::LoadChatButton, BM_CLICK);
            EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 1);
            window->SelectDemo(IndexOfDemo(L"b.dem"));
            EXPECT_EQ(send(Id::ChatList, LB_GETCOUNT), 0) << "the chat of a.dem is gone";
            window->SelectDemo(IndexOfDemo(L"a.dem"));
            SendMessageW(hwnd, WM_CLOSE, 0, 0);
        };
        SetTimer(nullptr, 0, 0, [](HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            inside();
        });
        MainWindowTest::Notify(ui::ControlId::UtilsButton, BN_CLICKED);
        EXPECT_TRUE(ran);
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        EXPECT_EQ(FindWindowW(L"Vorelix.UtilitiesWindow", nullptr), nullptr) << "closing discards the window";
    }
}

}  // namespace
}  // namespace vorelix::test
