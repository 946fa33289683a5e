// The config window as built and as left without OK, and the speed box's digits.
#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include "MainWindowFixture.h"
#include "ui/config/ConfigWindow.h"

namespace vorelix::test {
namespace {

using Id = ui::ConfigControlId;

TEST_F(MainWindowTest, TheConfigWindowIsOwnedHiddenUntilAskedAndLaidOutByTheRulesAtEveryDpi) {
    auto& configs = window->ConfigSelection();
    EXPECT_FALSE(IsWindowVisible(configs.Hwnd()));
    EXPECT_EQ(GetWindow(configs.Hwnd(), GW_OWNER), window->Hwnd());
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(configs.ControlHwnd(Id::ConfigList)) & LVS_EX_CHECKBOXES);
    ExpectLaidOut(configs.Hwnd(), {120u, 192u, 96u});
}

TEST_F(MainWindowTest, TheConfigWindowsCloseBoxAndEscHideItKeepingTheChecksAndSavingNothing) {
    auto& configs = window->ConfigSelection();
    configs.SetConfigs({{L"a.cfg", false}, {L"my_config.cfg", true}, {L"z.cfg", false}});
    bool changed = false;
    for (HWND leaveBy : {configs.Hwnd(), configs.ControlHwnd(Id::ConfigList)}) {
        changed = !changed;
        ListView_SetCheckState(configs.ControlHwnd(Id::ConfigList), 2, changed);
        configs.SetUseAutoexec(changed);
        // The close box on the window, Esc in the list.
        PostMessageW(leaveBy, leaveBy == configs.Hwnd() ? WM_CLOSE : WM_KEYDOWN, VK_ESCAPE, 0);
        Notify(Control(ui::ControlId::SelectConfigButton), BN_CLICKED);

        EXPECT_FALSE(IsWindowVisible(configs.Hwnd()));
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        EXPECT_EQ(configs.Configs(), (std::vector<launch::ConfigEntry>{
                                         {L"a.cfg", false}, {L"my_config.cfg", true}, {L"z.cfg", changed}}));
        EXPECT_EQ(configs.UseAutoexec(), changed);
    }
    EXPECT_FALSE(std::filesystem::exists(programFolder / "configs.ini"));
    EXPECT_EQ(Setting(L"CooMMon", L"UseAutoexec"), L"<absent>");
}

TEST_F(MainWindowTest, TheSpeedBoxTakesAtMostThreeDigits) {
    HWND speed = Control(ui::ControlId::SpeedBox);
    SetWindowTextW(speed, L"");
    for (wchar_t typed : std::wstring(L"5x-0.72")) SendMessageW(speed, WM_CHAR, typed, 0);
    EXPECT_EQ(Text(speed), L"507");
    // Text put in as a paste puts it, which the box's own digit rule lets through: only its digits stay.
    SetWindowTextW(speed, L"");
    SendMessageW(speed, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"1a2"));
    EXPECT_EQ(Text(speed), L"12");
}

}  // namespace
}  // namespace vorelix::test
