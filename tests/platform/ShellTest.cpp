// Tests of handing a program to the shell's "open" verb.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>

#include "ProbeProcess.h"
#include "TempDir.h"
#include "platform/Shell.h"

namespace vorelix::platform {
namespace {

TEST(ShellOpen, StartsAProgramWithItsParametersAndFolderAsGivenAndSaysNoForAMissingOne) {
    test::TempDir dir;
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
