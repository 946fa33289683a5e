// Windows only: a demo that another process holds open without sharing is refused, untouched.
#ifdef _WIN32
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ProbeProcess.h"
#include "SyntheticDemo.h"
#include "TempDir.h"
#include "platform/DemoFile.h"

namespace vorelix::platform {
namespace {

TEST(DemoFileSharing, DemoHeldWithoutSharingIsRefusedAndUnchanged) {
    test::TempDir dir;
    const auto path = dir / "held.dem";
    const std::string demo = test::MakeDemo(3000, {{1000, "\\name\\Ann\\"}});
    test::WriteFileBytes(path, demo);
    {
        test::FileHolder holder(path);
        ASSERT_TRUE(holder.Holding());
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
