// The main window as built: its layout at every DPI, the texts under a western code page, and video lists
// that the launch understands.
#include <cmath>
#include <tuple>
#include <utility>

#include "MainWindowFixture.h"
#include "launch/VideoSettings.h"
#include "ui/base/Dpi.h"
#include "ui/base/Fonts.h"

namespace vorelix::test {
namespace {

using ui::ControlId;

// Counts fonts that a control is told to give up after they were deleted.
LRESULT CALLBACK CheckFontStillAlive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR deletedFonts) {
    if (message == WM_SETFONT) {
        const auto old = reinterpret_cast<HGDIOBJ>(DefSubclassProc(hwnd, WM_GETFONT, 0, 0));
        if (old && GetObjectType(old) != OBJ_FONT) ++*reinterpret_cast<int*>(deletedFonts);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Each control, its place in the window's client area (the client area first) and its font.
using Shown = std::tuple<HWND, LONG, LONG, LONG, LONG, std::wstring>;
std::vector<Shown> EveryControlShown(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<Shown> shown{{window, 0, 0, client.right, client.bottom, L""}};
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const RECT place = PlaceIn(window, child);
        shown.emplace_back(child, place.left, place.top, place.right, place.bottom, FontOf(child));
    }
    return shown;
}

TEST_F(MainWindowTest, AtEveryDpiTheLayoutScalesKeepsItsRulesAndFontsAndFreesNoFontInUse) {
    HWND hwnd = window->Hwnd();
    const UINT startDpi = ui::WindowDpi(hwnd);
    const auto atStart = EveryControlShown(hwnd);
    int deletedFonts = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SetWindowSubclass(child, &CheckFontStillAlive, 1, reinterpret_cast<DWORD_PTR>(&deletedFonts));
    std::vector<Shown> at96;
    for (const UINT dpi : {96u, 120u, 144u, 192u, startDpi}) {
        SCOPED_TRACE(dpi);
        // A closed drop-down list is as high as its font makes it: the drive box may reach a pixel into the
        // folder box right below it.
        ExpectLaidOut(hwnd, {dpi}, {{ui::ToInt(ControlId::DriveBox), ui::ToInt(ControlId::FolderBox)}});
        const auto shown = EveryControlShown(hwnd);
        if (at96.empty()) at96 = shown;
        // Scaled from 96 DPI, though a label may spread to fit its caption and a closed drop-down list is as
        // high as its font makes it.
        const auto scaled = [dpi](LONG pixels, LONG at96Pixels) {
            return std::abs(pixels - at96Pixels * static_cast<double>(dpi) / 96) <= 1;
        };
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const auto& [control, left, top, right, bottom, font] = shown[i];
            const auto& [sameControl, wasLeft, wasTop, wasRight, wasBottom, wasFont] = at96[i];
            const bool sized = !IsKind(control, WC_STATICW) && !IsKind(control, WC_COMBOBOXW);
            EXPECT_TRUE(scaled(left, wasLeft) && scaled(top, wasTop) &&
                        (!sized || (scaled(right, wasRight) && scaled(bottom, wasBottom))))
                << GetDlgCtrlID(control);
        }
        LOGFONTW caption{};
        const auto bold =
            reinterpret_cast<HFONT>(SendMessageW(Control(ControlId::GameFrame), WM_GETFONT, 0, 0));
        GetObjectW(bold, sizeof caption, &caption);
        caption.lfWeight = FW_NORMAL;
        HFONT regular = CreateFontIndirectW(&caption);
        EXPECT_GT(ui::MeasureDrawnText(bold, L"HL.EXE path:").darkness * 4,
                  ui::MeasureDrawnText(regular, L"HL.EXE path:").darkness * 5)
            << "the bold caption font draws no darker than the regular one";
        DeleteObject(regular);
    }
    EXPECT_EQ(deletedFonts, 0) << "a control still held a deleted font when it got the new one";
    // Back at the starting DPI, everything is as it was: nothing carries over from the other DPIs.
    EXPECT_EQ(EveryControlShown(hwnd), atStart);
}

TEST_F(MainWindowTest, TheTitleAndTheCyrillicMenuReadBackWholeUnderAWesternCodePage) {
    EXPECT_NE(GetACP(), 1251u)
        << "the check means something only when the system's code page is not Cyrillic";
    EXPECT_EQ(Text(window->Hwnd()), L"Vorelix v2.1b [for CS 1.4-1.5]");
    HMENU items = GetSubMenu(window->DemoMenu(), 0);
    std::wstring captions;
    for (int i = 0; i < GetMenuItemCount(items); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(items, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        captions += text + std::wstring(L"|");
    }
    EXPECT_EQ(captions, L"Переименовать демку...|Удалить демку|Восстановить копию демки...|Хронология демки...|");
}

TEST_F(MainWindowTest, EveryEntryOfTheVideoListsIsOneTheLaunchUnderstands) {
    // Renderers in the order of the game's engine types; resolutions of 4:3, growing.
    const auto renderers = Items(Control(ControlId::RendererBox));
    const auto resolutions = Items(Control(ControlId::ResolutionBox));
    ASSERT_EQ(std::pair(renderers.size(), resolutions.size()), std::pair(std::size_t{3}, std::size_t{8}));
    std::int32_t widest = 0;
    for (std::size_t i = 0; i < resolutions.size(); ++i) {
        const auto video = launch::VideoSettingsFor(renderers[i % 3], resolutions[i]);
        ASSERT_TRUE(video.has_value()) << renderers[i % 3] << resolutions[i];
        EXPECT_EQ((*video)[2].value, static_cast<std::int32_t>(i % 3 + 1)) << renderers[i % 3];
        EXPECT_EQ((*video)[0].value * 3, (*video)[1].value * 4) << resolutions[i];
        EXPECT_GT((*video)[0].value, std::exchange(widest, (*video)[0].value));
    }
}

}  // namespace
}  // namespace vorelix::test
