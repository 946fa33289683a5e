// Tests of the launch decisions over a machine answered from data: the plan and its refusals, the video
// settings, the speed factor, configs.ini and the config names it leaves out, and the autoexec record.
#include <gtest/gtest.h>

#include <set>

#include "launch/configs/AutoexecRecord.h"
#include "launch/configs/ConfigName.h"
#include "launch/LaunchPlan.h"
#include "launch/SpeedFactor.h"

namespace vorelix::launch {
namespace {

const std::wstring kGame = L"C:\\Games\\Half-Life";
const std::wstring kMod = kGame + L"\\cstrike";

// A code page that holds the first 256 characters (Latin-1) and nothing else.
std::optional<std::string> ToLatin1(std::wstring_view text) {
    std::string bytes;
    for (wchar_t c : text) {
        if (static_cast<unsigned>(c) > 0xFF) return std::nullopt;
        bytes += static_cast<char>(c);
    }
    return bytes;
}

// A Half-Life folder whose cstrike holds cached.wad and a demo, and a demo in another folder.
using Files = std::set<std::wstring>;
const Files kInstalled = {kGame + L"\\hl.exe",    kGame + L"\\hw.dll",    kMod,
                          kMod + L"\\cached.wad", kMod + L"\\é demo.dem", L"D:\\Demos\\final.dem"};

std::variant<LaunchPlan, UserMessage> Plan(const LaunchInputs& in, Files files = kInstalled) {
    return PlanLaunch(in, {[files](const std::wstring& path) { return files.count(path) > 0; }, ToLatin1});
}

LaunchInputs StagedInputs() {
    return {.hlExePath = kGame + L"\\hl.exe",
            .renderer = L"OpenGL",
            .resolution = L"1024x768",
            .configs = {{L"a.cfg", true}, {L"b.cfg", false}, {L"my_config.cfg", true}},
            .commandLine = L"-game cstrike -console",
            .speed = L"100",
            .demoFolder = L"D:\\Demos",
            .selectedDemo = L"final.dem",
            .selectedDemoPath = L"D:\\Demos\\final.dem"};
}

TEST(PlanLaunch, StagesADemoFromElsewhereAndNamesAModFolderDemoByItsOwnName) {
    const LaunchPlan staged{
        {RegistryDWord{L"EngineModeW", 1024}, {L"EngineModeH", 768}, {L"EngineType", 2}},
        true,
        StagedDemo{L"D:\\Demos\\final.dem", kMod + L"\\vorelix.dem"},
        kMod + L"\\vorelix.cfg",
        L"playdemo \"vorelix.dem\"",
        "playdemo \"vorelix.dem\"\r\n",
        kGame + L"\\hl.exe",
        L"-game cstrike -console -toconsole  +exec a.cfg +exec my_config.cfg +exec vorelix.cfg",
        kGame,
        5,
        kGame,
        kMod,
        L"1"};
    EXPECT_EQ(std::get<LaunchPlan>(Plan(StagedInputs())), staged);

    // In the mod folder: no copy, the demo's own name in the code page; blanks of the command line kept.
    auto in = StagedInputs();
    in.command = DemoCommand::ViewDemo;
    in.demoFolder = kMod;
    in.selectedDemo = L"é demo.dem";
    in.selectedDemoPath = kMod + L"\\é demo.dem";
    in.configs = {{L"a.cfg", false}, {L"жара.cfg", false}};  // unchecked: never encoded
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
    EXPECT_EQ(std::get<LaunchPlan>(Plan(in)), mod);

    // Installed at a drive's root: the game folder is "C:", the game starts in "C:\", not in C:'s
    // current folder.
    in.hlExePath = L"C:\\hl.exe";
    const auto root =
        std::get<LaunchPlan>(Plan(in, {L"C:\\hl.exe", L"C:\\hw.dll", L"C:\\cstrike", in.selectedDemoPath}));
    EXPECT_EQ(root.gameFolder + L"|" + root.workingFolder + L"|" + root.configPath,
              L"C:|C:\\|C:\\cstrike\\vorelix.cfg");
}

TEST(PlanLaunch, StopsBeforeAnythingWithAMessageNamingWhatIsMissing) {
    const struct {
        void (*change)(LaunchInputs&, Files&);
        std::wstring expected;  // a part of the message
    } cases[] = {
        {[](LaunchInputs&, Files& f) { f.erase(kGame + L"\\hl.exe"); },
         L"The path to hl.exe is not specified! Please specify it!"},
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
        {[](LaunchInputs& in, Files&) {
             in.configs.push_back({L"net rate.cfg", true});
         },
         L"\"net rate.cfg\" cannot be checked: its name holds a blank"},
        {[](LaunchInputs& in, Files& f) {
             in.demoFolder = kMod, in.selectedDemo = L"жара.dem",
             f.insert(in.selectedDemoPath = kMod + L"\\жара.dem");
         },
         L"demo \"жара.dem\" holds"},
    };
    for (const auto& c : cases) {
        auto in = StagedInputs();
        auto files = kInstalled;
        c.change(in, files);
        const auto result = Plan(in, files);
        ASSERT_TRUE(std::holds_alternative<UserMessage>(result)) << c.expected;
        const auto& message = std::get<UserMessage>(result);
        EXPECT_NE(message.text.find(c.expected), std::wstring::npos) << message.text;
        EXPECT_EQ(message.title, c.expected.starts_with(L"The path") ? L"Where is HL.EXE" : L"")
            << c.expected;
    }
}

TEST(VideoSettingsAndSpeed, ReadTheNumbersTheForgivingWayAroundTheFirstLowerCaseX) {
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
    // The percentage over a hundred, with a point, and 1 when it is not above zero.
    for (const auto& [speed, factor] :
         {std::pair{L"7", L"0.07"}, {L"999", L"9.99"}, {L"0", L"1"}, {L"", L"1"}})
        EXPECT_EQ(SpeedFactorText(speed), factor) << speed;
    EXPECT_EQ(ReplaceAll(L"1,5,,", L",", L".") + ReplaceAll(L"aa", L"a", L"aa"), L"1.5..aaaa");
}

TEST(ConfigsIni, ChecksNamesEqualToALineAndIsEachCheckedNameWithCrLfThenOneMore) {
    const std::vector<std::wstring> names = {L"a.cfg",         L"b.cfg", L"c.cfg",
                                             L"my_config.cfg", L"é.cfg", L"ж.cfg"};
    // Case and blanks count; any line end; no line end after the last line; no '?' stands for ж.
    for (const auto& [ini, checks] : std::initializer_list<std::pair<std::string, std::string>>{
             {"a.cfg\r\nb.cfg\r\n\r\n", "110000"},
             {"A.CFG\r\n b.cfg\r\nc.cfg \r\nc.cfg\t\r\n", "000000"},
             {"a.cfg\nc.cfg", "101000"},
             {"a.cfg\rb.cfg\r", "110000"},
             {"\r\n\r\nunknown.cfg\r\nmy_config.cfg\r\n", "000100"},
             {"\xE9.cfg\r\n?.cfg\r\n\x1f.cfg\r\n", "000010"}}) {
        std::string read;
        for (const auto& entry : ApplyConfigsIni(names, ini, ToLatin1).entries)
            read += entry.checked ? '1' : '0';
        EXPECT_EQ(read, checks) << ini;
    }
    auto entries = ApplyConfigsIni(names, "", ToLatin1).entries;
    EXPECT_EQ(std::get<std::string>(ConfigsIniBytes(entries, ToLatin1)), "\r\n");
    entries[1].checked = entries[3].checked = entries[4].checked = true;
    const auto bytes = std::get<std::string>(ConfigsIniBytes(entries, ToLatin1));
    EXPECT_EQ(bytes, "b.cfg\r\nmy_config.cfg\r\n\xE9.cfg\r\n\r\n");
    EXPECT_EQ(ApplyConfigsIni(names, bytes, ToLatin1), (ConfigChoice{entries, {}}));
    entries[5].checked = true;
    const auto refused = ConfigsIniBytes(entries, ToLatin1);
    ASSERT_TRUE(std::holds_alternative<UserMessage>(refused));
    EXPECT_NE(std::get<UserMessage>(refused).text.find(L"\"ж.cfg\""), std::wstring::npos);
}

TEST(ConfigNames, ThoseTheCommandLineWouldSplitOrReadAsOptionsAreNeverCheckedAndSaidToBeLeftOut) {
    for (const wchar_t* name : {L"net rate.cfg", L"tab\tbed.cfg", L"my cfg -dev +sv_cheats 1.cfg",
                                L"say\"hi.cfg", L"a;quit.cfg", L"-dev.cfg", L"+quit.cfg"})
        EXPECT_TRUE(WhyNotOnCommandLine(name).has_value()) << name;
    for (const wchar_t* name : {L"a.cfg", L"net-rate.cfg", L"x+y.cfg", L"жара.cfg", L"_.cfg"})
        EXPECT_FALSE(WhyNotOnCommandLine(name).has_value()) << name;

    // configs.ini names two of them (one twice): the others stay checked, the two are named once each.
    const std::vector<std::wstring> names = {L"a.cfg", L"my cfg -dev +sv_cheats 1.cfg", L"net rate.cfg",
                                             L"z.cfg"};
    const auto choice = ApplyConfigsIni(
        names, "net rate.cfg\r\na.cfg\r\nmy cfg -dev +sv_cheats 1.cfg\r\nnet rate.cfg\r\nz.cfg\r\n",
        ToLatin1);
    EXPECT_EQ(choice, (ConfigChoice{{{L"a.cfg", true},
                                     {L"my cfg -dev +sv_cheats 1.cfg", false},
                                     {L"net rate.cfg", false},
                                     {L"z.cfg", true}},
                                    {L"net rate.cfg", L"my cfg -dev +sv_cheats 1.cfg"}}));
    const auto told = ConfigsLeftOut(choice.leftOut).text;
    EXPECT_NE(told.find(L"configs.ini"), std::wstring::npos);
    EXPECT_NE(told.find(L"\r\n    net rate.cfg\r\n    my cfg -dev +sv_cheats 1.cfg"), std::wstring::npos)
        << told;
    // What is left carries the rest of the command line unchanged.
    EXPECT_EQ(LaunchParameters(L"-game cstrike", choice.entries),
              L"-game cstrike -toconsole  +exec a.cfg +exec z.cfg +exec vorelix.cfg");
}

TEST(AutoexecRecord, KeepsTheFoldersAcrossRunsAndGivesBackOnlyWhatNothingTookTheNameOf) {
    const std::vector<std::wstring> folders = {L"C:\\Games\\Half-Life\\cstrike", L"D:\\Игра\\cstrike"};
    EXPECT_EQ(StoredFolders(folders), L"C:\\Games\\Half-Life\\cstrike|D:\\Игра\\cstrike");
    EXPECT_EQ(FoldersFromStored(StoredFolders(folders)), folders);
    EXPECT_TRUE(FoldersFromStored(L"").empty());
    EXPECT_EQ(FoldersFromStored(L"|C:\\a||"), std::vector<std::wstring>{L"C:\\a"});

    EXPECT_EQ(DecideAutoexecRestore(false, true), AutoexecRestore::RenameBack);
    EXPECT_EQ(DecideAutoexecRestore(true, true), AutoexecRestore::KeepBoth);
    EXPECT_EQ(DecideAutoexecRestore(true, false), AutoexecRestore::NothingAside);
    EXPECT_EQ(DecideAutoexecRestore(false, false), AutoexecRestore::NothingAside);
    const auto both = BothAutoexecFiles(folders[0]).text;
    for (const wchar_t* part :
         {L"\"C:\\Games\\Half-Life\\cstrike\"", L"autoexec.cfg_old is your own autoexec.cfg",
          L"autoexec.cfg was made while it was renamed", L"changed neither"})
        EXPECT_NE(both.find(part), std::wstring::npos) << part;
}

}  // namespace
}  // namespace vorelix::launch
