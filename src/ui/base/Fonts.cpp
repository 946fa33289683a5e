// Fonts: looks for the wanted face among the installed ones before creating it, and checks by drawing
// that a bold face really draws bold.
#include "ui/base/Fonts.h"

#include <algorithm>
#include <utility>

#include "ui/base/Dpi.h"

namespace vorelix::ui {

namespace {

int CALLBACK NoteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool IsInstalled(const std::wstring& face) {
    LOGFONTW query{};
    query.lfCharSet = RUSSIAN_CHARSET;
    lstrcpynW(query.lfFaceName, face.c_str(), LF_FACESIZE);
    bool found = false;
    HDC hdc = GetDC(nullptr);
    EnumFontFamiliesExW(hdc, &query, &NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, hdc);
    return found;
}

std::vector<std::wstring> LookAlikes(const std::wstring& wanted) {
    if (wanted == L"Verdana") return {L"Tahoma", L"DejaVu Sans", L"Segoe UI", L"Microsoft Sans Serif"};
    return {L"Microsoft Sans Serif", L"Segoe UI", L"DejaVu Sans", L"Arial"};
}

// Real bold faces draw one and a half to two times as dark as their regular; a face whose bold draws
// as dark as its regular has no bold at that size.
bool DrawsBold(const std::wstring& face, UINT dpi) {
    constexpr std::wstring_view kSample = L"HL.EXE path: List of available demos";
    HFONT regular = CreateUiFont(face, false, dpi);
    HFONT bold = CreateUiFont(face, true, dpi);
    const long regularDarkness = MeasureDrawnText(regular, kSample).darkness;
    const long boldDarkness = MeasureDrawnText(bold, kSample).darkness;
    DeleteObject(regular);
    DeleteObject(bold);
    return regularDarkness > 0 && boldDarkness * 4 >= regularDarkness * 5;
}

}  // namespace

std::wstring InstalledFace(const std::wstring& wanted) {
    if (IsInstalled(wanted)) return wanted;
    for (const auto& face : LookAlikes(wanted)) {
        if (IsInstalled(face)) return face;
    }
    return wanted;
}

HFONT CreateUiFont(const std::wstring& face, bool bold, UINT dpi) {
    return CreateFontW(FontHeightForPoints(825, dpi), 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                       FALSE, RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, face.c_str());
}

DrawnExtent MeasureDrawnText(HFONT font, std::wstring_view text) {
    DrawnExtent drawn;
    HDC screen = GetDC(nullptr);
    HDC hdc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    if (!hdc) return drawn;
    HGDIOBJ oldFont = SelectObject(hdc, font);
    SIZE extent{};
    TEXTMETRICW metrics{};
    GetTextExtentPoint32W(hdc, text.data(), static_cast<int>(text.size()), &extent);
    GetTextMetricsW(hdc, &metrics);
    drawn.reported = extent.cx;
    // A margin of one line height on every side catches glyphs that reach past their advance.
    const int margin = metrics.tmHeight;
    const int width = extent.cx + 2 * margin;
    const int height = metrics.tmHeight + 2 * margin;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(hdc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ oldBitmap = SelectObject(hdc, bitmap);
        auto* pixels = static_cast<DWORD*>(bits);
        std::fill(pixels, pixels + static_cast<std::size_t>(width) * height, 0x00FFFFFFu);
        SetTextColor(hdc, RGB(0, 0, 0));
        SetBkMode(hdc, TRANSPARENT);
        ExtTextOutW(hdc, margin, margin, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
        GdiFlush();
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const DWORD pixel = pixels[static_cast<std::size_t>(y) * width + x];
                const int darkness =
                    765 - static_cast<int>((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF));
                drawn.darkness += darkness;
                // Faint edge pixels of smoothed text do not count as the text reaching that far.
                if (darkness < 96) continue;
                drawn.right = std::max(drawn.right, x - margin + 1);
                drawn.bottom = std::max(drawn.bottom, y - margin + 1);
            }
        }
        drawn.darkness /= 765;
        SelectObject(hdc, oldBitmap);
    }
    if (bitmap) DeleteObject(bitmap);
    SelectObject(hdc, oldFont);
    DeleteDC(hdc);
    return drawn;
}

std::wstring BoldCaptionFace(UINT dpi) {
    static const std::wstring tahoma = InstalledFace(L"Tahoma");
    if (DrawsBold(tahoma, dpi)) return tahoma;
    // A condensed face first: it is as wide as Tahoma, so the captions still fit the places made for it.
    std::vector<std::wstring> faces = LookAlikes(tahoma);
    faces.insert(faces.begin(), L"DejaVu Sans Condensed");
    for (const auto& face : faces) {
        if (face != tahoma && IsInstalled(face) && DrawsBold(face, dpi)) return face;
    }
    return tahoma;
}

FontSet::FontSet(UINT dpi) {
    static const std::wstring tahoma = InstalledFace(L"Tahoma");
    static const std::wstring verdana = InstalledFace(L"Verdana");
    caption_ = CreateUiFont(BoldCaptionFace(dpi), true, dpi);
    text_ = CreateUiFont(verdana, false, dpi);
    list_ = CreateUiFont(tahoma, false, dpi);
}

FontSet& FontSet::operator=(FontSet&& other) noexcept {
    if (this == &other) return *this;
    Release();
    caption_ = std::exchange(other.caption_, nullptr);
    text_ = std::exchange(other.text_, nullptr);
    list_ = std::exchange(other.list_, nullptr);
    resized_ = std::move(other.resized_);
    other.resized_.clear();
    return *this;
}

HFONT FontSet::Resized(HFONT font, int pixels) {
    LOGFONTW description{};
    if (!GetObjectW(font, sizeof description, &description)) return font;
    description.lfHeight = -pixels;
    HFONT resized = CreateFontIndirectW(&description);
    if (!resized) return font;
    resized_.push_back(resized);
    return resized;
}

HFONT FontSet::ShrunkToFit(HFONT font, const std::function<bool(HFONT)>& fits) {
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    const int fullHeight = description.lfHeight < 0 ? -description.lfHeight : description.lfHeight;
    HFONT fitted = font;
    for (int height = fullHeight - 1; !fits(fitted) && height >= fullHeight * 4 / 5; --height) {
        fitted = Resized(font, height);
    }
    return fitted;
}

void FontSet::Release() {
    for (HFONT* font : {&caption_, &text_, &list_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
    for (HFONT font : resized_) DeleteObject(font);
    resized_.clear();
}

}  // namespace vorelix::ui
