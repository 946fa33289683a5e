// New demo files: pieces copied a chunk at a time, a demo over 2 GB refused, nothing left when writing fails.
#include <gtest/gtest.h>

#include "SyntheticDemo.h"
#include "TempDir.h"
#include "platform/ChunkedDemoFile.h"
#include "platform/NewDemoFile.h"

#ifndef _WIN32
#include <sys/resource.h>

#include <csignal>
#endif

namespace vorelix::platform {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

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
TEST(NewDemoFile, AFailedWriteLeavesNoPartialCopy) {
    test::TempDir dir;
    const std::string source(64 * 1024, 'x');
    demo::SpanBytes bytes(demo::AsBytes(source));
    const demo::DemoPiece pieces[] = {{0, source.size(), {}}};
    // A file size limit makes the write itself fail (EFBIG), as a full disk would.
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

}  // namespace
}  // namespace vorelix::platform
