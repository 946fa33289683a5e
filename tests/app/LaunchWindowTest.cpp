// Launches from the real main window under Wine: what PlayDemo and ViewDemo gather from the controls and
// the config window reaches the stand-in game, whose record is compared byte for byte; the wait window
// over a copy; the messages of a launch that cannot be made.
#include <gtest/gtest.h>
#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include "StandInGame.h"
#include "MainWindowFixture.h"
#include "StandInRecord.h"
#include "SyntheticDemo.h"
#include "app/Startup.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "ui/base/WaitWindow.h"

namespace vorelix::test {
namespace {

using platform::WideToUtf8;
using ui::ControlId;

// What the user sees of the wait window at each move of its progress bar, noted from inside the copy:
// the bar's position, and whether the window is up and painted ("Please wait..." in dark red) over a
// main window that takes no input.
std::vector<std::pair<int, bool>> waitSights;
HWND watchedMain = nullptr;

bool ShowsDarkRed(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    HDC hdc = GetDC(control);
    bool found = false;
    for (int i = 0; i < client.right * client.bottom && !found; ++i) {
        const COLORREF pixel = GetPixel(hdc, i % client.right, i / client.right);
        found = GetRValue(pixel) > GetGValue(pixel) + 40 && GetRValue(pixel) > GetBValue(pixel) + 40;
    }
    ReleaseDC(control, hdc);
    return found;
}

LRESULT CALLBACK WatchWaitWindow(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == PBM_SETPOS) {
        HWND wait = GetParent(sent->hwnd);
        waitSights.emplace_back(
            static_cast<int>(sent->wParam),
            IsWindowVisible(wait) && !IsWindowEnabled(watchedMain) &&
                ShowsDarkRed(GetDlgItem(wait, static_cast<int>(ui::WaitControlId::Message))));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class LaunchWindowTest : public MainWindowTest {
  protected:
    // Start-up as the next run of the program does it, in a new main window; a demo named on the
    // command line is selected.
    void Start(const std::filesystem::path& demo = {}, bool hlExeChosen = true) {
        Restart();
        settings.SetString(L"main", L"firstrun", L"0");
        if (hlExeChosen) settings.SetString(L"CooMMon", L"HLEXEPath", game.HlExe().wstring());
        app::RunStartup(*window, {settings, prompter, {}, demo.wstring(), {}});
    }
    // Presses PlayDemo or ViewDemo: the stand-in's record, or none when the launch stopped with a box.
    std::optional<StandInRecord> Press(ControlId button) {
        const auto boxes = prompter.messages.size();
        waitSights.clear();
        watchedMain = window->Hwnd();
        auto watch = game.ExpectGame();
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchWaitWindow, nullptr, GetCurrentThreadId());
        Notify(Control(button), BN_CLICKED);
        UnhookWindowsHookEx(hook);
        EXPECT_TRUE(IsWindowEnabled(window->Hwnd()));
        EXPECT_EQ(ThreadWindowOfClass(L"Vorelix.WaitWindow"), nullptr);
        if (prompter.messages.size() > boxes) return std::nullopt;
        return watch.Wait();
    }
    // Checks or unchecks entries of the config window's list and its box, then presses OK in it.
    void ChooseConfigs(std::initializer_list<std::pair<int, bool>> checks, bool useAutoexec) {
        auto& configs = window->ConfigSelection();
        for (const auto& [index, checked] : checks) {
            ListView_SetCheckState(configs.ControlHwnd(ui::ConfigControlId::ConfigList), index, checked);
        }
        SendMessageW(configs.ControlHwnd(ui::ConfigControlId::UseAutoexecBox), BM_SETCHECK, useAutoexec, 0);
        PostMessageW(configs.ControlHwnd(ui::ConfigControlId::OkButton), BM_CLICK, 0, 0);
        Notify(Control(ControlId::SelectConfigButton), BN_CLICKED);
        EXPECT_FALSE(IsWindowVisible(configs.Hwnd()));
    }
    std::string Started(const std::wstring& parameters) const {
        return WideToUtf8(L"\"" + game.HlExe().wstring() + L"\" " + parameters);
    }
    std::string ConfigsIni() const { return ReadFileBytes(programFolder / "configs.ini"); }
    // Whether autoexec.cfg and autoexec.cfg_old are in the mod folder now.
    std::string Autoexec() const {
        return std::string(std::filesystem::exists(game.Mod() / L"autoexec.cfg") ? "yes" : "no") +
               (std::filesystem::exists(game.Mod() / L"autoexec.cfg_old") ? "yes" : "no");
    }

    StandInGame game;
};

TEST_F(LaunchWindowTest, PlayDemoLaunchesWhatTheControlsHoldWithTheWaitWindowOverTheCopyOfTheDemo) {
    const auto demo = game.Write(L"Demos\\final match.dem", MakeDemo(3'500'000));
    Start(demo);
    Pick(Control(ControlId::RendererBox), 2);
    window->SetCommandLineText(L"-game cstrike  -dev");
    const auto record = Press(ControlId::PlayDemoButton);
    ASSERT_TRUE(record.has_value());
    const StandInRecord expected{
        {"command line", Started(L"-game cstrike  -dev -toconsole  +exec vorelix.cfg")},
        {"EngineModeW", RecordedDword(1024)},
        {"EngineModeH", RecordedDword(768)},
        {"EngineType", RecordedDword(3)},
        {"vorelix.cfg", Hex("playdemo \"vorelix.dem\"\r\n")},
        {"vorelix.dem", DigestOf(demo)}};
    for (const auto& [name, value] : expected) EXPECT_EQ(record->at(name), value) << name;
    ASSERT_GE(waitSights.size(), 3u) << "the bar moves a chunk at a time";
    for (const auto& [position, seen] : waitSights) EXPECT_TRUE(seen) << position;
    EXPECT_EQ(waitSights.back().first, 1000);

    app::RunShutdown(*window, settings);
    EXPECT_EQ(Autoexec(), "yesno") << "shutdown gives autoexec.cfg back";
}

TEST_F(LaunchWindowTest, ConfigsAndTheAutoexecBoxChosenInTheWindowAreKeptByOkForTheNextRunsAndLaunched) {
    // The mod folder holds a.cfg, autoexec.cfg, b.cfg and "my config.cfg".
    const auto demo = game.Write(L"Half Life Игра\\cstrike\\own.dem", MakeDemo(500));
    Start(demo);
    auto record = Press(ControlId::PlayDemoButton).value();
    EXPECT_EQ(record["autoexec.cfg"] + record["autoexec.cfg_old"], "noyes") << "off out of the box";
    EXPECT_TRUE(waitSights.empty()) << "a demo of the mod folder is not copied";

    // b.cfg and "my config.cfg" checked, the box too: OK keeps them and gives autoexec.cfg back at once.
    ChooseConfigs({{2, true}, {3, true}}, true);
    EXPECT_EQ(ConfigsIni() + WideToUtf8(Setting(L"CooMMon", L"UseAutoexec")) + Autoexec(),
              "b.cfg\r\nmy config.cfg\r\n\r\n1yesno");
    Start(demo);  // the next run of the program starts with them
    record = Press(ControlId::ViewDemoButton).value();
    EXPECT_EQ(
        record["command line"],
        Started(L"-game cstrike -console -toconsole  +exec b.cfg +exec my config.cfg +exec vorelix.cfg"));
    EXPECT_EQ(record["vorelix.cfg"], Hex("viewdemo \"own.dem\"\r\n"));
    EXPECT_EQ(record["autoexec.cfg"] + record["autoexec.cfg_old"], "yesno");

    // Only a.cfg checked and the box off, where configs.ini cannot be written: told, and the choice still
    // applies to this run; autoexec.cfg stays until the launch switches it off.
    std::filesystem::remove(programFolder / "configs.ini");
    std::filesystem::create_directory(programFolder / "configs.ini");
    const auto [text, title, icon] = Told([&] { ChooseConfigs({{0, true}, {2, false}, {3, false}}, false); });
    EXPECT_NE(text.find(platform::SystemErrorText(ERROR_ACCESS_DENIED)), std::wstring::npos);
    EXPECT_EQ(icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(WideToUtf8(Setting(L"CooMMon", L"UseAutoexec")) + Autoexec(), "0yesno");
    record = Press(ControlId::PlayDemoButton).value();
    EXPECT_EQ(record["command line"],
              Started(L"-game cstrike -console -toconsole  +exec a.cfg +exec vorelix.cfg"));
    EXPECT_EQ(record["autoexec.cfg"] + record["autoexec.cfg_old"], "noyes");
}

TEST_F(LaunchWindowTest, BrowsingKeepsTheChosenHlExeAndReloadsTheDemoAndConfigLists) {
    WriteFileBytes(programFolder / "configs.ini", "b.cfg\r\n");
    MakeFiles(game.Demos(), {L"a.dem"});
    Start({}, /*hlExeChosen=*/false);
    ShowFolder(game.Demos());
    MakeFiles(game.Demos(), {L"b.dem"});

    hlExeChoices = {L"", game.HlExe().wstring()};
    Notify(Control(ControlId::BrowseHlExeButton), BN_CLICKED);  // cancelled
    EXPECT_EQ(Setting(L"CooMMon", L"HLEXEPath") + window->HLPathText(), L"<absent>");
    EXPECT_TRUE(window->ConfigSelection().Configs().empty());
    Notify(Control(ControlId::BrowseHlExeButton), BN_CLICKED);
    EXPECT_EQ(Setting(L"CooMMon", L"HLEXEPath") + L"|" + window->HLPathText(),
              game.HlExe().wstring() + L"|" + game.HlExe().wstring());
    EXPECT_EQ(Items(Control(ControlId::DemoList)), (std::vector<std::wstring>{L"a.dem", L"b.dem"}));
    const std::vector<launch::ConfigEntry> listed{
        {L"a.cfg", false}, {L"autoexec.cfg", false}, {L"b.cfg", true}, {L"my config.cfg", false}};
    EXPECT_EQ(window->ConfigSelection().Configs(), listed);

    // An hl.exe outside a game folder is kept too; the list keeps what it had, which OK would save.
    const auto elsewhere = game.Write(L"Other\\hl.exe", "x");
    hlExeChoices = {elsewhere.wstring()};
    Notify(Control(ControlId::BrowseHlExeButton), BN_CLICKED);
    EXPECT_EQ(Setting(L"CooMMon", L"HLEXEPath"), elsewhere.wstring());
    EXPECT_EQ(window->ConfigSelection().Configs(), listed);
}

// Why a launch stops is the plan's (tests/launch); the window tells it with the title it comes with.
TEST_F(LaunchWindowTest, WhatCannotBeLaunchedIsToldWithTheTitleItComesWith) {
    const auto demo = game.Write(L"Demos\\d.dem", MakeDemo(1000));
    Start(demo);
    window->SetHLPathText((game.Root() / L"gone\\hl.exe").wstring());
    const auto [text, title, icon] =
        Told([&] { EXPECT_FALSE(Press(ControlId::PlayDemoButton).has_value()); });
    EXPECT_NE(text.find(L"The path to hl.exe is not specified! Please specify it!"), std::wstring::npos);
    EXPECT_EQ((Box{L"", title, icon}), (Box{L"", L"Where is HL.EXE", ui::MessageIcon::Exclamation}));
}

}  // namespace
}  // namespace vorelix::test
