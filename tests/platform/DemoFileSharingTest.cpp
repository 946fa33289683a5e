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

// Runs demo_file_holder.exe (built beside this test) on a file and waits until it says it holds
// the file; closing its input lets it go.
class HolderProcess {
  public:
    explicit HolderProcess(const std::filesystem::path& file) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const auto holder = std::filesystem::path(self).parent_path() / L"demo_file_holder.exe";
        SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE childIn = nullptr;
        HANDLE childOut = nullptr;
        if (!CreatePipe(&childIn, &input_, &inherit, 0) || !CreatePipe(&output_, &childOut, &inherit, 0))
            return;
        SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = childIn;
        startup.hStdOutput = childOut;
        startup.hStdError = childOut;
        std::wstring commandLine = L"\"" + holder.wstring() + L"\" \"" + file.wstring() + L"\"";
        PROCESS_INFORMATION info{};
        started_ = CreateProcessW(holder.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                  nullptr, &startup, &info);
        CloseHandle(childIn);
        CloseHandle(childOut);
        if (!started_) return;
        process_ = info.hProcess;
        CloseHandle(info.hThread);
        // The holder writes one line once the file is open; reading blocks until then.
        char buffer[64] = {};
        DWORD got = 0;
        ReadFile(output_, buffer, sizeof buffer - 1, &got, nullptr);
        said_ = std::string(buffer, got);
    }
    ~HolderProcess() {
        if (input_) CloseHandle(input_);
        if (process_) {
            WaitForSingleObject(process_, 30000);
            CloseHandle(process_);
        }
        if (output_) CloseHandle(output_);
    }
    bool Holding() const { return started_ && said_.rfind("held", 0) == 0; }
    const std::string& Said() const { return said_; }

  private:
    HANDLE input_ = nullptr;
    HANDLE output_ = nullptr;
    HANDLE process_ = nullptr;
    bool started_ = false;
    std::string said_;
};

TEST(DemoFileSharing, DemoHeldWithoutSharingIsRefusedAndUnchanged) {
    test::TempDir dir;
    const auto path = dir / "held.dem";
    std::string demo = test::MakeDemo(3000);
    test::PutAt(demo, 1000, "\\name\\Ann\\");
    test::WriteFileBytes(path, demo);
    {
        HolderProcess holder(path);
        ASSERT_TRUE(holder.Holding()) << holder.Said();
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
