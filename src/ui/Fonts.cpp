// Fonts: looks for the wanted face among the installed ones before creating it.
#include "ui/Fonts.h"

#include <vector>

#include "ui/Dpi.h"

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

void FontSet::Create(UINT dpi) {
    static const std::wstring tahoma = InstalledFace(L"Tahoma");
    static const std::wstring verdana = InstalledFace(L"Verdana");
    Release();
    caption_ = CreateUiFont(tahoma, true, dpi);
    text_ = CreateUiFont(verdana, false, dpi);
    list_ = CreateUiFont(tahoma, false, dpi);
}

void FontSet::Release() {
    for (HFONT* font : {&caption_, &text_, &list_}) {
        if (*font) DeleteObject(*font);
        *font = nullptr;
    }
}

}  // namespace vorelix::ui
