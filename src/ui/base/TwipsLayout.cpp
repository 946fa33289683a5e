// The designer's tables turned into controls: creation, places in pixels, fonts, and the captions that
// need more room than the designer's face did.
#include "ui/base/TwipsLayout.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/base/Controls.h"

namespace vorelix::ui {

namespace {

// The place in the window's client area, still in twips: a frame adds its own corner.
TwipsRect PlaceInWindow(TwipsTable table, const TwipsControl& entry) {
    TwipsRect place = entry.place;
    if (entry.frameId == 0) return place;
    for (const auto& frame : table) {
        if (frame.id == entry.frameId) {
            place.left += frame.place.left;
            place.top += frame.place.top;
        }
    }
    return place;
}

HFONT FontOf(const FontSet& fonts, FontKind kind) {
    switch (kind) {
        case FontKind::Caption:
            return fonts.Caption();
        case FontKind::Text:
            return fonts.Text();
        case FontKind::Plain:
            break;
    }
    return fonts.List();
}

// How wide a caption is in `font`: `ink`, where its drawing ends, decides whether it fits; `width` is
// what its control is given; `bottom` is where a label's ink ends below.
struct CaptionExtent {
    int ink = 0;
    int width = 0;
    int bottom = 0;
};

CaptionExtent MeasureCaption(HWND control, const TwipsControl& entry, HFONT font, UINT dpi) {
    if (lstrcmpW(entry.className, WC_STATICW) == 0) {
        const DrawnExtent drawn = MeasureDrawnText(font, entry.caption);
        // The reported width where it fits: at 96 DPI it is what the label has always been given.
        return {drawn.right, std::max(drawn.reported + 1, drawn.right), drawn.bottom};
    }
    // A check box or option: the text, the box and its gap.
    HDC hdc = GetDC(control);
    HGDIOBJ old = SelectObject(hdc, font);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, entry.caption, lstrlenW(entry.caption), &extent);
    SelectObject(hdc, old);
    ReleaseDC(control, hdc);
    const int needed = extent.cx + MulDiv(20, static_cast<int>(dpi), kDefaultDpi);
    return {needed, needed, 0};
}

// A caption keeps the font its table gives it at every DPI. One wider than its place spreads into the
// room to its right; where even that is too narrow, the font shrinks a pixel at a time, by a fifth at
// most (Wine draws Tahoma from 14 px up with outlines wider than the real face's). A label also grows
// downwards if the font needs more height. Gives the font to use.
HFONT FitCaption(HWND control, TwipsTable table, const TwipsControl& entry, RECT& pixels, HFONT font,
                 FontSet& fonts, UINT dpi) {
    const int room =
        TwipsToPixels(PlaceInWindow(table, entry).left - entry.place.left + entry.roomRight, dpi) -
        pixels.left;
    CaptionExtent needed;
    const HFONT fitted = fonts.ShrunkToFit(font, [&](HFONT candidate) {
        needed = MeasureCaption(control, entry, candidate, dpi);
        return needed.ink <= room;
    });
    pixels.right = pixels.left + std::max<LONG>(pixels.right - pixels.left, std::min(needed.width, room));
    pixels.bottom = std::max<LONG>(pixels.bottom, pixels.top + needed.bottom);
    return fitted;
}

}  // namespace

void CreateTwipsControls(HWND parent, TwipsTable table) {
    for (const auto& entry : table) {
        CreateChildControl(parent, entry.className, entry.caption, entry.style, entry.exStyle, entry.id);
    }
}

void ApplyTwipsDpi(HWND parent, TwipsTable table, FontSet& fonts, UINT dpi) {
    FontSet fresh(dpi);
    for (const auto& entry : table) {
        const Control control(GetDlgItem(parent, entry.id));
        HFONT font = FontOf(fresh, entry.font);
        RECT pixels = TwipsToPixels(PlaceInWindow(table, entry), dpi);
        // A drop-down list's window height includes its open list.
        const bool dropDown = lstrcmpW(entry.className, WC_COMBOBOXW) == 0;
        if (dropDown) pixels.bottom += MulDiv(160, static_cast<int>(dpi), kDefaultDpi);
        if (entry.roomRight > 0) font = FitCaption(control.Hwnd(), table, entry, pixels, font, fresh, dpi);
        control.Place(pixels);
        control.SetFont(font);
        // The closed box, border excluded, set after the font, which would size it anew.
        if (dropDown) {
            SendMessageW(control.Hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         TwipsToPixels(entry.place.height, dpi) - 6);
        }
    }
    fonts = std::move(fresh);
}

void SizeClientTwips(HWND window, int widthTwips, int heightTwips, UINT dpi) {
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    const int width = TwipsToPixels(widthTwips, dpi);
    const int height = TwipsToPixels(heightTwips, dpi);
    const SIZE outer = OuterSizeForClient(width, height, style, exStyle, dpi);
    SetWindowPos(window, nullptr, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame and menu bar may be drawn at another DPI than the one asked for (Wine keeps the system's
    // until the next start), so the client area is measured and the outer size corrected once.
    RECT client{};
    GetClientRect(window, &client);
    if (client.right != width || client.bottom != height) {
        SetWindowPos(window, nullptr, 0, 0, outer.cx + width - client.right,
                     outer.cy + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CenterOver(HWND window, HWND over) {
    RECT outer{};
    RECT target{};
    GetWindowRect(window, &outer);
    GetWindowRect(over, &target);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(over, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    int left = (target.left + target.right - width) / 2;
    int top = (target.top + target.bottom - height) / 2;
    left = std::max<int>(area.left, std::min<int>(left, area.right - width));
    top = std::max<int>(area.top, std::min<int>(top, area.bottom - height));
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateToolTips(HWND owner, std::initializer_list<ToolTip> tips) {
    HWND toolTips = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    for (const auto& tip : tips) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.hwnd = owner;
        info.uId = reinterpret_cast<UINT_PTR>(tip.control);
        info.lpszText = const_cast<wchar_t*>(tip.text);
        SendMessageW(toolTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    }
    return toolTips;
}

}  // namespace vorelix::ui
