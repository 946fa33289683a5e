// The main window as built: places at 96 DPI against the designer's twips, captions, items, fonts, tips,
// menu.
#include <string>

#include "MainWindowFixture.h"
#include "ui/Dpi.h"

namespace vorelix::test {
namespace {

using ui::ControlId;

struct Expected {
    ControlId id;
    int left, top, width, height;  // twips, in the window's client area
    const wchar_t* caption;
};

// The frames' own corners added to the places of what they hold.
const Expected kPlaces[] = {
    {ControlId::Frame1, 120, 120, 7410, 1275, L"HL.EXE path:"},
    {ControlId::txtHLPath, 120 + 120, 120 + 360, 6690, 285, L""},
    {ControlId::cmdBrowseHLEXE, 120 + 6930, 120 + 360, 375, 285, L"..."},
    {ControlId::Label7, 120 + 210, 120 + 795, 1755, 195, L"Launch in graphic mode:"},
    {ControlId::cboMode, 120 + 2100, 120 + 735, 1275, 315, nullptr},
    {ControlId::cboResolution, 120 + 3465, 120 + 735, 1170, 315, nullptr},
    {ControlId::cmdSelectConfig, 120 + 4725, 120 + 735, 1590, 315, L"select a config..."},
    {ControlId::Frame2, 105, 1470, 7410, 4755, L"List of available demos"},
    {ControlId::Drive1, 105 + 105, 1470 + 315, 3375, 315, nullptr},
    {ControlId::Dir1, 105 + 105, 1470 + 630, 3375, 1440, nullptr},
    {ControlId::Files, 105 + 105, 1470 + 2100, 3405, 2430, nullptr},
    {ControlId::Label4, 105 + 3720, 1470 + 0, 1065, 195, L"Information:"},
    {ControlId::txtInfo, 105 + 3720, 1470 + 315, 3570, 1530, L""},
    {ControlId::Label6, 105 + 3720, 1470 + 1890, 675, 195, L"Players:"},
    {ControlId::lstPlayers, 105 + 3675, 1470 + 2100, 3585, 2400, nullptr},
    {ControlId::Label1, 120, 6390, 2445, 195, L"Speed of viewing using playdemo:"},
    {ControlId::txtSpeed, 2700, 6360, 675, 285, L"100"},
    {ControlId::Label2, 105, 6735, 1380, 225, L"HL command line:"},
    {ControlId::txtCommandLine, 105, 7035, 3270, 285, L"-game cstrike -console"},
    {ControlId::cmdUtils, 3570, 6360, 1170, 1095, L"Useful utils"},
    {ControlId::cmdViewDemo, 5040, 6360, 1170, 1095, L"ViewDemo"},
    {ControlId::cmdPlayDemo, 6345, 6360, 1170, 1095, L"PlayDemo"},
    {ControlId::Label5, 105, 7540, 7470, 255, nullptr},
};

bool IsLabel(ControlId id) {
    return id == ControlId::Label1 || id == ControlId::Label2 || id == ControlId::Label4 ||
           id == ControlId::Label6 || id == ControlId::Label7;
}

bool IsDropDown(ControlId id) {
    return id == ControlId::cboMode || id == ControlId::cboResolution || id == ControlId::Drive1;
}

RECT ClientRectOf(HWND control, HWND parent) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

TEST_F(MainWindowTest, ClientAreaAndEveryControlSitWhereTheTwipsTablePutsThem) {
    const UINT dpi = ui::WindowDpi(window->Hwnd());
    if (dpi != 96) GTEST_SKIP() << "the display runs at " << dpi << " DPI; the table is checked at 96";
    RECT client{};
    GetClientRect(window->Hwnd(), &client);
    EXPECT_EQ(client.right, 508);
    EXPECT_EQ(client.bottom, 521);

    for (const auto& expected : kPlaces) {
        SCOPED_TRACE(ui::ToInt(expected.id));
        const RECT rect = ClientRectOf(Control(expected.id), window->Hwnd());
        EXPECT_EQ(rect.left, MulDiv(expected.left, 96, 1440));
        EXPECT_EQ(rect.top, MulDiv(expected.top, 96, 1440));
        const int width = rect.right - rect.left;
        // A label may spread right when the installed face is wider than the designer's, never shrink.
        if (IsLabel(expected.id)) {
            EXPECT_GE(width, MulDiv(expected.width, 96, 1440));
        } else {
            EXPECT_EQ(width, MulDiv(expected.width, 96, 1440));
        }
        // A closed drop-down list is as high as its font makes it.
        if (!IsDropDown(expected.id)) {
            EXPECT_EQ(rect.bottom - rect.top, MulDiv(expected.height, 96, 1440));
        }
    }
}

TEST_F(MainWindowTest, LabelsThatSpreadStopBeforeTheirNeighbours) {
    const auto right = [&](ControlId id) { return ClientRectOf(Control(id), window->Hwnd()).right; };
    const auto left = [&](ControlId id) { return ClientRectOf(Control(id), window->Hwnd()).left; };
    EXPECT_LE(right(ControlId::Label7), left(ControlId::cboMode));
    EXPECT_LE(right(ControlId::Label1), left(ControlId::txtSpeed));
    EXPECT_LE(right(ControlId::Label4), ClientRectOf(Control(ControlId::Frame2), window->Hwnd()).right);
}

TEST_F(MainWindowTest, CaptionsListsAndStartingStates) {
    wchar_t title[128] = {};
    GetWindowTextW(window->Hwnd(), title, 128);
    EXPECT_STREQ(title, L"Vorelix v2.1b [for CS 1.4-1.5]");
    EXPECT_FALSE(IsWindowVisible(window->Hwnd())) << "the window is created hidden";
    for (const auto& expected : kPlaces) {
        if (expected.caption) {
            EXPECT_EQ(ControlText(expected.id), expected.caption);
        }
    }
    EXPECT_FALSE(ControlText(ControlId::Label5).empty());

    EXPECT_EQ(ComboItems(ControlId::cboMode),
              (std::vector<std::wstring>{L"Software", L"OpenGL", L"Direct3D"}));
    EXPECT_EQ(ComboItems(ControlId::cboResolution),
              (std::vector<std::wstring>{L"400x300", L"512x384", L"640x480", L"800x600", L"1024x768",
                                         L"1152x864", L"1280x960", L"1600x1200"}));
    for (ControlId box : {ControlId::cboMode, ControlId::cboResolution, ControlId::Drive1}) {
        EXPECT_EQ(GetWindowLongW(Control(box), GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "no typing in the list";
    }

    EXPECT_FALSE(DemoButtonsEnabled());
    EXPECT_TRUE(IsWindowEnabled(Control(ControlId::cmdBrowseHLEXE)));
    EXPECT_TRUE(GetWindowLongW(Control(ControlId::txtHLPath), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(Control(ControlId::txtInfo), GWL_STYLE) & ES_READONLY);
    EXPECT_TRUE(GetWindowLongW(Control(ControlId::txtInfo), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(SendMessageW(Control(ControlId::txtSpeed), EM_GETLIMITTEXT, 0, 0), 3);
    EXPECT_TRUE(GetWindowLongW(Control(ControlId::Files), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(MainWindowTest, ReadOnlyPathBoxHasTheButtonFaceAndTheInformationBoxStaysWhite) {
    HDC hdc = GetDC(Control(ControlId::txtHLPath));
    const auto pathBrush = SendMessageW(window->Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                        reinterpret_cast<LPARAM>(Control(ControlId::txtHLPath)));
    const COLORREF pathBack = GetBkColor(hdc);
    const auto infoBrush = SendMessageW(window->Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                        reinterpret_cast<LPARAM>(Control(ControlId::txtInfo)));
    const COLORREF infoBack = GetBkColor(hdc);
    ReleaseDC(Control(ControlId::txtHLPath), hdc);
    EXPECT_EQ(pathBack, GetSysColor(COLOR_BTNFACE));
    EXPECT_NE(pathBrush, 0);
    EXPECT_EQ(infoBack, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(infoBrush), GetSysColorBrush(COLOR_WINDOW));
}

TEST_F(MainWindowTest, FontsAreBoldTahomaForCaptionsAndVerdanaOrItsNearestForTextBoxes) {
    for (ControlId id : {ControlId::Frame1, ControlId::Frame2, ControlId::cmdBrowseHLEXE,
                         ControlId::cmdPlayDemo, ControlId::cmdSelectConfig, ControlId::Label5}) {
        const LOGFONTW font = FontOf(Control(id));
        EXPECT_STREQ(font.lfFaceName, ui::InstalledFace(L"Tahoma").c_str()) << ui::ToInt(id);
        EXPECT_EQ(font.lfWeight, FW_BOLD) << ui::ToInt(id);
        EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
        EXPECT_EQ(font.lfHeight, -11) << "8.25 pt at 96 DPI";
    }
    for (ControlId id :
         {ControlId::txtHLPath, ControlId::txtInfo, ControlId::txtSpeed, ControlId::txtCommandLine}) {
        const LOGFONTW font = FontOf(Control(id));
        EXPECT_STREQ(font.lfFaceName, ui::InstalledFace(L"Verdana").c_str()) << ui::ToInt(id);
        EXPECT_EQ(font.lfWeight, FW_NORMAL);
        EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
    }
    // Where Tahoma is installed (Windows, and Wine prefixes given Wine's own fonts) it is the face used.
    wchar_t fonts[MAX_PATH] = {};
    GetWindowsDirectoryW(fonts, MAX_PATH);
    if (GetFileAttributesW((std::wstring(fonts) + L"\\Fonts\\tahoma.ttf").c_str()) !=
        INVALID_FILE_ATTRIBUTES) {
        EXPECT_EQ(ui::InstalledFace(L"Tahoma"), L"Tahoma");
    }
    EXPECT_NE(ui::InstalledFace(L"No Such Face Anywhere"), L"No Such Face Anywhere");
}

TEST_F(MainWindowTest, ToolTipsNameTheSpeedBoxAndTheTwoGameButtons) {
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
    const auto tipOf = [&](ControlId id) {
        wchar_t text[128] = {};
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = window->Hwnd();
        info.uId = reinterpret_cast<UINT_PTR>(Control(id));
        info.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
        return std::wstring(text);
    };
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 3);
    EXPECT_EQ(tipOf(ControlId::txtSpeed), L"Percent of real time");
    EXPECT_EQ(tipOf(ControlId::cmdViewDemo), L"View demo with play controls! (pause, rewind etc)");
    EXPECT_EQ(tipOf(ControlId::cmdPlayDemo), L"Simple viewing");
}

TEST_F(MainWindowTest, PopupMenuReadsBackInCyrillicUnderAWesternCodePage) {
    EXPECT_NE(GetACP(), 1251u)
        << "the check means something only when the system's code page is not Cyrillic";
    HMENU menu = window->FileMenu();
    wchar_t text[64] = {};
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"FileDemo");
    HMENU items = GetSubMenu(menu, 0);
    ASSERT_EQ(GetMenuItemCount(items), 2);
    GetMenuStringW(items, ui::ToInt(ControlId::itemRenameDemo), text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text,
                 L"\u041F\u0435\u0440\u0435\u0438\u043C\u0435\u043D\u043E\u0432\u0430\u0442\u044C "
                 L"\u0434\u0435\u043C\u043A\u0443...");
    GetMenuStringW(items, ui::ToInt(ControlId::itemDeleteDemo), text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"\u0423\u0434\u0430\u043B\u0438\u0442\u044C \u0434\u0435\u043C\u043A\u0443");
}

TEST_F(MainWindowTest, BigButtonsCarryTheirPictures) {
    for (ControlId id : {ControlId::cmdUtils, ControlId::cmdViewDemo, ControlId::cmdPlayDemo}) {
        BUTTON_IMAGELIST list{};
        ASSERT_TRUE(SendMessageW(Control(id), BCM_GETIMAGELIST, 0, reinterpret_cast<LPARAM>(&list)));
        ASSERT_NE(list.himl, nullptr);
        EXPECT_EQ(ImageList_GetImageCount(list.himl), 1);
        int cx = 0, cy = 0;
        ImageList_GetIconSize(list.himl, &cx, &cy);
        EXPECT_EQ(cx, MulDiv(32, static_cast<int>(ui::WindowDpi(window->Hwnd())), 96));
        EXPECT_EQ(list.uAlign, static_cast<UINT>(BUTTON_IMAGELIST_ALIGN_TOP));
    }
}

TEST_F(MainWindowTest, ANewDpiScalesThePlacesOnce) {
    RECT suggested{0, 0, 800, 800};
    SendMessageW(window->Hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    const RECT files = ClientRectOf(Control(ControlId::Files), window->Hwnd());
    EXPECT_EQ(files.left, MulDiv(105 + 105, 144, 1440));
    EXPECT_EQ(files.top, MulDiv(1470 + 2100, 144, 1440));
    EXPECT_EQ(files.right - files.left, MulDiv(3405, 144, 1440));
    EXPECT_EQ(FontOf(Control(ControlId::Frame1)).lfHeight, ui::FontHeightForPoints(825, 144));
}

}  // namespace
}  // namespace vorelix::test
