// Demo files on real files: summaries, plan writes and their refusals, backup copies, new demos made
// of pieces, and the real recordings read through it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <tuple>

#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/edit/ChatScan.h"
#include "demo/DemoRepair.h"
#include "demo/edit/NickScan.h"
#include "demo/edit/StatsMe.h"
#include "platform/DemoFile.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>

#include <csignal>
#endif

namespace vorelix::platform {
namespace {

namespace fs = std::filesystem;
using test::MakeDemo;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

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
    ASSERT_TRUE(ApplyWritePlan(dir / "d.dem", {3000, {{1000, "abc"}, {1003, "de"}, {2999, "Z"}, {500, ""}}})
                    .status.ok());
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
        ASSERT_FALSE(result.status.ok()) << name;
        EXPECT_FALSE(result.status.failure().systemText.empty()) << name;
        EXPECT_EQ(fs::exists(dir / name) ? ReadFileBytes(dir / name) : "<none>", kept) << name;
    }
    // With a backup asked for, a demo that refuses being opened for writing gets no copy.
    for (const char* name : {"readonly.dem", "gone.dem"}) {
        const auto result = ApplyWritePlan(dir / name, plan, Backup::Yes);
        EXPECT_FALSE(result.status.ok() || result.backup) << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 4);
}

TEST(ApplyWritePlan, TellsTheBackupAndTheNewTimeSoAPlanFromTheBytesBeforeStillHolds) {
    TempDir dir;
    const std::string before = MakeDemo(3000);
    WriteFileBytes(dir / "d.dem", before);
    // An hour back, so the write surely moves the time whatever the clock's steps.
    fs::last_write_time(dir / "d.dem", fs::last_write_time(dir / "d.dem") - std::chrono::hours(1));
    const auto scanned = MappedDemo::Open(dir / "d.dem")->LastWriteTime();
    const auto first = ApplyWritePlan(dir / "d.dem", {3000, {{1000, "abc"}}, scanned}, Backup::Yes);
    ASSERT_TRUE(first.status.ok() && first.backup && first.lastWriteTime);
    EXPECT_EQ(ReadFileBytes(*first.backup), before);
    EXPECT_NE(*first.lastWriteTime, scanned);
    EXPECT_EQ(*first.lastWriteTime, MappedDemo::Open(dir / "d.dem")->LastWriteTime());
    const auto second = ApplyWritePlan(dir / "d.dem", {3000, {{2000, "de"}}, *first.lastWriteTime});
    ASSERT_TRUE(second.status.ok());
    EXPECT_FALSE(second.backup);
    EXPECT_EQ(ReadFileBytes(dir / "d.dem"), test::WithPieces(before, {{1000, "abc"}, {2000, "de"}}));
    // An empty plan touches nothing, not even for its backup.
    const auto empty = ApplyWritePlan(dir / "d.dem", {3000, {}}, Backup::Yes);
    EXPECT_TRUE(empty.status.ok() && !empty.backup && !empty.lastWriteTime);
}

TEST(MakeBakCopy, CopiesBesideTheDemoAndNeverReplacesAnEarlierCopy) {
    TempDir dir;
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
    const demo::WritePlan plan{3000, {{1006, "Bob"}}};
    auto written = ApplyWritePlan(path, plan);
    EXPECT_FALSE(MappedDemo::Open(path).ok() || MakeBakCopy(path).ok());
    CloseHandle(held);
    ASSERT_FALSE(summary.ok() || written.status.ok());
    EXPECT_EQ(summary.failure().code, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(summary.failure().systemText.empty());
    EXPECT_EQ(written.status.failure().code, ERROR_SHARING_VIOLATION);
    // As the game playing it holds it: others may read and copy it, nobody may write it, and no backup
    // copy is made for the write that cannot happen.
    held = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(MappedDemo::Open(path).ok());
    written = ApplyWritePlan(path, plan, Backup::Yes);
    CloseHandle(held);
    EXPECT_EQ(written.status.failure().code, ERROR_SHARING_VIOLATION);
    EXPECT_FALSE(written.backup);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
    EXPECT_EQ(ReadFileBytes(path), demo);
}
#endif

TEST(NewDemoFile, ADemoOver2GBIsWalkedButNotRepaired) {
    // A sparse file: the frames of a cut demo, then a buffer frame of 2 GB - 1 bytes that the walk
    // steps over by its length.
    test::TempDir dir;
    const auto framed = test::MakeFramedDemo(1);
    std::string demo = framed.bytes.substr(0, framed.directoryOffset - 9);
    test::PutAt(demo, 540, std::string(4, '\0'));
    demo += std::string("\x09\0\0\x80\x3f\x07\0\0\0\xff\xff\xff\x7f", 13);
    WriteFileBytes(dir / "huge.dem", demo);
    fs::resize_file(dir / "huge.dem", demo.size() + 0x7FFFFFFFu);
    auto check = CheckDemoFile(dir / "huge.dem");
    ASSERT_TRUE(check.ok()) << check.failure().systemText;
    EXPECT_EQ(check->problem->offset, fs::file_size(dir / "huge.dem"));
    EXPECT_EQ(check->duration, 1.0);
    auto repaired = RepairDemoFile(dir / "huge.dem");
    ASSERT_FALSE(repaired.ok());
    EXPECT_NE(repaired.failure().systemText.find("over 2 GB"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "huge.repaired.dem"));
}

TEST(NewDemoFile, PiecesLargerThanOneChunkArriveInOrder) {
    test::TempDir dir;
    std::string source(10u << 20, '\0');
    for (std::size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>(i ^ (i >> 11));
    WriteFileBytes(dir / "source.dem", source);
    auto file = ChunkedDemoFile::Open(dir / "source.dem");
    ASSERT_TRUE(file.ok());
    const demo::DemoPiece pieces[] = {
        {0, (9u << 20) + 5, {}}, {0, 0, "new"}, {(1u << 20) + 3, 10u << 20, {}}, {7, 7, {}}};
    std::string out;
    ASSERT_TRUE(WritePieces(*file, pieces, [&](const unsigned char* data, std::size_t size) {
                    out.append(reinterpret_cast<const char*>(data), size);
                    return Ok();
                }).ok());
    EXPECT_TRUE(out == demo::AssembleDemo(demo::AsBytes(source), pieces));
    const demo::DemoPiece outside[] = {{0, source.size() + 1, {}}};
    EXPECT_FALSE(WriteNewDemo(dir / "out.dem", *file, outside).ok());
    EXPECT_FALSE(fs::exists(dir / "out.dem"));
}

#ifndef _WIN32
// A file size limit makes the write itself fail (EFBIG), as a full disk would.
TEST(NewDemoFile, AFailedWriteLeavesNoPartialCopy) {
    test::TempDir dir;
    const std::string source(64 * 1024, 'x');
    demo::SpanBytes bytes(demo::AsBytes(source));
    const demo::DemoPiece pieces[] = {{0, source.size(), {}}};
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const Status written = WriteNewDemo(dir / "out.dem", bytes, pieces);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(written.ok());
    EXPECT_EQ(written.failure().code, EFBIG);
    EXPECT_FALSE(fs::exists(dir / "out.dem"));
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
