// Driving and reading controls of any window, and the layout rules.
#include "ControlDriver.h"

#include <commctrl.h>

#include "ui/base/Dpi.h"
#include "ui/base/Fonts.h"

namespace vorelix::test {

namespace {

bool Overlap(const RECT& a, const RECT& b) {
    RECT common{};
    return IntersectRect(&common, &a, &b) != FALSE;
}

bool Inside(const RECT& inner, const RECT& outer) {
    RECT common{};
    return IntersectRect(&common, &inner, &outer) && EqualRect(&common, &inner);
}

}  // namespace

RECT PlaceIn(HWND window, HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring FontOf(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfFaceName + (L"/" + std::to_wstring(font.lfWeight)) + L"/" + std::to_wstring(font.lfHeight);
}

bool IsKind(HWND control, const wchar_t* className, LONG typeMask, LONG type) {
    wchar_t kind[64] = {};
    GetClassNameW(control, kind, 64);
    return lstrcmpiW(kind, className) == 0 && (GetWindowLongW(control, GWL_STYLE) & typeMask) == type;
}

std::wstring Text(HWND control) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::vector<std::wstring> Items(HWND list) {
    const bool combo = IsKind(list, WC_COMBOBOXW);
    std::vector<std::wstring> items(
        static_cast<std::size_t>(SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0)));
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].resize(
            static_cast<std::size_t>(SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, i, 0)));
        SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, i, reinterpret_cast<LPARAM>(items[i].data()));
    }
    return items;
}

int Selection(HWND list) {
    return static_cast<int>(
        SendMessageW(list, IsKind(list, WC_COMBOBOXW) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}

HWND ThreadWindowOfClass(const wchar_t* className) {
    struct Search {
        const wchar_t* className;
        HWND found = nullptr;
    } search{className};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) {
            auto* search = reinterpret_cast<Search*>(data);
            if (IsKind(window, search->className)) search->found = window;
            return search->found == nullptr ? TRUE : FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Notify(HWND control, int code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

void Pick(HWND list, int index) {
    const bool combo = IsKind(list, WC_COMBOBOXW);
    SendMessageW(list, combo ? CB_SETCURSEL : LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    Notify(list, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
}

void ExpectLaidOut(HWND window, std::initializer_list<UINT> dpis,
                   const std::set<std::pair<int, int>>& designedOverlaps) {
    for (const UINT dpi : dpis) {
        SCOPED_TRACE(dpi);
        RECT suggested{0, 0, 400, 400}, client{};
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        GetClientRect(window, &client);
        std::vector<HWND> controls, frames;
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            (IsKind(child, WC_BUTTONW, BS_TYPEMASK, BS_GROUPBOX) ? frames : controls).push_back(child);
        for (HWND child : controls) {
            SCOPED_TRACE(GetDlgCtrlID(child));
            const RECT place = PlaceIn(window, child);
            EXPECT_TRUE(Inside(place, client));
            for (HWND frame : frames)
                EXPECT_TRUE(!Overlap(place, PlaceIn(window, frame)) || Inside(place, PlaceIn(window, frame)));
            for (HWND other : controls) {
                if (other == child || designedOverlaps.count({GetDlgCtrlID(child), GetDlgCtrlID(other)}) ||
                    designedOverlaps.count({GetDlgCtrlID(other), GetDlgCtrlID(child)}))
                    continue;
                EXPECT_FALSE(Overlap(place, PlaceIn(window, other))) << GetDlgCtrlID(other);
            }
            // A label's caption is drawn whole. A check box or option draws its caption behind its box and a
            // gap, 16 pixels at the system's DPI (the tests' DPI changes do not change how Wine draws the
            // box).
            const bool label = IsKind(child, WC_STATICW, SS_TYPEMASK, SS_LEFTNOWORDWRAP);
            const bool box = IsKind(child, WC_BUTTONW, BS_TYPEMASK, BS_AUTOCHECKBOX) ||
                             IsKind(child, WC_BUTTONW, BS_TYPEMASK, BS_AUTORADIOBUTTON);
            if (label || box) {
                const auto drawn = ui::MeasureDrawnText(
                    reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), Text(child));
                EXPECT_TRUE(drawn.right + (box ? 16 : 0) <= place.right - place.left &&
                            (box || drawn.bottom <= place.bottom - place.top))
                    << "the caption is cut";
            }
        }
        for (HWND child : controls) {
            if (IsKind(child, WC_BUTTONW, BS_TYPEMASK, BS_PUSHBUTTON)) frames.push_back(child);
        }
        const std::wstring captionFont =
            ui::BoldCaptionFace(dpi) + L"/700/" + std::to_wstring(ui::FontHeightForPoints(825, dpi));
        for (HWND caption : frames) EXPECT_EQ(FontOf(caption), captionFont) << GetDlgCtrlID(caption);
    }
}

}  // namespace vorelix::test
