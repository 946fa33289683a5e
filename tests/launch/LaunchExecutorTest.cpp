// Tests of carrying out launches under Wine: the real registry, real files in a temporary game folder,
// and the stand-in game started through the shell, whose record is checked byte for byte.
#include <gtest/gtest.h>
#include <windows.h>

#include "GameFolder.h"
#include "StandInRecord.h"
#include "TestRegistryKey.h"
#include "launch/LaunchExecutor.h"
#include "launch/RealSystem.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/WholeFiles.h"

namespace vorelix::launch {
namespace {

using platform::SystemErrorText;
using platform::WideToUtf8;
using test::DigestOf;
using test::Hex;
using test::RecordedDword;

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::wstring::npos) << (text)

class LaunchTest : public ::testing::Test {
  protected:
    LaunchInputs Inputs(const std::filesystem::path& demo) const {
        return {.hlExePath = game.HlExe().wstring(),
                .renderer = L"Direct3D",
                .resolution = L"1280x960",
                .configs = {{L"a.cfg", true},
                            {L"autoexec.cfg", false},
                            {L"b.cfg", false},
                            {L"my config.cfg", true}},
                .commandLine = L"-game cstrike -console",
                .speed = L"100",
                .demoFolder = demo.parent_path().wstring(),
                .selectedDemo = demo.filename().wstring(),
                .selectedDemoPath = demo.wstring()};
    }
    std::filesystem::path Demo(const wchar_t* relative, std::size_t size) const {
        return game.Write(relative, std::string(size, 'd') + WideToUtf8(relative));
    }
    std::string Started(const std::wstring& parameters) const {
        return WideToUtf8(L"\"" + game.HlExe().wstring() + L"\" " + parameters);
    }

    test::GameFolder game;
    AutoexecSwitch autoexec;
};

TEST_F(LaunchTest, AStagedDemoReachesTheGameAsPlanned) {
    const auto demo = Demo(L"Demos\\final match.dem", 3'500'000);
    std::vector<std::uint64_t> copied;
    int windows = 0;
    const LaunchEvents events{[&] { ++windows; }, [&](auto done, auto) { copied.push_back(done); },
                              [&] { windows += 10; }};
    auto watch = game.ExpectGame();
    ASSERT_EQ(LaunchDemo(Inputs(demo), autoexec, events), std::nullopt);
    auto record = watch.Wait();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(
        (*record)["command line"],
        Started(L"-game cstrike -console -toconsole  +exec a.cfg +exec my config.cfg +exec vorelix.cfg"));
    EXPECT_EQ((*record)["working folder"], WideToUtf8(game.Game().wstring()));
    EXPECT_EQ((*record)["EngineModeW"] + (*record)["EngineModeH"] + (*record)["EngineType"],
              RecordedDword(1280) + RecordedDword(960) + RecordedDword(3));
    EXPECT_EQ((*record)["vorelix.cfg"], Hex("playdemo \"vorelix.dem\"\r\n"));
    EXPECT_EQ((*record)["vorelix.dem"], DigestOf(demo));
    EXPECT_EQ((*record)["autoexec.cfg"] + (*record)["autoexec.cfg_old"], "noyes");
    EXPECT_TRUE(autoexec.AutoexecRenamed());
    EXPECT_EQ(windows, 11) << "the wait window opens and closes once";
    ASSERT_GE(copied.size(), 3u) << "a chunk at a time";
    EXPECT_EQ(copied.back(), std::filesystem::file_size(demo));
}

TEST_F(LaunchTest, ASecondLaunchWhileTheGameHoldsTheStagedDemoStopsAtTheCopyWithTheSystemsText) {
    const auto first = Demo(L"Demos\\first.dem", 1000);
    auto running = game.ExpectGame(/*holdDemo=*/true);
    ASSERT_EQ(LaunchDemo(Inputs(first), autoexec), std::nullopt);
    ASSERT_TRUE(running.Wait().has_value());

    auto in = Inputs(Demo(L"Demos\\second.dem", 2000));
    in.resolution = L"640x480";
    int finished = 0;
    const auto stop = LaunchDemo(in, autoexec, {nullptr, nullptr, [&] { ++finished; }});
    ASSERT_TRUE(stop.has_value());
    EXPECT_HAS(stop->text, L"\"" + (game.Mod() / L"vorelix.dem").wstring() + L"\": " +
                               SystemErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(finished, 1) << "the wait window closes";
    EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(first));
    EXPECT_EQ(platform::GetRegDWord(HKEY_CURRENT_USER, kHalfLifeSettingsKey, L"EngineModeW"), 640u)
        << "the steps before the copy stay done";

    // A demo of the mod folder needs no copy (and no wait window): a second game starts beside the first.
    auto second = game.ExpectGame();
    in = Inputs(Demo(L"Half Life Игра\\cstrike\\own.dem", 1));
    in.command = DemoCommand::ViewDemo;
    EXPECT_EQ(LaunchDemo(in, autoexec, {nullptr, nullptr, [&] { ++finished; }}), std::nullopt);
    auto record = second.Wait();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ((*record)["vorelix.cfg"], Hex("viewdemo \"own.dem\"\r\n"));
    EXPECT_EQ(finished, 1);
}

TEST_F(LaunchTest, AFailingStepStopsTheLaunchWithTheSystemsTextAndKeepsTheStepsBefore) {
    const auto demo = Demo(L"Demos\\d.dem", 100);
    const auto config = game.Mod() / L"vorelix.cfg";

    test::TestRegistryKey base;
    const LaunchTargets refusing{nullptr, base.Root(), base.CreateVolatile(L"volatile") + L"\\Settings"};
    const auto plan = std::get<LaunchPlan>(PlanLaunch(Inputs(demo), RealSystemQueries()));
    auto stop = CarryOutLaunch(plan, autoexec, {}, refusing);
    ASSERT_TRUE(stop.has_value());
    EXPECT_HAS(stop->text, L"RegCreateKeyEx failed!");
    EXPECT_FALSE(autoexec.AutoexecRenamed());
    EXPECT_FALSE(std::filesystem::exists(game.Mod() / L"vorelix.dem"));

    // A folder in the config's place: the tests run as root under Wine, to whom read-only files are
    // writable.
    std::filesystem::create_directory(config);
    stop = CarryOutLaunch(plan, autoexec);
    ASSERT_TRUE(stop.has_value());
    EXPECT_HAS(stop->text, L"\"" + config.wstring() + L"\" could not be written: " +
                               SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(demo));
    EXPECT_TRUE(autoexec.AutoexecRenamed());
    std::filesystem::remove(config);

    game.Write(game.HlExe().lexically_relative(game.Root()), "not a program");
    stop = CarryOutLaunch(plan, autoexec);
    ASSERT_TRUE(stop.has_value());
    EXPECT_HAS(stop->text, L"could not be started: " + SystemErrorText(ERROR_BAD_EXE_FORMAT));
    EXPECT_EQ(test::ReadFileBytes(config), "playdemo \"vorelix.dem\"\r\n");

    // Staging a demo onto itself (cstrike\vorelix.dem selected where cstrike has no cached.wad) fails
    // before a byte of it is lost.
    const auto staged = (game.Mod() / L"vorelix.dem").wstring();
    EXPECT_FALSE(platform::CopyFileReplacing(staged, staged, nullptr).ok());
    EXPECT_EQ(DigestOf(staged), DigestOf(demo));
}

}  // namespace
}  // namespace vorelix::launch
