// The main window's other handlers: the close hook and a failing handler.
#include <stdexcept>

#include "MainWindowFixture.h"
#include "ui/base/UnexpectedFailure.h"
#include "ui/base/Window.h"

namespace vorelix::test {
namespace {

TEST_F(MainWindowTest, ACloseRequestRunsTheCloseHookThenDestroysTheWindowAndQuits) {
    HWND hwnd = window->Hwnd();
    bool stillThereDuringHook = false;
    window->onClose = [&] { stillThereDuringHook = IsWindow(hwnd) != FALSE; };
    SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(stillThereDuringHook);
    EXPECT_FALSE(IsWindow(hwnd));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// A window whose handler fails as an unforeseen fault would.
class FailingWindow : public ui::Window {
  public:
    FailingWindow() { CreateTopLevel(L"Vorelix.Test.FailingWindow", L"", WS_POPUP, 0, 10, 10, nullptr); }
    static constexpr UINT kFail = WM_APP + 1;

  private:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == kFail) throw std::runtime_error("the disk caught fire");
        return DefaultProc(message, wParam, lParam);
    }
};

TEST_F(MainWindowTest, AnExceptionInAHandlerIsToldAndTheProgramGoesOn) {
    ui::SetUnexpectedFailurePrompter(&prompter);
    FailingWindow failing;
    const auto [text, title, icon] = Told([&] { SendMessageW(failing.Hwnd(), FailingWindow::kFail, 0, 0); });
    EXPECT_NE(text.find(L"Vorelix could not finish a window event."), std::wstring::npos);
    EXPECT_NE(text.find(L"the disk caught fire"), std::wstring::npos);
    EXPECT_EQ(icon, ui::MessageIcon::Critical);
    EXPECT_TRUE(IsWindow(failing.Hwnd()));
    // A failure in a subclass procedure's handler is told the same way.
    EXPECT_NE(std::get<0>(Told([] {
                  ui::RunGuarded(L"the demo list's menu", [] { throw std::runtime_error("x"); });
              })).find(L"the demo list's menu"),
              std::wstring::npos);
    ui::SetUnexpectedFailurePrompter(nullptr);
}

}  // namespace
}  // namespace vorelix::test
