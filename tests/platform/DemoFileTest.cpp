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
#include "demo/DemoFrames.h"
#include "demo/DemoRepair.h"
#include "demo/edit/ChatScan.h"
#include "demo/edit/NickScan.h"
#include "demo/edit/StatsMe.h"
#include "platform/files/DemoFile.h"

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

TEST(ReadDemoSummary, AProxysRecordingWithoutTheMarkerIsAnHltvDemo) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    const fs::path demos = test::RealDemosDir();
    auto proxy = ReadDemoSummary(demos / "uds_demotesttestste.dem-2405171129-cs_assault.dem");
    ASSERT_TRUE(proxy.ok());
    EXPECT_EQ(proxy->TypeText(), demo::kHltvTypeText);
    auto player = ReadDemoSummary(demos / "uds_antifak.dem");
    ASSERT_TRUE(player.ok());
    EXPECT_EQ(player->TypeText(), demo::kEyesTypeText);
    auto shortHeader = ReadDemoSummary(demos / "sless-gs_HL1005.dem");
    ASSERT_TRUE(shortHeader.ok());
    EXPECT_EQ(shortHeader->mod, "valve");
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

// Bytes written into a (sparse) file at an offset.
void WriteAt(const fs::path& file, std::uint64_t offset, const std::string& bytes) {
    auto opened = File::OpenForWriting(file);
    ASSERT_TRUE(opened.ok());
    ASSERT_TRUE(opened->WriteAt(offset, bytes.data(), bytes.size()).ok());
    ASSERT_TRUE(opened->Close().ok());
}

// A buffer frame of `length` bytes at 1 s: the walk steps over its body by its length.
std::string BufferFrameHead(std::uint32_t length) {
    return test::Frame(9, 1.0f, 7, test::Int32(static_cast<std::int32_t>(length)));
}

// Sparse files: the frames of a crashed demo around the 2 GiB a demo can hold, bodies never written.
TEST(NewDemoFile, ACrashedDemoOver2GBKeepsTheWholeFramesThatFitIn2GiB) {
    test::TempDir dir;
    const auto framed = test::MakeFramedDemo(1);
    std::string head = framed.bytes.substr(0, framed.directoryOffset - 9);
    test::PutAt(head, 540, test::Int32(0));

    // A buffer frame that alone crosses 2 GiB: the copy keeps the frames before it, a small file.
    WriteFileBytes(dir / "crossing.dem", head + BufferFrameHead(0x7FFFFFFFu));
    fs::resize_file(dir / "crossing.dem", head.size() + 13 + 0x7FFFFFFFu);
    auto check = CheckDemoFile(dir / "crossing.dem");
    ASSERT_TRUE(check.ok()) << check.failure().systemText;
    EXPECT_EQ(check->problem->offset, fs::file_size(dir / "crossing.dem"));
    auto repaired = RepairDemoFile(dir / "crossing.dem");
    ASSERT_TRUE(repaired.ok()) << repaired.failure().systemText;
    const demo::RepairPlan& plan = *repaired->answer.plan;
    EXPECT_EQ(plan.sizeStop, head.size());
    EXPECT_EQ(demo::DescribeSizeStop(plan),
              "It stops at offset " + std::to_string(head.size()) +
                  ": the whole frames after it would take the copy past the 2 GiB a demo can hold.");
    auto copy = CheckDemoFile(dir / "crossing.repaired.dem");
    ASSERT_TRUE(copy.ok() && copy->Whole());
    EXPECT_EQ(copy->frames, 1u);

    // Small frames right at the line (2.3 GB in all): the copy reaches as near to 2 GiB as whole
    // frames allow, with room for its closing frame and directory.
    const std::uint64_t limit = 0x7FFFFFFF;
    const std::uint64_t smallFrames = limit - 600;
    WriteFileBytes(dir / "near.dem",
                   head + BufferFrameHead(static_cast<std::uint32_t>(smallFrames - head.size() - 13)));
    std::string weaponFrames;
    for (int i = 0; i < 40; ++i) weaponFrames += test::Frame(7, 1.5f, 8 + i, std::string(8, '\x55'));
    WriteAt(dir / "near.dem", smallFrames, weaponFrames);
    fs::resize_file(dir / "near.dem", 2'300'000'000u);
    auto file = ChunkedDemoFile::Open(dir / "near.dem");
    ASSERT_TRUE(file.ok());
    auto atTheLine = demo::PlanRepair(*file);
    ASSERT_TRUE(atTheLine.ok()) << atTheLine.failure().systemText;
    const demo::RepairPlan& nearPlan = *atTheLine->plan;
    ASSERT_TRUE(nearPlan.sizeStop);
    EXPECT_LE(nearPlan.length, limit);
    EXPECT_GT(nearPlan.length + 17, limit) << "one more whole frame would have fitted";
    EXPECT_EQ((*nearPlan.sizeStop - smallFrames) % 17, 0u);
    EXPECT_EQ(nearPlan.duration, 1.5);

    // A file of zeros after its header, as a power loss leaves it, breaks where the zeros begin.
    WriteFileBytes(dir / "zeros.dem", head.substr(0, 544));
    fs::resize_file(dir / "zeros.dem", 2'200'000'000u);
    check = CheckDemoFile(dir / "zeros.dem");
    ASSERT_TRUE(check.ok());
    EXPECT_EQ(check->problem->offset, 544u);
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

// Every real recording, here and in more/, checks whole; cut where its playback starts or right before
// its closing frame and filled with zeros (as a power loss leaves a file), it breaks right there.
TEST(RealDemos, ZerosAfterAnyRecordingAreSpaceNeverWritten) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    auto files = test::RealDemoFiles();
    const auto more = test::RealDemoFiles("more");
    files.insert(files.end(), more.begin(), more.end());
    int walked = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        auto check = CheckDemoFile(file);
        ASSERT_TRUE(check.ok());
        if (!check->framesRead || file.filename() == "hldemors_frame-types.dem") continue;
        ++walked;
        ASSERT_TRUE(check->Whole()) << check->directoryProblem;
        EXPECT_FALSE(check->timeFinding);
        const std::string bytes = ReadFileBytes(file);
        for (const auto cut : {static_cast<std::size_t>(check->entries[1].offset),
                               static_cast<std::size_t>(check->header.directoryOffset) - 9}) {
            std::string crashed = bytes.substr(0, cut) + std::string(4096, '\0');
            test::PutAt(crashed, 540, test::Int32(0));
            auto broken = demo::CheckDemo(demo::AsBytes(crashed));
            ASSERT_TRUE(broken.ok());
            EXPECT_EQ(broken->problem->offset, cut);
            EXPECT_EQ(broken->problem->reason, demo::kUnwrittenSpaceReason);
        }
    }
    EXPECT_GE(walked, 30);
}

}  // namespace
}  // namespace vorelix::platform
