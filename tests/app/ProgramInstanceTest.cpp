// Tests of the single-instance guard, the program's identity and its argument string.
#include <gtest/gtest.h>
#include <process.h>
#include <windows.h>

#include <filesystem>

#include "ProbeProcess.h"
#include "TempDir.h"
#include "app/ProgramInstance.h"

namespace vorelix::app {
namespace {

using test::ProbePath;

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

// Runs `program` with `arguments` after its quoted path, and gives its exit code once it has ended.
intptr_t RunToEnd(const std::wstring& program, const std::wstring& arguments) {
    const std::wstring quoted = Quoted(program);
    const wchar_t* argv[] = {quoted.c_str(), arguments.c_str(), nullptr};
    return _wspawnv(_P_WAIT, program.c_str(), argv);
}

TEST(SingleInstanceGuard, SeesAHolderOfTheSameNameInThisOrAnotherProcessUntilItEnds) {
    const std::wstring name = L"Local\\VorelixTest.Guard-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring guard = L"guard " + Quoted(name);
    constexpr intptr_t kFirstInstance = 10, kOtherInstance = 20;  // the probe's answers
    EXPECT_EQ(RunToEnd(ProbePath(), guard), kFirstInstance) << "nobody holds it yet";
    {
        SingleInstanceGuard first(name);
        ASSERT_TRUE(first.IsFirstInstance());
        EXPECT_FALSE(SingleInstanceGuard(name).IsFirstInstance());
        EXPECT_TRUE(SingleInstanceGuard(name + L"-other").IsFirstInstance());
        EXPECT_EQ(RunToEnd(ProbePath(), guard), kOtherInstance);
    }
    EXPECT_TRUE(SingleInstanceGuard(name).IsFirstInstance()) << "free again when the holder ends";
}

TEST(ArgumentString, TakesEverythingAfterTheProgramsNameUnchanged) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"vorelix.exe", L""},
        {L"C:\\Vorelix\\vorelix.exe   C:\\My Demos\\a b.dem", L"C:\\My Demos\\a b.dem"},
        {L"\"C:\\Program Files\\Vorelix\\vorelix.exe\" \"C:\\My Demos\\a.dem\"", L"\"C:\\My Demos\\a.dem\""},
        {L"\"C:\\Program Files\\Vorelix\\vorelix.exe\"\t\"a.dem\" b.dem", L"\"a.dem\" b.dem"},
        {L"\"C:\\Vorelix\\vorelix.exe\"a.dem", L"a.dem"},
        {L"vorelix.exe a.dem  ", L"a.dem  "},
        {L"\"unterminated name", L""},
        {nullptr, L""},
    };
    for (const auto& [commandLine, expected] : cases)
        EXPECT_EQ(ArgumentString(commandLine), expected) << commandLine;
}

TEST(CurrentProgram, GivesTheFolderAndNameWithoutExeAndTheArgumentsOfARealProcess) {
    test::TempDir dir;
    // A folder with blanks and Cyrillic letters, deep but still startable (CreateProcessW refuses
    // programs beyond MAX_PATH).
    const auto folder =
        dir.Path() / L"Демки и всё такое" / std::wstring(60, L'x') / std::wstring(60, L'y') / L"bin v2";
    std::filesystem::create_directories(folder);
    const auto copy = folder / L"Мой Probe.EXE";
    std::filesystem::copy_file(ProbePath(), copy);

    const test::ProbeEvent done;
    const std::wstring arguments = L"record " + Quoted((dir / "record.txt").wstring()) + L" " + done.Name() +
                                   L" \"C:\\My Demos\\a.dem\"  x ";
    ASSERT_EQ(RunToEnd(copy.wstring(), arguments), 0);
    const auto lines = test::RecordedLines(dir / "record.txt");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], arguments);
    EXPECT_EQ(lines[2], folder.wstring());
    EXPECT_EQ(lines[3], L"Мой Probe");
}

}  // namespace
}  // namespace vorelix::app
