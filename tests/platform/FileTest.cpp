// Files on real files in a temporary folder: what opening refuses, positioned reads and writes past
// 4 GB, mapped views whose scans let go of passed pages, and the path join.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "TempDir.h"
#include "demo/edit/ChatScan.h"
#include "demo/edit/NickScan.h"
#include "demo/edit/StatsMe.h"
#include "platform/files/File.h"
#include "platform/files/NewFile.h"

namespace vorelix::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

TEST(File, NothingIsReplacedOrCreatedByMistakeAndReadOnlyFilesAndFoldersAreRefused) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "new bytes");
    WriteFileBytes(dir / "a.bak", "only copy of the original");
    EXPECT_FALSE(File::CreateNew(dir / "a.bak").ok());
    EXPECT_FALSE(CopyToNewFile(dir / "a.dem", dir / "a.bak", false).ok());
    EXPECT_EQ(ReadFileBytes(dir / "a.bak"), "only copy of the original");
    ASSERT_TRUE(CopyToNewFile(dir / "a.dem", dir / "b.bak", false).ok());
    EXPECT_EQ(ReadFileBytes(dir / "b.bak"), "new bytes");

    // A file deleted since it was read is not created again by opening it for writing.
    auto gone = File::OpenForWriting(dir / "gone.dem");
    ASSERT_FALSE(gone.ok());
    EXPECT_FALSE(gone.failure().systemText.empty());
    EXPECT_FALSE(fs::exists(dir / "gone.dem"));

    // Marked read-only: refused for writing even where the system would allow it (root, Wine).
    fs::permissions(dir / "a.bak", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    EXPECT_FALSE(File::OpenForWriting(dir / "a.bak").ok());
    EXPECT_TRUE(File::OpenForReading(dir / "a.bak").ok());
    auto folder = File::OpenForReading(dir.Path());
    EXPECT_FALSE(folder.ok() && folder->Length().ok());
}

TEST(File, ReadsAndWritesPastFourGigabytesAndNotPastTheEnd) {
    TempDir dir;
    // Sparse: the offsets are used whole, not cut to 32 bits.
    constexpr std::uint64_t kLarge = 4'400'000'000ull;
    constexpr std::uint64_t kFourGB = std::uint64_t{1} << 32;
    WriteFileBytes(dir / "big.dem", "");
    fs::resize_file(dir / "big.dem", kLarge);
    {
        auto file = File::OpenForWriting(dir / "big.dem");
        ASSERT_TRUE(file.ok());
        EXPECT_EQ(file->Length().value(), kLarge);
        ASSERT_TRUE(file->WriteAt(kFourGB + 8, "high", 4).ok());
        ASSERT_TRUE(file->WriteAt(kLarge - 4, "last", 4).ok());
        ASSERT_TRUE(file->Flush().ok());
        ASSERT_TRUE(file->Close().ok());
    }
    auto file = File::OpenForReading(dir / "big.dem");
    ASSERT_TRUE(file.ok());
    std::string low(4, '?'), high(4, '?'), last(5, '?');
    ASSERT_TRUE(file->ReadAt(8, low).ok() && file->ReadAt(kFourGB + 8, high).ok() &&
                file->ReadAt(kLarge - 5, last).ok());
    EXPECT_EQ(low + high + last, std::string("\0\0\0\0high\0last", 13));
    std::string past(6, '?');
    EXPECT_FALSE(file->ReadAt(kLarge - 5, past).ok());
}

TEST(MappedDemo, MapsFilesAndScansThatLetGoOfPassedPagesFindTheSame) {
    TempDir dir;
    // 40 MB with a nick, a chat line and an inscription every 9,973 bytes; at the ends of the first three
    // 8 MB steps of the scans, a name marker, a chat separator and an inscription marker run across.
    std::string bytes = test::MakeDemo(40u << 20);
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
    // The bytes behind the scans are still there when looked at again, also after a move.
    MappedDemo moved = std::move(*mapped);
    EXPECT_EQ(demo::AsText(moved.Bytes()).substr(0, 4096), bytes.substr(0, 4096));
}

TEST(JoinFolderAndName, ADriveRootTakesTheNameDirectlyAnyOtherFolderASeparator) {
    // Nothing selected in the demo list: the folder and a separator, naming no file.
    EXPECT_EQ(JoinFolderAndName(L"C:\\", L"a.dem") + L"|" + JoinFolderAndName(L"D:\\Demos", L"a b.dem") +
                  L"|" + JoinFolderAndName(L"D:\\Demos", L"") + L"|" + JoinFolderAndName(L"C:\\", L""),
              L"C:\\a.dem|D:\\Demos\\a b.dem|D:\\Demos\\|C:\\");
}

}  // namespace
}  // namespace vorelix::platform
