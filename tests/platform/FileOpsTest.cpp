// Tests of copying a dropped file in, renaming and deleting, on real files in temporary folders, and of
// handing a program to the shell's "open" verb.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "ProbeProcess.h"
#include "TempDir.h"
#include "platform/files/FileOps.h"
#include "platform/Shell.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

namespace vorelix::platform {
namespace {

using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// Renaming, deleting, and copying over a taken name only after Yes are checked through the demo
// list's menu and drops (tests/ui/MainWindowFilesTest.cpp); here what the window cannot reach.
TEST(CopyFileIntoFolder, NeverCopiesOntoItselfAndGivesTheSystemsTextForAMissingSourceOrFolder) {
    TempDir from, to;
    // The folder spelled another way, and a hard link (another path, the same bytes on disk).
    WriteFileBytes(from / "a.dem", "precious");
    ASSERT_TRUE(CreateHardLinkW((to / "a.dem").c_str(), (from / "a.dem").c_str(), nullptr));
    for (const auto& folder : {from.Path().wstring(), from.Path().wstring() + L"\\.", to.Path().wstring()}) {
        const Status same = CopyFileIntoFolder((from / "a.dem").wstring(), folder, true);
        EXPECT_EQ(same.failure().systemText, "The file is already in this folder.") << WideToUtf8(folder);
        EXPECT_EQ(ReadFileBytes(from / "a.dem"), "precious");
    }
    const Status missing = CopyFileIntoFolder((from / "gone.dem").wstring(), to.Path().wstring(), true);
    EXPECT_EQ(missing.failure().systemText, WideToUtf8(SystemErrorText(ERROR_FILE_NOT_FOUND)));
    EXPECT_FALSE(std::filesystem::exists(to / "gone.dem"));
    EXPECT_FALSE(
        CopyFileIntoFolder((from / "a.dem").wstring(), (from / "no such folder").wstring(), true).ok());
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
