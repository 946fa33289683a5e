// Tests of copying a dropped file in, renaming and deleting, on real files in temporary folders, and of
// handing a program to the shell's "open" verb.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "ProbeProcess.h"
#include "TempDir.h"
#include "platform/FileOps.h"
#include "platform/Shell.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

namespace vorelix::platform {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

const std::wstring kCyrillicName = L"моя демка 1.dem";

TEST(CopyFileIntoFolder, CopiesUnderTheSameNameReplacingOnlyWhenAskedToAndNeverOntoItself) {
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
    EXPECT_EQ(ReadFileBytes(to.Path() / kCyrillicName) + "|" + ReadFileBytes(source), "new bytes|new bytes");

    // The folder spelled another way, and a hard link (another path, the same bytes on disk).
    WriteFileBytes(from / "a.dem", "precious");
    ASSERT_TRUE(CreateHardLinkW((to / "a.dem").c_str(), (from / "a.dem").c_str(), nullptr));
    for (const auto& folder : {from.Path().wstring(), from.Path().wstring() + L"\\.", to.Path().wstring()}) {
        const Status same = CopyFileIntoFolder((from / "a.dem").wstring(), folder, true);
        ASSERT_FALSE(same.ok()) << WideToUtf8(folder);
        EXPECT_EQ(same.failure().systemText, "The file is already in this folder.");
        EXPECT_EQ(ReadFileBytes(from / "a.dem"), "precious");
    }

    // A missing source or folder gives the system's text.
    const Status missing = CopyFileIntoFolder((from / "gone.dem").wstring(), to.Path().wstring(), true);
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.failure().code, static_cast<int>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(missing.failure().systemText, WideToUtf8(SystemErrorText(ERROR_FILE_NOT_FOUND)));
    EXPECT_FALSE(std::filesystem::exists(to / "gone.dem"));
    const Status noFolder = CopyFileIntoFolder(source, (from / "no such folder").wstring(), true);
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

TEST(ShellOpen, StartsAProgramWithItsParametersAndFolderAsGivenAndSaysNoForAMissingOne) {
    TempDir dir;
    const auto workFolder = dir.Path() / L"папка with blanks";
    std::filesystem::create_directories(workFolder);
    const test::ProbeEvent done;
    const std::wstring parameters =
        L"record \"" + (dir / "record.txt").wstring() + L"\" " + done.Name() + L" \"демка 1.dem\" -x";
    ASSERT_TRUE(ShellOpen(nullptr, test::ProbePath(), parameters, workFolder.wstring(), SW_HIDE));
    ASSERT_TRUE(done.Wait());
    const auto lines = test::RecordedLines(dir / "record.txt");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], parameters);
    EXPECT_EQ(lines[1], workFolder.wstring());

    EXPECT_FALSE(ShellOpen(nullptr, (dir / "missing.exe").wstring(), L"", L"", SW_HIDE));
}

}  // namespace
}  // namespace vorelix::platform
