// Tests of the single-instance guard, the program's identity and its argument string.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <sstream>
#include <vector>

#include "ProbeProcess.h"
#include "TempDir.h"
#include "app/ProgramInstance.h"
#include "platform/Text.h"

namespace vorelix::app {
namespace {

using test::ProbeEvent;
using test::ProbePath;
using test::RunAndWait;
using test::TempDir;

constexpr DWORD kFirstInstance = 10;
constexpr DWORD kOtherInstance = 20;

std::wstring UniqueMutexName() {
    static unsigned counter = 0;
    return L"Local\\VorelixTest.Guard-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++);
}

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// The probe's four recorded lines: argument string, working folder, program folder, base name.
std::vector<std::wstring> RecordedLines(const std::filesystem::path& file) {
    std::istringstream in(test::ReadFileBytes(file));
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(platform::Utf8ToWide(line));
    return lines;
}

TEST(SingleInstanceGuard, SecondGuardOfTheSameNameSeesTheFirst) {
    const std::wstring name = UniqueMutexName();
    SingleInstanceGuard first(name);
    EXPECT_TRUE(first.IsFirstInstance());
    {
        SingleInstanceGuard second(name);
        EXPECT_FALSE(second.IsFirstInstance());
    }
    SingleInstanceGuard otherName(UniqueMutexName());
    EXPECT_TRUE(otherName.IsFirstInstance());
}

TEST(SingleInstanceGuard, IsFreeAgainWhenTheHolderEnds) {
    const std::wstring name = UniqueMutexName();
    { SingleInstanceGuard first(name); }
    SingleInstanceGuard again(name);
    EXPECT_TRUE(again.IsFirstInstance());
}

TEST(SingleInstanceGuard, AnotherProcessSeesTheRunningInstance) {
    const std::wstring name = UniqueMutexName();
    const std::wstring probe = ProbePath();
    const std::wstring commandLine = Quoted(probe) + L" guard " + Quoted(name);
    EXPECT_EQ(RunAndWait(probe, commandLine), kFirstInstance) << "nobody holds it yet";
    SingleInstanceGuard running(name);
    ASSERT_TRUE(running.IsFirstInstance());
    EXPECT_EQ(RunAndWait(probe, commandLine), kOtherInstance);
}

TEST(ArgumentString, TakesEverythingAfterTheProgramsNameUnchanged) {
    struct Case {
        const wchar_t* commandLine;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"vorelix.exe", L""},
        {L"vorelix.exe   ", L""},
        {L"\"C:\\Program Files\\Vorelix\\vorelix.exe\"", L""},
        {L"vorelix.exe C:\\Demos\\a.dem", L"C:\\Demos\\a.dem"},
        {L"C:\\Vorelix\\vorelix.exe   C:\\My Demos\\a b.dem", L"C:\\My Demos\\a b.dem"},
        {L"\"C:\\Program Files\\Vorelix\\vorelix.exe\" C:\\My Demos\\a.dem", L"C:\\My Demos\\a.dem"},
        {L"\"C:\\Program Files\\Vorelix\\vorelix.exe\" \"C:\\My Demos\\a.dem\"", L"\"C:\\My Demos\\a.dem\""},
        {L"\"C:\\Program Files\\Vorelix\\vorelix.exe\"\t\"a.dem\" b.dem", L"\"a.dem\" b.dem"},
        {L"\"C:\\Vorelix\\vorelix.exe\"a.dem", L"a.dem"},
        {L"vorelix.exe a.dem  ", L"a.dem  "},
        {L"vorelix.exe \u0434\u0435\u043C\u043A\u0430 1.dem", L"\u0434\u0435\u043C\u043A\u0430 1.dem"},
        {L"\"unterminated name", L""},
        {L"", L""},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentString(c.commandLine), c.expected) << c.commandLine;
    EXPECT_EQ(ArgumentString(nullptr), L"");
}

TEST(ArgumentString, OfARealProcessKeepsQuotesAndBlanks) {
    TempDir dir;
    const ProbeEvent done;
    const std::wstring probe = ProbePath();
    const std::wstring out = (dir / "record.txt").wstring();
    const std::wstring arguments =
        L"record " + Quoted(out) + L" " + done.Name() + L" \"C:\\My Demos\\a.dem\"  x ";
    ASSERT_EQ(RunAndWait(probe, Quoted(probe) + L"  " + arguments), 0u);
    const auto lines = RecordedLines(dir / "record.txt");
    ASSERT_GE(lines.size(), 1u);
    EXPECT_EQ(lines[0], arguments);
}

TEST(CurrentProgram, GivesTheFolderWithoutSeparatorAndTheNameWithoutExe) {
    TempDir dir;
    // A folder with blanks and Cyrillic letters, deep but still startable (CreateProcessW refuses
    // programs beyond MAX_PATH).
    const std::wstring folderName =
        L"\u0414\u0435\u043C\u043A\u0438 \u0438 \u0432\u0441\u0451 \u0442\u0430\u043A\u043E\u0435";
    auto folder = dir.Path() / folderName / std::wstring(60, L'x') / std::wstring(60, L'y') / L"bin v2";
    std::filesystem::create_directories(folder);
    const auto copy = folder / L"\u041C\u043E\u0439 Probe.EXE";
    std::filesystem::copy_file(ProbePath(), copy);

    const ProbeEvent done;
    const std::wstring out = (dir / "record.txt").wstring();
    ASSERT_EQ(
        RunAndWait(copy.wstring(), Quoted(copy.wstring()) + L" record " + Quoted(out) + L" " + done.Name()),
        0u);
    const auto lines = RecordedLines(dir / "record.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], folder.wstring());
    EXPECT_EQ(lines[3], L"\u041C\u043E\u0439 Probe");
}

}  // namespace
}  // namespace vorelix::app
