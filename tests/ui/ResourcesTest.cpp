// The resources linked into the program (and this test): icons in order, version information, the manifest.
#include <windows.h>
// These need windows.h ahead of them.
#include <commctrl.h>
#include <gtest/gtest.h>
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

// The 32x32 colour pixels of an icon, for comparing two icons.
std::vector<BYTE> PixelsOf(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return {};
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof header.bmiHeader;
    header.bmiHeader.biWidth = 32;
    header.bmiHeader.biHeight = 32;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = 32;
    std::vector<BYTE> pixels(32 * 32 * 4);
    HDC hdc = GetDC(nullptr);
    GetDIBits(hdc, info.hbmColor, 0, 32, pixels.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, hdc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return pixels;
}

TEST(Resources, IconNumberZeroOfTheProgramIsTheApplicationIcon) {
    HICON first = nullptr;
    ASSERT_EQ(ExtractIconExW(ThisProgram().c_str(), 0, &first, nullptr, 1), 1u);
    HICON application = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VORELIX), IMAGE_ICON, 32, 32, 0));
    HICON play = static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BUTTON_PLAY), IMAGE_ICON, 32, 32, 0));
    ASSERT_NE(application, nullptr);
    ASSERT_NE(play, nullptr);
    EXPECT_EQ(PixelsOf(first), PixelsOf(application));
    EXPECT_NE(PixelsOf(first), PixelsOf(play));
    for (int id : {IDI_BUTTON_UTILS, IDI_BUTTON_VIEW}) {
        EXPECT_NE(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, 0), nullptr)
            << id;
    }
    DestroyIcon(first);
    DestroyIcon(application);
    DestroyIcon(play);
}

TEST(Resources, VersionInformationNamesTheProductAndItsVersion) {
    const std::wstring path = ThisProgram();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, data.data()));
    const auto value = [&](const wchar_t* name) {
        wchar_t* text = nullptr;
        UINT length = 0;
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
        if (!VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&text), &length))
            return std::wstring();
        return std::wstring(text);
    };
    EXPECT_EQ(value(L"ProductName"), L"Vorelix");
    EXPECT_EQ(value(L"ProductVersion"), L"2.1");
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(1, 2));
}

TEST(Resources, TheManifestBringsTheVersionSixCommonControls) {
    HWND button = CreateWindowExW(0, WC_BUTTONW, L"PlayDemo", WS_POPUP | BS_PUSHBUTTON, 0, 0, 80, 30, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    SIZE ideal{};
    // Only the version 6 button answers this message.
    EXPECT_TRUE(SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    DestroyWindow(button);
}

}  // namespace
}  // namespace vorelix::test
