// Windows laid out from a designer's table: controls with their places in twips, created, placed and
// given their fonts at a DPI; a window centred over its owner; tool tips.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <span>

#include "ui/base/Dpi.h"
#include "ui/base/Fonts.h"

namespace vorelix::ui {

enum class FontKind { Caption, Plain, Text };  // bold Tahoma, Tahoma, Verdana

struct TwipsControl {
    int id;
    const wchar_t* className;
    const wchar_t* caption;
    DWORD style;
    DWORD exStyle;
    int frameId;      // 0: the control lies in the window; else the id of the frame (in the same table)
    TwipsRect place;  // in its container, as the designer gave it
    FontKind font;
    // Labels, check boxes and options: how far right (container twips) the control may grow when the
    // installed face draws its caption wider than the designer's did.
    int roomRight = 0;
};

using TwipsTable = std::span<const TwipsControl>;

// Creates the table's controls as children of `parent`, in table order, which is the tab order.
void CreateTwipsControls(HWND parent, TwipsTable table);

// Makes the fonts for `dpi` and places the table's controls with them; only then are the fonts the
// controls had before (kept in `fonts`) freed, so no control ever holds a deleted font. A caption with
// room to its right spreads into it, in a smaller font where even that is too narrow; a drop-down
// list's closed box is as high as its place.
void ApplyTwipsDpi(HWND parent, TwipsTable table, FontSet& fonts, UINT dpi);

// Sizes a window so that its client area is the designer's, in twips, at `dpi`.
void SizeClientTwips(HWND window, int widthTwips, int heightTwips, UINT dpi);

// Centres a window over another, kept inside the work area of the other's monitor.
void CenterOver(HWND window, HWND over);

struct ToolTip {
    HWND control;
    const wchar_t* text;
};

// One tool-tip window for `owner` that shows each text over its control.
HWND CreateToolTips(HWND owner, std::initializer_list<ToolTip> tips);

}  // namespace vorelix::ui
