// Tests of the Win32 half of src/launch under Wine, on the real registry and real files in a temporary
// game folder: launches carried out (the stand-in game started through the shell, its record checked
// byte for byte), the game started on a staged demo kept from the next copy, a stopped copy, the config
// list's files, the autoexec switch kept in the settings store and the .dem association.
#include <gtest/gtest.h>
#include <windows.h>

#include "StandInGame.h"
#include "StandInRecord.h"
#include "TestRegistryKey.h"
#include "launch/configs/AutoexecSwitch.h"
#include "launch/configs/ConfigFiles.h"
#include "launch/LaunchExecutor.h"
#include "launch/RealSystem.h"
#include "platform/files/FileOps.h"
#include "platform/SettingsStore.h"
#include "platform/SystemError.h"
#include "platform/Text.h"
#include "platform/association/RegisterOpenFile.h"

namespace vorelix::launch {
namespace {

using platform::SystemErrorText;
using platform::WideToUtf8;
using test::DigestOf;

#define EXPECT_HAS(text, part) EXPECT_NE((text).find(part), std::wstring::npos) << (text)

class LaunchTest : public ::testing::Test {
  protected:
    LaunchInputs Inputs(const std::filesystem::path& demo) const {
        return {.hlExePath = game.HlExe().wstring(),
                .renderer = L"Direct3D",
                .resolution = L"1280x960",
                .configs = {{L"a.cfg", true},
                            {L"autoexec.cfg", false},
                            {L"b.cfg", true},
                            {L"my config.cfg", false}},
                .commandLine = L"-game cstrike -console",
                .speed = L"100",
                .demoFolder = demo.parent_path().wstring(),
                .selectedDemo = demo.filename().wstring(),
                .selectedDemoPath = demo.wstring()};
    }
    std::filesystem::path Demo(const wchar_t* relative, std::size_t size) const {
        return game.Write(relative, std::string(size, 'd') + WideToUtf8(relative));
    }

    test::StandInGame game;
    test::TestRegistryKey key;
    platform::SettingsStore settings{key.Root(), key.Path()};
    AutoexecSwitch autoexec{settings};
};

TEST_F(LaunchTest, AStagedDemoReachesTheGameAndASecondLaunchWhileTheGameHoldsItStopsAtTheCopy) {
    const auto demo = Demo(L"Demos\\final match.dem", 3'500'000);
    std::vector<std::uint64_t> copied;
    int windows = 0;
    const LaunchEvents events{[&] { ++windows; },
                              [&](auto done, auto) {
                                  copied.push_back(done);
                                  return true;
                              },
                              [&] { windows += 10; }};
    auto running = game.ExpectGame(/*holdDemo=*/true);
    ASSERT_EQ(LaunchDemo(Inputs(demo), autoexec, events), std::nullopt);
    // What the game is given is compared in full where the main window launches it
    // (tests/app/LaunchWindowTest.cpp); here the working folder and the events.
    auto record = running.Wait();
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ((*record)["working folder"], WideToUtf8(game.Game().wstring()));
    EXPECT_EQ(windows, 11) << "the wait window opens and closes once";
    ASSERT_GE(copied.size(), 3u) << "a chunk at a time";
    EXPECT_EQ(copied.back(), std::filesystem::file_size(demo));

    // The game holds its copy: the steps before the copy stay done, and the wait window closes.
    auto in = Inputs(Demo(L"Demos\\second.dem", 2000));
    in.resolution = L"640x480";
    const auto stop = LaunchDemo(in, autoexec, events);
    ASSERT_TRUE(stop.has_value());
    EXPECT_HAS(stop->text, L"\"" + (game.Mod() / L"vorelix.dem").wstring() + L"\": " +
                               SystemErrorText(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(windows, 22);
    EXPECT_EQ(DigestOf(game.Mod() / L"vorelix.dem"), DigestOf(demo));
    EXPECT_EQ(platform::GetRegDWord(HKEY_CURRENT_USER, kHalfLifeSettingsKey, L"EngineModeW"), 640u);
}

TEST_F(LaunchTest, NoLaunchCopiesOntoTheDemoOfAGameItStartedThatStillRunsAndAStoppedCopyLeavesNothing) {
    const auto first = Demo(L"Demos\\first.dem", 3'000'000);
    const auto staged = game.Mod() / L"vorelix.dem";
    StagedDemoGame started;
    LaunchTargets targets;
    targets.stagedDemoGame = &started;
    {
        auto running = game.ExpectGame(/*holdDemo=*/true);
        ASSERT_EQ(LaunchDemo(Inputs(first), autoexec, {}, targets), std::nullopt);
        ASSERT_TRUE(running.Wait().has_value());
        EXPECT_TRUE(started.Runs());
        // Refused before any step: not even the video settings change.
        auto in = Inputs(Demo(L"Demos\\second.dem", 2000));
        in.resolution = L"640x480";
        const auto stop = LaunchDemo(in, autoexec, {}, targets);
        ASSERT_TRUE(stop.has_value());
        EXPECT_EQ(stop->text, StagedDemoInUse({L"", staged.wstring()}).text);
        EXPECT_EQ(platform::GetRegDWord(HKEY_CURRENT_USER, kHalfLifeSettingsKey, L"EngineModeW"), 1280u);
        // A demo of the mod folder is not copied: its launch goes ahead.
        auto own = game.ExpectGame();
        EXPECT_EQ(
            LaunchDemo(Inputs(game.Write(L"Half Life Игра\\cstrike\\own.dem", "own")), autoexec, {}, targets),
            std::nullopt);
        EXPECT_TRUE(own.Wait().has_value());
    }  // the game ends
    EXPECT_FALSE(started.Runs());

    // A copy stopped by its progress: the staged demo stays the one before, no part of the new one is
    // left, and neither the config nor the game follows.
    const auto config = test::ReadFileBytes(game.Mod() / L"vorelix.cfg");
    const LaunchEvents stopping{nullptr, [](auto, auto) { return false; }, nullptr};
    const auto stop = LaunchDemo(Inputs(Demo(L"Demos\\third.dem", 3'000'000)), autoexec, stopping, targets);
    ASSERT_TRUE(stop.has_value());
    EXPECT_HAS(stop->text, L"stopped");
    EXPECT_EQ(DigestOf(staged), DigestOf(first));
    EXPECT_EQ(test::ReadFileBytes(game.Mod() / L"vorelix.cfg"), config);
    for (const auto& entry : std::filesystem::directory_iterator(game.Mod()))
        EXPECT_FALSE(platform::IsStagingName(entry.path().filename())) << entry.path();
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

TEST(ConfigFiles, ListNothingWithoutAModFolderAndSaveNothingTheCodePageCannotHold) {
    test::StandInGame game;
    const auto ini = game.Write(L"configs.ini", "b.cfg\r\nunknown.cfg\r\n");
    // The list itself is checked where hl.exe is chosen in the main window (tests/app).
    EXPECT_FALSE(LoadConfigList(game.Demos().wstring(), ini.wstring()).has_value());

    // Saving, and a configs.ini that cannot be written, are checked through the config window
    // (tests/app/LaunchWindowTest.cpp). A name the code page cannot hold leaves the file as it was.
    EXPECT_TRUE(SaveConfigList({{L"\U0001F600.cfg", true}}, ini.wstring()).has_value());
    EXPECT_EQ(test::ReadFileBytes(ini), "b.cfg\r\nunknown.cfg\r\n");
}

TEST(AutoexecSwitch, RenamesAsideAndBackNeverReplacingAndKeepsWhereItRenamedForTheNextRun) {
    test::StandInGame game, other;
    test::TestRegistryKey key;
    platform::SettingsStore settings{key.Root(), key.Path()};
    const auto cfg = game.Mod() / L"autoexec.cfg";
    const auto old = game.Mod() / L"autoexec.cfg_old";
    const auto noted = [&] { return settings.GetString(L"CooMMon", L"AutoexecRenamedIn", L"<absent>"); };
    {
        AutoexecSwitch killed(settings);
        killed.RenameAutoexec(game.Mod().wstring());
        EXPECT_TRUE(killed.AutoexecRenamed() && !std::filesystem::exists(cfg));
        killed.RenameAutoexec(game.Mod().wstring());   // nothing left to rename: silent
        killed.RenameAutoexec(other.Mod().wstring());  // hl.exe chosen in another installation meanwhile
    }                                                  // the process ends here without a restore
    EXPECT_EQ(noted(), game.Mod().wstring() + L"|" + other.Mod().wstring());
    AutoexecSwitch next(settings);
    EXPECT_TRUE(next.AutoexecRenamed());
    EXPECT_TRUE(next.RestoreAutoexec().empty());
    EXPECT_FALSE(next.AutoexecRenamed());
    EXPECT_EQ(noted(), L"");
    EXPECT_TRUE(std::filesystem::exists(cfg) && !std::filesystem::exists(old) &&
                std::filesystem::exists(other.Mod() / L"autoexec.cfg"));

    // An autoexec.cfg_old of the user's own: the rename fails and nothing is noted, so no restore takes
    // that file for ours.
    test::WriteFileBytes(old, "older");
    next.RenameAutoexec(game.Mod().wstring());
    EXPECT_FALSE(next.AutoexecRenamed());
    EXPECT_EQ(noted(), L"");
    std::filesystem::remove(old);

    // An autoexec.cfg made while ours lies renamed: neither is touched; untold (the session ends) the
    // folder stays noted, told it is let go.
    next.RenameAutoexec(game.Mod().wstring());
    test::WriteFileBytes(cfg, "made meanwhile");
    EXPECT_TRUE(next.RestoreAutoexec(/*keepUntold=*/true).empty());
    EXPECT_EQ(noted(), game.Mod().wstring());
    const auto told = AutoexecSwitch(settings).RestoreAutoexec();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_HAS(told[0].text, L"\"" + game.Mod().wstring() + L"\"");
    EXPECT_EQ(test::ReadFileBytes(cfg) + "|" + test::ReadFileBytes(old),
              "made meanwhile|// stand-in file\r\n");
    EXPECT_EQ(noted(), L"");

    // A store that refuses the note: no rename is made that a kill could leave behind.
    std::filesystem::remove(cfg);
    std::filesystem::rename(old, cfg);
    platform::SettingsStore refusing{key.Root(), key.CreateVolatile(L"volatile")};
    AutoexecSwitch unnoted(refusing);
    unnoted.RenameAutoexec(game.Mod().wstring());
    EXPECT_FALSE(unnoted.AutoexecRenamed());
    EXPECT_TRUE(std::filesystem::exists(cfg) && !std::filesystem::exists(old));
}

// The start-up tests cover the registration itself and a refusal at the first key and at both roots.
TEST(RegisterOpenFile, AFailureAtALaterKeyPutsAllThreeEntriesUnderTheFallback) {
    // A lasting key cannot be made below a volatile one: only the third key is refused.
    test::TestRegistryKey base;
    platform::SetRegString(base.Root(), base / L"machine\\vorelix_file", L"", L"");
    base.CreateVolatile(L"machine\\vorelix_file\\shell");
    const AssociationRoots roots{base.Root(), base / L"machine\\", base.Root(), base / L"user\\", false};
    EXPECT_FALSE(
        RegisterOpenFile(L"dem", L"vorelix_file", L"C:\\V\\v.exe,0", L"C:\\V\\v.exe", roots).has_value());
    for (const auto& [key, value] : {std::pair{L".dem", L"vorelix_file"},
                                     {L"vorelix_file\\DefaultIcon", L"C:\\V\\v.exe,0"},
                                     {L"vorelix_file\\shell\\open\\command", L"\"C:\\V\\v.exe\" %1"}})
        EXPECT_EQ(platform::GetRegString(base.Root(), roots.fallbackPrefix + key, L""), value);
}

}  // namespace
}  // namespace vorelix::launch
