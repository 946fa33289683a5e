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

// The width a check box or option needs for its caption in `font`: the text, the box and its gap.
int NeededWidth(HWND control, const wchar_t* caption, HFONT font, UINT dpi) {
    HDC hdc = GetDC(control);
    HGDIOBJ old = SelectObject(hdc, font);
    SIZE extent{};
    GetTextExtentPoint32W(hdc, caption, lstrlenW(caption), &extent);
    SelectObject(hdc, old);
    ReleaseDC(control, hdc);
    return extent.cx + MulDiv(20, static_cast<int>(dpi), kDefaultDpi);
}

// Widens a check box or option whose caption does not fit its place, up to its room on the right;
// where even the room is too narrow (a wider installed face), the font shrinks a pixel at a time, by
// a fifth at most. Gives the font to use.
HFONT SpreadToFit(HWND control, TwipsTable table, const TwipsControl& entry, RECT& pixels, HFONT font,
                  FontSet& fonts, UINT dpi) {
    const int room =
        TwipsToPixels(PlaceInWindow(table, entry).left - entry.place.left + entry.roomRight, dpi);
    int needed = 0;
    const HFONT fitted = fonts.ShrunkToFit(font, [&](HFONT candidate) {
        needed = NeededWidth(control, entry.caption, candidate, dpi);
        return pixels.left + needed <= room;
    });
    if (pixels.left + needed > pixels.right) pixels.right = std::min<LONG>(pixels.left + needed, room);
    return fitted;
}

}  // namespace

void CreateTwipsControls(HWND parent, TwipsTable table) {
    for (const auto& entry : table) {
        CreateChildControl(parent, entry.className, entry.caption, entry.style, entry.exStyle, entry.id);
    }
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

void PlaceTwipsControls(HWND parent, TwipsTable table, FontSet& fonts, UINT dpi) {
    for (const auto& entry : table) {
        const Control control(GetDlgItem(parent, entry.id));
        HFONT font = FontOf(fonts, entry.font);
        RECT pixels = TwipsToPixels(PlaceInWindow(table, entry), dpi);
        if (entry.roomRight > 0) font = SpreadToFit(control.Hwnd(), table, entry, pixels, font, fonts, dpi);
        control.Place(pixels);
        control.SetFont(font);
    }
}

void ApplyTwipsDpi(HWND parent, TwipsTable table, FontSet& fonts, UINT dpi) {
    FontSet fresh(dpi);
    PlaceTwipsControls(parent, table, fresh, dpi);
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
