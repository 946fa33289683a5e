// The main window's other handlers: the video lists, the about line, the close hook and the text boxes.
#include <string>

#include "MainWindowFixture.h"

namespace vorelix::test {
namespace {

using ui::ControlId;

TEST_F(MainWindowTest, VideoListsSaveTheirIndexOnEveryPick) {
    const auto stored = [this](const wchar_t* name) {
        return settings.GetString(L"main", name, L"<absent>");
    };
    SendMessageW(Control(ControlId::RendererBox), CB_SETCURSEL, 2, 0);
    Notify(ControlId::RendererBox, CBN_SELCHANGE);
    SendMessageW(Control(ControlId::ResolutionBox), CB_SETCURSEL, 7, 0);
    Notify(ControlId::ResolutionBox, CBN_SELCHANGE);
    EXPECT_EQ(stored(L"graphmode"), L"2");
    EXPECT_EQ(stored(L"graphres"), L"7");
}

TEST_F(MainWindowTest, ClickingTheAboutLineOpensTheProjectPage) {
    EXPECT_TRUE(GetWindowLongW(Control(ControlId::AboutLine), GWL_STYLE) & SS_NOTIFY)
        << "the label reports clicks";
    Notify(ControlId::AboutLine, STN_CLICKED);
    EXPECT_EQ(openedPages, std::vector<std::wstring>{ui::kProjectPage});
    EXPECT_EQ(std::wstring(ui::kProjectPage).rfind(L"https://", 0), 0u);
}

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

}  // namespace
}  // namespace vorelix::test
