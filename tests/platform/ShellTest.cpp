// Tests of handing a program to the shell's "open" verb.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "ProbeProcess.h"
#include "TempDir.h"
#include "platform/Shell.h"
#include "platform/Text.h"

namespace vorelix::platform {
namespace {

using test::ProbeEvent;
using test::ProbePath;
using test::TempDir;

TEST(ShellOpen, StartsAProgramWithItsParametersAndFolderAsGiven) {
    TempDir dir;
    const auto workFolder = dir.Path() / L"\u043F\u0430\u043F\u043A\u0430 with blanks";
    std::filesystem::create_directories(workFolder);
    const ProbeEvent done;
    const std::wstring parameters = L"record \"" + (dir / "record.txt").wstring() + L"\" " + done.Name() +
                                    L" \"\u0434\u0435\u043C\u043A\u0430 1.dem\" -x";
    ASSERT_TRUE(ShellOpen(nullptr, ProbePath(), parameters, workFolder.wstring(), SW_HIDE));
    ASSERT_TRUE(done.Wait());

    std::istringstream in(test::ReadFileBytes(dir / "record.txt"));
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(Utf8ToWide(line));
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], parameters);
    EXPECT_EQ(lines[1], workFolder.wstring());
}

TEST(ShellOpen, SaysNoForAFileThatDoesNotExist) {
    TempDir dir;
    EXPECT_FALSE(ShellOpen(nullptr, (dir / "missing.exe").wstring(), L"", L"", SW_HIDE));
}

}  // namespace
}  // namespace vorelix::platform
