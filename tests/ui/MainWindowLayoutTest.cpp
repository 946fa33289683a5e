// The main window as built: its layout at every DPI, the texts under a western code page, and video lists
// that the launch understands.
#include <cmath>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "launch/VideoSettings.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"

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

// A control's place in the window's client area and its font.
struct Shown {
    RECT place;
    LOGFONTW font;
    bool operator==(const Shown& other) const {
        return EqualRect(&place, &other.place) && font.lfHeight == other.font.lfHeight &&
               font.lfWeight == other.font.lfWeight && lstrcmpW(font.lfFaceName, other.font.lfFaceName) == 0;
    }
};

std::vector<Shown> EveryControlShown(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<Shown> shown{{client, {}}};
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        shown.push_back({});
        GetWindowRect(child, &shown.back().place);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&shown.back().place), 2);
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof(LOGFONTW),
                   &shown.back().font);
    }
    return shown;
}

TEST_F(MainWindowTest, AtEveryDpiTheLayoutScalesKeepsItsRulesAndFontsAndFreesNoFontInUse) {
    HWND hwnd = window->Hwnd();
    const UINT startDpi = ui::WindowDpi(hwnd);
    const auto atStart = EveryControlShown(hwnd);
    std::vector<HWND> controls{hwnd};  // the client area first, as EveryControlShown has it
    int deletedFonts = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        controls.push_back(child);
        SetWindowSubclass(child, &CheckFontStillAlive, 1, reinterpret_cast<DWORD_PTR>(&deletedFonts));
    }
    std::vector<Shown> at96;
    for (const UINT dpi : {96u, 120u, 144u, 192u, startDpi}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 800, 800};
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        // A closed drop-down list is as high as its font makes it: the drive box may reach a pixel into the
        // folder box right below it.
        ExpectLaidOut(hwnd, dpi, {{ui::ToInt(ControlId::DriveBox), ui::ToInt(ControlId::FolderBox)}});
        const auto shown = EveryControlShown(hwnd);
        if (at96.empty()) at96 = shown;
        // Scaled from 96 DPI, though a label may spread to fit its caption and a closed drop-down list is as
        // high as its font makes it; text boxes in the text face.
        const auto scaled = [dpi](LONG pixels, LONG at96Pixels) {
            return std::abs(pixels - at96Pixels * static_cast<double>(dpi) / 96) <= 1;
        };
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const RECT &place = shown[i].place, &was = at96[i].place;
            const bool sized = !IsKind(controls[i], WC_STATICW) && !IsKind(controls[i], WC_COMBOBOXW);
            EXPECT_TRUE(scaled(place.left, was.left) && scaled(place.top, was.top) &&
                        (!sized || (scaled(place.right, was.right) && scaled(place.bottom, was.bottom))))
                << GetDlgCtrlID(controls[i]);
            if (IsKind(controls[i], WC_EDITW)) {
                EXPECT_EQ(shown[i].font.lfFaceName + std::to_wstring(shown[i].font.lfWeight),
                          ui::InstalledFace(L"Verdana") + L"400");
            }
        }
        for (ControlId id : {ControlId::UtilsButton, ControlId::ViewDemoButton, ControlId::PlayDemoButton}) {
            BUTTON_IMAGELIST list{};
            int cx = 0, cy = 0;
            SendMessageW(Control(id), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
            EXPECT_EQ(ImageList_GetImageCount(list.himl), 1) << ui::ToInt(id);
            EXPECT_TRUE(ImageList_GetIconSize(list.himl, &cx, &cy));
            EXPECT_EQ(cx, MulDiv(32, static_cast<int>(dpi), 96));
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
    EXPECT_TRUE(EveryControlShown(hwnd) == atStart);
}

TEST_F(MainWindowTest, TitleTipsAndTheCyrillicMenuReadBackWholeUnderAWesternCodePage) {
    EXPECT_NE(GetACP(), 1251u)
        << "the check means something only when the system's code page is not Cyrillic";
    EXPECT_EQ(Text(window->Hwnd()), L"Vorelix v2.1b [for CS 1.4-1.5]");
    EXPECT_EQ(ToolTipOf(Control(ControlId::SpeedBox)), L"Percent of real time");
    EXPECT_EQ(ToolTipOf(Control(ControlId::ViewDemoButton)),
              L"View demo with play controls! (pause, rewind etc)");
    EXPECT_EQ(ToolTipOf(Control(ControlId::PlayDemoButton)), L"Simple viewing");
    HMENU items = GetSubMenu(window->DemoMenu(), 0);
    std::vector<std::wstring> captions;
    for (int i = 0; i < GetMenuItemCount(items); ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(items, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
        captions.push_back(text);
    }
    EXPECT_EQ(captions,
              (std::vector<std::wstring>{L"Переименовать демку...", L"Удалить демку", L"Repair a copy..."}));
}

TEST_F(MainWindowTest, EveryEntryOfTheVideoListsIsOneTheLaunchUnderstands) {
    // Renderers in the order of the game's engine types; resolutions of 4:3, growing.
    const auto renderers = Items(Control(ControlId::RendererBox));
    ASSERT_EQ(renderers.size(), 3u);
    for (std::size_t i = 0; i < renderers.size(); ++i) {
        const auto video = launch::VideoSettingsFor(renderers[i], L"640x480");
        ASSERT_TRUE(video.has_value());
        EXPECT_EQ((*video)[2].value, static_cast<std::int32_t>(i + 1)) << renderers[i];
    }
    std::int32_t widest = 0;
    const auto resolutions = Items(Control(ControlId::ResolutionBox));
    EXPECT_EQ(resolutions.size(), 8u);
    for (const auto& resolution : resolutions) {
        const auto video = launch::VideoSettingsFor(L"OpenGL", resolution);
        ASSERT_TRUE(video.has_value()) << resolution;
        EXPECT_EQ((*video)[0].value * 3, (*video)[1].value * 4) << resolution;
        EXPECT_GT((*video)[0].value, widest);
        widest = (*video)[0].value;
    }
}

}  // namespace
}  // namespace vorelix::test
