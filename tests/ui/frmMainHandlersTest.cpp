// The main window's other handlers: the video lists, the about line, the close hook and the text boxes.
#include <string>

#include "MainWindowFixture.h"

namespace vorelix::test {
namespace {

using ui::ControlId;

TEST_F(MainWindowTest, VideoListsSaveTheirIndexOnEveryPick) {
    SendMessageW(Control(ControlId::cboMode), CB_SETCURSEL, 2, 0);
    Notify(ControlId::cboMode, CBN_SELCHANGE);
    EXPECT_EQ(settings.GetString(L"main", L"graphmode", L"<absent>"), L"2");
    SendMessageW(Control(ControlId::cboResolution), CB_SETCURSEL, 7, 0);
    Notify(ControlId::cboResolution, CBN_SELCHANGE);
    EXPECT_EQ(settings.GetString(L"main", L"graphres", L"<absent>"), L"7");
    EXPECT_EQ(settings.GetString(L"main", L"graphmode", L"<absent>"), L"2");
}

TEST_F(MainWindowTest, SettingAnIndexRunsTheHandlerAndAnIndexOutsideTheListWritesNothing) {
    window->SetModeIndex(1);
    window->SetResolutionIndex(4);
    EXPECT_EQ(ListSelection(ControlId::cboMode), 1);
    EXPECT_EQ(ControlText(ControlId::cboMode), L"OpenGL");
    EXPECT_EQ(settings.GetString(L"main", L"graphmode", L"<absent>"), L"1");
    EXPECT_EQ(settings.GetString(L"main", L"graphres", L"<absent>"), L"4");

    window->SetModeIndex(9);
    window->SetResolutionIndex(-3);
    EXPECT_EQ(ListSelection(ControlId::cboMode), -1);
    EXPECT_EQ(ListSelection(ControlId::cboResolution), -1);
    EXPECT_EQ(settings.GetString(L"main", L"graphmode", L"<absent>"), L"1");
    EXPECT_EQ(settings.GetString(L"main", L"graphres", L"<absent>"), L"4");
}

TEST_F(MainWindowTest, ClickingTheAboutLineOpensTheProjectPage) {
    Notify(ControlId::Label5, STN_CLICKED);
    EXPECT_EQ(openedPages, std::vector<std::wstring>{ui::kProjectPage});
    EXPECT_EQ(std::wstring(ui::kProjectPage).rfind(L"https://", 0), 0u);
    EXPECT_TRUE(GetWindowLongW(Control(ControlId::Label5), GWL_STYLE) & SS_NOTIFY)
        << "the label reports clicks";
}

TEST_F(MainWindowTest, TextBoxesTakeWhatStartUpGivesThem) {
    window->SetHLPathText(L"C:\\Games\\Half-Life\\hl.exe");
    window->SetCommandLineText(L"-game cstrike -console -dev");
    EXPECT_EQ(ControlText(ControlId::txtHLPath), L"C:\\Games\\Half-Life\\hl.exe");
    EXPECT_EQ(window->HLPathText(), L"C:\\Games\\Half-Life\\hl.exe");
    EXPECT_EQ(window->CommandLineText(), L"-game cstrike -console -dev");
    window->ShowInfoString(L"Map: de_dust2");
    EXPECT_EQ(ControlText(ControlId::txtInfo), L"Map: de_dust2");
    window->AddPlayer(L"one");
    window->AddPlayer(L"\u0434\u0432\u0430");
    EXPECT_EQ(ListItems(ControlId::lstPlayers), (std::vector<std::wstring>{L"one", L"\u0434\u0432\u0430"}));
    window->ClearPlayers();
    EXPECT_TRUE(ListItems(ControlId::lstPlayers).empty());
}

TEST_F(MainWindowTest, ACloseRequestRunsTheCloseHookThenDestroysTheWindowAndQuits) {
    HWND hwnd = window->Hwnd();
    bool stillThereDuringHook = false;
    window->onClose = [&] { stillThereDuringHook = IsWindow(hwnd) != FALSE; };
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(stillThereDuringHook);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_FALSE(window->IsCreated());
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace vorelix::test
