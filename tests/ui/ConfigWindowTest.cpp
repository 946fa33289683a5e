// The config window as built and as left without OK, and the speed box's digits.
#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include <filesystem>

#include "MainWindowFixture.h"
#include "ui/ConfigWindow.h"
#include "ui/Dpi.h"

namespace vorelix::test {
namespace {

using Id = ui::ConfigControlId;

TEST_F(MainWindowTest, TheConfigWindowIsLaidOutFromItsTwipsAndHiddenUntilAsked) {
    auto& configs = window->ConfigSelection();
    EXPECT_FALSE(IsWindowVisible(configs.Hwnd()));
    EXPECT_EQ(GetWindow(configs.Hwnd(), GW_OWNER), window->Hwnd());
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(configs.ControlHwnd(Id::ConfigList)) & LVS_EX_CHECKBOXES);
    const UINT dpi = ui::WindowDpi(configs.Hwnd());
    RECT place{};
    GetClientRect(configs.Hwnd(), &place);
    EXPECT_EQ(place.right, ui::TwipsToPixels(3900, dpi));
    EXPECT_EQ(place.bottom, ui::TwipsToPixels(3285, dpi));
    // Left and top in the client area (the frame's corner added to what it holds), and bold or not.
    const std::tuple<Id, int, int, bool> places[] = {{Id::ConfigFrame, 105, 105, true},
                                                     {Id::ListLabel, 315, 420, false},
                                                     {Id::ConfigList, 315, 735, false},
                                                     {Id::UseAutoexecBox, 315, 2205, false},
                                                     {Id::OkButton, 2415, 2730, true}};
    for (const auto& [id, left, top, bold] : places) {
        GetWindowRect(configs.ControlHwnd(id), &place);
        MapWindowPoints(nullptr, configs.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(configs.ControlHwnd(id), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_EQ(
            std::tuple(place.left, place.top, font.lfWeight),
            std::tuple(ui::TwipsToPixels(left, dpi), ui::TwipsToPixels(top, dpi), bold ? FW_BOLD : FW_NORMAL))
            << ToInt(id);
    }
}

TEST_F(MainWindowTest, TheConfigWindowsCloseBoxAndEscHideItKeepingTheChecksAndSavingNothing) {
    auto& configs = window->ConfigSelection();
    configs.SetConfigs({{L"a.cfg", false}, {L"my config.cfg", true}, {L"z.cfg", false}});
    bool changed = false;
    for (HWND leaveBy : {configs.Hwnd(), configs.ControlHwnd(Id::ConfigList)}) {
        changed = !changed;
        ListView_SetCheckState(configs.ControlHwnd(Id::ConfigList), 2, changed);
        configs.SetUseAutoexec(changed);
        // The close box on the window, Esc in the list.
        PostMessageW(leaveBy, leaveBy == configs.Hwnd() ? WM_CLOSE : WM_KEYDOWN, VK_ESCAPE, 0);
        Notify(ui::ControlId::SelectConfigButton, BN_CLICKED);

        EXPECT_FALSE(IsWindowVisible(configs.Hwnd()));
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        RECT shown{}, owner{};
        GetWindowRect(configs.Hwnd(), &shown);
        GetWindowRect(window->Hwnd(), &owner);
        EXPECT_NEAR(shown.left + shown.right, owner.left + owner.right, 2) << "it was shown centred";
        const std::vector<launch::ConfigEntry> kept{
            {L"a.cfg", false}, {L"my config.cfg", true}, {L"z.cfg", changed}};
        EXPECT_EQ(configs.Configs(), kept);
        EXPECT_EQ(configs.UseAutoexec(), changed);
    }
    EXPECT_FALSE(std::filesystem::exists(programFolder / "configs.ini"));
    EXPECT_EQ(settings.GetString(L"CooMMon", L"UseAutoexec", L"<absent>"), L"<absent>");
}

TEST_F(MainWindowTest, TheSpeedBoxTakesAtMostThreeDigits) {
    HWND speed = Control(ui::ControlId::SpeedBox);
    SetWindowTextW(speed, L"");
    for (wchar_t typed : std::wstring(L"5x-0.72")) SendMessageW(speed, WM_CHAR, typed, 0);
    EXPECT_EQ(ControlText(ui::ControlId::SpeedBox), L"507");
    // Text put in as a paste puts it, which the box's own digit rule lets through: only its digits stay.
    SetWindowTextW(speed, L"");
    SendMessageW(speed, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"1a2"));
    EXPECT_EQ(ControlText(ui::ControlId::SpeedBox), L"12");
}

}  // namespace
}  // namespace vorelix::test
