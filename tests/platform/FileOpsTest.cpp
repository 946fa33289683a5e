// Tests of copying a dropped file in, renaming and deleting, on real files in temporary folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "TempDir.h"
#include "platform/FileOps.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

namespace vorelix::platform {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

const std::wstring kCyrillicName =
    L"\u043C\u043E\u044F \u0434\u0435\u043C\u043A\u0430 1.dem";  // "моя демка 1.dem"

TEST(CopyFileIntoFolder, CopiesUnderTheSameNameAndReplacesATargetOfThatName) {
    TempDir from;
    TempDir to;
    WriteFileBytes(from / "drop.dem", "new bytes");
    WriteFileBytes(to / "drop.dem", "old");
    const Status status = CopyFileIntoFolder((from / "drop.dem").wstring(), to.Path().wstring());
    ASSERT_TRUE(status.ok()) << status.failure().systemText;
    EXPECT_EQ(ReadFileBytes(to / "drop.dem"), "new bytes");
    EXPECT_EQ(ReadFileBytes(from / "drop.dem"), "new bytes");
}

TEST(CopyFileIntoFolder, KeepsNonAsciiNamesAndFilesOfOtherKinds) {
    TempDir from;
    TempDir to;
    WriteFileBytes(from.Path() / kCyrillicName, "demo");
    WriteFileBytes(from / "notes.txt", "text");
    ASSERT_TRUE(CopyFileIntoFolder((from.Path() / kCyrillicName).wstring(), to.Path().wstring()).ok());
    ASSERT_TRUE(CopyFileIntoFolder((from / "notes.txt").wstring(), to.Path().wstring()).ok());
    EXPECT_EQ(ReadFileBytes(to.Path() / kCyrillicName), "demo");
    EXPECT_EQ(ReadFileBytes(to / "notes.txt"), "text");
}

TEST(CopyFileIntoFolder, RefusesToCopyAFileOntoItself) {
    TempDir dir;
    WriteFileBytes(dir / "same.dem", "precious");
    const Status status = CopyFileIntoFolder((dir / "same.dem").wstring(), dir.Path().wstring());
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().systemText, "The file is already in this folder.");
    EXPECT_EQ(ReadFileBytes(dir / "same.dem"), "precious");

    // The same folder spelled differently is still the same folder.
    const std::wstring otherSpelling = dir.Path().wstring() + L"\\.\\";
    EXPECT_FALSE(
        CopyFileIntoFolder((dir / "same.dem").wstring(), otherSpelling.substr(0, otherSpelling.size() - 1))
            .ok());
    EXPECT_EQ(ReadFileBytes(dir / "same.dem"), "precious");
}

TEST(CopyFileIntoFolder, RefusesATargetThatIsTheSourceUnderAnotherName) {
    TempDir from;
    TempDir to;
    WriteFileBytes(from / "a.dem", "precious");
    // A hard link: another path, the same bytes on disk.
    ASSERT_TRUE(CreateHardLinkW((to / "a.dem").c_str(), (from / "a.dem").c_str(), nullptr));
    const Status status = CopyFileIntoFolder((from / "a.dem").wstring(), to.Path().wstring());
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().systemText, "The file is already in this folder.");
    EXPECT_EQ(ReadFileBytes(from / "a.dem"), "precious");
}

// Under Wine drive C: is also reachable through the Linux root on Z:.
std::wstring ThroughTheLinuxRoot(const std::wstring& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr) return {};
    char* unixName = toUnix(path.c_str());
    if (unixName == nullptr) return {};
    std::wstring result = L"Z:" + Utf8ToWide(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    for (auto& c : result) {
        if (c == L'/') c = L'\\';
    }
    return result;
}

TEST(CopyFileIntoFolder, RefusesTheSameFolderReachedThroughAnotherDrive) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "precious");
    const std::wstring otherDrive = ThroughTheLinuxRoot(dir.Path().wstring());
    if (otherDrive.empty()) GTEST_SKIP() << "not running under Wine";
    ASSERT_TRUE(std::filesystem::exists(otherDrive + L"\\a.dem"));
    const Status status = CopyFileIntoFolder((dir / "a.dem").wstring(), otherDrive);
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "precious");
}

TEST(CopyFileIntoFolder, AMissingSourceGivesTheSystemsText) {
    TempDir from;
    TempDir to;
    const Status status = CopyFileIntoFolder((from / "gone.dem").wstring(), to.Path().wstring());
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, static_cast<int>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(status.failure().systemText, WideToUtf8(SystemErrorText(ERROR_FILE_NOT_FOUND)));
    EXPECT_FALSE(std::filesystem::exists(to / "gone.dem"));
}

TEST(CopyFileIntoFolder, AMissingFolderFails) {
    TempDir from;
    WriteFileBytes(from / "a.dem", "a");
    const Status status = CopyFileIntoFolder((from / "a.dem").wstring(), (from / "no such folder").wstring());
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.failure().code, 0);
    EXPECT_FALSE(status.failure().systemText.empty());
}

TEST(RenameFileTo, RenamesCyrillicNamesWithBlanks) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "a");
    ASSERT_TRUE(RenameFileTo((dir / "a.dem").wstring(), (dir.Path() / kCyrillicName).wstring()).ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "a.dem"));
    EXPECT_EQ(ReadFileBytes(dir.Path() / kCyrillicName), "a");
    ASSERT_TRUE(RenameFileTo((dir.Path() / kCyrillicName).wstring(), (dir / "b.txt").wstring()).ok());
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "a");
}

TEST(RenameFileTo, NeverReplacesAnExistingFile) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "a");
    WriteFileBytes(dir / "b.dem", "b");
    const Status status = RenameFileTo((dir / "a.dem").wstring(), (dir / "b.dem").wstring());
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, static_cast<int>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "b.dem"), "b");
}

TEST(RenameFileTo, ToTheSameNameLeavesTheFile) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "a");
    (void)RenameFileTo((dir / "a.dem").wstring(), (dir / "a.dem").wstring());
    EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "a");
}

TEST(DeleteFileAt, RemovesTheFileAndFailsForAMissingOne) {
    TempDir dir;
    WriteFileBytes(dir.Path() / kCyrillicName, "x");
    ASSERT_TRUE(DeleteFileAt((dir.Path() / kCyrillicName).wstring()).ok());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / kCyrillicName));
    const Status again = DeleteFileAt((dir.Path() / kCyrillicName).wstring());
    ASSERT_FALSE(again.ok());
    EXPECT_EQ(again.failure().code, static_cast<int>(ERROR_FILE_NOT_FOUND));
}

TEST(DeleteFileAt, AFolderPathDeletesNothing) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "a");
    // With nothing selected the demo list's path is the folder and a "\".
    EXPECT_FALSE(DeleteFileAt(dir.Path().wstring() + L"\\").ok());
    EXPECT_TRUE(std::filesystem::exists(dir / "a.dem"));
}

}  // namespace
}  // namespace vorelix::platform
