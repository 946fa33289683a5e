// Tests of copying a dropped file in, renaming and deleting, on real files in temporary folders.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
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

const std::wstring kCyrillicName = L"моя демка 1.dem";

// Under Wine drive C: is also reachable through the Linux root on Z:.
std::wstring ThroughTheLinuxRoot(const std::wstring& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unixName = toUnix ? toUnix(path.c_str()) : nullptr;
    if (unixName == nullptr) return {};
    std::wstring result = L"Z:" + Utf8ToWide(unixName);
    HeapFree(GetProcessHeap(), 0, unixName);
    std::replace(result.begin(), result.end(), L'/', L'\\');
    return result;
}

TEST(CopyFileIntoFolder, CopiesUnderTheSameNameReplacingATargetOnlyWhenAskedTo) {
    TempDir from, to;
    WriteFileBytes(from.Path() / kCyrillicName, "new bytes");
    WriteFileBytes(to.Path() / kCyrillicName, "old");
    const auto source = (from.Path() / kCyrillicName).wstring();
    const Status refused = CopyFileIntoFolder(source, to.Path().wstring(), false);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().code, static_cast<int>(ERROR_FILE_EXISTS));
    EXPECT_EQ(ReadFileBytes(to.Path() / kCyrillicName), "old");
    const Status status = CopyFileIntoFolder(source, to.Path().wstring(), true);
    ASSERT_TRUE(status.ok()) << status.failure().systemText;
    EXPECT_EQ(ReadFileBytes(to.Path() / kCyrillicName), "new bytes");
    EXPECT_EQ(ReadFileBytes(from.Path() / kCyrillicName), "new bytes");
}

TEST(CopyFileIntoFolder, NeverCopiesAFileOntoItselfHoweverTheFolderIsSpelled) {
    TempDir dir, other;
    WriteFileBytes(dir / "a.dem", "precious");
    // A hard link: another path, the same bytes on disk.
    ASSERT_TRUE(CreateHardLinkW((other / "a.dem").c_str(), (dir / "a.dem").c_str(), nullptr));
    std::vector<std::wstring> folders{dir.Path().wstring(), dir.Path().wstring() + L"\\.",
                                      other.Path().wstring()};
    if (const auto viaZ = ThroughTheLinuxRoot(dir.Path().wstring()); !viaZ.empty()) folders.push_back(viaZ);
    for (const auto& folder : folders) {
        const Status status = CopyFileIntoFolder((dir / "a.dem").wstring(), folder, true);
        ASSERT_FALSE(status.ok()) << WideToUtf8(folder);
        EXPECT_EQ(status.failure().systemText, "The file is already in this folder.");
        EXPECT_EQ(ReadFileBytes(dir / "a.dem"), "precious");
    }
}

TEST(CopyFileIntoFolder, AMissingSourceOrFolderGivesTheSystemsText) {
    TempDir from, to;
    const Status missing = CopyFileIntoFolder((from / "gone.dem").wstring(), to.Path().wstring(), true);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().code, static_cast<int>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(missing.failure().systemText, WideToUtf8(SystemErrorText(ERROR_FILE_NOT_FOUND)));
    EXPECT_FALSE(std::filesystem::exists(to / "gone.dem"));
    WriteFileBytes(from / "a.dem", "a");
    const Status noFolder =
        CopyFileIntoFolder((from / "a.dem").wstring(), (from / "no such folder").wstring(), true);
    ASSERT_FALSE(noFolder.ok());
    EXPECT_FALSE(noFolder.failure().systemText.empty());
}

TEST(RenameFileTo, RenamesCyrillicNamesAndNeverReplacesAnExistingFile) {
    TempDir dir;
    WriteFileBytes(dir / "a.dem", "a");
    WriteFileBytes(dir / "b.dem", "b");
    ASSERT_TRUE(RenameFileTo((dir / "a.dem").wstring(), (dir.Path() / kCyrillicName).wstring()).ok());
    EXPECT_FALSE(std::filesystem::exists(dir / "a.dem"));
    EXPECT_EQ(ReadFileBytes(dir.Path() / kCyrillicName), "a");
    const Status status = RenameFileTo((dir.Path() / kCyrillicName).wstring(), (dir / "b.dem").wstring());
    ASSERT_FALSE(status.ok());
    EXPECT_EQ(status.failure().code, static_cast<int>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(ReadFileBytes(dir / "b.dem"), "b");
    (void)RenameFileTo((dir / "b.dem").wstring(), (dir / "b.dem").wstring());
    EXPECT_EQ(ReadFileBytes(dir / "b.dem"), "b") << "renaming to the same name leaves the file";
}

TEST(DeleteFileAt, RemovesTheFileAndFailsForAMissingOneOrAFolder) {
    TempDir dir;
    WriteFileBytes(dir.Path() / kCyrillicName, "x");
    ASSERT_TRUE(DeleteFileAt((dir.Path() / kCyrillicName).wstring()).ok());
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / kCyrillicName));
    EXPECT_EQ(DeleteFileAt((dir.Path() / kCyrillicName).wstring()).failure().code,
              static_cast<int>(ERROR_FILE_NOT_FOUND));
    // With nothing selected the demo list's path is the folder and a "\".
    WriteFileBytes(dir / "a.dem", "a");
    EXPECT_FALSE(DeleteFileAt(dir.Path().wstring() + L"\\").ok());
    EXPECT_TRUE(std::filesystem::exists(dir / "a.dem"));
}

}  // namespace
}  // namespace vorelix::platform
