// Tests of the launch decisions: the plan, the video settings, the speed factor and the game folder.
#include <gtest/gtest.h>

#include <set>

#include "FakeSystem.h"
#include "launch/GameFolder.h"
#include "launch/LaunchPlan.h"
#include "launch/SpeedFactor.h"
#include "launch/VideoSettings.h"

namespace vorelix::launch {
namespace {

const std::wstring kGame = L"C:\\Games\\Half-Life";

// A Half-Life folder, its cstrike folder with cached.wad, and a demo in another folder.
std::set<std::wstring> Installed() {
    return {kGame + L"\\hl.exe",
            kGame + L"\\hw.dll",
            kGame + L"\\cstrike",
            kGame + L"\\cstrike\\cached.wad",
            kGame + L"\\cstrike\\é demo.dem",
            L"D:\\Demos\\final.dem"};
}

LaunchInputs StagedInputs() {
    LaunchInputs in;
    in.hlExePath = kGame + L"\\hl.exe";
    in.renderer = L"OpenGL";
    in.resolution = L"1024x768";
    in.configs = {{L"a.cfg", true}, {L"b.cfg", false}, {L"my config.cfg", true}};
    in.commandLine = L"-game cstrike -console";
    in.speed = L"100";
    in.demoFolder = L"D:\\Demos";
    in.selectedDemo = L"final.dem";
    in.selectedDemoPath = L"D:\\Demos\\final.dem";
    return in;
}

TEST(PlanLaunch, StagesADemoFromElsewhereAndNamesAModFolderDemoByItsOwnName) {
    const auto system = test::FakeSystem(Installed());
    LaunchPlan staged;
    staged.videoSettings = {RegistryDWord{L"EngineModeW", 1024}, {L"EngineModeH", 768}, {L"EngineType", 2}};
    staged.renameAutoexec = true;
    staged.stagedDemo = StagedDemo{L"D:\\Demos\\final.dem", kGame + L"\\cstrike\\vorelix.dem"};
    staged.configPath = kGame + L"\\cstrike\\vorelix.cfg";
    staged.configLine = L"playdemo \"vorelix.dem\"";
    staged.configBytes = "playdemo \"vorelix.dem\"\r\n";
    staged.hlExePath = kGame + L"\\hl.exe";
    staged.parameters =
        L"-game cstrike -console -toconsole  +exec a.cfg +exec my config.cfg +exec vorelix.cfg";
    staged.workingFolder = staged.gameFolder = kGame;
    staged.modFolder = kGame + L"\\cstrike";
    staged.speedFactor = L"1";
    EXPECT_EQ(std::get<LaunchPlan>(PlanLaunch(StagedInputs(), system)), staged);

    // In the mod folder: no copy, the demo's own name in the code page; blanks of the command line kept.
    auto in = StagedInputs();
    in.command = DemoCommand::ViewDemo;
    in.demoFolder = kGame + L"\\cstrike";
    in.selectedDemo = L"é demo.dem";
    in.selectedDemoPath = in.demoFolder + L"\\é demo.dem";
    in.configs = {{L"a.cfg", false}};
    in.useAutoexec = true;
    in.commandLine = L"  -game cstrike ";
    in.renderer = L"Software";
    in.speed = L"50";
    auto mod = staged;
    mod.videoSettings[2].value = 1;
    mod.renameAutoexec = false;
    mod.stagedDemo.reset();
    mod.configLine = L"viewdemo \"é demo.dem\"";
    mod.configBytes = "viewdemo \"\xE9 demo.dem\"\r\n";
    mod.parameters = L"  -game cstrike  -toconsole  +exec vorelix.cfg";
    mod.speedFactor = L"0.5";
    EXPECT_EQ(std::get<LaunchPlan>(PlanLaunch(in, system)), mod);
}

TEST(PlanLaunch, StopsBeforeAnythingWithAMessageNamingWhatIsMissing) {
    struct Case {
        const char* what;
        void (*change)(LaunchInputs&, std::set<std::wstring>&);
        std::wstring expected;  // a part of the message
    };
    const Case cases[] = {
        {"no hl.exe", [](LaunchInputs& in, auto&) { in.hlExePath = L""; },
         L"The path to hl.exe is not specified! Please specify it!"},
        {"vanished hl.exe", [](LaunchInputs&, auto& files) { files.erase(kGame + L"\\hl.exe"); },
         L"The path to hl.exe is not specified! Please specify it!"},
        {"no hw.dll", [](LaunchInputs&, auto& files) { files.erase(kGame + L"\\hw.dll"); },
         L"\"" + kGame + L"\" has no hw.dll."},
        {"other exe",
         [](LaunchInputs& in, auto& files) {
             files.erase(kGame + L"\\hl.exe"), files.insert(in.hlExePath = kGame + L"\\x.exe");
         },
         L"has no hl.exe."},
        {"no cstrike", [](LaunchInputs&, auto& files) { files.erase(kGame + L"\\cstrike"); },
         L"has no cstrike folder"},
        {"no selection",
         [](LaunchInputs& in, auto&) { in.selectedDemo = L"", in.selectedDemoPath = L"D:\\Demos\\"; },
         L"No demo is selected."},
        {"deleted demo", [](LaunchInputs&, auto& files) { files.erase(L"D:\\Demos\\final.dem"); },
         L"\"D:\\Demos\\final.dem\" no longer exists."},
        {"no resolution", [](LaunchInputs& in, auto&) { in.resolution = L""; },
         L"No screen resolution is chosen"},
        {"config name",
         [](LaunchInputs& in, auto&) {
             in.configs.push_back({L"жара.cfg", true});
         },
         L"The config \"жара.cfg\" holds characters"},
        {"demo name",
         [](LaunchInputs& in, auto& files) {
             in.demoFolder = kGame + L"\\cstrike", in.selectedDemo = L"жара.dem";
             files.insert(in.selectedDemoPath = in.demoFolder + L"\\жара.dem");
         },
         L"The demo \"жара.dem\" holds characters"},
    };
    for (const auto& c : cases) {
        auto in = StagedInputs();
        auto files = Installed();
        c.change(in, files);
        const auto result = PlanLaunch(in, test::FakeSystem(files));
        ASSERT_TRUE(std::holds_alternative<UserMessage>(result)) << c.what;
        const auto& message = std::get<UserMessage>(result);
        EXPECT_NE(message.text.find(c.expected), std::wstring::npos) << c.what;
        EXPECT_EQ(message.title, c.expected.starts_with(L"The path") ? L"Where is HL.EXE" : L"") << c.what;
    }
    // An unusable name that stays unchecked stops nothing.
    auto in = StagedInputs();
    in.configs.push_back({L"жара.cfg", false});
    EXPECT_TRUE(std::holds_alternative<LaunchPlan>(PlanLaunch(in, test::FakeSystem(Installed()))));
}

TEST(VideoSettingsFor, ReadsTheNumbersAroundTheFirstLowerCaseXAndTheRendererWithCase) {
    struct Case {
        std::wstring renderer, resolution;
        std::optional<std::array<std::int32_t, 3>> values;
    };
    using V = std::array<std::int32_t, 3>;
    for (const Case& c :
         {Case{L"OpenGL", L"1024x768", V{1024, 768, 2}}, Case{L"Direct3D", L"1600x1200", V{1600, 1200, 3}},
          Case{L"Software", L"400x300", V{400, 300, 1}}, Case{L"opengl", L"640x480", V{640, 480, 1}},
          Case{L"", L" 8 00 x600px", V{800, 600, 1}}, Case{L"OpenGL", L"12.5x7.5e0x9", V{12, 8, 2}},
          Case{L"OpenGL", L"x", V{0, 0, 2}}, Case{L"OpenGL", L"-5x+1e3", V{-5, 1000, 2}},
          Case{L"OpenGL", L"1024X768", std::nullopt}, Case{L"OpenGL", L"", std::nullopt},
          Case{L"OpenGL", L"99999999999x1", std::nullopt}}) {
        const auto settings = VideoSettingsFor(c.renderer, c.resolution);
        ASSERT_EQ(settings.has_value(), c.values.has_value()) << c.resolution;
        if (!settings) continue;
        EXPECT_EQ(*settings, (VideoSettings{RegistryDWord{L"EngineModeW", (*c.values)[0]},
                                            {L"EngineModeH", (*c.values)[1]},
                                            {L"EngineType", (*c.values)[2]}}))
            << c.resolution;
    }
}

TEST(SpeedFactorText, IsThePercentageOverAHundredWithAPointAndOneWhenNotAboveZero) {
    for (const auto& [speed, factor] :
         std::initializer_list<std::pair<std::wstring, std::wstring>>{{L"100", L"1"},
                                                                      {L"50", L"0.5"},
                                                                      {L"7", L"0.07"},
                                                                      {L"999", L"9.99"},
                                                                      {L"0", L"1"},
                                                                      {L"", L"1"}}) {
        EXPECT_EQ(SpeedFactorText(speed), factor) << speed;
    }
    EXPECT_EQ(ReplaceAll(L"1,5,,", L",", L"."), L"1.5..");
    EXPECT_EQ(ReplaceAll(L"aa", L"a", L"aa"), L"aaaa");
    EXPECT_EQ(ReplaceAll(L"abc", L"", L"x"), L"abc");
}

TEST(GetHLFolder, IsTheFolderBeforeTheLastBackslashWhenItHoldsHwDllAndHlExe) {
    const auto exists = test::FakeSystem({L"C:\\hl.exe", L"C:\\hw.dll", L"C:\\HL\\hl.exe", L"C:\\HL\\hw.dll",
                                          L"C:\\Only\\hl.exe"})
                            .fileExists;
    for (const auto& [path, folder] :
         std::initializer_list<std::pair<std::wstring, std::wstring>>{{L"C:\\hl.exe", L"C:"},
                                                                      {L"C:\\HL\\hl.exe", L"C:\\HL"},
                                                                      {L"C:\\Only\\hl.exe", L""},
                                                                      {L"", L""},
                                                                      {L"hl.exe", L""},
                                                                      {L"C:", L""}}) {
        EXPECT_EQ(GetHLFolder(path, exists), folder) << path;
    }
}

}  // namespace
}  // namespace vorelix::launch
