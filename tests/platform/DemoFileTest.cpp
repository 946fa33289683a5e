// Demo file access on real files: mapped views, summaries, plan writes, refusals, backup copies.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
using test::PutAt;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

void MakeReadOnly(const fs::path& file) {
    fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

TEST(MappedDemo, MapsWholeFilesAndEmptyOnes) {
    TempDir dir;
    const std::string bytes = MakeDemo(5000);
    WriteFileBytes(dir / "a.dem", bytes);
    auto mapped = MappedDemo::Open(dir / "a.dem");
    ASSERT_TRUE(mapped.ok());
    EXPECT_EQ(mapped->Size(), 5000u);
    EXPECT_EQ(demo::AsText(mapped->Bytes()), bytes);

    WriteFileBytes(dir / "empty.dem", "");
    auto empty = MappedDemo::Open(dir / "empty.dem");
    ASSERT_TRUE(empty.ok());
    EXPECT_EQ(empty->Size(), 0u);
    EXPECT_TRUE(empty->Bytes().empty());
    EXPECT_FALSE(demo::ScanNicks(empty->Bytes()).ok());

    auto missing = MappedDemo::Open(dir / "missing.dem");
    ASSERT_FALSE(missing.ok());
    EXPECT_FALSE(missing.failure().systemText.empty());
    EXPECT_FALSE(MappedDemo::Open(dir.Path()).ok());
}

TEST(MappedDemo, ScansThatLetGoOfPassedPagesFindTheSame) {
    TempDir dir;
    std::mt19937_64 random(7);
    const std::string bytes = test::MakeRandomDemo(random, 40u << 20);
    WriteFileBytes(dir / "big.dem", bytes);
    auto mapped = MappedDemo::Open(dir / "big.dem");
    ASSERT_TRUE(mapped.ok());
    const auto plain = demo::ScanNicks(demo::AsBytes(bytes)).value();
    const auto released = demo::ScanNicks(mapped->Bytes(), &mapped.value()).value();
    ASSERT_GT(plain.size(), 1000u);
    ASSERT_EQ(released.size(), plain.size());
    for (std::size_t i = 0; i < plain.size(); ++i) {
        ASSERT_EQ(released[i].position, plain[i].position);
        ASSERT_EQ(released[i].nick, plain[i].nick);
    }
    const auto chat = demo::ScanChat(mapped->Bytes(), &mapped.value());
    EXPECT_EQ(chat.size(), demo::ScanChat(demo::AsBytes(bytes)).size());
    const auto statsMe = demo::PlanStatsMeRemoval(mapped->Bytes(), &mapped.value());
    EXPECT_EQ(statsMe.plan.BytesWritten(),
              demo::PlanStatsMeRemoval(demo::AsBytes(bytes)).plan.BytesWritten());
    // The bytes behind the scans are still there when looked at again.
    EXPECT_EQ(demo::AsText(mapped->Bytes()).substr(0, 4096), bytes.substr(0, 4096));
}

TEST(ReadDemoSummary, ShortNonDemoAndMissingFilesAreRefused) {
    TempDir dir;
    WriteFileBytes(dir / "empty.dem", "");
    WriteFileBytes(dir / "405.dem", MakeDemo(405));
    WriteFileBytes(dir / "406.dem", MakeDemo(406));
    std::string notDemo = MakeDemo(2000);
    PutAt(notDemo, 0, "HLDEMX");
    WriteFileBytes(dir / "other.dem", notDemo);

    EXPECT_FALSE(ReadDemoSummary(dir / "empty.dem").ok());
    EXPECT_FALSE(ReadDemoSummary(dir / "405.dem").ok());
    EXPECT_FALSE(ReadDemoSummary(dir / "other.dem").ok());
    auto missing = ReadDemoSummary(dir / "missing.dem");
    ASSERT_FALSE(missing.ok());
    EXPECT_FALSE(missing.failure().systemText.empty());

    auto smallest = ReadDemoSummary(dir / "406.dem");
    ASSERT_TRUE(smallest.ok());
    EXPECT_TRUE(smallest->players.empty());
    EXPECT_FALSE(smallest->hltv);
    EXPECT_EQ(smallest->TypeText(), "Demo from eyes...");
    EXPECT_EQ(smallest->sizeText, "0Кб.");
}

TEST(ReadDemoSummary, SeesOnlyTheFirstMillionBodyBytesAndWorksUnderNonAsciiNames) {
    TempDir dir;
    std::string demo = MakeDemo(1'200'000, "de_inferno");
    PutAt(demo, 1'000'403 - 9, "\\name\\Late\\");  // runs past the body window: dropped alone
    PutAt(demo, 1'100'000, "HLTV Proxy:");
    PutAt(demo, 5000, "\\name\\Early\\");
    const fs::path path = dir.Path() / fs::path(u8"Демо файл ü.dem");
    WriteFileBytes(path, demo);
    auto summary = ReadDemoSummary(path);
    ASSERT_TRUE(summary.ok());
    EXPECT_EQ(summary->map, "de_inferno");
    EXPECT_EQ(summary->players, std::vector<std::string>{"Early"});
    EXPECT_FALSE(summary->hltv);
    EXPECT_EQ(summary->fileSize, 1'200'000u);
    EXPECT_EQ(summary->sizeText, "1Мб.");
}

TEST(ReadDemoSummary, RealDemosMatchTheEngineOnTheirWholeBytes) {
    VORELIX_SKIP_WITHOUT_REAL_DEMOS();
    for (const auto& file : test::RealDemoFiles()) {
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = ReadFileBytes(file);
        const auto all = demo::AsBytes(bytes);
        auto expected = demo::Summarize(all.first(demo::kBodyOffset),
                                        all.subspan(demo::kBodyOffset, *demo::BodyWindowLength(bytes.size())),
                                        bytes.size());
        auto summary = ReadDemoSummary(file);
        ASSERT_TRUE(summary.ok());
        ASSERT_TRUE(expected.ok());
        EXPECT_EQ(summary->map, expected->map);
        EXPECT_EQ(summary->mod, expected->mod);
        EXPECT_EQ(summary->players, expected->players);
        EXPECT_EQ(summary->fileSize, bytes.size());
        EXPECT_EQ(summary->sizeText, demo::SizeText(bytes.size()));
    }
}

TEST(ApplyWritePlan, WritesOnlyThePlannedRunsAndKeepsTheLength) {
    TempDir dir;
    const std::string before = MakeDemo(3000);
    WriteFileBytes(dir / "d.dem", before);
    const demo::WritePlan plan{3000, {{1000, "abc"}, {1003, "de"}, {2999, "Z"}, {500, ""}}};
    ASSERT_TRUE(ApplyWritePlan(dir / "d.dem", plan).ok());
    std::string expected = before;
    PutAt(expected, 1000, "abcde");
    PutAt(expected, 2999, "Z");
    EXPECT_EQ(ReadFileBytes(dir / "d.dem"), expected);
}

TEST(ApplyWritePlan, RefusesWithoutChangingAByte) {
    TempDir dir;
    const std::string before = MakeDemo(3000);
    const demo::WritePlan plan{3000, {{1000, "abc"}}};

    WriteFileBytes(dir / "past.dem", before);
    auto past = ApplyWritePlan(dir / "past.dem", demo::WritePlan{3000, {{2999, "ab"}}});
    EXPECT_FALSE(past.ok());
    EXPECT_EQ(ReadFileBytes(dir / "past.dem"), before);

    WriteFileBytes(dir / "changed.dem", before + "x");  // not the length that was scanned
    EXPECT_FALSE(ApplyWritePlan(dir / "changed.dem", plan).ok());
    EXPECT_EQ(ReadFileBytes(dir / "changed.dem"), before + "x");

    WriteFileBytes(dir / "readonly.dem", before);
    MakeReadOnly(dir / "readonly.dem");
    auto readOnly = ApplyWritePlan(dir / "readonly.dem", plan);
    ASSERT_FALSE(readOnly.ok());
    EXPECT_FALSE(readOnly.failure().systemText.empty());
    EXPECT_NE(readOnly.failure().code, 0);
    EXPECT_EQ(ReadFileBytes(dir / "readonly.dem"), before);
}

TEST(ApplyWritePlan, DemoDeletedBetweenScanAndWriteIsNotCreatedAgain) {
    TempDir dir;
    std::string demo = MakeDemo(3000);
    PutAt(demo, 1000, "\\name\\Ann\\");
    WriteFileBytes(dir / "gone.dem", demo);
    demo::WritePlan plan;
    {
        auto mapped = MappedDemo::Open(dir / "gone.dem");
        ASSERT_TRUE(mapped.ok());
        auto nicks = demo::ScanNicks(mapped->Bytes());
        ASSERT_TRUE(nicks.ok());
        plan = demo::PlanNickEdit(*nicks, mapped->Size(), "Ann", "Bo", std::nullopt).value();
    }
    fs::remove(dir / "gone.dem");
    auto written = ApplyWritePlan(dir / "gone.dem", plan);
    ASSERT_FALSE(written.ok());
    EXPECT_FALSE(written.failure().systemText.empty());
    EXPECT_FALSE(fs::exists(dir / "gone.dem"));
}

TEST(ApplyWritePlan, EveryKindOfEditOnRandomDemosTouchesOnlyItsRuns) {
    TempDir dir;
    std::mt19937_64 random(20240517);
    for (int round = 0; round < 12; ++round) {
        const std::string before = test::MakeRandomDemo(random, 1000 + random() % 60'000);
        const fs::path path = dir.Path() / "random.dem";
        WriteFileBytes(path, before);
        std::vector<demo::WritePlan> plans;
        {
            // Scanned first, written afterwards, as the commands do: the view is gone before writing.
            auto mapped = MappedDemo::Open(path);
            ASSERT_TRUE(mapped.ok());
            plans.push_back(demo::PlanStatsMeRemoval(mapped->Bytes()).plan);
            auto nicks = demo::ScanNicks(mapped->Bytes()).value();
            if (!nicks.empty()) {
                auto nick = demo::PlanNickEdit(nicks, before.size(), nicks[0].nick, "", std::nullopt);
                if (nick.ok()) plans.push_back(*nick);
            }
            const auto chat = demo::ScanChat(mapped->Bytes());
            if (!chat.empty()) {
                plans.push_back(
                    demo::PlanChatEdit(chat, before.size(), chat.back().position, "edited!").value());
                plans.push_back(demo::PlanChatDelete(chat, before.size(), {chat.front().position}).value());
            }
        }
        ASSERT_GE(plans.size(), 2u);
        for (const auto& plan : plans) {
            const std::string current = ReadFileBytes(path);
            ASSERT_TRUE(ApplyWritePlan(path, plan).ok());
            std::string expected = current;
            for (const auto& run : demo::Coalesced(plan).runs) PutAt(expected, run.offset, run.bytes);
            const std::string after = ReadFileBytes(path);
            ASSERT_EQ(after.size(), before.size());
            ASSERT_EQ(after, expected);
        }
    }
}

TEST(CopyFileNoReplace, NeverReplacesAnExistingFile) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "new bytes");
    WriteFileBytes(dir / "a.bak", "only copy of the original");
    auto copied = CopyFileNoReplace(dir / "a.dem", dir / "a.bak");
    ASSERT_FALSE(copied.ok());
    EXPECT_FALSE(copied.failure().systemText.empty());
    EXPECT_EQ(ReadFileBytes(dir / "a.bak"), "only copy of the original");
    ASSERT_TRUE(CopyFileNoReplace(dir / "a.dem", dir / "b.bak").ok());
    EXPECT_EQ(ReadFileBytes(dir / "b.bak"), "new bytes");
    EXPECT_FALSE(CopyFileNoReplace(dir / "missing.dem", dir / "c.bak").ok());
    EXPECT_FALSE(fs::exists(dir / "c.bak"));
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
    EXPECT_NE(*first, *second);
    EXPECT_EQ(ReadFileBytes(*first), "first");
    EXPECT_EQ(ReadFileBytes(*second), "second");
    EXPECT_EQ(first->parent_path(), dir.Path());
    EXPECT_EQ(first->extension(), ".bak");
    // "<demo>.HH-MM-SS.bak": the demo's own name and extension stay inside it.
    EXPECT_EQ(first->filename().u8string().rfind(demo.filename().u8string() + u8".", 0), 0u);
    EXPECT_FALSE(MakeBakCopy(dir / "missing.dem").ok());
}

// A demo over 2 GB, made sparse (a few bytes at its start and far inside): offsets past 32 bits are
// read, found and written in the right place, and only the header and body windows are read for
// its summary.
TEST(LargeDemo, SparseFileOverTwoGigabytes) {
    TempDir dir;
    const fs::path path = dir / "large.dem";
    constexpr std::uint64_t kLength = 2'200'000'000ull;
    constexpr std::uint64_t kFar = 2'150'000'000ull;
    {
        std::string head = MakeDemo(4000);
        PutAt(head, 3000, "\\name\\Near\\");
        std::ofstream out(path, std::ios::binary);
        out.write(head.data(), static_cast<std::streamsize>(head.size()));
        out.seekp(static_cast<std::streamoff>(kFar));
        out.write("\\name\\Faraway\\", 15);
        out.seekp(static_cast<std::streamoff>(kLength - 1));
        out.put('\0');
        ASSERT_TRUE(out.good());
    }
    const auto bytesAt = [&](std::uint64_t offset, std::size_t count) {
        std::ifstream in(path, std::ios::binary);
        in.seekg(static_cast<std::streamoff>(offset));
        std::string bytes(count, '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(count));
        return bytes;
    };

    auto summary = ReadDemoSummary(path);
    ASSERT_TRUE(summary.ok());
    EXPECT_EQ(summary->players, std::vector<std::string>{"Near"});
    EXPECT_EQ(summary->fileSize, kLength);
    EXPECT_EQ(summary->sizeText, "2200Мб.");

    demo::WritePlan plan;
    {
        auto mapped = MappedDemo::Open(path);
        ASSERT_TRUE(mapped.ok());
        auto nicks = demo::ScanNicks(mapped->Bytes());
        ASSERT_TRUE(nicks.ok());
        ASSERT_EQ(nicks->size(), 2u);
        EXPECT_EQ((*nicks)[1].nick, "Faraway");
        EXPECT_EQ((*nicks)[1].position, static_cast<std::int64_t>(kFar) + 7);
        EXPECT_FALSE(demo::PlanNickEdit(*nicks, kLength, "Faraway", "Much too long", std::nullopt).ok());
        plan = demo::PlanNickEdit(*nicks, kLength, "Faraway", "Far", std::nullopt).value();
    }
    ASSERT_TRUE(ApplyWritePlan(path, plan).ok());
    EXPECT_EQ(bytesAt(kFar - 4, 22), std::string(4, '\0') + "\\name\\Far    \\" + std::string(4, '\0'));
    EXPECT_EQ(fs::file_size(path), kLength);
}

}  // namespace
}  // namespace vorelix::platform
