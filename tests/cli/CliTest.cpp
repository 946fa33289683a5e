// vorelix-cli's command lines run in process on demos in a temporary folder: exit status, output,
// and the bytes of every file afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <future>
#include <map>
#include <stdexcept>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "cli/Cli.h"

namespace vorelix::test {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// A new file to catch output in, outside the folder the commands work in. Not std::tmpfile: on
// Windows it makes its files in the drive's root, where test programs running side by side take each
// other's names, and it then gives no file at all.
std::FILE* CaptureFile() {
    static const TempDir captures;
    static int count = 0;
    fs::path path = captures.Path() / "capture-";
    path += std::to_string(++count);
    std::FILE* file = nullptr;
#ifdef _WIN32
    _wfopen_s(&file, path.c_str(), L"w+b");
#else
    file = std::fopen(path.c_str(), "w+b");
#endif
    if (file == nullptr) throw std::runtime_error("no file to catch the output in: " + path.string());
    return file;
}

CliResult RunCli(const std::vector<std::string>& args, std::FILE* out = CaptureFile()) {
    std::FILE* err = CaptureFile();
    cli::Console console(out, err);
    CliResult result{cli::Run(args, console), {}, {}};
    for (auto [file, text] : {std::pair{out, &result.out}, {err, &result.err}}) {
        std::rewind(file);
        for (int c; (c = std::fgetc(file)) != EOF;) *text += static_cast<char>(c);
        std::fclose(file);
    }
    return result;
}

// Every file of a folder with its bytes.
std::map<std::string, std::string> Files(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files[entry.path().filename().string()] =
            entry.is_regular_file() ? ReadFileBytes(entry.path()) : "<dir>";
    return files;
}

// Runs in the temporary folder, so that output names files as they were given.
class Cli : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::current_path(dir.Path());
        WriteFileBytes("sample.dem", original);
    }
    void TearDown() override { fs::current_path(home); }
    std::string Current() const { return ReadFileBytes("sample.dem"); }

    const fs::path home = fs::current_path();
    TempDir dir;
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
                             "strip-statsme", "check", "repair", "events", "--output", "--json", "--backup",
                             "--codepage", "--kinds", "--messages", "ANSI code page"})
        EXPECT_NE(help.out.find(word), std::string::npos) << word;
    const std::vector<std::pair<std::vector<std::string>, std::string>> usageErrors{
        {{}, "no command given"},
        {{"frobnicate", "sample.dem"}, "unknown command frobnicate"},
        {{"set-nick", "sample.dem", "--from", "Ann"}, "set-nick needs --from OLD and --to NEW"},
        {{"set-nick", "sample.dem", "--from", "Ann", "--to", "B", "--at", "1x"}, "--at takes a position"},
        {{"nicks", "sample.dem", "--from", "Ann"}, "--from, --to and --at belong to set-nick"},
        {{"players", "sample.dem", "sample.dem"}, "wrong number of arguments for players"},
        {{"info", "sample.dem", "--backup"}, "--backup belongs to the commands that change demos"},
        {{"repair", "sample.dem", "--backup"}, "--backup belongs to the commands that change demos"},
        {{"check", "sample.dem", "--output", "x.dem"}, "--output belongs to repair"},
        {{"events", "sample.dem", "--kinds", "chat,frag"},
         "unknown kind \"frag\": --kinds takes chat, kill, round and player, separated by commas"},
        {{"check", "sample.dem", "--kinds", "chat"}, "--kinds belongs to events"},
        {{"events", "sample.dem", "--messages"}, "--messages belongs to check"},
        {{"repair", "sample.dem", "--output", ""}, "--output takes a file name"},
        {{"repair", "sample.dem", "sample.dem"}, "wrong number of arguments for repair"},
        {{"--codepage", "866", "nicks", "sample.dem"}, "--codepage takes 1251, 1252 or utf8"},
        {{"nicks", "sample.dem", "--codepage"}, "--codepage needs a value"},
        {{"--verbose", "--help"}, "unknown option --verbose"},
        {{"info", "-5"}, "unknown option -5"},
        {{"edit-chat", "sample.dem", "0", "x"}, "POS must be a position"},
        {{"delete-chat", "sample.dem"},
         "wrong number of arguments for delete-chat\n"
         "Usage: vorelix-cli delete-chat FILE POS... [--backup]\n"}};
    for (const auto& [args, message] : usageErrors) {
        const auto result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_EQ(result.err.find("vorelix-cli: " + message), 0u) << result.err;
        EXPECT_NE(result.err.find("\nUsage: vorelix-cli "), std::string::npos) << message;
    }
    EXPECT_EQ(Files(dir.Path()), (std::map<std::string, std::string>{{"sample.dem", original}}));
}

TEST_F(Cli, ReadingCommandsAsTextAndJson) {
    WriteFileBytes("short.dem", MakeDemo(405));
    const auto info = RunCli({"--json", "info", "sample.dem", "short.dem"});
    EXPECT_EQ(info.exitCode, 1);
    EXPECT_EQ(
        info.out,
        "{\"files\":[{\"file\":\"sample.dem\",\"ok\":true,\"map_hex\":\"64655f6475737432\",\"map\":"
        "\"de_dust2\",\"mod_hex\":\"63737472696b65\",\"mod\":\"cstrike\",\"hltv\":false,\"size\":2000,"
        "\"size_text\":\"2Кб.\",\"players_hex\":[\"4c6f6e676e616d65\",\"416e6e\"],"
        "\"players\":[\"Longname\",\"Ann\"],\"demo_protocol\":0,\"network_protocol\":0,\"directory\":null,"
        "\"duration\":null,\"frames\":null,\"server\":null,\"recorder\":null,\"recorded_by_hltv\":null,"
        "\"network_protocol_decoded\":\"not decoded (demo protocol "
        "0)\"},{\"file\":\"short.dem\",\"ok\":false,"
        "\"error\":\"Incorrect format of the demo!\"}]}\n");
    EXPECT_EQ(info.err, "short.dem: Incorrect format of the demo!\n");
    EXPECT_EQ(RunCli({"info", "sample.dem"}).out,
              "Demo name: sample.dem\nMap: de_dust2\nMod: cstrike\nType: Demo from eyes...\nSize: 2Кб.\n"
              "Players:\n  Longname\n  Ann\nDemo protocol: 0\nNetwork protocol: 0\nDirectory: not read (demo "
              "protocol 0 is not read past its header: its frame layout is not known)\nDuration: not read\n"
              "Frames: not read\nServer: not read\nRecorder: not read\nRecorded by HLTV: not read\n"
              "Network protocol decoded: not decoded (demo protocol 0)\n");
    EXPECT_EQ(RunCli({"players", "sample.dem"}).out, "Longname\nAnn\n");
    EXPECT_EQ(RunCli({"--json", "nicks", "sample.dem"}).out,
              "{\"file\":\"sample.dem\",\"ok\":true,\"nicks\":[{\"pos\":607,\"nick_hex\":\"416e6e\",\"nick\":"
              "\"Ann\"},{\"pos\":707,\"nick_hex\":\"4c6f6e676e616d65\",\"nick\":\"Longname\"},"
              "{\"pos\":807,\"nick_hex\":\"416e6e\",\"nick\":\"Ann\"}]}\n");
    EXPECT_EQ(RunCli({"chat", "sample.dem"}).out, "902\tAnn :   hello\n1002\tBob :   bye all\n");
}

// A missing file, a folder, an empty file, a file that is no demo: the same kind of answer from
// every command, and nothing written, no backup made.
TEST_F(Cli, EveryCommandRefusesWhatIsNoDemoAlike) {
    fs::create_directory("folder.dem");
    WriteFileBytes("empty.dem", "");
    WriteFileBytes("autoexec.cfg",
                   WithPieces(std::string(1500, '\0'), {{0, "name Player\n"}, {1200, "\\name\\Player\\"}}));
    WriteFileBytes("notademo.txt", WithPieces(std::string(1500, '\0'), {{1100, "\x17\x1D\x01\0"s}}));
    WriteFileBytes("sample.dem.10-00-00.bak", original);
    const auto before = Files(dir.Path());
    const std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> commands{
        {{"info"}, {}},
        {{"players"}, {}},
        {{"nicks"}, {}},
        {{"chat"}, {}},
        {{"events"}, {}},
        {{"--backup", "set-nick"}, {"--from", "Player", "--to", "x"}},
        {{"--backup", "edit-chat"}, {"1201", "x"}},
        {{"--backup", "delete-chat"}, {"1201"}},
        {{"--backup", "strip-statsme"}, {}}};
    const std::vector<std::pair<std::string, std::string>> files{
        {"missing.dem", "An error occur during open file... ("},
        {"folder.dem", "An error occur during open file... ("},
        {"empty.dem", "Incorrect format of the demo!\n"},
        {"autoexec.cfg", "Incorrect format of the demo!\n"},
        {"notademo.txt", "Incorrect format of the demo!\n"}};
    for (const auto& [command, rest] : commands) {
        for (const auto& [file, message] : files) {
            std::vector<std::string> line = command;
            line.push_back(file);
            line.insert(line.end(), rest.begin(), rest.end());
            const auto result = RunCli(line);
            EXPECT_EQ(result.exitCode, 1) << command.back() << " " << file;
            EXPECT_EQ(result.err.find(file + ": " + message), 0u) << result.err;
            line.insert(line.begin(), "--json");
            const auto document = RunCli(line).out;
            EXPECT_NE(document.find("{\"file\":\"" + file + "\",\"ok\":false,\"error\":\""),
                      std::string::npos)
                << document;
            EXPECT_EQ(document.find("\"system_error\":") != std::string::npos, message.ends_with("("))
                << document;
        }
    }
    const auto bak = RunCli({"strip-statsme", "sample.dem.10-00-00.bak", "sample.dem", "autoexec.cfg"});
    EXPECT_EQ(bak.exitCode, 1);
    EXPECT_EQ(bak.err,
              "sample.dem.10-00-00.bak: a .bak copy is never changed\nautoexec.cfg: Incorrect format of the "
              "demo!\n");
    auto after = Files(dir.Path());
    EXPECT_EQ(after["sample.dem"], WithPieces(original, {{1222, "  \n  "}}));
    after["sample.dem"] = original;
    EXPECT_EQ(after, before);
}

TEST_F(Cli, SetNickWritesTheWayTheOldNickIsShownOrSaysWhyNot) {
    const auto all = RunCli({"set-nick", "sample.dem", "--from", "Ann", "--to", "Al"});
    EXPECT_EQ(all.exitCode, 0) << all.err;
    EXPECT_EQ(all.out, "sample.dem: The new nick are successfully saved!\n");
    const auto one =
        RunCli({"--json", "set-nick", "sample.dem", "--from", "Al ", "--to", "Z", "--at", "807"});
    EXPECT_EQ(one.out,
              "{\"file\":\"sample.dem\",\"ok\":true,\"message\":\"The new nick are successfully saved!\","
              "\"written\":[{\"pos\":807,\"length\":3}],\"backup\":null}\n");
    const std::string renamed = WithPieces(original, {{606, "Al "}, {806, "Z  "}});
    EXPECT_EQ(RunCli({"set-nick", "sample.dem", "--from", "Al ", "--to", "Z", "--at", "707"}).err,
              "sample.dem: The nick is not changed: the nick at position 707 is not the one given.\n");
    EXPECT_EQ(Current(), renamed);

    const auto refused =
        RunCli({"--codepage", "1252", "--backup", "set-nick", "sample.dem", "--from", "Z  ", "--to", "Аня"});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(
        refused.err,
        "sample.dem: The nick is not changed: the character \"А\" (U+0410) cannot be written in code page "
        "1252, in which this nick is shown; --codepage chooses another.\n");
    EXPECT_EQ(Files(dir.Path()), (std::map<std::string, std::string>{{"sample.dem", renamed}}));

    // Shown alike, with less room in Windows-1251: left out and named, the others written; as the
    // utilities window does with "All similar".
    const std::string alike = MakeDemo(2000, {{600, "\\name\\ПФЫВ\\"}, {700, "\\name\\\xcf\xd4\xdb\xc2\\"}});
    WriteFileBytes("sample.dem", alike);
    const auto partly =
        RunCli({"--codepage", "1251", "set-nick", "sample.dem", "--from", "ПФЫВ", "--to", "abcde"});
    EXPECT_EQ(partly.exitCode, 0) << partly.err;
    EXPECT_EQ(partly.out,
              "sample.dem: The new nick are successfully saved!\n"
              "sample.dem: Left out at 707: the new nick takes 5 bytes in code page 1251, but the demo has "
              "room for 4 there.\n");
    EXPECT_EQ(Current(), WithPieces(alike, {{606, "abcde   "}}));
    EXPECT_EQ(RunCli({"--codepage", "1251", "nicks", "sample.dem"}).out, "607\tabcde   \n707\tПФЫВ\n");
    WriteFileBytes("sample.dem", alike);
    EXPECT_EQ(
        RunCli({"--codepage", "1251", "--json", "set-nick", "sample.dem", "--from", "ПФЫВ", "--to", "abcde"})
            .out,
        "{\"file\":\"sample.dem\",\"ok\":true,\"message\":\"The new nick are successfully saved!\","
        "\"written\":[{\"pos\":607,\"length\":8}],\"left_out\":[{\"pos\":707,\"reason\":\"the new nick "
        "takes 5 bytes in code page 1251, but the demo has room for 4 there\"}],\"backup\":null}\n");
    EXPECT_EQ(
        RunCli({"--codepage", "1251", "set-nick", "sample.dem", "--from", "\xcf\xd4\xdb\xc2", "--to", "x"})
            .err,
        "sample.dem: The nick is not changed: no such nick in the demo.\n")
        << "matched by the text shown, not by bytes";
}

TEST_F(Cli, EditAndDeleteChat) {
    const auto edited = RunCli({"--codepage", "utf8", "edit-chat", "sample.dem", "902", "Ann :   привет"});
    EXPECT_EQ(edited.exitCode, 0) << edited.err;
    EXPECT_EQ(edited.out, "sample.dem: The message are successfully edited and saved!\n");
    EXPECT_EQ(Current(), WithPieces(original, {{901, "Ann :   пр "}}));
    EXPECT_EQ(RunCli({"edit-chat", "sample.dem", "903", "x"}).exitCode, 1);
    EXPECT_EQ(RunCli({"delete-chat", "sample.dem", "902", "903"}).err,
              "sample.dem: No message is removed: no chat message starts at position 903.\n");
    const auto controls = RunCli({"edit-chat", "sample.dem", "902", "a\nb\2c :   d"});
    EXPECT_EQ(controls.err,
              "sample.dem: The message is not changed: a chat text cannot hold the control character U+000A "
              "(line feed).\n");
    EXPECT_EQ(
        RunCli({"--json", "edit-chat", "sample.dem", "902", ""}).out,
        "{\"file\":\"sample.dem\",\"ok\":true,\"message\":\"Nothing is written: the new text is empty or the "
        "same as the old one.\",\"written\":[],\"backup\":null}\n");

    const auto deleted = RunCli({"--json", "delete-chat", "sample.dem", "902", "1002", "902"});
    EXPECT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_NE(deleted.out.find("\"written\":[{\"pos\":902,\"length\":13},{\"pos\":1002,\"length\":15}]"),
              std::string::npos);
    EXPECT_EQ(Current(), WithPieces(original, {{901, std::string(13, ' ')}, {1001, std::string(15, ' ')}}));
    EXPECT_EQ(RunCli({"chat", "sample.dem"}).out, "The demo don't have any chat messages!\n");
}

// check and repair (and info's frame fields) on a whole demo, a cut one, one whose frames are not read
// and files that are no demo; then repaired copies refused wherever they cannot be new files. Nothing
// is written but the one repaired copy, and every demo keeps its bytes.
TEST_F(Cli, CheckAndRepairTellWhereADemoBreaksAndWriteOnlyANewCopy) {
    const test::FramedDemo framed = test::MakeFramedDemo(3);
    std::string oldProtocol = framed.bytes;
    PutAt(oldProtocol, 8, "\4\0\0\0"s);
    WriteFileBytes("whole.dem", framed.bytes);
    WriteFileBytes("cut.dem", framed.bytes.substr(0, framed.bytes.size() - 188 - 9 - 10));
    WriteFileBytes("old.dem", oldProtocol);
    WriteFileBytes("header.dem", framed.bytes.substr(0, 300));
    WriteFileBytes("empty.dem", "");
    fs::create_directory("ro");
    auto expected = Files(dir.Path());

    struct Case {
        std::vector<std::string> args;
        int exitCode;
        std::string said;  // how standard output, then standard error, start
    };
    std::vector<Case> cases{
        {{"check", "whole.dem"}, 0, "whole.dem: ok\n"},
        // The whole verdicts of these two are in the JSON below.
        {{"check", "cut.dem"}, 1, "cut.dem: offset 3156, a net message frame, 1 s into playback: "},
        {{"check", "old.dem"}, 1, "old.dem: not checked: demo protocol 4 is not read past its header"},
        {{"check", "header.dem"},
         1,
         "header.dem: The demo could not be checked: the file ends inside the demo's 544-byte header\n"},
        {{"check", "missing.dem"}, 1, "missing.dem: An error occur during open file... ("},
        {{"repair", "whole.dem"},
         0,
         "whole.dem: The demo is whole: there is nothing to repair, and nothing was written.\n"},
        {{"repair", "old.dem"},
         1,
         "old.dem: The demo could not be repaired: demo protocol 4 is not read past its header: its frame "
         "layout is not known, so it cannot be repaired\n"},
        {{"repair", "missing.dem"}, 1, "missing.dem: An error occur during open file... ("},
        {{"repair", "empty.dem"}, 1, "empty.dem: The demo could not be repaired: the file is empty\n"},
        {{"repair", "cut.dem"},
         0,
         "cut.dem: The repaired copy cut.repaired.dem keeps 1 s of playback, 2 frames.\n"},
        {{"repair", "cut.dem"}, 1, "cut.dem: The demo could not be repaired into cut.repaired.dem: "},
        {{"repair", "cut.dem", "--output", "cut.dem"},
         1,
         "cut.dem: The demo could not be repaired into cut.dem: "},
        {{"repair", "cut.dem", "--output", "no/x.dem"},
         1,
         "cut.dem: The demo could not be repaired into no/x.dem: "},
        {{"check", "cut.repaired.dem"}, 0, "cut.repaired.dem: ok\n"},
    };
#ifndef _WIN32
    // Permissions do not hold root back.
    if (::geteuid() != 0)
        cases.push_back({{"repair", "cut.dem", "--output", "ro/x.dem"},
                         1,
                         "cut.dem: The demo could not be repaired into ro/x.dem: Permission denied\n"});
#endif
    fs::permissions("ro", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    for (const auto& [args, exitCode, said] : cases) {
        const auto result = RunCli(args);
        EXPECT_EQ(result.exitCode, exitCode) << args[0] << " " << args[1];
        EXPECT_EQ((result.out + result.err).rfind(said, 0), 0u) << result.out << result.err;
    }
    fs::permissions("ro", fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(
        RunCli({"--json", "check", "cut.dem", "old.dem", "empty.dem"}).out,
        "{\"files\":[{\"file\":\"cut.dem\",\"ok\":true,\"whole\":false,\"demo_protocol\":5,"
        "\"network_protocol\":48,\"directory\":\"missing\",\"duration\":1.0,\"frames\":2,\"problem\":"
        "\"offset 3156, a net message frame, 1 s into playback: the file ends inside a net message frame (it "
        "needs 519 bytes, 509 are left)\"},"
        "{\"file\":\"old.dem\",\"ok\":true,\"whole\":null,\"demo_protocol\":4,\"network_protocol\":48,"
        "\"directory\":null,\"duration\":null,\"frames\":null,\"problem\":\"not checked: demo protocol 4 is "
        "not read past its header: its frame layout is not known\"},"
        "{\"file\":\"empty.dem\",\"ok\":false,\"error\":\"The demo could not be checked: the file is "
        "empty\"}]}\n");
    // system_error carries only what the system said: the program's own reasons are in the message.
    const auto refusal = cli::Json::parse(RunCli({"--json", "repair", "empty.dem"}).out);
    EXPECT_EQ(refusal["error"], "The demo could not be repaired: the file is empty");
    EXPECT_FALSE(refusal.contains("system_error"));
    const auto taken = cli::Json::parse(RunCli({"--json", "repair", "cut.dem"}).out);
    EXPECT_TRUE(taken.contains("system_error")) << taken.dump();
    EXPECT_EQ(
        taken["error"].get<std::string>().rfind("The demo could not be repaired into cut.repaired.dem: ", 0),
        0u);
    const auto info = cli::Json::parse(RunCli({"--json", "info", "whole.dem"}).out)["files"][0];
    EXPECT_EQ(info["directory"], "ok");
    EXPECT_EQ(info["duration"], 2.0);
    EXPECT_EQ(info["frames"], 3);
    expected["cut.repaired.dem"] = ReadFileBytes("cut.repaired.dem");
    EXPECT_EQ(Files(dir.Path()), expected);
}

// A sound frame's time set back in a whole demo: check passes and tells it, in text and in JSON.
TEST_F(Cli, CheckTellsATimeOutOfOrderAsAFinding) {
    const test::FramedDemo framed = test::MakeFramedDemo(3);
    std::string demo = framed.bytes;
    const std::size_t sound = framed.frameOffsets[6];
    PutAt(demo, sound + 1, Int32(std::bit_cast<std::int32_t>(-1.0f)));
    WriteFileBytes("back.dem", demo);
    const std::string finding =
        "offset " + std::to_string(sound) +
        ", a sound frame, 0.1 s into playback: the frame's time goes back from 0.1 s to -1 s";
    const auto text = RunCli({"check", "back.dem"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out, "back.dem: ok; finding: " + finding + "\n");
    const auto json = cli::Json::parse(RunCli({"--json", "check", "back.dem"}).out)["files"][0];
    EXPECT_EQ(json["whole"], true);
    EXPECT_EQ(json["problem"], nullptr);
    EXPECT_EQ(json["findings"], cli::Json::array({finding}));
    EXPECT_EQ(RunCli({"repair", "back.dem"}).out,
              "back.dem: The demo is whole: there is nothing to repair, and nothing was written.\n");
}

// events on real recordings, and check --messages: every chat line of one where its place says, the
// kinds asked for, and a copy cut inside a frame that keeps the events before the cut.
TEST_F(Cli, EventsAndDecodedMessagesOfRealDemos) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const fs::path antifakPath = RealDemosDir() / "uds_antifak.dem";
    const std::string antifak = cli::PathText(antifakPath);
    const std::string bytes = ReadFileBytes(antifakPath);
    const std::string spam = "  chat  222ahahahaha555: Test spam\n";
    const std::string recording =
        "Recording: server \"Counter-Strike\", map de_dune2, recorded by 222ahahahaha555 (slot 1), "
        "first-person, build 8684\n";
    const std::string firstThree = recording + "00:00.47" + spam + "00:05.48" + spam + "00:10.49" + spam;
    const auto plain = RunCli({"events", antifak});
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.out, firstThree + "00:15.50" + spam + "00:20.51" + spam + "00:25.50" + spam + "00:30.52" +
                             spam + "Messages: every one of 1254 message frames decoded\n");

    const auto json = cli::Json::parse(RunCli({"--json", "events", antifak}).out)["files"][0];
    EXPECT_EQ(json["recording"]["recorder"], "222ahahahaha555");
    ASSERT_EQ(json["events"].size(), 7u);
    for (const auto& chat : json["events"]) {
        const std::string placed =
            bytes.substr(chat["pos"].get<std::size_t>() - 1, chat["room"].get<std::size_t>());
        EXPECT_EQ(placed, "Test spam");
        EXPECT_EQ(chat["text_hex"], cli::Hex(placed));
        EXPECT_EQ(chat["text"], "Test spam");
    }
    EXPECT_EQ(json["messages"]["whole"], true);

    // chat lists the seven 1.6 lines the byte rule misses; edit-chat and delete-chat write their texts.
    WriteFileBytes("antifak.dem", bytes);
    const auto listed = RunCli({"chat", "antifak.dem"});
    EXPECT_EQ(listed.out.substr(0, listed.out.find('\n', 0) + 1), "51557\t222ahahahaha555: Test spam\n");
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 7);
    EXPECT_EQ(RunCli({"edit-chat", "antifak.dem", "737997", "gg"}).exitCode, 0);
    EXPECT_EQ(RunCli({"delete-chat", "antifak.dem", "51557"}).exitCode, 0);
    EXPECT_EQ(ReadFileBytes("antifak.dem"),
              WithPieces(bytes, {{51556, std::string(9, ' ')}, {737996, "gg       "}}));
    const auto after = cli::Json::parse(RunCli({"--json", "chat", "antifak.dem"}).out)["lines"];
    EXPECT_EQ(after[6]["text"], "222ahahahaha555: gg       ");
    EXPECT_EQ(after[6]["sender"], "222ahahahaha555");
    EXPECT_EQ(after[6]["room"], 9);

    // info adds the recording's facts; a proxy's recording without the marker is an HLTV demo.
    const std::string proxy =
        cli::PathText(RealDemosDir() / "uds_demotesttestste.dem-2405171129-cs_assault.dem");
    const auto facts = RunCli({"info", antifak, proxy});
    EXPECT_NE(facts.out.find("Frames: 1238\nServer: Counter-Strike\nRecorder: 222ahahahaha555\n"
                             "Recorded by HLTV: no\nNetwork protocol decoded: yes\n"),
              std::string::npos)
        << facts.out;
    EXPECT_NE(facts.out.find("Type: HLTV demo!\n"), std::string::npos);
    EXPECT_NE(facts.out.find("Recorder: HLTV Proxy\nRecorded by HLTV: yes\n"), std::string::npos);
    const auto factsJson = cli::Json::parse(RunCli({"--json", "info", proxy}).out)["files"][0];
    EXPECT_EQ(factsJson["hltv"], true);
    EXPECT_EQ(factsJson["recorded_by_hltv"], true);
    EXPECT_EQ(factsJson["server"], "Counter-Strike 1.6 Server:0");

    const std::string furion = cli::PathText(RealDemosDir() / "more" / "uds_furion_psilent1.dem");
    const auto kills = RunCli({"events", "--kinds", "kill", furion});
    EXPECT_EQ(kills.exitCode, 0);
    std::size_t killLines = 0;
    for (std::size_t at = kills.out.find('\n') + 1; at < kills.out.size();
         at = kills.out.find('\n', at) + 1) {
        if (kills.out.compare(at, 9, "Messages:") == 0) break;
        EXPECT_EQ(kills.out.substr(at + 8, 8), "  kill  ") << kills.out.substr(at, 80);
        ++killLines;
    }
    EXPECT_EQ(killLines, 49u);
    const auto picked = RunCli({"events", "--kinds", "round,player",
                                cli::PathText(RealDemosDir() / "uds_cs-rulit-de_alexandra.dem")});
    EXPECT_EQ(picked.out.find("  chat  "), std::string::npos);
    EXPECT_EQ(picked.out.find("  kill  "), std::string::npos);
    EXPECT_NE(
        picked.out.find("00:11.33  round  Counter-Terrorists win (Terrorists 1, Counter-Terrorists 12)\n"),
        std::string::npos);

    // Cut inside the net-message frame that starts at 299917, after the third chat line.
    WriteFileBytes("cut.dem", bytes.substr(0, 300000));
    const auto cut = RunCli({"events", antifak, "cut.dem"});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_EQ(
        cut.out.substr(cut.out.find("\n\ncut.dem:\n") + 11),
        firstThree +
            "Messages: every one of 477 message frames decoded; the frames end early at offset 299917: the "
            "file ends inside a net message frame (it needs 477 bytes, 83 are left)\n");
    EXPECT_EQ(cut.out.rfind(antifak + ":\n" + recording, 0), 0u);

    const auto checked = RunCli({"check", "--messages", antifak});
    EXPECT_EQ(checked.exitCode, 0);
    EXPECT_EQ(checked.out, antifak + ": ok; messages: every one of 1254 message frames decoded\n");
    const auto checkedJson = RunCli({"--json", "check", "--messages", antifak, "cut.dem"});
    EXPECT_EQ(checkedJson.exitCode, 1);
    const auto files = cli::Json::parse(checkedJson.out)["files"];
    EXPECT_EQ(files[0]["messages"]["whole"], true);
    EXPECT_EQ(files[0]["messages"]["frames_decoded"], 1254);
    EXPECT_EQ(files[1]["messages"]["whole"], false);
    EXPECT_EQ(files[1]["messages"]["frames_end"],
              "offset 299917: the file ends inside a net message frame (it needs 477 bytes, 83 are left)");
}

// Backups only when a write follows, right before it: not for a read-only demo, nor for one with
// nothing to strip.
TEST_F(Cli, BackupsOnlyRightBeforeAWrite) {
    WriteFileBytes("plain.dem", MakeDemo(3000));
    WriteFileBytes("readonly.dem", original);
    fs::permissions("readonly.dem", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const auto stripped = RunCli({"--json", "--backup", "strip-statsme", "plain.dem", "readonly.dem"});
    EXPECT_EQ(stripped.exitCode, 1);
    EXPECT_EQ(
        stripped.out.find(
            "{\"files\":[{\"file\":\"plain.dem\",\"ok\":true,\"found\":false,\"inscriptions\":0,"
            "\"bytes_blanked\":0,\"message\":\"Inscriptions of StatsMe mod are not found!\",\"backup\":null},"
            "{\"file\":\"readonly.dem\",\"ok\":false,\"error\":\"An error occur ;( : "),
        0u)
        << stripped.out;
    EXPECT_EQ(stripped.err.find("readonly.dem: An error occur ;( : "), 0u);
    EXPECT_EQ(Files(dir.Path()).size(), 3u) << "no copy made";

    const auto result = RunCli({"--backup", "set-nick", "sample.dem", "--from", "Longname", "--to", "L"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out.substr(0, 20), "sample.dem: Backup: ");
    EXPECT_EQ(ReadFileBytes(result.out.substr(20, result.out.find('\n') - 20)), original);
}

#ifndef _WIN32
TEST_F(Cli, SpecialFilesNamesAndAFailedOutputAreToldAtOnce) {
    // A FIFO would block a reader until someone writes: refused instead. Should the command block,
    // opening the FIFO's other end lets it go, and the test fails.
    ASSERT_EQ(::mkfifo("pipe.dem", 0600), 0);
    auto pending = std::async(std::launch::async, [] { return RunCli({"info", "pipe.dem"}); });
    const bool done = pending.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
    if (!done) ::close(::open("pipe.dem", O_WRONLY | O_NONBLOCK));
    EXPECT_TRUE(done) << "info blocked on a FIFO";
    EXPECT_EQ(pending.get().exitCode, 1);

    WriteFileBytes("na\xefve.dem", original);  // Latin-1 "naïve": not UTF-8
    EXPECT_EQ(RunCli({"--json", "chat", "na\xefve.dem"})
                  .out.find("{\"file\":\"naïve.dem\",\"file_hex\":\"6e61ef76652e64656d\""),
              0u);

    const auto full = RunCli({"strip-statsme", "sample.dem", "na\xefve.dem"}, std::fopen("/dev/full", "w"));
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_EQ(full.err, "vorelix-cli: the output cannot be written (No space left on device)\n");
    EXPECT_EQ(ReadFileBytes("na\xefve.dem"), original) << "the command ended at the first failed output";
}
#endif

}  // namespace
}  // namespace vorelix::test
