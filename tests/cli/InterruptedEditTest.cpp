// vorelix-cli set-nick killed at many points of a long edit: after the next command on the demo, the
// demo is byte for byte as it was before the edit or as the edit leaves it, and a backup copy, when
// there is one under its own name, is whole.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "SyntheticDemo.h"
#include "TempDir.h"
#include "cli/Cli.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace vorelix::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The edit runs as its own process, so that it can be killed as a user or a crash would.
class EditProcess {
  public:
    explicit EditProcess(const fs::path& demo);
    ~EditProcess() { Kill(); }
    void Kill();
    bool Wait();  // true when the edit ran to its end and succeeded
    bool Running();

  private:
#ifdef _WIN32
    PROCESS_INFORMATION process_{};
#else
    pid_t pid_ = -1;
    bool succeeded_ = false;
#endif
    bool waited_ = false;
};

#ifdef _WIN32
// The program's Linux path, reached through Wine's drive Z:.
std::wstring CliPath() {
    std::wstring path = L"Z:" + fs::path(VORELIX_CLI).wstring();
    for (auto& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

EditProcess::EditProcess(const fs::path& demo) {
    std::wstring line = L"\"" + CliPath() + L"\" set-nick --backup \"" + demo.wstring() + L"\" --from Bob --to Ann";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process_))
        ADD_FAILURE() << "vorelix-cli did not start: " << GetLastError();
}

bool EditProcess::Running() {
    return process_.hProcess != nullptr && !waited_ && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void EditProcess::Kill() {
    if (process_.hProcess == nullptr || waited_) return;
    TerminateProcess(process_.hProcess, 9);
    Wait();
}

bool EditProcess::Wait() {
    if (process_.hProcess == nullptr) return false;
    WaitForSingleObject(process_.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process_.hProcess, &code);
    if (!waited_) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    waited_ = true;
    return code == 0;
}
#else
// Each of the demo's writes is slowed by strace, so the kills fall among them.
EditProcess::EditProcess(const fs::path& demo) {
    const std::string cli = VORELIX_CLI;
    const std::string path = demo.string();
    const char* argv[] = {"strace", "-f", "-qq", "-o", "/dev/null", "-e", "inject=pwrite64:delay_exit=400",
                          cli.c_str(), "set-nick", "--backup", path.c_str(), "--from", "Bob", "--to", "Ann",
                          nullptr};
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    // The leak check cannot run under ptrace; the program would fail at its exit.
    ::setenv("LSAN_OPTIONS", "detect_leaks=0", 1);
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    // A group of its own: the kill ends strace and the edit together (a tracer's death alone would
    // let the edit run on).
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
    if (posix_spawnp(&pid_, "strace", nullptr, &attributes, const_cast<char**>(argv), environ) != 0) pid_ = -1;
    posix_spawnattr_destroy(&attributes);
}

bool EditProcess::Running() {
    if (pid_ < 0 || waited_) return false;
    for (int status = 0;;) {
        const pid_t ended = ::waitpid(-pid_, &status, WNOHANG);
        if (ended <= 0) break;
        if (ended == pid_) succeeded_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    return ::kill(-pid_, 0) == 0;
}

void EditProcess::Kill() {
    if (pid_ < 0 || waited_) return;
    ::kill(-pid_, SIGKILL);
    Wait();
}

// The edit is strace's child; this process adopts it when strace dies first (a subreaper), so it can
// wait until the edit is gone too: until then it may still hold its journal.
bool EditProcess::Wait() {
    if (pid_ < 0) return false;
    for (int status = 0;;) {
        const pid_t ended = ::waitpid(-pid_, &status, 0);
        if (ended < 0) break;
        if (ended == pid_) succeeded_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    waited_ = true;
    return succeeded_;
}
#endif

// The next access to the demo: any command puts it back first. What it said on standard error.
std::string ListNicks(const TempDir& captures, const fs::path& demo) {
    std::FILE* out = std::fopen((captures / "out").string().c_str(), "w+b");
    std::FILE* err = std::fopen((captures / "err").string().c_str(), "w+b");
    cli::Console console(out, err);
    cli::Run({"nicks", demo.string()}, console);
    std::fclose(out);
    std::fclose(err);
    return ReadFileBytes(captures / "err");
}

TEST(InterruptedEdit, AKilledEditLeavesTheDemoAsBeforeOrAsAfterAndNoHalfBackup) {
#ifdef _WIN32
    constexpr int kNicks = 10'000, kKills = 10;
#else
    if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
    constexpr int kNicks = 3'000, kKills = 24;
#endif
    Pieces pieces;
    for (int i = 0; i < kNicks; ++i) pieces.emplace_back(2000 + 200 * i, "\\name\\Bob\\model\\gign\\");
    const std::string before = MakeDemo(2000 + 200 * kNicks + 1000, pieces);
    TempDir dir, captures;
    const fs::path demo = dir / "match.dem";
    const auto fresh = [&] {
        for (const auto& entry : fs::directory_iterator(dir.Path())) fs::remove(entry.path());
        WriteFileBytes(demo, before);
    };

    // One edit to its end: the after image, how long the edit takes, and when its journal appears
    // (the writes follow it).
    fresh();
    const fs::path journal = dir / "match.dem.vorelix-journal";
    const auto start = Clock::now();
    auto journalAt = Clock::duration::zero();
    {
        EditProcess edit(demo);
        while (edit.Running()) {
            if (journalAt == Clock::duration::zero() && fs::exists(journal)) journalAt = Clock::now() - start;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        ASSERT_TRUE(edit.Wait());
    }
    const auto whole = Clock::now() - start;
    const std::string after = ReadFileBytes(demo);
    ASSERT_EQ(after.size(), before.size());
    ASSERT_NE(after, before);

    // Half the kills spread over the whole edit (its scan and backup copy too), half over the writes.
    int asBefore = 0, undone = 0, asAfter = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        fresh();
        {
            EditProcess edit(demo);
            if (kill % 2 == 1) {
                std::this_thread::sleep_for(whole * kill / (kKills + 1));
            } else {
                while (edit.Running() && !fs::exists(journal)) std::this_thread::sleep_for(std::chrono::microseconds(100));
                std::this_thread::sleep_for((whole - journalAt) * kill / (kKills + 1));
            }
            edit.Kill();
        }
        const std::string said = ListNicks(captures, demo);
        const std::string now = ReadFileBytes(demo);
        ASSERT_TRUE(now == before || now == after) << "killed at " << kill << "/" << kKills + 1 << "; " << said;
        if (said.find("an interrupted edit was undone") != std::string::npos) ++undone;
        (now == before ? asBefore : asAfter)++;
        for (const auto& entry : fs::directory_iterator(dir.Path())) {
            const auto name = entry.path().filename().string();
            EXPECT_EQ(name.find(".vorelix-journal"), std::string::npos) << name;
            if (name.ends_with(".bak")) {
                EXPECT_EQ(ReadFileBytes(entry.path()), before) << name;
            }
        }
    }
    std::printf("%d kills over an edit of %d nicks taking %lld ms: %d as before (%d of them undone), %d as after\n",
                kKills, kNicks,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(whole).count()),
                asBefore, undone, asAfter);
    // The kills must have fallen among the writes, or the journal was never put to the test.
    EXPECT_GT(undone, 0);
}

}  // namespace
}  // namespace vorelix::test
