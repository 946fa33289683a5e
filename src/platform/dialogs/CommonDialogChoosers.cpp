// The colour and font dialogs of CommonDialog, and the help engine call.
#include <array>

#include "platform/dialogs/CommonDialog.h"

namespace vorelix::platform {

namespace {

// CC_RGBINIT, CC_FULLOPEN, CC_PREVENTFULLOPEN, CC_SHOWHELP: the colour dialog's part of flags.
constexpr DWORD kColorFlags = 0xF;
// No hook procedure and no template is supplied, so their bits are dropped from the font dialog's flags.
constexpr DWORD kFontHookAndTemplateBits = CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_ENABLETEMPLATEHANDLE;
// Screen fonts, started from the LOGFONT below, with the effects (underline, strike-out, colour).
constexpr DWORD kFontBaseFlags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS;

// Vertical dots per inch of the screen, which turns a point size into a LOGFONT height.
int ScreenDpiY() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

}  // namespace

void CommonDialog::ShowHelp() {
    calls_.winHelp(owner, helpFile.c_str(), helpCommand, helpKey);
}

std::optional<DialogError> CommonDialog::ShowColor() {
    // The custom colours start white on every call; what the user adds to them is not kept. White is
    // 0x00FFFFFF: with all 32 bits set the value is no colour, and the dialog draws and returns it as such.
    std::array<COLORREF, 16> customColors;
    customColors.fill(RGB(255, 255, 255));

    CHOOSECOLORW record{};
    record.lStructSize = sizeof(CHOOSECOLORW);
    record.hwndOwner = owner;
    // The record declares its instance field as a window handle; it is the module's instance.
    record.hInstance = reinterpret_cast<HWND>(GetModuleHandleW(nullptr));
    record.rgbResult = color;
    record.lpCustColors = customColors.data();
    record.Flags = flags & kColorFlags;

    if (calls_.chooseColor(record) <= 0) return Cancelled(L"ShowColor");
    color = record.rgbResult;
    return std::nullopt;
}

std::optional<DialogError> CommonDialog::ShowFont() {
    LOGFONTW font{};
    // A face name longer than the record holds cannot name a font; it is cut to the record's room.
    fontName.copy(font.lfFaceName, LF_FACESIZE - 1);
    font.lfHeight = -MulDiv(static_cast<int>(fontSize), ScreenDpiY(), 72);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfUnderline = underline ? TRUE : FALSE;
    font.lfStrikeOut = strikeOut ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;

    CHOOSEFONTW record{};
    record.lStructSize = sizeof(CHOOSEFONTW);
    record.hwndOwner = owner;
    record.lpLogFont = &font;
    record.iPointSize = static_cast<INT>(fontSize * 10);
    record.Flags = kFontBaseFlags | (flags & ~kFontHookAndTemplateBits);
    record.rgbColors = color;
    record.hInstance = GetModuleHandleW(nullptr);

    if (calls_.chooseFont(record) <= 0) return Cancelled(L"ShowFont");
    fontName = font.lfFaceName;
    fontSize = record.iPointSize / 10;
    bold = font.lfWeight >= FW_BOLD;
    italic = font.lfItalic != 0;
    underline = font.lfUnderline != 0;
    strikeOut = font.lfStrikeOut != 0;
    color = record.rgbColors;
    return std::nullopt;
}

}  // namespace vorelix::platform
