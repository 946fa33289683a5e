// Launches from the real main window under Wine: what PlayDemo and ViewDemo gather from the controls and
// the config window reaches the stand-in game, whose record is compared byte for byte; the wait window
// over a copy, requests and a close arriving during it; autoexec.cfg given back after a run that could
// not; config names the command line cannot carry; the messages of a launch that cannot be made.
#include <gtest/gtest.h>
#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>

#include <functional>
#include <set>

#include "MainWindowFixture.h"
#include "StandInGame.h"
#include "StandInRecord.h"
#include "SyntheticDemo.h"
#include "app/Startup.h"
#include "launch/LaunchPlan.h"
#include "platform/files/NewFile.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "ui/base/WaitWindow.h"

namespace vorelix::test {
namespace {

using platform::WideToUtf8;
using ui::ControlId;

// What the user sees of the wait window at each move of its progress bar, noted from inside the copy:
// the bar's position, and whether the window is up and painted ("Please wait..." in dark red). Which
// wait windows were seen, and what a test does at the copy's first move.
std::vector<std::pair<int, bool>> waitSights;
std::set<HWND> waitWindows;
std::function<void()> atFirstProgress;

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
        waitWindows.insert(wait);
        waitSights.emplace_back(
            static_cast<int>(sent->wParam),
            IsWindowVisible(wait) &&
                ShowsDarkRed(GetDlgItem(wait, static_cast<int>(ui::WaitControlId::Message))));
        if (waitSights.size() == 1 && atFirstProgress) atFirstProgress();
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
    // Presses PlayDemo or ViewDemo: the stand-in's record, or none when the launch stopped with a box
    // (beyond the `asked` questions it was expected to ask).
    std::optional<StandInRecord> Press(ControlId button, std::size_t asked = 0) {
        const auto boxes = prompter.messages.size();
        auto watch = game.ExpectGame();
        Click(button);
        if (prompter.messages.size() > boxes + asked) return std::nullopt;
        return watch.Wait();
    }
    // Presses the button with the wait window watched; whatever the launch did, its window is gone.
    void Click(ControlId button) {
        waitSights.clear();
        waitWindows.clear();
        HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &WatchWaitWindow, nullptr, GetCurrentThreadId());
        Notify(Control(button), BN_CLICKED);
        UnhookWindowsHookEx(hook);
        atFirstProgress = nullptr;
        EXPECT_EQ(ThreadWindowOfClass(L"Vorelix.WaitWindow"), nullptr);
    }
    // Handles what waits in the thread's queue, as the message loop would next.
    static void HandleQueued() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
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

    app::RunShutdown(*window, settings, &prompter);
    EXPECT_EQ(Autoexec(), "yesno") << "shutdown gives autoexec.cfg back";
}

TEST_F(LaunchWindowTest, ConfigsAndTheAutoexecBoxChosenInTheWindowAreKeptByOkForTheNextRunsAndLaunched) {
    // The mod folder holds a.cfg, autoexec.cfg, b.cfg and "my config.cfg".
    const auto demo = game.Write(L"Half Life Игра\\cstrike\\own.dem", MakeDemo(500));
    Start(demo);
    auto record = Press(ControlId::PlayDemoButton).value();
    EXPECT_EQ(record["autoexec.cfg"] + record["autoexec.cfg_old"], "noyes") << "off out of the box";
    EXPECT_TRUE(waitSights.empty()) << "a demo of the mod folder is not copied";

    // a.cfg and b.cfg checked, the box too: OK keeps them and gives autoexec.cfg back at once.
    ChooseConfigs({{0, true}, {2, true}}, true);
    EXPECT_EQ(ConfigsIni() + WideToUtf8(Setting(L"CooMMon", L"UseAutoexec")) + Autoexec(),
              "a.cfg\r\nb.cfg\r\n\r\n1yesno");
    Start(demo);  // the next run of the program starts with them
    record = Press(ControlId::ViewDemoButton).value();
    EXPECT_EQ(record["command line"],
              Started(L"-game cstrike -console -toconsole  +exec a.cfg +exec b.cfg +exec vorelix.cfg"));
    EXPECT_EQ(record["vorelix.cfg"], Hex("viewdemo \"own.dem\"\r\n"));
    EXPECT_EQ(record["autoexec.cfg"] + record["autoexec.cfg_old"], "yesno");

    // Only a.cfg checked and the box off, where configs.ini cannot be written: told, and the choice still
    // applies to this run; autoexec.cfg stays until the launch switches it off.
    std::filesystem::remove(programFolder / "configs.ini");
    std::filesystem::create_directory(programFolder / "configs.ini");
    const auto [text, title, icon] = Told([&] { ChooseConfigs({{2, false}}, false); });
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

TEST_F(LaunchWindowTest,
       AutoexecLeftRenamedByARunThatCouldNotCloseIsGivenBackAtTheNextStartAndAtTheSessionsEnd) {
    const auto demo = game.Write(L"Half Life Игра\\cstrike\\own.dem", MakeDemo(500));
    Start(demo);
    EXPECT_EQ(Press(ControlId::PlayDemoButton).value()["autoexec.cfg"], "no");
    Restart();  // the program is killed: no close request, no shutdown
    EXPECT_EQ(Autoexec(), "noyes");
    Start(demo);
    EXPECT_EQ(Autoexec() + WideToUtf8(Setting(L"CooMMon", L"AutoexecRenamedIn")), "yesno");

    // The session ends (a logoff): no close request comes, and nothing is asked.
    app::ConnectShutdown(*window, settings, prompter);
    EXPECT_EQ(Press(ControlId::PlayDemoButton).value()["autoexec.cfg"], "no");
    window->SetCommandLineText(L"-game cstrike -dev");
    EXPECT_EQ(SendMessageW(window->Hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(window->Hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(Autoexec() + WideToUtf8(Setting(L"CooMMon", L"AutoexecRenamedIn") + L"|" +
                                      Setting(L"CooMMon", L"CommandLine")),
              "yesno|-game cstrike -dev");
}

TEST_F(LaunchWindowTest, AnAutoexecMadeWhileTheUsersOwnLayRenamedKeepsBothAndTheUserIsToldWhichIsTheirs) {
    const auto demo = game.Write(L"Half Life Игра\\cstrike\\own.dem", MakeDemo(500));
    Start(demo);
    app::ConnectShutdown(*window, settings, prompter);
    ASSERT_TRUE(Press(ControlId::PlayDemoButton).has_value());
    game.Write(L"Half Life Игра\\cstrike\\autoexec.cfg", "made meanwhile");
    // At the session's end no one can be told: the folder stays noted.
    SendMessageW(window->Hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(Setting(L"CooMMon", L"AutoexecRenamedIn"), game.Mod().wstring());

    const auto [text, title, icon] = Told([&] { Start(demo); });
    for (const std::wstring& part :
         {L"Both autoexec.cfg and autoexec.cfg_old are in \"" + game.Mod().wstring() + L"\"",
          std::wstring(L"autoexec.cfg_old is your own autoexec.cfg")})
        EXPECT_NE(text.find(part), std::wstring::npos) << text;
    EXPECT_EQ((Box{L"", title, icon}), (Box{L"", ui::kProgramTitle, ui::MessageIcon::Exclamation}));
    EXPECT_EQ(
        ReadFileBytes(game.Mod() / L"autoexec.cfg") + "|" + ReadFileBytes(game.Mod() / L"autoexec.cfg_old"),
        "made meanwhile|// stand-in file\r\n");
    // Told once: the close that follows says nothing more.
    SendMessageW(window->Hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Setting(L"CooMMon", L"AutoexecRenamedIn"), L"");
}

TEST_F(LaunchWindowTest, RequestsDuringALaunchAreIgnoredAndTheDemoOfAGameItStartedIsNotCopiedOver) {
    const auto demo = game.Write(L"Demos\\big.dem", MakeDemo(8'000'000));
    const auto other = game.Write(L"Demos\\other.dem", MakeDemo(2'000'000));
    Start(demo);
    // While the first chunk is shown: clicks queued by the system for PlayDemo, and both buttons' clicks
    // posted as their notifications.
    atFirstProgress = [this] {
        for (ControlId button : {ControlId::PlayDemoButton, ControlId::ViewDemoButton}) {
            PostMessageW(Control(button), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            PostMessageW(Control(button), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            PostMessageW(window->Hwnd(), WM_COMMAND, MAKEWPARAM(ui::ToInt(button), BN_CLICKED),
                         reinterpret_cast<LPARAM>(Control(button)));
        }
    };
    {
        auto running = game.ExpectGame(/*holdDemo=*/true);
        Click(ControlId::PlayDemoButton);
        const auto record = running.Wait();
        ASSERT_TRUE(record.has_value());
        HandleQueued();
        EXPECT_EQ(waitWindows.size(), 1u) << "one copy, no second launch inside it";
        EXPECT_EQ(record->at("vorelix.cfg"), Hex("playdemo \"vorelix.dem\"\r\n"));
        EXPECT_EQ(record->at("vorelix.dem"), DigestOf(demo));
        EXPECT_TRUE(prompter.messages.empty());

        // The game runs on the staged demo: another demo is not copied over it.
        PickDemo(L"other.dem");
        const auto [text, title, icon] = Told([&] { Click(ControlId::ViewDemoButton); });
        EXPECT_EQ(text, launch::StagedDemoInUse({L"", (game.Mod() / L"vorelix.dem").wstring()}).text);
        EXPECT_TRUE(waitWindows.empty());
        EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(demo));
    }  // the game ends
    const auto record = Press(ControlId::ViewDemoButton);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->at("vorelix.dem"), DigestOf(other));
}

TEST_F(LaunchWindowTest,
       ClosingDuringTheCopyAsksWhetherToStopGoOnKeepsTheProgramOpenStopStartsNothingAndCloses) {
    const auto first = game.Write(L"Demos\\first.dem", MakeDemo(8'000'000));
    const auto second = game.Write(L"Demos\\second.dem", MakeDemo(8'000'000, "de_nuke"));
    Start(first);
    app::ConnectShutdown(*window, settings, prompter);
    HWND main = window->Hwnd();
    atFirstProgress = [main] { PostMessageW(main, WM_CLOSE, 0, 0); };
    prompter.QueueAnswer(ui::Answer::No);
    const auto record = Press(ControlId::PlayDemoButton, /*asked=*/1);
    ASSERT_TRUE(record.has_value());
    const auto& asked = prompter.messages.back();
    EXPECT_NE(asked.text.find(L"Stop the launch and close Vorelix?"), std::wstring::npos);
    EXPECT_EQ(asked.buttons, ui::MessageButtons::YesNo);
    EXPECT_EQ(record->at("vorelix.dem") + record->at("autoexec.cfg"), DigestOf(first) + "no");
    HandleQueued();
    EXPECT_TRUE(IsWindow(main));
    EXPECT_EQ(Autoexec(), "noyes") << "the switch holds while the program stays open";

    PickDemo(L"second.dem");
    const auto config = ReadFileBytes(game.Mod() / L"vorelix.cfg");
    atFirstProgress = [main] { PostMessageW(main, WM_CLOSE, 0, 0); };
    prompter.QueueAnswer(ui::Answer::Yes);
    Click(ControlId::PlayDemoButton);
    EXPECT_EQ(prompter.messages.size(), 2u) << "the question, and no word of the stop";
    EXPECT_EQ(ReadFileBytes(game.Mod() / L"vorelix.cfg"), config) << "no config written, no game started";
    EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(first));
    for (const auto& entry : std::filesystem::directory_iterator(game.Mod()))
        EXPECT_FALSE(platform::IsStagingName(entry.path().filename())) << entry.path();
    HandleQueued();  // the close the question asked for
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(Autoexec(), "yesno");
}

TEST_F(LaunchWindowTest, AConfigNameTheCommandLineCannotCarryIsNeitherCheckedNorLaunched) {
    // The mod folder holds a.cfg, autoexec.cfg, b.cfg and "my config.cfg".
    WriteFileBytes(programFolder / "configs.ini", "my config.cfg\r\nb.cfg\r\n");
    const auto demo = game.Write(L"Half Life Игра\\cstrike\\own.dem", MakeDemo(500));
    auto [text, title, icon] = Told([&] { Start(demo); });
    EXPECT_NE(text.find(L"configs.ini names configs that the game's command line cannot carry"),
              std::wstring::npos);
    EXPECT_NE(text.find(L"\r\n    my config.cfg\r\n"), std::wstring::npos) << text;
    const std::vector<launch::ConfigEntry> loaded{
        {L"a.cfg", false}, {L"autoexec.cfg", false}, {L"b.cfg", true}, {L"my config.cfg", false}};
    EXPECT_EQ(window->ConfigSelection().Configs(), loaded);

    HWND list = window->ConfigSelection().ControlHwnd(ui::ConfigControlId::ConfigList);
    std::tie(text, title, icon) = Told([&] { ListView_SetCheckState(list, 3, TRUE); });
    EXPECT_NE(text.find(L"\"my config.cfg\" cannot be checked: its name holds a blank"), std::wstring::npos)
        << text;
    EXPECT_EQ(icon, ui::MessageIcon::Exclamation);
    EXPECT_EQ(window->ConfigSelection().Configs(), loaded);

    EXPECT_EQ(Press(ControlId::PlayDemoButton).value()["command line"],
              Started(L"-game cstrike -console -toconsole  +exec b.cfg +exec vorelix.cfg"));
}

}  // namespace
}  // namespace vorelix::test
