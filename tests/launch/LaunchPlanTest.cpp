// Tests of the launch decisions: the plan, its refusals, the video settings and the speed factor.
#include <gtest/gtest.h>

#include "FakeSystem.h"
#include "launch/LaunchPlan.h"
#include "launch/SpeedFactor.h"

namespace vorelix::launch {
namespace {

const std::wstring kGame = L"C:\\Games\\Half-Life";
const std::wstring kMod = kGame + L"\\cstrike";

// A Half-Life folder whose cstrike holds cached.wad and a demo, and a demo in another folder.
std::set<std::wstring> Installed() {
    return {kGame + L"\\hl.exe",    kGame + L"\\hw.dll",    kMod,
            kMod + L"\\cached.wad", kMod + L"\\é demo.dem", L"D:\\Demos\\final.dem"};
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
    LaunchPlan staged{{RegistryDWord{L"EngineModeW", 1024}, {L"EngineModeH", 768}, {L"EngineType", 2}},
                      true,
                      StagedDemo{L"D:\\Demos\\final.dem", kMod + L"\\vorelix.dem"},
                      kMod + L"\\vorelix.cfg",
                      L"playdemo \"vorelix.dem\"",
                      "playdemo \"vorelix.dem\"\r\n",
                      kGame + L"\\hl.exe",
                      L"-game cstrike -console -toconsole  +exec a.cfg +exec my config.cfg +exec vorelix.cfg",
                      kGame,
                      5,
                      kGame,
                      kMod,
                      L"1"};
    EXPECT_EQ(std::get<LaunchPlan>(PlanLaunch(StagedInputs(), system)), staged);

    // In the mod folder: no copy, the demo's own name in the code page; blanks of the command line kept.
    auto in = StagedInputs();
    in.command = DemoCommand::ViewDemo;
    in.demoFolder = kMod;
    in.selectedDemo = L"é demo.dem";
    in.selectedDemoPath = kMod + L"\\é demo.dem";
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

    // Installed at a drive's root: the game folder is "C:", the game starts in "C:\", not in C:'s
    // current folder.
    in.hlExePath = L"C:\\hl.exe";
    const auto root = std::get<LaunchPlan>(PlanLaunch(
        in, test::FakeSystem({L"C:\\hl.exe", L"C:\\hw.dll", L"C:\\cstrike", in.selectedDemoPath})));
    EXPECT_EQ(root.gameFolder + L"|" + root.workingFolder + L"|" + root.configPath,
              L"C:|C:\\|C:\\cstrike\\vorelix.cfg");
}

TEST(PlanLaunch, StopsBeforeAnythingWithAMessageNamingWhatIsMissing) {
    using Files = std::set<std::wstring>;
    struct Case {
        void (*change)(LaunchInputs&, Files&);
        std::wstring expected;  // a part of the message
    };
    const Case cases[] = {
        {[](LaunchInputs& in, Files&) { in.hlExePath = L""; },
         L"The path to hl.exe is not specified! Please specify it!"},
        {[](LaunchInputs&, Files& f) { f.erase(kGame + L"\\hl.exe"); },
         L"The path to hl.exe is not specified!"},
        {[](LaunchInputs&, Files& f) { f.erase(kGame + L"\\hw.dll"); }, L"\"" + kGame + L"\" has no hw.dll."},
        {[](LaunchInputs& in, Files& f) {
             f.erase(kGame + L"\\hl.exe"), f.insert(in.hlExePath = kGame + L"\\x.exe");
         },
         L"has no hl.exe."},
        {[](LaunchInputs&, Files& f) { f.erase(kMod); }, L"has no cstrike folder"},
        {[](LaunchInputs& in, Files&) { in.selectedDemo = L"", in.selectedDemoPath = L"D:\\Demos\\"; },
         L"No demo is selected."},
        {[](LaunchInputs&, Files& f) { f.erase(L"D:\\Demos\\final.dem"); },
         L"\"D:\\Demos\\final.dem\" no longer exists."},
        {[](LaunchInputs& in, Files&) { in.resolution = L""; }, L"No screen resolution is chosen"},
        {[](LaunchInputs& in, Files&) {
             in.configs.push_back({L"жара.cfg", true});
         },
         L"config \"жара.cfg\" holds"},
        {[](LaunchInputs& in, Files& f) {
             in.demoFolder = kMod, in.selectedDemo = L"жара.dem";
             f.insert(in.selectedDemoPath = kMod + L"\\жара.dem");
         },
         L"demo \"жара.dem\" holds"},
    };
    for (const auto& c : cases) {
        auto in = StagedInputs();
        auto files = Installed();
        c.change(in, files);
        const auto result = PlanLaunch(in, test::FakeSystem(files));
        ASSERT_TRUE(std::holds_alternative<UserMessage>(result)) << c.expected;
        const auto& message = std::get<UserMessage>(result);
        EXPECT_NE(message.text.find(c.expected), std::wstring::npos) << message.text;
        EXPECT_EQ(message.title, c.expected.starts_with(L"The path") ? L"Where is HL.EXE" : L"")
            << c.expected;
    }
}

TEST(VideoSettingsFor, ReadsTheNumbersAroundTheFirstLowerCaseXAndTheRendererWithCase) {
    using Values = std::optional<std::array<std::int32_t, 3>>;
    for (const auto& [renderer, resolution, values] :
         std::initializer_list<std::tuple<const wchar_t*, const wchar_t*, Values>>{
             {L"Direct3D", L"1600x1200", Values{{1600, 1200, 3}}},
             {L"opengl", L"640x480", Values{{640, 480, 1}}},
             {L"", L" 8 00 x600px", Values{{800, 600, 1}}},
             {L"OpenGL", L"12.5x7.5e0x9", Values{{12, 8, 2}}},
             {L"OpenGL", L"-5x+1e3", Values{{-5, 1000, 2}}},
             {L"OpenGL", L"x", Values{{0, 0, 2}}},
             {L"OpenGL", L"1024X768", std::nullopt},
             {L"OpenGL", L"99999999999x1", std::nullopt}}) {
        const auto settings = VideoSettingsFor(renderer, resolution);
        Values read;
        if (settings) read = {{(*settings)[0].value, (*settings)[1].value, (*settings)[2].value}};
        EXPECT_EQ(read, values) << resolution;
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
}

}  // namespace
}  // namespace vorelix::launch
