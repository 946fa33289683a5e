// Tests of the config list's files and the autoexec switch under Wine, in a temporary game folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "GameFolder.h"
#include "launch/AutoexecSwitch.h"
#include "launch/ConfigFiles.h"
#include "platform/SystemError.h"

namespace vorelix::launch {
namespace {

TEST(ConfigFiles, ListTheModFoldersCfgFilesCheckedByConfigsIniAndSaveTheChecksOrSayWhyNot) {
    test::GameFolder game;
    const auto ini = game.Write(L"configs.ini", "b.cfg\r\nunknown.cfg\r\n");
    auto entries = LoadConfigList(game.Game().wstring(), ini.wstring());
    ASSERT_TRUE(entries.has_value());
    EXPECT_EQ(*entries,
              (std::vector<ConfigEntry>{
                  {L"a.cfg", false}, {L"autoexec.cfg", false}, {L"b.cfg", true}, {L"my config.cfg", false}}));
    EXPECT_FALSE(LoadConfigList(L"", ini.wstring()).has_value())
        << "no game folder: not the drive's \\cstrike";
    EXPECT_FALSE(LoadConfigList(game.Demos().wstring(), ini.wstring()).has_value());

    (*entries)[1].checked = true;
    EXPECT_EQ(SaveConfigList(*entries, ini.wstring()), std::nullopt);
    EXPECT_EQ(test::ReadFileBytes(ini), "autoexec.cfg\r\nb.cfg\r\n\r\n");
    // Not saved, the file left as it was: a folder in the way, a name the code page cannot hold.
    const auto blocked = game.Root() / L"blocked.ini";
    std::filesystem::create_directory(blocked);
    const auto message = SaveConfigList(*entries, blocked.wstring());
    ASSERT_TRUE(message.has_value());
    EXPECT_NE(message->text.find(platform::SystemErrorText(ERROR_ACCESS_DENIED)), std::wstring::npos);
    EXPECT_TRUE(SaveConfigList({{L"\U0001F600.cfg", true}}, ini.wstring()).has_value());
    EXPECT_EQ(test::ReadFileBytes(ini), "autoexec.cfg\r\nb.cfg\r\n\r\n");
}

TEST(AutoexecSwitch, RenamesAsideAndBackNeverReplacingAndRestoresWhereItRenamed) {
    test::GameFolder game, other;
    const auto cfg = game.Mod() / L"autoexec.cfg";
    const auto old = game.Mod() / L"autoexec.cfg_old";
    AutoexecSwitch autoexec;
    autoexec.RenameAutoexec(game.Mod().wstring());
    EXPECT_TRUE(autoexec.AutoexecRenamed() && !std::filesystem::exists(cfg));
    autoexec.RenameAutoexec(game.Mod().wstring());   // nothing left to rename: silent
    autoexec.RenameAutoexec(other.Mod().wstring());  // hl.exe chosen in another installation meanwhile
    autoexec.RestoreAutoexec();
    EXPECT_FALSE(autoexec.AutoexecRenamed());
    EXPECT_TRUE(std::filesystem::exists(cfg) && !std::filesystem::exists(old) &&
                std::filesystem::exists(other.Mod() / L"autoexec.cfg"));

    // Both present: neither direction replaces a file; the switch counts as renamed all the same.
    test::WriteFileBytes(old, "older");
    autoexec.RenameAutoexec(game.Mod().wstring());
    EXPECT_TRUE(autoexec.AutoexecRenamed());
    autoexec.RestoreAutoexec();
    EXPECT_EQ(test::ReadFileBytes(old) + test::ReadFileBytes(cfg), "older// stand-in file\r\n");
}

}  // namespace
}  // namespace vorelix::launch
