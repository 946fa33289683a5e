// Demo file access on real files: mapped views, summaries, plan writes, refusals, backup copies, and
// the real recordings read through it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <tuple>

#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/ChatScan.h"
#include "demo/DemoRepair.h"
#include "demo/NickScan.h"
#include "demo/StatsMe.h"
#include "platform/DemoFile.h"
#include "platform/NewDemoFile.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace vorelix::platform {
namespace {

namespace fs = std::filesystem;
using test::MakeDemo;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

TEST(MappedDemo, MapsFilesAndScansThatLetGoOfPassedPagesFindTheSame) {
    TempDir dir;
    // 40 MB with a nick, a chat line and an inscription every 9,973 bytes; at the ends of the first three
    // 8 MB steps of the scans, a name marker, a chat separator and an inscription marker run across.
    std::string bytes = MakeDemo(40u << 20);
    std::string piece = "\\name\\Ann\\ \2Ann :   hi\n \x17\x1D\x01";
    piece.append(19, '\0').append("text");
    for (std::size_t at = 1000; at + piece.size() < bytes.size(); at += 9973) test::PutAt(bytes, at, piece);
    for (const auto& [step, across] : {std::pair{1u, 3u}, {2u, 17u}, {3u, 25u}})
        test::PutAt(bytes, (std::size_t{step} << 23) - across, piece);
    WriteFileBytes(dir / "big.dem", bytes);
    auto mapped = MappedDemo::Open(dir / "big.dem");
    ASSERT_TRUE(mapped.ok());
    ASSERT_EQ(demo::AsText(mapped->Bytes()), bytes);
    const auto plain = demo::ScanNicks(demo::AsBytes(bytes)).value();
    const auto released = demo::ScanNicks(mapped->Bytes(), &mapped.value()).value();
    ASSERT_GT(plain.size(), 4000u);
    ASSERT_EQ(released.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) ASSERT_EQ(released[i].position, plain[i].position);
    EXPECT_EQ(demo::ScanChat(mapped->Bytes(), &mapped.value()).size(),
              demo::ScanChat(demo::AsBytes(bytes)).size());
    EXPECT_EQ(demo::PlanStatsMeRemoval(mapped->Bytes(), &mapped.value()).plan.BytesWritten(),
              demo::PlanStatsMeRemoval(demo::AsBytes(bytes)).plan.BytesWritten());
    // The bytes behind the scans are still there when looked at again.
    EXPECT_EQ(demo::AsText(mapped->Bytes()).substr(0, 4096), bytes.substr(0, 4096));
}

TEST(ReadDemoSummary, RefusesWhatIsNoDemoAndSeesOnlyTheWindows) {
    TempDir dir;
    WriteFileBytes(dir / "405.dem", MakeDemo(405));
    EXPECT_FALSE(ReadDemoSummary(dir / "405.dem").ok());
    EXPECT_FALSE(ReadDemoSummary(dir / "missing.dem").failure().systemText.empty());
    WriteFileBytes(dir / "406.dem", MakeDemo(406));
    auto smallest = ReadDemoSummary(dir / "406.dem");
    ASSERT_TRUE(smallest.ok());
    EXPECT_TRUE(smallest->players.empty());
    EXPECT_EQ(smallest->TypeText(), "Demo from eyes...");

    // A name running past the body window is dropped alone; the HLTV marker lies beyond it.
    const fs::path path = dir.Path() / fs::path(u8"Демо файл ü.dem");
    WriteFileBytes(path, MakeDemo(1'200'000, {{5000, "\\name\\Early\\"},
                                              {1'000'403 - 9, "\\name\\Late\\"},
                                              {1'100'000, "HLTV Proxy:"}}));
    auto summary = ReadDemoSummary(path);
    ASSERT_TRUE(summary.ok());
    EXPECT_EQ(summary->players, std::vector<std::string>{"Early"});
    EXPECT_FALSE(summary->hltv);
    EXPECT_EQ(summary->sizeText, "1Мб.");
}

TEST(ApplyWritePlan, WritesOnlyThePlanOrRefusesWithoutChangingAByte) {
    TempDir dir;
    const std::string before = MakeDemo(3000);
    WriteFileBytes(dir / "d.dem", before);
    ASSERT_TRUE(
        ApplyWritePlan(dir / "d.dem", {3000, {{1000, "abc"}, {1003, "de"}, {2999, "Z"}, {500, ""}}}).ok());
    EXPECT_EQ(ReadFileBytes(dir / "d.dem"), test::WithPieces(before, {{1000, "abcde"}, {2999, "Z"}}));

    // Each refusal leaves the file as it was: a run past the end, another length than the one
    // scanned, the same length rewritten since the scan, a read-only file, and a file deleted between
    // scan and write (not created again).
    WriteFileBytes(dir / "changed.dem", before + "x");
    WriteFileBytes(dir / "rewritten.dem", before);
    const demo::WritePlan scanned{
        3000, {{1000, "abc"}}, MappedDemo::Open(dir / "rewritten.dem")->LastWriteTime()};
    const std::string rewritten = test::WithPieces(before, {{1000, "new"}});
    WriteFileBytes(dir / "rewritten.dem", rewritten);
    fs::last_write_time(dir / "rewritten.dem",
                        fs::last_write_time(dir / "rewritten.dem") + std::chrono::seconds(2));
    WriteFileBytes(dir / "readonly.dem", before);
    fs::permissions(dir / "readonly.dem",
                    fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const demo::WritePlan plan{3000, {{1000, "abc"}}};
    for (const auto& [name, refused, kept] :
         std::vector<std::tuple<const char*, demo::WritePlan, std::string>>{
             {"d.dem", {3000, {{2999, "ab"}}}, ReadFileBytes(dir / "d.dem")},
             {"changed.dem", plan, before + "x"},
             {"rewritten.dem", scanned, rewritten},
             {"readonly.dem", plan, before},
             {"gone.dem", plan, "<none>"}}) {
        auto result = ApplyWritePlan(dir / name, refused);
        ASSERT_FALSE(result.ok()) << name;
        EXPECT_FALSE(result.failure().systemText.empty()) << name;
        EXPECT_EQ(fs::exists(dir / name) ? ReadFileBytes(dir / name) : "<none>", kept) << name;
    }

    // Sparse and over 4 GB: the length and an offset past 32 bits are used whole.
    constexpr std::uint64_t kLarge = 4'400'000'000ull;
    fs::resize_file(dir / "d.dem", kLarge);
    ASSERT_TRUE(ApplyWritePlan(dir / "d.dem", {kLarge, {{kLarge - 4, "last"}}}).ok());
    EXPECT_EQ(demo::AsText(MappedDemo::Open(dir / "d.dem")->Bytes().last(5)), std::string("\0last", 5));
}

TEST(MakeBakCopy, CopiesBesideTheDemoAndNeverReplacesAnEarlierCopy) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "new bytes");
    WriteFileBytes(dir / "a.bak", "only copy of the original");
    EXPECT_FALSE(CopyFileNoReplace(dir / "a.dem", dir / "a.bak").ok());
    EXPECT_EQ(ReadFileBytes(dir / "a.bak"), "only copy of the original");

    const fs::path demo = dir.Path() / fs::path(u8"матч.dem");
    WriteFileBytes(demo, "first");
    auto first = MakeBakCopy(demo);
    ASSERT_TRUE(first.ok());
    WriteFileBytes(demo, "second");
    auto second = MakeBakCopy(demo);
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(ReadFileBytes(*first), "first");
    EXPECT_EQ(ReadFileBytes(*second), "second");
    EXPECT_FALSE(MakeBakCopy(dir / "missing.dem").ok());
}

#ifdef _WIN32
// Another program's handle and one of this process refuse sharing alike.
TEST(DemoFileSharing, ADemoHeldWithoutSharingIsRefusedAndUnchanged) {
    TempDir dir;
    const auto path = dir / "held.dem";
    const std::string demo = MakeDemo(3000, {{1000, "\\name\\Ann\\"}});
    WriteFileBytes(path, demo);
    HANDLE held =
        CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto summary = ReadDemoSummary(path);
    auto written = ApplyWritePlan(path, demo::WritePlan{3000, {{1006, "Bob"}}});
    EXPECT_FALSE(MappedDemo::Open(path).ok() || MakeBakCopy(path).ok());
    CloseHandle(held);
    ASSERT_FALSE(summary.ok() || written.ok());
    EXPECT_EQ(summary.failure().code, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(summary.failure().systemText.empty());
    EXPECT_EQ(written.failure().code, ERROR_SHARING_VIOLATION);
    // As the game playing it holds it: others may read and copy it, nobody may write it.
    held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(CheckWritable(path).failure().code, ERROR_SHARING_VIOLATION);
    CloseHandle(held);
    EXPECT_TRUE(CheckWritable(path).ok());
    EXPECT_EQ(ReadFileBytes(path), demo);
}
#endif

// Whether StatsMe inscriptions are found, how many, and the bytes blanked, as a separate reading of
// the recordings found them.
const std::map<std::string, std::string> kStatsMeExpected = {
    {"uds_cs-rulit-aim_deagle.dem", "1 12 384"},
    {"uds_cs-rulit-de_alexandra.dem", "1 108 3310"},
    {"uds_cs-rulit-de_dust2_2x2_wide.dem", "1 13 250"},
    {"uds_no_fps_hack2.dem", "1 23 828"}};

// The StatsMe inscriptions as a separate reading counts them, and the frames walked a chunk at a time as
// the directory says; cut before its directory, a demo comes back as recorded.
TEST(RealDemos, ReadAsTheirDirectoriesSayAndRepairedBackToTheirBytes) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    for (const auto& file : test::RealDemoFiles()) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const std::string bytes = ReadFileBytes(file);
        const demo::ByteView all = demo::AsBytes(bytes);
        const auto statsMe = demo::PlanStatsMeRemoval(all);
        const auto known = kStatsMeExpected.find(name);
        EXPECT_EQ(std::to_string(statsMe.found) + " " + std::to_string(statsMe.inscriptions) + " " +
                      std::to_string(statsMe.plan.BytesWritten()),
                  known != kStatsMeExpected.end() ? known->second : "0 0 0");

        auto check = CheckDemoFile(file);
        ASSERT_TRUE(check.ok());
        if (check->header.demoProtocol != 5) {
            EXPECT_FALSE(check->framesRead || check->directory);
            EXPECT_EQ(demo::PlanRepair(all).failure().systemText.rfind("demo protocol 4 is not read", 0), 0u);
            continue;
        }
        ASSERT_TRUE(check->Whole()) << check->directoryProblem;
        ASSERT_EQ(check->entries.size(), 2u);
        EXPECT_EQ(check->duration, check->entries[1].time);
        EXPECT_EQ(check->frames, static_cast<std::uint64_t>(check->entries[1].frames));
        // Cut right before its directory, the demo comes back as recorded (the HLTV proxy's directory
        // gives CD track 0 where the game writes -1).
        const auto directory = static_cast<std::size_t>(check->header.directoryOffset);
        const auto cut = all.first(directory);
        auto repair = demo::PlanRepair(cut);
        ASSERT_TRUE(repair.ok() && !repair->Whole());
        std::string expectedBytes = bytes;
        if (check->entries[0].cdTrack == 0) {
            for (std::size_t entry : {0, 1})
                test::PutAt(expectedBytes, directory + 76 + entry * 92, "\xff\xff\xff\xff");
        }
        EXPECT_TRUE(demo::AssembleDemo(cut, repair->plan->pieces) == expectedBytes);
    }
}

}  // namespace
}  // namespace vorelix::platform
