// Twips and points to pixels at a window's DPI: the one place where designer units become pixels.
#pragma once

#include <windows.h>

namespace vorelix::ui {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr UINT kDefaultDpi = 96;

// A place as the designer gave it, in twips.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

int TwipsToPixels(int twips, UINT dpi);
RECT TwipsToPixels(const TwipsRect& place, UINT dpi);

// Font height for CreateFontW (negative: character height) for a size in hundredths of a point.
int FontHeightForPoints(int centiPoints, UINT dpi);

// The DPI the window is shown at: GetDpiForWindow where the system has it, else the screen's.
UINT WindowDpi(HWND hwnd);

// The outer size of a window whose client area is clientWidth x clientHeight at that DPI.
SIZE OuterSizeForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// Moves a window to the place WM_DPICHANGED suggests (its lParam). The size stays the one the window's
// own layout gave it for the new DPI: the suggested size is the old one scaled and rounded, and may be
// too small for the controls.
void MoveToSuggestedPlace(HWND window, LPARAM suggestedRect);

}  // namespace vorelix::ui
