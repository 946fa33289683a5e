// Tests of carrying out launches under Wine: the real registry, real files in a temporary game folder,
// and the stand-in game started through the shell, whose record is checked byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include "GameFolder.h"
#include "TestRegistryKey.h"
#include "launch/LaunchExecutor.h"
#include "launch/RealSystem.h"
#include "platform/SystemError.h"

namespace vorelix::launch {
namespace {

using test::DigestOf;

std::pair<DWORD, std::string> Dword(std::uint32_t value) {
    return {REG_DWORD, std::string(reinterpret_cast<const char*>(&value), 4)};
}

bool Contains(const std::wstring& text, const std::wstring& part) {
    return text.find(part) != std::wstring::npos;
}

class LaunchTest : public ::testing::Test {
  protected:
    LaunchInputs Inputs(const std::filesystem::path& demo) const {
        LaunchInputs in;
        in.hlExePath = game.HlExe().wstring();
        in.renderer = L"Direct3D";
        in.resolution = L"1280x960";
        in.configs = {
            {L"a.cfg", true}, {L"autoexec.cfg", false}, {L"b.cfg", false}, {L"my config.cfg", true}};
        in.commandLine = L"-game cstrike -console";
        in.speed = L"100";
        in.demoFolder = demo.parent_path().wstring();
        in.selectedDemo = demo.filename().wstring();
        in.selectedDemoPath = demo.wstring();
        return in;
    }
    LaunchPlan Plan(const LaunchInputs& in) const {
        return std::get<LaunchPlan>(PlanLaunch(in, RealSystemQueries()));
    }
    std::string Demo(const std::string& tag, std::size_t size) const {
        return std::string(size, tag[0]) + tag;
    }

    test::GameFolder game;
    AutoexecSwitch autoexec;
    const std::wstring hlQuoted = L"\"" + game.HlExe().wstring() + L"\" ";
};

TEST_F(LaunchTest, StagedAndModFolderDemosReachTheGameAsPlanned) {
    const auto demo = game.Write(L"Demos\\final match.dem", Demo("final", 3'500'000));
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
    int starting = 0, finished = 0;
    LaunchEvents events{[&] { ++starting; },
                        [&](auto copied, auto total) { progress.emplace_back(copied, total); },
                        [&] { ++finished; }};
    auto watch = game.ExpectGame();
    ASSERT_EQ(LaunchDemo(Inputs(demo), autoexec, events), std::nullopt);
    auto record = watch.Wait();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(
        record->commandLine,
        hlQuoted + L"-game cstrike -console -toconsole  +exec a.cfg +exec my config.cfg +exec vorelix.cfg");
    EXPECT_EQ(record->workingFolder, game.Game().wstring());
    EXPECT_EQ(record->videoSettings,
              (decltype(record->videoSettings){
                  {L"EngineModeW", Dword(1280)}, {L"EngineModeH", Dword(960)}, {L"EngineType", Dword(3)}}));
    EXPECT_EQ(record->config, "playdemo \"vorelix.dem\"\r\n");
    EXPECT_EQ(record->stagedDemo, DigestOf(demo));
    EXPECT_FALSE(record->autoexec);
    EXPECT_TRUE(record->autoexecOld);
    EXPECT_TRUE(autoexec.AutoexecRenamed());
    EXPECT_EQ(starting, 1);
    EXPECT_EQ(finished, 1);
    ASSERT_GE(progress.size(), 3u) << "a chunk at a time";
    EXPECT_EQ(progress.back(), std::make_pair(std::uint64_t{3'500'005}, std::uint64_t{3'500'005}));

    // In the mod folder: no copy and no wait window; autoexec.cfg left alone; the command line's blanks kept.
    std::filesystem::remove(game.Mod() / L"vorelix.dem");
    auto in = Inputs(game.Write(L"Half Life Игра\\cstrike\\mod demo.dem", "demo"));
    in.command = DemoCommand::ViewDemo;
    in.useAutoexec = true;
    in.commandLine = L" -game cstrike  ";
    in.configs.clear();
    in.renderer = L"Software";
    AutoexecSwitch untouched;
    auto second = game.ExpectGame();
    ASSERT_EQ(LaunchDemo(in, untouched, events), std::nullopt);
    record = second.Wait();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->commandLine, hlQuoted + L" -game cstrike   -toconsole  +exec vorelix.cfg");
    EXPECT_EQ(record->videoSettings[L"EngineType"], Dword(1));
    EXPECT_EQ(record->config, "viewdemo \"mod demo.dem\"\r\n");
    EXPECT_EQ(record->stagedDemo, std::nullopt);
    EXPECT_FALSE(untouched.AutoexecRenamed());
    EXPECT_EQ(starting, 1);
}

TEST_F(LaunchTest, ASecondLaunchWhileTheGameHoldsTheStagedDemoStopsAtTheCopyWithTheSystemsText) {
    const auto first = game.Write(L"Demos\\first.dem", Demo("first", 1000));
    auto running = game.ExpectGame(/*holdDemo=*/true);
    ASSERT_EQ(LaunchDemo(Inputs(first), autoexec), std::nullopt);
    ASSERT_TRUE(running.Wait().has_value());

    auto in = Inputs(game.Write(L"Demos\\second.dem", Demo("second", 2000)));
    in.resolution = L"640x480";
    int finished = 0;
    const auto stop = LaunchDemo(in, autoexec, {nullptr, nullptr, [&] { ++finished; }});
    ASSERT_TRUE(stop.has_value());
    EXPECT_TRUE(Contains(stop->text, (game.Mod() / L"vorelix.dem").wstring())) << stop->text;
    EXPECT_TRUE(Contains(stop->text, platform::SystemErrorText(ERROR_SHARING_VIOLATION))) << stop->text;
    EXPECT_EQ(finished, 1) << "the wait window closes";
    EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(first));
    EXPECT_EQ(platform::GetRegDWord(HKEY_CURRENT_USER, kHalfLifeSettingsKey, L"EngineModeW"), 640u)
        << "the steps before the copy stay done";

    // A demo of the mod folder needs no copy: a second game starts beside the first.
    auto second = game.ExpectGame();
    EXPECT_EQ(LaunchDemo(Inputs(game.Write(L"Half Life Игра\\cstrike\\own.dem", "own")), autoexec),
              std::nullopt);
    const auto record = second.Wait();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->config, "playdemo \"own.dem\"\r\n");
}

TEST_F(LaunchTest, AFailingStepStopsTheLaunchWithTheSystemsTextAndKeepsTheStepsBefore) {
    const auto demo = game.Write(L"Demos\\d.dem", Demo("d", 100));
    const auto config = game.Mod() / L"vorelix.cfg";

    test::TestRegistryKey base;
    LaunchTargets refusing;
    refusing.videoSettingsRoot = base.Root();
    refusing.videoSettingsKey = base.CreateVolatile(L"volatile") + L"\\Settings";
    auto stop = CarryOutLaunch(Plan(Inputs(demo)), autoexec, {}, refusing);
    ASSERT_TRUE(stop.has_value());
    EXPECT_TRUE(Contains(stop->text, L"RegCreateKeyEx failed!")) << stop->text;
    EXPECT_FALSE(autoexec.AutoexecRenamed());
    EXPECT_FALSE(std::filesystem::exists(config));

    // A folder in the config's place: Wine runs the tests as root here, to whom a read-only file is
    // writable.
    std::filesystem::create_directory(config);
    stop = LaunchDemo(Inputs(demo), autoexec);
    ASSERT_TRUE(stop.has_value());
    EXPECT_TRUE(Contains(stop->text, L"\"" + config.wstring() + L"\" could not be written: " +
                                         platform::SystemErrorText(ERROR_ACCESS_DENIED)))
        << stop->text;
    EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(demo));
    EXPECT_TRUE(autoexec.AutoexecRenamed());
    std::filesystem::remove(config);

    game.Write(game.HlExe().lexically_relative(game.Root()), "not a program");
    stop = LaunchDemo(Inputs(demo), autoexec);
    ASSERT_TRUE(stop.has_value());
    EXPECT_TRUE(
        Contains(stop->text, L"could not be started: " + platform::SystemErrorText(ERROR_BAD_EXE_FORMAT)))
        << stop->text;
    EXPECT_EQ(test::ReadFileBytes(config), "playdemo \"vorelix.dem\"\r\n");
}

}  // namespace
}  // namespace vorelix::launch
