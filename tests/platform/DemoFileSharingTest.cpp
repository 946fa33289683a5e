// Windows only: a demo that another process holds open without sharing is refused, untouched.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "SyntheticDemo.h"
#include "TempDir.h"
#include "platform/DemoFile.h"

namespace vorelix::platform {
namespace {

// Runs demo_file_holder.exe (built beside this test) on a file and waits until it holds the file
// (or has ended, failing to open it); the file is let go when this object goes.
struct HolderProcess {
    explicit HolderProcess(const std::filesystem::path& file) {
        const std::wstring prefix = L"VorelixTestHolder" + std::to_wstring(GetCurrentProcessId());
        HANDLE held = CreateEventW(nullptr, TRUE, FALSE, (prefix + L"held").c_str());
        release = CreateEventW(nullptr, TRUE, FALSE, (prefix + L"release").c_str());
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const auto holder = std::filesystem::path(self).parent_path() / L"demo_file_holder.exe";
        std::wstring commandLine = L"\"" + holder.wstring() + L"\" \"" + file.wstring() + L"\" " + prefix +
                                   L"held " + prefix + L"release";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(holder.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            process = info.hProcess;
            CloseHandle(info.hThread);
            HANDLE either[] = {held, process};
            holding = WaitForMultipleObjects(2, either, FALSE, 30000) == WAIT_OBJECT_0;
        }
        CloseHandle(held);
    }
    ~HolderProcess() {
        SetEvent(release);
        if (process) {
            WaitForSingleObject(process, 30000);
            CloseHandle(process);
        }
        CloseHandle(release);
    }
    HANDLE release = nullptr;
    HANDLE process = nullptr;
    bool holding = false;
};

TEST(DemoFileSharing, DemoHeldWithoutSharingIsRefusedAndUnchanged) {
    test::TempDir dir;
    const auto path = dir / "held.dem";
    const std::string demo = test::MakeDemo(3000, {{1000, "\\name\\Ann\\"}});
    test::WriteFileBytes(path, demo);
    {
        HolderProcess holder(path);
        ASSERT_TRUE(holder.holding);
        auto summary = ReadDemoSummary(path);
        ASSERT_FALSE(summary.ok());
        EXPECT_EQ(summary.failure().code, ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(summary.failure().systemText.empty());
        EXPECT_FALSE(MappedDemo::Open(path).ok());
        auto written = ApplyWritePlan(path, demo::WritePlan{3000, {{1006, "Bob"}}});
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.failure().code, ERROR_SHARING_VIOLATION);
        EXPECT_FALSE(MakeBakCopy(path).ok());
    }
    EXPECT_EQ(test::ReadFileBytes(path), demo);
    EXPECT_TRUE(ReadDemoSummary(path).ok());
}

}  // namespace
}  // namespace vorelix::platform
#endif
