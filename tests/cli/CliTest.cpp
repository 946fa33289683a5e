// vorelix-cli run as a process on demos in temporary folders: exit codes, output, and the bytes.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>

#include "CliRunner.h"
#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/CodePage.h"
#include "demo/NickScan.h"

namespace vorelix::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class Cli : public ::testing::Test {
  protected:
    void SetUp() override { WriteFileBytes(demoPath, original); }
    std::string Current() const { return ReadFileBytes(demoPath); }

    TempDir dir;
    const std::string demoPath = (dir / "sample.dem").string();
    // Nicks, chat lines and one StatsMe inscription at known places.
    const std::string original =
        MakeDemo(2000, {{600, "\\name\\Ann\\"},
                        {700, "\\name\\Longname\\"},
                        {800, "\\name\\Ann\0"s},
                        {900, "\2Ann :   hello\n"},
                        {1000, "\2Bob :   bye all\n"},
                        {1200, "\x17\x1D\x01\0"s + std::string(18, '\7') + "gg\nwp\0"s}});
};

TEST_F(Cli, HelpAndUsageErrorsChangeNothing) {
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* word : {"info", "players", "nicks", "chat", "set-nick", "edit-chat", "delete-chat",
                             "strip-statsme", "--json", "--backup", "--codepage"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    const std::vector<std::vector<std::string>> usageErrors{
        {},
        {"frobnicate", demoPath},
        {"set-nick", demoPath, "--from", "Ann"},
        {"set-nick", demoPath, "--from", "Ann", "--to", "B", "--at", "1x"},
        {"nicks", demoPath, "--from", "Ann"},
        {"players", demoPath, demoPath},
        {"info", demoPath, "--backup"},
        {"--codepage", "866", "nicks", demoPath},
        {"nicks", demoPath, "--codepage"},
        {"--verbose", "info", demoPath},
        {"info", "-5"},
        {"edit-chat", demoPath, "0", "x"},
        {"delete-chat", demoPath}};
    for (const auto& args : usageErrors) EXPECT_EQ(RunCli(args).exitCode, 2) << args.size();
    EXPECT_EQ(RunCli({"delete-chat", demoPath})
                  .err.find("And why messages for removal are not selected? What to delete?"),
              0u);
    EXPECT_EQ(Current(), original);
}

TEST_F(Cli, ReadingCommandsAsTextAndJson) {
    WriteFileBytes(dir / "short.dem", MakeDemo(405));
    const std::string shortPath = (dir / "short.dem").string();
    const auto info = RunCli({"--json", "info", demoPath, shortPath});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_EQ(info.out, "{\"files\":[{\"file\":\"" + demoPath +
                            "\",\"ok\":true,\"map_hex\":\"64655f6475737432\",\"map\":\"de_dust2\","
                            "\"mod_hex\":\"63737472696b65\",\"mod\":\"cstrike\",\"hltv\":false,\"size\":2000,"
                            "\"size_text\":\"2Кб.\",\"players_hex\":[\"4c6f6e676e616d65\",\"416e6e\"],"
                            "\"players\":[\"Longname\",\"Ann\"]},{\"file\":\"" +
                            shortPath + "\",\"ok\":false,\"error\":\"Incorrect format of the demo!\"}]}\n");
    EXPECT_NE(info.err.find("Incorrect format of the demo!"), std::string::npos);
    EXPECT_EQ(RunCli({"info", demoPath}).out,
              "Demo name: sample.dem\nMap: de_dust2\nMod: cstrike\nType: Demo from eyes...\nSize: 2Кб.\n"
              "Players:\n  Longname\n  Ann\n");
    EXPECT_EQ(RunCli({"players", demoPath}).out, "Longname\nAnn\n");

    EXPECT_EQ(RunCli({"--json", "nicks", demoPath}).out,
              "{\"file\":\"" + demoPath +
                  "\",\"nicks\":[{\"pos\":607,\"nick_hex\":\"416e6e\",\"nick\":\"Ann\"},"
                  "{\"pos\":707,\"nick_hex\":\"4c6f6e676e616d65\",\"nick\":\"Longname\"},"
                  "{\"pos\":807,\"nick_hex\":\"416e6e\",\"nick\":\"Ann\"}]}\n");
    EXPECT_EQ(RunCli({"--json", "chat", demoPath}).out,
              "{\"file\":\"" + demoPath +
                  "\",\"lines\":[{\"pos\":902,\"text_hex\":\"416e6e203a20202068656c6c6f\","
                  "\"text\":\"Ann :   hello\"},{\"pos\":1002,\"text_hex\":"
                  "\"426f62203a20202062796520616c6c\",\"text\":\"Bob :   bye all\"}]}\n");
    WriteFileBytes(dir / "tiny.dem", MakeDemo(999));
    const auto tiny = RunCli({"nicks", (dir / "tiny.dem").string()});
    EXPECT_EQ(tiny.exitCode, 1);
    EXPECT_EQ(tiny.err, "An error occur during open file...\n");
}

TEST_F(Cli, SetNickEverywhereOrAtOnePositionOrNotAtAll) {
    const auto all = RunCli({"set-nick", demoPath, "--from", "Ann", "--to", "Al"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "The new nick are successfully saved!\n");
    const auto one = RunCli({"--json", "set-nick", demoPath, "--from", "Al ", "--to", "Z", "--at", "807"});
    EXPECT_EQ(one.out, "{\"file\":\"" + demoPath +
                           "\",\"ok\":true,\"message\":\"The new nick are successfully saved!\","
                           "\"written\":[{\"pos\":807,\"length\":3}],\"backup\":null}\n");
    const std::string renamed = WithPieces(original, {{606, "Al "}, {806, "Z  "}});
    EXPECT_EQ(Current(), renamed);

    const auto tooLong = RunCli({"set-nick", demoPath, "--from", "Z  ", "--to", "Annabel"});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_NE(tooLong.err.find("room"), std::string::npos);
    const auto cyrillic = RunCli({"set-nick", demoPath, "--from", "Z  ", "--to", "Аня"});  // not in 1252
    EXPECT_EQ(cyrillic.exitCode, 1);
    EXPECT_NE(cyrillic.err.find("U+0410"), std::string::npos);
    EXPECT_EQ(Current(), renamed);
    EXPECT_EQ(fs::directory_iterator(dir.Path())->path().filename(), "sample.dem");  // no backup either

    WriteFileBytes(demoPath,
                   MakeDemo(2000, {{600, "\\name\\\xc2\xe0\xf1\xff\\"}}));  // "Вася" in Windows-1251
    EXPECT_EQ(RunCli({"--codepage", "1251", "nicks", demoPath}).out, "607\tВася\n");
    EXPECT_EQ(RunCli({"--codepage", "1251", "set-nick", demoPath, "--from", "Вася", "--to", "Пётр"}).exitCode,
              0);
    EXPECT_EQ(Current(), MakeDemo(2000, {{600, "\\name\\\xcf\xb8\xf2\xf0\\"}}));
}

TEST_F(Cli, EditAndDeleteChat) {
    const auto edited = RunCli({"edit-chat", demoPath, "--", "902", "Ann :   hi"});
    EXPECT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(edited.out, "The message are successfully edited and saved!\n");
    EXPECT_EQ(RunCli({"edit-chat", demoPath, "1002", "Bob :   this is far too long"}).exitCode, 0);
    EXPECT_EQ(RunCli({"edit-chat", demoPath, "903", "x"}).exitCode, 1);
    EXPECT_EQ(Current(), WithPieces(original, {{901, "Ann :   hi   "}, {1001, "Bob :   this is"}}));

    const auto deleted = RunCli({"delete-chat", demoPath, "902", "1002"});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "The selected messages are successfully removed!\n");
    EXPECT_EQ(Current(), WithPieces(original, {{901, std::string(13, ' ')}, {1001, std::string(15, ' ')}}));
    EXPECT_EQ(RunCli({"chat", demoPath}).out, "The demo don't have any chat messages!\n");
    EXPECT_EQ(RunCli({"delete-chat", demoPath, "902"}).exitCode, 1);
}

TEST_F(Cli, StripStatsMeSucceedsOrSaysWhyNot) {
    const auto stripped = RunCli({"strip-statsme", demoPath});
    EXPECT_EQ(stripped.exitCode, 0) << stripped.err;
    EXPECT_EQ(stripped.out, demoPath + ": All inscriptions of StatsMe mod are successfully removed!\n");
    EXPECT_EQ(Current(), WithPieces(original, {{1222, "  \n  "}}));
    WriteFileBytes(dir / "plain.dem", MakeDemo(3000));
    EXPECT_EQ(RunCli({"--json", "strip-statsme", (dir / "plain.dem").string()}).out,
              "{\"files\":[{\"file\":\"" + (dir / "plain.dem").string() +
                  "\",\"ok\":true,\"found\":false,\"inscriptions\":0,\"bytes_blanked\":0,"
                  "\"message\":\"Inscriptions of StatsMe mod are not found!\",\"backup\":null}]}\n");

    WriteFileBytes(demoPath, original);
    fs::permissions(demoPath, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto readOnly = RunCli({"strip-statsme", demoPath});
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_EQ(readOnly.out, "");
    EXPECT_EQ(readOnly.err, demoPath + ": An error occur ;( : Permission denied\n");
    EXPECT_EQ(RunCli({"edit-chat", demoPath, "902", "x"}).err, "An error occur ;( : Permission denied\n");
    EXPECT_EQ(Current(), original);
    const auto missing = RunCli({"strip-statsme", (dir / "missing.dem").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("An error occur ;( : No such file or directory"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "missing.dem"));
}

TEST_F(Cli, BackupNeverReplacesAnEarlierCopy) {
    // Earlier copies under every name the next seconds could give: the new copy must go elsewhere.
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::vector<std::string> earlier;
    for (std::time_t when = now; when < now + 5; ++when) {
        std::tm local{};
        localtime_r(&when, &local);
        char stamp[32];
        std::snprintf(stamp, sizeof stamp, ".%02d-%02d-%02d.bak", local.tm_hour, local.tm_min, local.tm_sec);
        earlier.push_back(demoPath + stamp);
        WriteFileBytes(earlier.back(), "earlier copy");
    }
    const auto result =
        RunCli({"--json", "set-nick", demoPath, "--from", "Longname", "--to", "L", "--backup"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    for (const auto& copy : earlier) EXPECT_EQ(ReadFileBytes(copy), "earlier copy");
    const auto at = result.out.find("\"backup\":\"") + 10;
    const std::string backup = result.out.substr(at, result.out.find('"', at) - at);
    EXPECT_NE(backup.find("-2.bak"), std::string::npos) << result.out;
    EXPECT_EQ(ReadFileBytes(backup), original);
}

// Newer recordings hold UTF-8 nicks, typed in UTF-8; the others are typed in Windows-1251.
TEST(CliRealDemos, NickEditsOnCopiesChangeOnlyTheirBytes) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    TempDir dir;
    for (const auto& file : RealDemoFiles()) {
        SCOPED_TRACE(file.filename().string());
        std::string expected = ReadFileBytes(file);
        const std::string copy = (dir / file.filename().string()).string();
        WriteFileBytes(copy, expected);
        const auto nicks = demo::ScanNicks(demo::AsBytes(expected)).value();
        if (nicks.empty() || nicks[0].nick.empty()) continue;
        const std::string nick = nicks[0].nick;
        const auto renamed =
            RunCli({"--codepage", demo::IsValidUtf8(nick) ? "utf8" : "1251", "set-nick", copy, "--from",
                    demo::DecodeForDisplay(nick, demo::CodePage::Windows1251), "--to", "x"});
        ASSERT_EQ(renamed.exitCode, 0) << renamed.err;
        for (const auto& entry : nicks)
            if (entry.nick == nick)
                PutAt(expected, entry.position - 1, "x" + std::string(nick.size() - 1, ' '));
        EXPECT_EQ(ReadFileBytes(copy), expected);
    }
}

}  // namespace
}  // namespace vorelix::test
