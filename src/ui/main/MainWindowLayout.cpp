// MainWindow's layout: every control with its place in twips, caption, style and font, created and placed
// here.
#include "ResourceIds.h"
#include "ui/base/Dpi.h"
#include "ui/base/TwipsLayout.h"
#include "ui/main/MainWindow.h"

namespace vorelix::ui {

namespace {

using Id = ControlId;
using enum FontKind;

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kBigButton = WS_TABSTOP | WS_DISABLED | BS_PUSHBUTTON;
constexpr DWORD kEditBox = WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kTextPanel = WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL;
constexpr DWORD kLabel = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
constexpr DWORD kDropDown = WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
constexpr DWORD kListBox = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kFolderList = kListBox | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
constexpr DWORD kFrame = BS_GROUPBOX | WS_CLIPSIBLINGS;
constexpr DWORD kSunken = WS_EX_CLIENTEDGE;
constexpr int kInWindow = 0;
constexpr int kInGame = ToInt(Id::GameFrame);
constexpr int kInDemos = ToInt(Id::DemosFrame);
constexpr const wchar_t* kAboutText =
    L"Vorelix \u2014 browse, play and edit CS demos. Click to visit the project page.";

// In tab order. The frames come last so that they lie beneath everything placed on them. A label's last
// number is how far right its caption may spread.
// clang-format off
const TwipsControl kControls[] = {
    {ToInt(Id::HlPathBox),          WC_EDITW,     L"",                                 kEditBox | ES_READONLY, kSunken,                     kInGame,   {120, 360, 6690, 285},    Text},
    {ToInt(Id::BrowseHlExeButton),  WC_BUTTONW,   L"...",                              kButton,                0,                           kInGame,   {6930, 360, 375, 285},    Caption},
    {ToInt(Id::GraphicModeLabel),   WC_STATICW,   L"Launch in graphic mode:",          kLabel,                 0,                           kInGame,   {210, 795, 1755, 195},    Plain,   2070},
    {ToInt(Id::RendererBox),        WC_COMBOBOXW, L"",                                 kDropDown,              0,                           kInGame,   {2100, 735, 1275, 315},   Plain},
    {ToInt(Id::ResolutionBox),      WC_COMBOBOXW, L"",                                 kDropDown,              0,                           kInGame,   {3465, 735, 1170, 315},   Plain},
    {ToInt(Id::SelectConfigButton), WC_BUTTONW,   L"select a config...",               kButton,                0,                           kInGame,   {4725, 735, 1590, 315},   Caption},
    {ToInt(Id::DriveBox),           WC_COMBOBOXW, L"",                                 kDropDown,              0,                           kInDemos,  {105, 315, 3375, 315},    Plain},
    {ToInt(Id::FolderBox),          WC_LISTBOXW,  L"",                                 kFolderList,            kSunken,                     kInDemos,  {105, 630, 3375, 1440},   Plain},
    {ToInt(Id::DemoList),           WC_LISTBOXW,  L"",                                 kListBox,               kSunken | WS_EX_ACCEPTFILES, kInDemos,  {105, 2100, 3405, 2430},  Plain},
    {ToInt(Id::InfoLabel),          WC_STATICW,   L"Information:",                     kLabel,                 0,                           kInDemos,  {3720, 0, 1065, 195},     Caption, 7290},
    {ToInt(Id::InfoBox),            WC_EDITW,     L"",                                 kTextPanel,             kSunken,                     kInDemos,  {3720, 315, 3570, 1530},  Text},
    {ToInt(Id::PlayersLabel),       WC_STATICW,   L"Players:",                         kLabel,                 0,                           kInDemos,  {3720, 1890, 675, 195},   Caption, 7290},
    {ToInt(Id::PlayerList),         WC_LISTBOXW,  L"",                                 kListBox,               kSunken,                     kInDemos,  {3675, 2100, 3585, 2400}, Plain},
    {ToInt(Id::SpeedLabel),         WC_STATICW,   L"Speed of viewing using playdemo:", kLabel,                 0,                           kInWindow, {120, 6390, 2445, 195},   Plain,   2670},
    {ToInt(Id::SpeedBox),           WC_EDITW,     L"100",                              kEditBox,               kSunken,                     kInWindow, {2700, 6360, 675, 285},   Text},
    {ToInt(Id::CommandLineLabel),   WC_STATICW,   L"HL command line:",                 kLabel,                 0,                           kInWindow, {105, 6735, 1380, 225},   Caption, 3375},
    {ToInt(Id::CommandLineBox),     WC_EDITW,     L"-game cstrike -console",           kEditBox,               kSunken,                     kInWindow, {105, 7035, 3270, 285},   Text},
    {ToInt(Id::UtilsButton),        WC_BUTTONW,   L"Useful utils",                     kBigButton,             0,                           kInWindow, {3570, 6360, 1170, 1095}, Caption},
    {ToInt(Id::ViewDemoButton),     WC_BUTTONW,   L"ViewDemo",                         kBigButton,             0,                           kInWindow, {5040, 6360, 1170, 1095}, Caption},
    {ToInt(Id::PlayDemoButton),     WC_BUTTONW,   L"PlayDemo",                         kBigButton,             0,                           kInWindow, {6345, 6360, 1170, 1095}, Caption},
    {ToInt(Id::AboutLine),          WC_STATICW,   kAboutText,                          kLabel | SS_NOTIFY,     0,                           kInWindow, {105, 7540, 7470, 255},   Caption},
    {ToInt(Id::GameFrame),          WC_BUTTONW,   L"HL.EXE path:",                     kFrame,                 0,                           kInWindow, {120, 120, 7410, 1275},   Caption},
    {ToInt(Id::DemosFrame),         WC_BUTTONW,   L"List of available demos",          kFrame,                 0,                           kInWindow, {105, 1470, 7410, 4755},  Caption},

};
// clang-format on

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 7620;
constexpr int kClientHeightTwips = 7815;

constexpr const wchar_t* kModes[] = {L"Software", L"OpenGL", L"Direct3D"};
constexpr const wchar_t* kResolutions[] = {L"400x300",  L"512x384",  L"640x480",  L"800x600",
                                           L"1024x768", L"1152x864", L"1280x960", L"1600x1200"};

}  // namespace

void MainWindow::CreateControls() {
    HWND hwnd = Hwnd();
    CreateTwipsControls(hwnd, kControls);
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
    CreateToolTips(hwnd, {{speedBox_.Hwnd(), L"Percent of real time"},
                          {viewDemoButton_.Hwnd(), L"View demo with play controls! (pause, rewind etc)"},
                          {playDemoButton_.Hwnd(), L"Simple viewing"}});
    ApplyDpi(WindowDpi(hwnd));
}

void MainWindow::CreateMenu() {
    // The demo menu ("FileDemo") lives outside any menu bar; its submenu is what the list pops up.
    demoMenu_ = CreatePopupMenu();
    HMENU items = CreatePopupMenu();
    AppendMenuW(items, MF_STRING, ToInt(ControlId::RenameDemoItem), L"Переименовать демку...");
    AppendMenuW(items, MF_STRING, ToInt(ControlId::DeleteDemoItem), L"Удалить демку");
    AppendMenuW(items, MF_STRING, ToInt(ControlId::RepairDemoItem), L"Восстановить копию демки...");
    AppendMenuW(items, MF_STRING, ToInt(ControlId::TimelineItem), L"Хронология демки...");
    AppendMenuW(demoMenu_, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(items), L"FileDemo");
}

void MainWindow::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    ApplyTwipsDpi(Hwnd(), kControls, fonts_, dpi);
    folderBox_.SetItemHeight(MulDiv(16, static_cast<int>(dpi), kDefaultDpi));

    const int pictureSize = MulDiv(32, static_cast<int>(dpi), kDefaultDpi);
    const struct {
        const Button* button;
        int icon;
    } pictures[] = {{&utilsButton_, IDI_BUTTON_UTILS},
                    {&viewDemoButton_, IDI_BUTTON_VIEW},
                    {&playDemoButton_, IDI_BUTTON_PLAY}};
    // The new picture is handed to its button before the old one goes.
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
    SizeClientTwips(Hwnd(), kClientWidthTwips, kClientHeightTwips, dpi);
}

}  // namespace vorelix::ui
