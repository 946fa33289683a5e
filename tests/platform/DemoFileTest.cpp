// Demo file access on real files: mapped views, summaries, plan writes, refusals, backup copies.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "RealDemos.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/ChatEdit.h"
#include "demo/DemoLayout.h"
#include "demo/NickEdit.h"
#include "demo/StatsMe.h"
#include "platform/DemoFile.h"

namespace vorelix::platform {
namespace {

namespace fs = std::filesystem;
using test::MakeDemo;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// Plans every kind of edit from one scan (the view is gone before writing, as in the commands), then
// applies them one by one: after each, the whole file must be the previous one with that plan's runs.
void ExpectEveryEditToTouchOnlyItsRuns(const fs::path& path) {
    std::vector<demo::WritePlan> plans;
    {
        auto mapped = MappedDemo::Open(path);
        ASSERT_TRUE(mapped.ok());
        const auto bytes = mapped->Bytes();
        plans.push_back(demo::PlanStatsMeRemoval(bytes).plan);
        const auto nicks = demo::ScanNicks(bytes).value();
        const auto named =
            std::find_if(nicks.begin(), nicks.end(), [](auto& entry) { return !entry.nick.empty(); });
        if (named != nicks.end())
            plans.push_back(demo::PlanNickEdit(nicks, bytes.size(), demo::ShownText(named->nick, {}), "x",
                                               std::nullopt, {})
                                .value());
        const auto chat = demo::ScanChat(bytes);
        if (!chat.empty()) {
            plans.push_back(
                demo::PlanChatEdit(chat, bytes.size(), chat.back().position, "edited!", {}).value());
            plans.push_back(demo::PlanChatDelete(chat, bytes.size(), {chat.front().position}).value());
        }
    }
    std::string expected = ReadFileBytes(path);
    for (const auto& plan : plans) {
        ASSERT_TRUE(ApplyWritePlan(path, plan).ok());
        for (const auto& run : plan.runs) test::PutAt(expected, run.offset, run.bytes);
        ASSERT_EQ(ReadFileBytes(path), expected);
    }
}

TEST(DemoEdits, EveryKindOfEditOnRandomDemosTouchesOnlyItsRuns) {
    TempDir dir;
    std::mt19937_64 random(20240517);
    for (int round = 0; round < 12; ++round) {
        WriteFileBytes(dir / "random.dem", test::MakeRandomDemo(random, 1000 + random() % 60'000));
        ExpectEveryEditToTouchOnlyItsRuns(dir / "random.dem");
    }
}

TEST(DemoEdits, RealDemosSummarizedFromTheirWindowsAndEditedOnCopies) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    TempDir dir;
    for (const auto& file : test::RealDemoFiles()) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = ReadFileBytes(file);
        const auto all = demo::AsBytes(bytes);
        auto expected = demo::Summarize(all.first(demo::kBodyOffset),
                                        all.subspan(demo::kBodyOffset, *demo::BodyWindowLength(bytes.size())),
                                        bytes.size());
        const fs::path copy = dir / file.filename().string();
        WriteFileBytes(copy, bytes);
        auto summary = ReadDemoSummary(copy);
        ASSERT_TRUE(summary.ok() && expected.ok());
        EXPECT_EQ(std::tie(summary->map, summary->players, summary->sizeText),
                  std::tie(expected->map, expected->players, expected->sizeText));
        ExpectEveryEditToTouchOnlyItsRuns(copy);
    }
}

TEST(MappedDemo, MapsFilesAndScansThatLetGoOfPassedPagesFindTheSame) {
    TempDir dir;
    WriteFileBytes(dir / "empty.dem", "");
    EXPECT_TRUE(MappedDemo::Open(dir / "empty.dem")->Bytes().empty());
    EXPECT_FALSE(MappedDemo::Open(dir.Path()).ok());

    std::mt19937_64 random(7);
    const std::string bytes = test::MakeRandomDemo(random, 40u << 20);
    WriteFileBytes(dir / "big.dem", bytes);
    auto mapped = MappedDemo::Open(dir / "big.dem");
    ASSERT_TRUE(mapped.ok());
    ASSERT_EQ(demo::AsText(mapped->Bytes()), bytes);
    const auto plain = demo::ScanNicks(demo::AsBytes(bytes)).value();
    const auto released = demo::ScanNicks(mapped->Bytes(), &mapped.value()).value();
    ASSERT_GT(plain.size(), 1000u);
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
    for (const auto& [name, bytes] : std::vector<std::pair<const char*, std::string>>{
             {"empty.dem", ""}, {"405.dem", MakeDemo(405)}, {"other.dem", MakeDemo(2000, {{0, "HLDEMX"}})}}) {
        WriteFileBytes(dir / name, bytes);
        EXPECT_FALSE(ReadDemoSummary(dir / name).ok()) << name;
    }
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
             {"gone.dem", plan, ""}}) {
        auto result = ApplyWritePlan(dir / name, refused);
        ASSERT_FALSE(result.ok()) << name;
        EXPECT_FALSE(result.failure().systemText.empty()) << name;
        EXPECT_EQ(fs::exists(dir / name) ? ReadFileBytes(dir / name) : "", kept) << name;
    }
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
    EXPECT_EQ(first->parent_path(), dir.Path());
    // "<demo>.HH-MM-SS.bak": the demo's own name and extension stay inside it.
    EXPECT_EQ(first->filename().u8string().rfind(demo.filename().u8string() + u8".", 0), 0u);
    EXPECT_EQ(first->extension(), ".bak");
    EXPECT_FALSE(MakeBakCopy(dir / "missing.dem").ok());
}

// A sparse demo over 2 GB: offsets past 32 bits are found and written in the right place, and only
// the header and body windows are read for its summary.
TEST(LargeDemo, SparseFileOverTwoGigabytes) {
    TempDir dir;
    const fs::path path = dir / "large.dem";
    constexpr std::uint64_t kLength = 2'200'000'000ull;
    constexpr std::uint64_t kFar = 2'150'000'000ull;
    const auto writeAt = [&](std::uint64_t offset, const std::string& bytes) {
        std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
        out.seekp(static_cast<std::streamoff>(offset));
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    };
    WriteFileBytes(path, MakeDemo(4000, {{3000, "\\name\\Near\\"}}));
    writeAt(kFar, "\\name\\Faraway\\");
    writeAt(kLength - 1, std::string(1, '\0'));
    ASSERT_EQ(fs::file_size(path), kLength);

    auto summary = ReadDemoSummary(path);
    ASSERT_TRUE(summary.ok());
    EXPECT_EQ(summary->players, std::vector<std::string>{"Near"});
    EXPECT_EQ(summary->sizeText, "2200Мб.");
    demo::WritePlan plan;
    {
        auto mapped = MappedDemo::Open(path);
        ASSERT_TRUE(mapped.ok());
        auto nicks = demo::ScanNicks(mapped->Bytes()).value();
        ASSERT_EQ(nicks.size(), 2u);
        EXPECT_EQ(nicks[1].position, static_cast<std::int64_t>(kFar) + 7);
        plan = demo::PlanNickEdit(nicks, kLength, "Faraway", "Far", std::nullopt, {}).value();
    }
    ASSERT_TRUE(ApplyWritePlan(path, plan).ok());
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(kFar - 4));
    std::string around(22, 'x');
    in.read(around.data(), 22);
    EXPECT_EQ(around, std::string(4, '\0') + "\\name\\Far    \\" + std::string(4, '\0'));
    EXPECT_EQ(fs::file_size(path), kLength);
}

}  // namespace
}  // namespace vorelix::platform
