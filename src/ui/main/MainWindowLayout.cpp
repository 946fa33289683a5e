// MainWindow's layout: every control with its place in twips, caption, style and font, created and placed
// here.
#include <algorithm>
#include <array>

#include "ResourceIds.h"
#include "ui/base/Dpi.h"
#include "ui/main/MainWindow.h"
#include "ui/base/TwipsLayout.h"

namespace vorelix::ui {

namespace {

enum class Container { Window, GameFrame, DemosFrame };

struct LayoutEntry {
    ControlId id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    Container container;
    TwipsRect place;
    FontKind font;
    int roomRight =
        0;  // labels: how far right (container twips) a caption may spread before the next control
};

constexpr DWORD kEditBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kDropDown = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kListBox = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kBigButton = WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON;

// In tab order. The frames come last so that they lie beneath everything placed on them.
const std::array kControls = {
    LayoutEntry{ControlId::HlPathBox,
                WC_EDITW,
                L"",
                kEditBox | ES_READONLY,
                WS_EX_CLIENTEDGE,
                Container::GameFrame,
                {120, 360, 6690, 285},
                FontKind::Text},
    LayoutEntry{ControlId::BrowseHlExeButton,
                WC_BUTTONW,
                L"...",
                WS_TABSTOP | BS_PUSHBUTTON,
                0,
                Container::GameFrame,
                {6930, 360, 375, 285},
                FontKind::Caption},
    LayoutEntry{ControlId::GraphicModeLabel,
                WC_STATICW,
                L"Launch in graphic mode:",
                kLabel,
                0,
                Container::GameFrame,
                {210, 795, 1755, 195},
                FontKind::Plain,
                2070},
    LayoutEntry{ControlId::RendererBox,
                WC_COMBOBOXW,
                L"",
                kDropDown,
                0,
                Container::GameFrame,
                {2100, 735, 1275, 315},
                FontKind::Plain},
    LayoutEntry{ControlId::ResolutionBox,
                WC_COMBOBOXW,
                L"",
                kDropDown,
                0,
                Container::GameFrame,
                {3465, 735, 1170, 315},
                FontKind::Plain},
    LayoutEntry{ControlId::SelectConfigButton,
                WC_BUTTONW,
                L"select a config...",
                WS_TABSTOP | BS_PUSHBUTTON,
                0,
                Container::GameFrame,
                {4725, 735, 1590, 315},
                FontKind::Caption},
    LayoutEntry{ControlId::DriveBox,
                WC_COMBOBOXW,
                L"",
                kDropDown,
                0,
                Container::DemosFrame,
                {105, 315, 3375, 315},
                FontKind::Plain},
    LayoutEntry{ControlId::FolderBox,
                WC_LISTBOXW,
                L"",
                kListBox | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                WS_EX_CLIENTEDGE,
                Container::DemosFrame,
                {105, 630, 3375, 1440},
                FontKind::Plain},
    LayoutEntry{ControlId::DemoList,
                WC_LISTBOXW,
                L"",
                kListBox,
                WS_EX_CLIENTEDGE | WS_EX_ACCEPTFILES,
                Container::DemosFrame,
                {105, 2100, 3405, 2430},
                FontKind::Plain},
    LayoutEntry{ControlId::InfoLabel,
                WC_STATICW,
                L"Information:",
                kLabel,
                0,
                Container::DemosFrame,
                {3720, 0, 1065, 195},
                FontKind::Caption,
                7290},
    LayoutEntry{ControlId::InfoBox,
                WC_EDITW,
                L"",
                WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL,
                WS_EX_CLIENTEDGE,
                Container::DemosFrame,
                {3720, 315, 3570, 1530},
                FontKind::Text},
    LayoutEntry{ControlId::PlayersLabel,
                WC_STATICW,
                L"Players:",
                kLabel,
                0,
                Container::DemosFrame,
                {3720, 1890, 675, 195},
                FontKind::Caption,
                7290},
    LayoutEntry{ControlId::PlayerList,
                WC_LISTBOXW,
                L"",
                kListBox,
                WS_EX_CLIENTEDGE,
                Container::DemosFrame,
                {3675, 2100, 3585, 2400},
                FontKind::Plain},
    LayoutEntry{ControlId::SpeedLabel,
                WC_STATICW,
                L"Speed of viewing using playdemo:",
                kLabel,
                0,
                Container::Window,
                {120, 6390, 2445, 195},
                FontKind::Plain,
                2670},
    LayoutEntry{ControlId::SpeedBox,
                WC_EDITW,
                L"100",
                kEditBox,
                WS_EX_CLIENTEDGE,
                Container::Window,
                {2700, 6360, 675, 285},
                FontKind::Text},
    LayoutEntry{ControlId::CommandLineLabel,
                WC_STATICW,
                L"HL command line:",
                kLabel,
                0,
                Container::Window,
                {105, 6735, 1380, 225},
                FontKind::Caption,
                3375},
    LayoutEntry{ControlId::CommandLineBox,
                WC_EDITW,
                L"-game cstrike -console",
                kEditBox,
                WS_EX_CLIENTEDGE,
                Container::Window,
                {105, 7035, 3270, 285},
                FontKind::Text},
    LayoutEntry{ControlId::UtilsButton,
                WC_BUTTONW,
                L"Useful utils",
                kBigButton,
                0,
                Container::Window,
                {3570, 6360, 1170, 1095},
                FontKind::Caption},
    LayoutEntry{ControlId::ViewDemoButton,
                WC_BUTTONW,
                L"ViewDemo",
                kBigButton,
                0,
                Container::Window,
                {5040, 6360, 1170, 1095},
                FontKind::Caption},
    LayoutEntry{ControlId::PlayDemoButton,
                WC_BUTTONW,
                L"PlayDemo",
                kBigButton,
                0,
                Container::Window,
                {6345, 6360, 1170, 1095},
                FontKind::Caption},
    LayoutEntry{ControlId::AboutLine,
                WC_STATICW,
                L"Vorelix \u2014 browse, play and edit CS demos. Click to visit the project page.",
                kLabel | SS_NOTIFY,
                0,
                Container::Window,
                {105, 7540, 7470, 255},
                FontKind::Caption},
    LayoutEntry{ControlId::GameFrame,
                WC_BUTTONW,
                L"HL.EXE path:",
                BS_GROUPBOX | WS_CLIPSIBLINGS,
                0,
                Container::Window,
                {120, 120, 7410, 1275},
                FontKind::Caption},
    LayoutEntry{ControlId::DemosFrame,
                WC_BUTTONW,
                L"List of available demos",
                BS_GROUPBOX | WS_CLIPSIBLINGS,
                0,
                Container::Window,
                {105, 1470, 7410, 4755},
                FontKind::Caption},
};

constexpr TwipsRect kGameFrame{120, 120, 7410, 1275};
constexpr TwipsRect kDemosFrame{105, 1470, 7410, 4755};

// The place in the window's client area, still in twips: frames add their own corner.
TwipsRect PlaceInWindow(const LayoutEntry& entry) {
    TwipsRect place = entry.place;
    if (entry.container != Container::Window) {
        const TwipsRect& frame = entry.container == Container::GameFrame ? kGameFrame : kDemosFrame;
        place.left += frame.left;
        place.top += frame.top;
    }
    return place;
}

constexpr const wchar_t* kModes[] = {L"Software", L"OpenGL", L"Direct3D"};
constexpr const wchar_t* kResolutions[] = {L"400x300",  L"512x384",  L"640x480",  L"800x600",
                                           L"1024x768", L"1152x864", L"1280x960", L"1600x1200"};

// A label keeps the font its table gives it at every DPI. A caption wider than its place spreads into
// the free room to its right; where even that is too narrow, the font is made a pixel smaller at a time
// until the caption fits (Wine draws Tahoma from 14 px up with outlines wider than the real face's).
// The label then ends where its caption ends, and grows downwards if the font needs more height.
HFONT FitLabel(const LayoutEntry& entry, RECT& pixels, HFONT font, FontSet& fonts, UINT dpi) {
    const int room =
        TwipsToPixels(PlaceInWindow(entry).left - entry.place.left + entry.roomRight, dpi) - pixels.left;
    DrawnExtent drawn;
    const HFONT fitted = fonts.ShrunkToFit(font, [&](HFONT candidate) {
        drawn = MeasureDrawnText(candidate, entry.caption);
        return drawn.right <= room;
    });
    // The reported width where it fits: at 96 DPI it is what the label has always been given.
    const int width = std::max(drawn.reported + 1, drawn.right);
    pixels.right = pixels.left + std::max<LONG>(pixels.right - pixels.left, std::min(width, room));
    pixels.bottom = std::max<LONG>(pixels.bottom, pixels.top + drawn.bottom);
    return fitted;
}

}  // namespace

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 7620;
constexpr int kClientHeightTwips = 7815;

void MainWindow::CreateControls() {
    HWND hwnd = Hwnd();
    for (const auto& entry : kControls) {
        CreateChildControl(hwnd, entry.className, entry.caption, entry.style, entry.exStyle, ToInt(entry.id));
    }
    gameFrame_ = GroupBox(ControlHwnd(ControlId::GameFrame));
    demosFrame_ = GroupBox(ControlHwnd(ControlId::DemosFrame));
    hlPathBox_ = Edit(ControlHwnd(ControlId::HlPathBox));
    infoBox_ = Edit(ControlHwnd(ControlId::InfoBox));
    speedBox_ = Edit(ControlHwnd(ControlId::SpeedBox));
    commandLineBox_ = Edit(ControlHwnd(ControlId::CommandLineBox));
    browseHlExeButton_ = Button(ControlHwnd(ControlId::BrowseHlExeButton));
    selectConfigButton_ = Button(ControlHwnd(ControlId::SelectConfigButton));
    utilsButton_ = Button(ControlHwnd(ControlId::UtilsButton));
    viewDemoButton_ = Button(ControlHwnd(ControlId::ViewDemoButton));
    playDemoButton_ = Button(ControlHwnd(ControlId::PlayDemoButton));
    speedLabel_ = Label(ControlHwnd(ControlId::SpeedLabel));
    commandLineLabel_ = Label(ControlHwnd(ControlId::CommandLineLabel));
    infoLabel_ = Label(ControlHwnd(ControlId::InfoLabel));
    aboutLine_ = Label(ControlHwnd(ControlId::AboutLine));
    playersLabel_ = Label(ControlHwnd(ControlId::PlayersLabel));
    graphicModeLabel_ = Label(ControlHwnd(ControlId::GraphicModeLabel));
    rendererBox_ = ComboBox(ControlHwnd(ControlId::RendererBox));
    resolutionBox_ = ComboBox(ControlHwnd(ControlId::ResolutionBox));
    playerList_ = ListBox(ControlHwnd(ControlId::PlayerList));
    driveBox_.Attach(ControlHwnd(ControlId::DriveBox));
    folderBox_.Attach(ControlHwnd(ControlId::FolderBox));
    demoList_.Attach(ControlHwnd(ControlId::DemoList));

    speedBox_.LimitText(3);
    for (const wchar_t* mode : kModes) rendererBox_.Add(mode);
    for (const wchar_t* resolution : kResolutions) resolutionBox_.Add(resolution);
    infoBackground_ = GetSysColorBrush(COLOR_WINDOW);

    CreateMenu();
    CreateToolTips();
    ApplyDpi(WindowDpi(hwnd));
}

void MainWindow::CreateMenu() {
    // The demo menu ("FileDemo") lives outside any menu bar; its submenu is what the list pops up.
    demoMenu_ = CreatePopupMenu();
    HMENU items = CreatePopupMenu();
    AppendMenuW(items, MF_STRING, ToInt(ControlId::RenameDemoItem), L"Переименовать демку...");
    AppendMenuW(items, MF_STRING, ToInt(ControlId::DeleteDemoItem), L"Удалить демку");
    AppendMenuW(items, MF_STRING, ToInt(ControlId::RepairDemoItem), L"Repair a copy...");
    AppendMenuW(demoMenu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(items), L"FileDemo");
}

void MainWindow::CreateToolTips() {
    toolTips_ = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    const struct {
        ControlId id;
        const wchar_t* text;
    } tips[] = {{ControlId::SpeedBox, L"Percent of real time"},
                {ControlId::ViewDemoButton, L"View demo with play controls! (pause, rewind etc)"},
                {ControlId::PlayDemoButton, L"Simple viewing"}};
    for (const auto& tip : tips) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = Hwnd();
        info.uId = reinterpret_cast<UINT_PTR>(ControlHwnd(tip.id));
        info.lpszText = const_cast<wchar_t*>(tip.text);
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

void MainWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    // New fonts and pictures are made and handed to the controls before the old ones go: a control never
    // holds a deleted font or image list, not even while it is moved and repainted in between.
    FontSet fonts(dpi);
    for (const auto& entry : kControls) {
        const Control control(ControlHwnd(entry.id));
        RECT pixels = TwipsToPixels(PlaceInWindow(entry), dpi);
        // A drop-down list's window height includes its open list; the closed box keeps the font's height.
        if (lstrcmpW(entry.className, WC_COMBOBOXW) == 0)
            pixels.bottom += MulDiv(160, static_cast<int>(dpi), kDefaultDpi);
        HFONT font = FontOf(fonts, entry.font);
        if (entry.roomRight > 0) font = FitLabel(entry, pixels, font, fonts, dpi);
        control.Place(pixels);
        control.SetFont(font);
    }
    const int comboField = TwipsToPixels(315, dpi) - 6;
    for (ControlId id : {ControlId::RendererBox, ControlId::ResolutionBox, ControlId::DriveBox}) {
        SendMessageW(ControlHwnd(id), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), comboField);
    }
    SendMessageW(folderBox_.Hwnd(), LB_SETITEMHEIGHT, 0, MulDiv(16, static_cast<int>(dpi), kDefaultDpi));

    const int pictureSize = MulDiv(32, static_cast<int>(dpi), kDefaultDpi);
    const struct {
        const Button* button;
        int icon;
    } pictures[] = {{&utilsButton_, IDI_BUTTON_UTILS},
                    {&viewDemoButton_, IDI_BUTTON_VIEW},
                    {&playDemoButton_, IDI_BUTTON_PLAY}};
    for (std::size_t i = 0; i < 3; ++i) {
        HIMAGELIST list = ImageList_Create(pictureSize, pictureSize, ILC_COLOR32 | ILC_MASK, 1, 0);
        HICON icon =
            static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(pictures[i].icon),
                                          IMAGE_ICON, pictureSize, pictureSize, 0));
        if (icon) {
            ImageList_AddIcon(list, icon);
            DestroyIcon(icon);
        }
        pictures[i].button->SetPictureAbove(list);
        if (buttonPictures_[i]) ImageList_Destroy(buttonPictures_[i]);
        buttonPictures_[i] = list;
    }
    fonts_ = std::move(fonts);

    SizeClientTwips(Hwnd(), kClientWidthTwips, kClientHeightTwips, dpi);
}

}  // namespace vorelix::ui
