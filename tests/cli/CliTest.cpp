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
#include "demo/StatsMe.h"

namespace vorelix::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A demo with nicks, chat lines and one StatsMe inscription at known places.
std::string SampleDemo() {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 600, "\\name\\Ann\\");
    PutAt(demo, 700, "\\name\\Longname\\");
    PutAt(demo, 800, "\\name\\Ann\0"s);
    PutAt(demo, 900,
          "\x02"
          "Ann :   hello\n");
    PutAt(demo, 1000,
          "\x02"
          "Bob :   bye all\n");
    PutAt(demo, 1200, "\x17\x1D\x01\0"s + std::string(18, '\x07') + "gg\nwp\0"s);
    return demo;
}

class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        demoPath = (dir / "sample.dem").string();
        original = SampleDemo();
        WriteFileBytes(demoPath, original);
    }
    std::string Current() const { return ReadFileBytes(demoPath); }

    TempDir dir;
    std::string demoPath;
    std::string original;
};

TEST_F(Cli, HelpAndUsageErrors) {
    const auto help = RunCli({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"info", "players", "nicks", "chat", "set-nick", "edit-chat", "delete-chat",
                                "strip-statsme", "--json", "--backup", "--codepage"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    EXPECT_EQ(RunCli({}).exitCode, 2);
    EXPECT_EQ(RunCli({"frobnicate", demoPath}).exitCode, 2);
    EXPECT_EQ(RunCli({"set-nick", demoPath, "--from", "Ann"}).exitCode, 2);
    EXPECT_EQ(RunCli({"--codepage", "866", "nicks", demoPath}).exitCode, 2);
    EXPECT_EQ(RunCli({"info", demoPath, "--backup"}).exitCode, 2);
    EXPECT_EQ(RunCli({"edit-chat", demoPath, "0", "x"}).exitCode, 2);
    const auto nothing = RunCli({"delete-chat", demoPath});
    EXPECT_EQ(nothing.exitCode, 2);
    EXPECT_NE(nothing.err.find("And why messages for removal are not selected? What to delete?"),
              std::string::npos);
    EXPECT_EQ(Current(), original);
}

TEST_F(Cli, InfoReportsEachDemoAndRefusesWhatIsNotOne) {
    WriteFileBytes(dir / "short.dem", MakeDemo(405));
    const std::string shortPath = (dir / "short.dem").string();
    const auto result = RunCli({"--json", "info", demoPath, shortPath});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out,
              "{\"files\":[{\"file\":\"" + demoPath +
                  "\",\"ok\":true,\"map_hex\":\"64655f6475737432\",\"map\":\"de_dust2\","
                  "\"mod_hex\":\"63737472696b65\",\"mod\":\"cstrike\",\"hltv\":false,\"size\":2000,"
                  "\"size_text\":\"2Кб.\",\"players_hex\":[\"4c6f6e676e616d65\",\"416e6e\"],"
                  "\"players\":[\"Longname\",\"Ann\"]},{\"file\":\"" +
                  shortPath + "\",\"ok\":false,\"error\":\"Incorrect format of the demo!\"}]}\n");
    EXPECT_NE(result.err.find("Incorrect format of the demo!"), std::string::npos);

    const auto text = RunCli({"info", demoPath});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out,
              "Demo name: sample.dem\nMap: de_dust2\nMod: cstrike\nType: Demo from eyes...\nSize: 2Кб.\n"
              "Players:\n  Longname\n  Ann\n");
}

TEST_F(Cli, NicksChatAndPlayersAsJson) {
    const auto nicks = RunCli({"--json", "nicks", demoPath});
    EXPECT_EQ(nicks.exitCode, 0);
    EXPECT_EQ(nicks.out, "{\"file\":\"" + demoPath +
                             "\",\"nicks\":[{\"pos\":607,\"nick_hex\":\"416e6e\",\"nick\":\"Ann\"},"
                             "{\"pos\":707,\"nick_hex\":\"4c6f6e676e616d65\",\"nick\":\"Longname\"},"
                             "{\"pos\":807,\"nick_hex\":\"416e6e\",\"nick\":\"Ann\"}]}\n");
    const auto chat = RunCli({"--json", "chat", demoPath});
    EXPECT_EQ(chat.exitCode, 0);
    EXPECT_EQ(chat.out, "{\"file\":\"" + demoPath +
                            "\",\"lines\":[{\"pos\":902,\"text_hex\":\"416e6e203a20202068656c6c6f\","
                            "\"text\":\"Ann :   hello\"},{\"pos\":1002,\"text_hex\":"
                            "\"426f62203a20202062796520616c6c\",\"text\":\"Bob :   bye all\"}]}\n");
    const auto players = RunCli({"players", demoPath});
    EXPECT_EQ(players.out, "Longname\nAnn\n");
    WriteFileBytes(dir / "tiny.dem", MakeDemo(999));
    const auto tiny = RunCli({"nicks", (dir / "tiny.dem").string()});
    EXPECT_EQ(tiny.exitCode, 1);
    EXPECT_EQ(tiny.err, "An error occur during open file...\n");
}

TEST_F(Cli, SetNickPadsWithBlanksEverywhereOrAtOnePosition) {
    const auto all = RunCli({"set-nick", demoPath, "--from", "Ann", "--to", "Al"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "The new nick are successfully saved!\n");
    std::string expected = original;
    PutAt(expected, 606, "Al ");
    PutAt(expected, 806, "Al ");
    EXPECT_EQ(Current(), expected);

    const auto one = RunCli({"--json", "set-nick", demoPath, "--from", "Al ", "--to", "Z", "--at", "807"});
    EXPECT_EQ(one.exitCode, 0) << one.err;
    EXPECT_EQ(one.out, "{\"file\":\"" + demoPath +
                           "\",\"ok\":true,\"message\":\"The new nick are successfully saved!\","
                           "\"written\":[{\"pos\":807,\"length\":3}],\"backup\":null}\n");
    PutAt(expected, 806, "Z  ");
    EXPECT_EQ(Current(), expected);
}

TEST_F(Cli, SetNickRefusesWithoutWritingAByte) {
    const auto tooLong = RunCli({"set-nick", demoPath, "--from", "Ann", "--to", "Annabel"});
    EXPECT_EQ(tooLong.exitCode, 1);
    EXPECT_NE(tooLong.err.find("room"), std::string::npos);
    EXPECT_EQ(RunCli({"set-nick", demoPath, "--from", "ann", "--to", "x"}).exitCode, 1);
    EXPECT_EQ(RunCli({"set-nick", demoPath, "--from", "Ann", "--to", "x", "--at", "707"}).exitCode, 1);
    const auto cyrillic = RunCli({"set-nick", demoPath, "--from", "Ann", "--to", "Аня"});  // not in 1252
    EXPECT_EQ(cyrillic.exitCode, 1);
    EXPECT_NE(cyrillic.err.find("U+0410"), std::string::npos);
    EXPECT_EQ(Current(), original);
    EXPECT_EQ(fs::directory_iterator(dir.Path())->path().filename(), "sample.dem");  // no backup either
}

TEST_F(Cli, SetNickInCodePage1251) {
    std::string demo = MakeDemo(2000);
    PutAt(demo, 600, "\\name\\\xc2\xe0\xf1\xff\\");  // "Вася" in Windows-1251
    WriteFileBytes(demoPath, demo);
    const auto shown = RunCli({"--codepage", "1251", "nicks", demoPath});
    EXPECT_EQ(shown.out, "607\tВася\n");
    const auto renamed =
        RunCli({"--codepage", "1251", "set-nick", demoPath, "--from", "Вася", "--to", "Пётр"});
    EXPECT_EQ(renamed.exitCode, 0) << renamed.err;
    PutAt(demo, 606, "\xcf\xb8\xf2\xf0");
    EXPECT_EQ(Current(), demo);
}

TEST_F(Cli, EditAndDeleteChat) {
    const auto edited = RunCli({"edit-chat", demoPath, "902", "Ann :   hi"});
    EXPECT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(edited.out, "The message are successfully edited and saved!\n");
    std::string expected = original;
    PutAt(expected, 901, "Ann :   hi   ");
    EXPECT_EQ(Current(), expected);

    const auto cut = RunCli({"edit-chat", demoPath, "1002", "Bob :   this is far too long"});
    EXPECT_EQ(cut.exitCode, 0);
    PutAt(expected, 1001, "Bob :   this is");
    EXPECT_EQ(Current(), expected);

    const auto same = RunCli({"edit-chat", demoPath, "1002", "Bob :   this is"});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(RunCli({"edit-chat", demoPath, "903", "x"}).exitCode, 1);
    EXPECT_EQ(Current(), expected);

    const auto deleted = RunCli({"delete-chat", demoPath, "902", "1002"});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "The selected messages are successfully removed!\n");
    PutAt(expected, 901, std::string(13, ' '));
    PutAt(expected, 1001, std::string(15, ' '));
    EXPECT_EQ(Current(), expected);
    const auto none = RunCli({"chat", demoPath});
    EXPECT_EQ(none.out, "The demo don't have any chat messages!\n");
    EXPECT_EQ(RunCli({"delete-chat", demoPath, "902"}).exitCode, 1);
}

TEST_F(Cli, StripStatsMeBlanksTextsAndReportsNotFound) {
    const auto stripped = RunCli({"strip-statsme", demoPath});
    EXPECT_EQ(stripped.exitCode, 0) << stripped.err;
    EXPECT_EQ(stripped.out, demoPath + ": All inscriptions of StatsMe mod are successfully removed!\n");
    std::string expected = original;
    PutAt(expected, 1222, "  \n  ");
    EXPECT_EQ(Current(), expected);

    const std::string plain = (dir / "plain.dem").string();
    WriteFileBytes(plain, MakeDemo(3000));
    const auto json = RunCli({"--json", "strip-statsme", plain});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out,
              "{\"files\":[{\"file\":\"" + plain +
                  "\",\"ok\":true,\"found\":false,\"inscriptions\":0,\"bytes_blanked\":0,"
                  "\"message\":\"Inscriptions of StatsMe mod are not found!\",\"backup\":null}]}\n");
}

TEST_F(Cli, FailedStatsMeRemovalIsReportedAsAFailure) {
    fs::permissions(demoPath, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto readOnly = RunCli({"strip-statsme", demoPath});
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_EQ(readOnly.out, "");
    EXPECT_EQ(readOnly.err, demoPath + ": An error occur ;( : Permission denied\n");
    EXPECT_EQ(Current(), original);

    const auto missing = RunCli({"strip-statsme", (dir / "missing.dem").string()});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("An error occur ;( : No such file or directory"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "missing.dem"));
    const auto edit = RunCli({"edit-chat", demoPath, "902", "Ann :   hi"});
    EXPECT_EQ(edit.exitCode, 1);
    EXPECT_EQ(edit.err, "An error occur ;( : Permission denied\n");
    EXPECT_EQ(Current(), original);
}

TEST_F(Cli, BackupNeverReplacesAnEarlierCopy) {
    // Earlier copies under every name the next seconds could give: the new copy must go elsewhere.
    const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::vector<fs::path> earlier;
    for (int ahead = 0; ahead < 5; ++ahead) {
        const std::time_t when = now + ahead;
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
    const auto at = result.out.find("\"backup\":\"");
    ASSERT_NE(at, std::string::npos);
    const std::string backup = result.out.substr(at + 10, result.out.find('"', at + 10) - at - 10);
    EXPECT_NE(backup.find("-2.bak"), std::string::npos) << backup;
    EXPECT_EQ(ReadFileBytes(backup), original);
}

TEST(CliRealDemos, EditsOnCopiesChangeOnlyTheirBytes) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    TempDir dir;
    for (const auto& file : RealDemoFiles()) {
        SCOPED_TRACE(file.filename().string());
        const std::string before = ReadFileBytes(file);
        const std::string copy = (dir / file.filename().string()).string();
        WriteFileBytes(copy, before);

        const auto statsMe = demo::PlanStatsMeRemoval(demo::AsBytes(before));
        std::string expected = before;
        for (const auto& run : statsMe.plan.runs) PutAt(expected, run.offset, run.bytes);
        const auto stripped = RunCli({"strip-statsme", copy});
        ASSERT_EQ(stripped.exitCode, 0) << stripped.err;
        EXPECT_EQ(ReadFileBytes(copy), expected);

        const auto nicks = demo::ScanNicks(demo::AsBytes(expected)).value();
        if (nicks.empty() || nicks[0].nick.empty()) continue;
        const std::string& nick = nicks[0].nick;
        // Newer recordings hold UTF-8 nicks: those are typed in UTF-8, the others in Windows-1251.
        const bool utf8 = demo::IsValidUtf8(nick);
        const auto renamed = RunCli({"--codepage", utf8 ? "utf8" : "1251", "set-nick", copy, "--from",
                                     demo::DecodeForDisplay(nick, demo::CodePage::Windows1251), "--to", "x"});
        ASSERT_EQ(renamed.exitCode, 0) << renamed.err;
        for (const auto& entry : nicks) {
            if (entry.nick == nick)
                PutAt(expected, entry.position - 1, "x" + std::string(nick.size() - 1, ' '));
        }
        const std::string after = ReadFileBytes(copy);
        EXPECT_EQ(after.size(), before.size());
        EXPECT_EQ(after, expected);
    }
}

}  // namespace
}  // namespace vorelix::test
