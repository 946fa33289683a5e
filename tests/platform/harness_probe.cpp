#include <gtest/gtest.h>
#include "RealDemos.h"
#ifdef _WIN32
#include <windows.h>
TEST(Probe, Window) {
  HWND h = CreateWindowExW(0, L"BUTTON", L"x", WS_OVERLAPPEDWINDOW, 0,0,100,100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(h, nullptr) << GetLastError();
  DestroyWindow(h);
}
#endif
TEST(Probe, Demos) { VORELIX_SKIP_WITHOUT_REAL_DEMOS(); EXPECT_GE(vorelix::test::RealDemoFiles().size(), 19u); }
