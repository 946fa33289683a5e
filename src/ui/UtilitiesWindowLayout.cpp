// UtilitiesWindow's layout: every control with its place in twips, caption, style and font, created and
// placed here.
#include <algorithm>
#include <array>

#include "ui/Dpi.h"
#include "ui/UtilitiesWindow.h"

namespace vorelix::ui {

namespace {

using Id = UtilitiesControlId;

enum class FontKind { Caption, Plain, Text };
enum class Container { Window, StatsMeFrame, NickFrame, ChatFrame };

struct ControlSpec {
    Id id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    Container container;
    TwipsRect place;  // in the container, as the designer gave it
    FontKind font;
    // Check boxes and options: how far right (container twips) the control may grow when the installed
    // face draws its caption wider than the designer's did.
    int roomRight = 0;
};

constexpr DWORD kButton = WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr DWORD kList = WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
constexpr DWORD kFrame = BS_GROUPBOX | WS_CLIPSIBLINGS;

// In tab order. The frames come last so that they lie beneath everything placed on them.
const std::array kControls = {
    ControlSpec{Id::BackupBox,
                WC_BUTTONW,
                L"Make a .bak copy of demo before saving changes",
                WS_TABSTOP | BS_AUTOCHECKBOX,
                0,
                Container::Window,
                {210, 210, 3900, 225},
                FontKind::Plain,
                4350},
    ControlSpec{Id::DeleteStatsMeButton,
                WC_BUTTONW,
                L"Deletes all inscriptions of StatsMe",
                kButton,
                0,
                Container::StatsMeFrame,
                {210, 315, 3795, 435},
                FontKind::Caption},
    ControlSpec{Id::StatsMeLabel,
                WC_STATICW,
                L"Deletes all inscriptions such as: xxx made headhot on yyy, statistics etc.",
                kLabel,
                0,
                Container::StatsMeFrame,
                {210, 840, 3900, 435},
                FontKind::Plain},
    ControlSpec{Id::NickList,
                WC_LISTBOXW,
                L"",
                kList,
                WS_EX_CLIENTEDGE,
                Container::NickFrame,
                {105, 315, 2325, 2010},
                FontKind::Plain},
    ControlSpec{Id::NewNickBox,
                WC_EDITW,
                L"",
                WS_TABSTOP | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE,
                Container::NickFrame,
                {105, 2520, 2325, 285},
                FontKind::Text},
    ControlSpec{Id::LoadNicksButton,
                WC_BUTTONW,
                L"Load",
                kButton,
                0,
                Container::NickFrame,
                {2625, 315, 1380, 435},
                FontKind::Caption},
    ControlSpec{Id::HowToApplyLabel,
                WC_STATICW,
                L"How to apply?:",
                kLabel,
                0,
                Container::NickFrame,
                {2625, 1155, 1275, 225},
                FontKind::Plain},
    ControlSpec{Id::OnlySelectedOption,
                WC_BUTTONW,
                L"Only selected",
                WS_TABSTOP | WS_GROUP | BS_AUTORADIOBUTTON,
                0,
                Container::NickFrame,
                {2625, 1365, 1275, 435},
                FontKind::Plain,
                4155},
    ControlSpec{Id::AllSimilarOption,
                WC_BUTTONW,
                L"All similar",
                BS_AUTORADIOBUTTON,
                0,
                Container::NickFrame,
                {2625, 1680, 1275, 435},
                FontKind::Plain,
                4155},
    ControlSpec{Id::SaveNickButton,
                WC_BUTTONW,
                L"Save changes",
                kButton | WS_GROUP,
                0,
                Container::NickFrame,
                {2625, 2415, 1380, 435},
                FontKind::Caption},
    ControlSpec{Id::ChatList,
                WC_LISTBOXW,
                L"",
                kList | LBS_EXTENDEDSEL,
                WS_EX_CLIENTEDGE,
                Container::ChatFrame,
                {210, 315, 5265, 3960},
                FontKind::Plain},
    ControlSpec{Id::LoadChatButton,
                WC_BUTTONW,
                L"Load",
                kButton,
                0,
                Container::ChatFrame,
                {210, 4410, 1380, 435},
                FontKind::Caption},
    ControlSpec{Id::EditMessageButton,
                WC_BUTTONW,
                L"Edit...",
                kButton,
                0,
                Container::ChatFrame,
                {2625, 4410, 1380, 435},
                FontKind::Caption},
    ControlSpec{Id::DeleteMessageButton,
                WC_BUTTONW,
                L"Delete",
                kButton,
                0,
                Container::ChatFrame,
                {4095, 4410, 1380, 435},
                FontKind::Caption},
    ControlSpec{Id::StatsMeFrame,
                WC_BUTTONW,
                L"Delete StatsMe stats",
                kFrame,
                0,
                Container::Window,
                {105, 630, 4215, 1485},
                FontKind::Caption},
    ControlSpec{Id::NickFrame,
                WC_BUTTONW,
                L"Editing nicks used in selected demo",
                kFrame,
                0,
                Container::Window,
                {105, 2205, 4215, 3060},
                FontKind::Caption},
    ControlSpec{Id::ChatFrame,
                WC_BUTTONW,
                L"Editing chat messages in demo",
                kFrame,
                0,
                Container::Window,
                {4410, 210, 5685, 5055},
                FontKind::Caption},
};

// The client area as the designer sized it.
constexpr int kClientWidthTwips = 10245;
constexpr int kClientHeightTwips = 5355;

// The place in the window's client area, still in twips: a frame adds its own corner.
TwipsRect PlaceInWindow(const ControlSpec& entry) {
    TwipsRect place = entry.place;
    for (const auto& frame : kControls) {
        const bool holds = (entry.container == Container::StatsMeFrame && frame.id == Id::StatsMeFrame) ||
                           (entry.container == Container::NickFrame && frame.id == Id::NickFrame) ||
                           (entry.container == Container::ChatFrame && frame.id == Id::ChatFrame);
        if (holds) {
            place.left += frame.place.left;
            place.top += frame.place.top;
        }
    }
    return place;
}

// Widens a check box or option whose caption does not fit its place, up to its room on the right.
void SpreadToFit(const Control& control, const ControlSpec& entry, RECT& pixels, HFONT font, UINT dpi) {
    HDC hdc = GetDC(control.Hwnd());
    HGDIOBJ old = SelectObject(hdc, font);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, entry.caption, lstrlenW(entry.caption), &extent);
    SelectObject(hdc, old);
    ReleaseDC(control.Hwnd(), hdc);
    const int needed = extent.cx + MulDiv(20, static_cast<int>(dpi), kDefaultDpi);  // the box and its gap
    const int room = TwipsToPixels(PlaceInWindow(entry).left - entry.place.left + entry.roomRight, dpi);
    if (pixels.left + needed > pixels.right) pixels.right = std::min<LONG>(pixels.left + needed, room);
}

}  // namespace

void UtilitiesWindow::CreateControls() {
    HWND hwnd = Hwnd();
    for (const auto& entry : kControls) {
        CreateChildControl(hwnd, entry.className, entry.caption, entry.style, entry.exStyle, ToInt(entry.id));
    }
    backupBox_ = Button(ControlHwnd(Id::BackupBox));
    deleteStatsMeButton_ = Button(ControlHwnd(Id::DeleteStatsMeButton));
    statsMeLabel_ = Label(ControlHwnd(Id::StatsMeLabel));
    nickList_ = ListBox(ControlHwnd(Id::NickList));
    newNickBox_ = Edit(ControlHwnd(Id::NewNickBox));
    loadNicksButton_ = Button(ControlHwnd(Id::LoadNicksButton));
    howToApplyLabel_ = Label(ControlHwnd(Id::HowToApplyLabel));
    onlySelectedOption_ = Button(ControlHwnd(Id::OnlySelectedOption));
    allSimilarOption_ = Button(ControlHwnd(Id::AllSimilarOption));
    saveNickButton_ = Button(ControlHwnd(Id::SaveNickButton));
    chatList_ = ListBox(ControlHwnd(Id::ChatList));
    loadChatButton_ = Button(ControlHwnd(Id::LoadChatButton));
    editMessageButton_ = Button(ControlHwnd(Id::EditMessageButton));
    deleteMessageButton_ = Button(ControlHwnd(Id::DeleteMessageButton));
    statsMeFrame_ = GroupBox(ControlHwnd(Id::StatsMeFrame));
    nickFrame_ = GroupBox(ControlHwnd(Id::NickFrame));
    chatFrame_ = GroupBox(ControlHwnd(Id::ChatFrame));

    SendMessageW(allSimilarOption_.Hwnd(), BM_SETCHECK, BST_CHECKED, 0);
    CreateToolTip();
    ApplyDpi(WindowDpi(hwnd));
}

void UtilitiesWindow::CreateToolTip() {
    HWND toolTip = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = Hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(chatList_.Hwnd());
    info.lpszText = const_cast<wchar_t*>(L"Двойной клик для редактирования");
    SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void UtilitiesWindow::ApplyDpi(UINT dpi) {
    // The controls get the new fonts before the old ones are freed.
    FontSet fonts(dpi);
    for (const auto& entry : kControls) {
        const Control control(ControlHwnd(entry.id));
        const HFONT font = entry.font == FontKind::Caption ? fonts.Caption()
                           : entry.font == FontKind::Text  ? fonts.Text()
                                                           : fonts.List();
        RECT pixels = TwipsToPixels(PlaceInWindow(entry), dpi);
        if (entry.roomRight > 0) SpreadToFit(control, entry, pixels, font, dpi);
        control.Place(pixels);
        control.SetFont(font);
    }
    fonts_ = std::move(fonts);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE));
    const SIZE outer = OuterSizeForClient(TwipsToPixels(kClientWidthTwips, dpi),
                                          TwipsToPixels(kClientHeightTwips, dpi), style, exStyle, dpi);
    SetWindowPos(Hwnd(), nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace vorelix::ui
