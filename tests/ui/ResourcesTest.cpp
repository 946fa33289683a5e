// The icons linked into the program (and this test), in order.
#include <gtest/gtest.h>
#include <windows.h>
// This needs windows.h ahead of it.
#include <shellapi.h>

#include <string>
#include <vector>

#include "ResourceIds.h"

namespace vorelix::test {
namespace {

std::wstring ThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

// The 32x32 colour pixels of an icon (which it destroys), for comparing two icons.
std::vector<BYTE> PixelsOf(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {};
    BITMAPINFO header{};
    header.bmiHeader = {sizeof header.bmiHeader, 32, 32, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<BYTE> pixels(32 * 32 * 4);
    HDC hdc = GetDC(nullptr);
    GetDIBits(hdc, info.hbmColor, 0, 32, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hdc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    return pixels;
}

HICON Load(int id) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0));
}

TEST(Resources, IconNumberZeroIsTheApplicationIconAndTheButtonsHaveTheirs) {
    HICON first = nullptr;
    ASSERT_EQ(ExtractIconExW(ThisProgram().c_str(), 0, &first, nullptr, 1), 1u);
    const auto application = PixelsOf(Load(IDI_VORELIX));
    ASSERT_FALSE(application.empty());
    EXPECT_EQ(PixelsOf(first), application);
    for (int id : {IDI_BUTTON_PLAY, IDI_BUTTON_UTILS, IDI_BUTTON_VIEW}) {
        const auto button = PixelsOf(Load(id));
        EXPECT_FALSE(button.empty()) << id;
        EXPECT_NE(button, application) << id;
    }
}

}  // namespace
}  // namespace vorelix::test
