// The main window as built: places at 96 DPI against the designer's twips, captions, items, fonts, tips,
// menu.
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "ui/Dpi.h"
#include "ui/Fonts.h"

namespace vorelix::test {
namespace {

using ui::ControlId;

struct Expected {
    ControlId id;
    int left, top, width, height;  // twips, in the window's client area
    const wchar_t* caption;
    // Captions are bold Tahoma, text boxes Verdana (or the nearest installed faces); labels may spread
    // right when the installed face is wider than the designer's; a closed drop-down list is as high as
    // its font makes it.
    enum Kind { Caption, Text, Label, DropDown, List } kind;
};

// The frames' own corners added to the places of what they hold.
const Expected kPlaces[] = {
    {ControlId::GameFrame, 120, 120, 7410, 1275, L"HL.EXE path:", Expected::Caption},
    {ControlId::HlPathBox, 120 + 120, 120 + 360, 6690, 285, L"", Expected::Text},
    {ControlId::BrowseHlExeButton, 120 + 6930, 120 + 360, 375, 285, L"...", Expected::Caption},
    {ControlId::GraphicModeLabel, 120 + 210, 120 + 795, 1755, 195, L"Launch in graphic mode:",
     Expected::Label},
    {ControlId::RendererBox, 120 + 2100, 120 + 735, 1275, 315, nullptr, Expected::DropDown},
    {ControlId::ResolutionBox, 120 + 3465, 120 + 735, 1170, 315, nullptr, Expected::DropDown},
    {ControlId::SelectConfigButton, 120 + 4725, 120 + 735, 1590, 315, L"select a config...",
     Expected::Caption},
    {ControlId::DemosFrame, 105, 1470, 7410, 4755, L"List of available demos", Expected::Caption},
    {ControlId::DriveBox, 105 + 105, 1470 + 315, 3375, 315, nullptr, Expected::DropDown},
    {ControlId::FolderBox, 105 + 105, 1470 + 630, 3375, 1440, nullptr, Expected::List},
    {ControlId::DemoList, 105 + 105, 1470 + 2100, 3405, 2430, nullptr, Expected::List},
    {ControlId::InfoLabel, 105 + 3720, 1470 + 0, 1065, 195, L"Information:", Expected::Label},
    {ControlId::InfoBox, 105 + 3720, 1470 + 315, 3570, 1530, L"", Expected::Text},
    {ControlId::PlayersLabel, 105 + 3720, 1470 + 1890, 675, 195, L"Players:", Expected::Label},
    {ControlId::PlayerList, 105 + 3675, 1470 + 2100, 3585, 2400, nullptr, Expected::List},
    {ControlId::SpeedLabel, 120, 6390, 2445, 195, L"Speed of viewing using playdemo:", Expected::Label},
    {ControlId::SpeedBox, 2700, 6360, 675, 285, L"100", Expected::Text},
    {ControlId::CommandLineLabel, 105, 6735, 1380, 225, L"HL command line:", Expected::Label},
    {ControlId::CommandLineBox, 105, 7035, 3270, 285, L"-game cstrike -console", Expected::Text},
    {ControlId::UtilsButton, 3570, 6360, 1170, 1095, L"Useful utils", Expected::Caption},
    {ControlId::ViewDemoButton, 5040, 6360, 1170, 1095, L"ViewDemo", Expected::Caption},
    {ControlId::PlayDemoButton, 6345, 6360, 1170, 1095, L"PlayDemo", Expected::Caption},
    {ControlId::AboutLine, 105, 7540, 7470, 255, nullptr, Expected::Caption},
};

RECT PlaceOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

TEST_F(MainWindowTest, EveryControlSitsWhereTheTwipsTablePutsItWithItsCaptionAndFont) {
    for (const auto& expected : kPlaces) {
        SCOPED_TRACE(ui::ToInt(expected.id));
        const bool isText = expected.kind == Expected::Text;
        const LOGFONTW font = FontOf(Control(expected.id));
        if (isText || expected.kind == Expected::Caption) {
            EXPECT_STREQ(font.lfFaceName, ui::InstalledFace(isText ? L"Verdana" : L"Tahoma").c_str());
            EXPECT_EQ(font.lfWeight, isText ? FW_NORMAL : FW_BOLD);
            EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
        }
        if (!expected.caption) continue;
        EXPECT_EQ(ControlText(expected.id), expected.caption);
    }
    EXPECT_NE(ui::InstalledFace(L"No Such Face Anywhere"), L"No Such Face Anywhere") << "the nearest face";
    const UINT dpi = ui::WindowDpi(window->Hwnd());
    if (dpi != 96) GTEST_SKIP() << "the display runs at " << dpi << " DPI; the table is checked at 96";
    RECT client{};
    GetClientRect(window->Hwnd(), &client);
    EXPECT_EQ(client.right, 508);
    EXPECT_EQ(client.bottom, 521);
    const auto px = [](int twips) { return MulDiv(twips, 96, 1440); };
    for (const auto& expected : kPlaces) {
        SCOPED_TRACE(ui::ToInt(expected.id));
        const RECT rect = PlaceOf(Control(expected.id));
        EXPECT_EQ(rect.left, px(expected.left));
        EXPECT_EQ(rect.top, px(expected.top));
        if (expected.kind == Expected::Label) {
            EXPECT_GE(rect.right - rect.left, px(expected.width));
        } else {
            EXPECT_EQ(rect.right - rect.left, px(expected.width));
        }
        if (expected.kind == Expected::DropDown) continue;
        EXPECT_EQ(rect.bottom - rect.top, px(expected.height));
        if (expected.kind != Expected::Caption) continue;
        EXPECT_EQ(FontOf(Control(expected.id)).lfHeight, -11) << "8.25 pt at 96 DPI";
    }
    // Labels that spread stop before their neighbours.
    EXPECT_LE(PlaceOf(Control(ControlId::GraphicModeLabel)).right,
              PlaceOf(Control(ControlId::RendererBox)).left);
    EXPECT_LE(PlaceOf(Control(ControlId::SpeedLabel)).right, PlaceOf(Control(ControlId::SpeedBox)).left);
    EXPECT_LE(PlaceOf(Control(ControlId::InfoLabel)).right, PlaceOf(Control(ControlId::DemosFrame)).right);
}

TEST_F(MainWindowTest, TitleAndVideoLists) {
    wchar_t title[128] = {};
    GetWindowTextW(window->Hwnd(), title, 128);
    EXPECT_STREQ(title, L"Vorelix v2.1b [for CS 1.4-1.5]");
    EXPECT_EQ(ListItems(ControlId::RendererBox),
              (std::vector<std::wstring>{L"Software", L"OpenGL", L"Direct3D"}));
    EXPECT_EQ(ListItems(ControlId::ResolutionBox),
              (std::vector<std::wstring>{L"400x300", L"512x384", L"640x480", L"800x600", L"1024x768",
                                         L"1152x864", L"1280x960", L"1600x1200"}));
}

TEST_F(MainWindowTest, ToolTipsPicturesAndTheCyrillicMenuUnderAWesternCodePage) {
    HWND tips = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM found) {
            wchar_t cls[64] = {};
            GetClassNameW(hwnd, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(found) = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tips));
    ASSERT_NE(tips, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 3);
    for (const auto& [id, tip] :
         {std::pair{ControlId::SpeedBox, L"Percent of real time"},
          std::pair{ControlId::ViewDemoButton, L"View demo with play controls! (pause, rewind etc)"},
          std::pair{ControlId::PlayDemoButton, L"Simple viewing"}}) {
        wchar_t text[128] = {};
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = window->Hwnd();
        info.uId = reinterpret_cast<UINT_PTR>(Control(id));
        info.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
        EXPECT_STREQ(text, tip);
    }

    for (ControlId id : {ControlId::UtilsButton, ControlId::ViewDemoButton, ControlId::PlayDemoButton}) {
        BUTTON_IMAGELIST list{};
        int cx = 0, cy = 0;
        SendMessageW(Control(id), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list));
        EXPECT_TRUE(ImageList_GetIconSize(list.himl, &cx, &cy)) << ui::ToInt(id);
        EXPECT_EQ(cx, MulDiv(32, static_cast<int>(ui::WindowDpi(window->Hwnd())), 96));
    }

    EXPECT_NE(GetACP(), 1251u)
        << "the check means something only when the system's code page is not Cyrillic";
    HMENU menu = window->DemoMenu();
    wchar_t text[64] = {};
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"FileDemo");
    HMENU items = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(items), 3);
    for (const auto& [position, caption] :
         {std::pair{0, L"Переименовать демку..."}, std::pair{1, L"Удалить демку"},
          std::pair{2, L"Repair a copy..."}}) {
        GetMenuStringW(items, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
        EXPECT_STREQ(text, caption);
    }
}

// Counts fonts that a control is told to give up after they were deleted.
LRESULT CALLBACK CheckFontStillAlive(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR deletedFonts) {
    if (message == WM_SETFONT) {
        const auto old = reinterpret_cast<HGDIOBJ>(DefSubclassProc(hwnd, WM_GETFONT, 0, 0));
        if (old && GetObjectType(old) != OBJ_FONT) ++*reinterpret_cast<int*>(deletedFonts);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

struct Shown {
    RECT place;
    LOGFONTW font;
};

std::vector<Shown> EveryControlShown(HWND window) {
    std::vector<Shown> shown;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        shown.push_back({PlaceOf(child), FontOf(child)});
    return shown;
}

TEST_F(MainWindowTest, AtEveryDpiEachLabelShowsItsWholeCaptionAndBoldStaysBold) {
    HWND hwnd = window->Hwnd();
    const UINT startDpi = ui::WindowDpi(hwnd);
    const auto atStart = EveryControlShown(hwnd);
    int deletedFonts = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SetWindowSubclass(child, &CheckFontStillAlive, 1, reinterpret_cast<DWORD_PTR>(&deletedFonts));

    for (const UINT dpi : {120u, 144u, 192u, 96u, startDpi}) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 800, 800};
        SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        const RECT files = PlaceOf(Control(ControlId::DemoList));
        EXPECT_EQ(files.left, MulDiv(105 + 105, static_cast<int>(dpi), 1440));
        EXPECT_EQ(files.right - files.left, MulDiv(3405, static_cast<int>(dpi), 1440));
        for (const ControlId id :
             {ControlId::GraphicModeLabel, ControlId::SpeedLabel, ControlId::CommandLineLabel,
              ControlId::InfoLabel, ControlId::PlayersLabel, ControlId::AboutLine}) {
            SCOPED_TRACE(ui::ToInt(id));
            const auto font = reinterpret_cast<HFONT>(SendMessageW(Control(id), WM_GETFONT, 0, 0));
            const ui::DrawnExtent drawn = ui::MeasureDrawnText(font, ControlText(id));
            const RECT place = PlaceOf(Control(id));
            EXPECT_LE(drawn.right, place.right - place.left);
            EXPECT_LE(drawn.bottom, place.bottom - place.top);
        }
        LOGFONTW caption = FontOf(Control(ControlId::GameFrame));
        const auto bold =
            reinterpret_cast<HFONT>(SendMessageW(Control(ControlId::GameFrame), WM_GETFONT, 0, 0));
        caption.lfWeight = FW_NORMAL;
        HFONT regular = CreateFontIndirectW(&caption);
        EXPECT_GT(ui::MeasureDrawnText(bold, L"HL.EXE path:").darkness * 4,
                  ui::MeasureDrawnText(regular, L"HL.EXE path:").darkness * 5)
            << "the bold caption font draws no darker than the regular one";
        DeleteObject(regular);
    }
    EXPECT_EQ(deletedFonts, 0) << "a control still held a deleted font when it got the new one";

    // Back at the starting DPI, everything is as it was: nothing carries over from the other DPIs.
    const auto atEnd = EveryControlShown(hwnd);
    ASSERT_EQ(atEnd.size(), atStart.size());
    for (std::size_t i = 0; i < atStart.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(EqualRect(&atEnd[i].place, &atStart[i].place));
        EXPECT_STREQ(atEnd[i].font.lfFaceName, atStart[i].font.lfFaceName);
        EXPECT_EQ(atEnd[i].font.lfHeight, atStart[i].font.lfHeight);
        EXPECT_EQ(atEnd[i].font.lfWeight, atStart[i].font.lfWeight);
    }
}

}  // namespace
}  // namespace vorelix::test
