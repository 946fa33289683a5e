// The records CommonDialog hands to the file, colour, font and print dialogs, and what it reads back.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CommonDialog.h"

namespace vorelix::platform {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

// A NUL-separated list as the dialog sees it: everything up to the empty entry that ends it.
std::wstring FilterList(const wchar_t* list) {
    std::size_t length = 0;
    while (list[length] != L'\0' || list[length + 1] != L'\0') ++length;
    return std::wstring(list, length + 2);
}

TEST(FileDialogRecord, CarriesThePropertiesAsGivenAndReadsTheChoiceBack) {
    const std::wstring programFolder = [] {
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH);
        return std::filesystem::path(path).parent_path().wstring();
    }();
    struct Case {
        bool save;
        std::wstring fileName, filter, initDir, defaultExt, title;
        DWORD flags, expectedFlags;
        std::wstring expectedFilter, expectedInitDir;
    } cases[] = {
        // The game-folder browse: only the title, flags and a one-entry filter.
        {false, L"", NulSeparated({L"hl.exe", L"hl.exe"}), L"", L"", L"Please choose hl.exe", 6144, 6144,
         std::wstring(L"hl.exe\0hl.exe\0\0", 15), programFolder},
        // "|" is no separator here; hook and template bits never pass.
        {true, L"старое.dem", L"Demos|*.dem", L"C:\\Demos", L"dem", L"", 0xFFFFFFFF, 0xFFFFFF1F,
         std::wstring(L"Demos|*.dem\0\0", 13), L"C:\\Demos"},
    };
    for (const Case& c : cases) {
        OPENFILENAMEW seen{};
        std::wstring fileBuffer, titleBuffer, initialDir, filterList;
        const auto fake = [&](OPENFILENAMEW& record) {
            seen = record;
            fileBuffer.assign(record.lpstrFile, record.nMaxFile + 1);
            titleBuffer.assign(record.lpstrFileTitle, record.nMaxFileTitle + 1);
            filterList = FilterList(record.lpstrFilter);
            initialDir = record.lpstrInitialDir;
            lstrcpyW(record.lpstrFile, L"C:\\Games\\hl.exe");
            lstrcpyW(record.lpstrFileTitle, L"hl.exe");
            return TRUE;
        };
        DialogCalls calls;
        (c.save ? calls.getSaveFileName : calls.getOpenFileName) = fake;
        CommonDialog dialog(calls);
        dialog.owner = kOwner;
        dialog.fileName = c.fileName;
        dialog.filter = c.filter;
        dialog.initDir = c.initDir;
        dialog.defaultExt = c.defaultExt;
        dialog.dialogTitle = c.title;
        dialog.filterIndex = 2;
        dialog.flags = c.flags;
        EXPECT_FALSE((c.save ? dialog.ShowSave() : dialog.ShowOpen()).has_value());

        EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEW));
#ifdef _WIN64
        EXPECT_EQ(seen.lStructSize, 152u);
#endif
        EXPECT_EQ(seen.hwndOwner, kOwner);
        EXPECT_EQ(seen.hInstance, GetModuleHandleW(nullptr));
        EXPECT_EQ(filterList, c.expectedFilter);
        EXPECT_EQ(seen.nFilterIndex, 2u);
        EXPECT_EQ(seen.nMaxFile, 255u);
        EXPECT_EQ(seen.nMaxFileTitle, 255u);
        EXPECT_EQ(fileBuffer, c.fileName + std::wstring(256 - c.fileName.size(), L'\0'));
        EXPECT_EQ(titleBuffer, std::wstring(256, L'\0'));
        EXPECT_EQ(initialDir, c.expectedInitDir);
        EXPECT_EQ(seen.lpstrTitle == nullptr ? L"" : std::wstring(seen.lpstrTitle), c.title);
        EXPECT_EQ(seen.lpstrDefExt == nullptr ? L"" : std::wstring(seen.lpstrDefExt), c.defaultExt);
        EXPECT_EQ(seen.Flags, c.expectedFlags);
        EXPECT_TRUE(seen.lpstrCustomFilter == nullptr && seen.nMaxCustFilter == 0 &&
                    seen.lpfnHook == nullptr && seen.lpTemplateName == nullptr && seen.lCustData == 0);
        EXPECT_EQ(dialog.fileName, L"C:\\Games\\hl.exe");
        EXPECT_EQ(dialog.fileTitle, L"hl.exe");
    }
}

TEST(FileDialogRecord, CancelOverlongNamesAndUnterminatedBuffers) {
    struct Case {
        std::size_t nameLength;
        bool cancelError;
        BOOL result;
        bool fillBuffers;  // the dialog leaves no NUL in either buffer
        bool called;
        long error;
    } cases[] = {
        {0, false, FALSE, false, true, 0},
        {3, true, FALSE, false, true, kDialogCancelled},
        {255, false, TRUE, true, true, 0},
        {256, false, TRUE, false, false, kInvalidDialogArgument},
        {300, true, FALSE, false, false, kInvalidDialogArgument},
    };
    for (const Case& c : cases) {
        bool called = false;
        std::size_t startLength = 0;
        DialogCalls calls;
        calls.getOpenFileName = [&](OPENFILENAMEW& record) {
            called = true;
            startLength = lstrlenW(record.lpstrFile);
            if (c.fillBuffers) {
                std::fill_n(record.lpstrFile, record.nMaxFile, L'x');
                std::fill_n(record.lpstrFileTitle, record.nMaxFileTitle, L'y');
            }
            return c.result;
        };
        CommonDialog dialog(calls);
        dialog.cancelError = c.cancelError;
        dialog.fileName.assign(c.nameLength, L'n');
        dialog.fileTitle = L"before";
        const auto error = dialog.ShowOpen();
        EXPECT_EQ(called, c.called) << c.nameLength;
        EXPECT_EQ(error ? error->number : 0, c.error) << c.nameLength;
        if (error) {
            EXPECT_EQ(error->source, L"CommonDialog.ShowOpen");
        }
        if (called) {
            EXPECT_EQ(startLength, c.nameLength) << "the starting name reaches the dialog terminated";
        }
        EXPECT_EQ(dialog.fileName, std::wstring(c.nameLength, L'n'));
        EXPECT_EQ(dialog.fileTitle, L"before");
    }
}

TEST(ColorDialogRecord, MasksFlagsStartsTheCustomColoursWhiteEachTimeAndReadsTheColourBack) {
    std::vector<CHOOSECOLORW> seen;
    std::vector<std::vector<COLORREF>> customs;
    BOOL result = TRUE;
    DialogCalls calls;
    calls.chooseColor = [&](CHOOSECOLORW& record) {
        seen.push_back(record);
        customs.emplace_back(record.lpCustColors, record.lpCustColors + 16);
        std::fill_n(record.lpCustColors, 16, RGB(1, 2, 3));
        record.rgbResult = RGB(10, 20, 30);
        return result;
    };
    CommonDialog dialog(calls);
    dialog.owner = kOwner;
    dialog.color = RGB(255, 0, 0);
    dialog.flags = 0xFFFF;
    EXPECT_FALSE(dialog.ShowColor().has_value());
    EXPECT_EQ(dialog.color, RGB(10, 20, 30));
    result = FALSE;
    dialog.cancelError = true;
    const auto error = dialog.ShowColor();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, kDialogCancelled);
    EXPECT_EQ(dialog.color, RGB(10, 20, 30)) << "a cancelled dialog changes nothing";

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].lStructSize, sizeof(CHOOSECOLORW));
    EXPECT_EQ(seen[0].hwndOwner, kOwner);
    EXPECT_EQ(reinterpret_cast<HMODULE>(seen[0].hInstance), GetModuleHandleW(nullptr));
    EXPECT_EQ(seen[0].rgbResult, RGB(255, 0, 0));
    EXPECT_EQ(seen[1].rgbResult, RGB(10, 20, 30));
    EXPECT_EQ(seen[0].Flags, 15u);
    for (const auto& custom : customs) EXPECT_EQ(custom, std::vector<COLORREF>(16, 0x00FFFFFF));
}

TEST(FontDialogRecord, StartsFromTheFontPropertiesAndWritesTheChoiceBack) {
    CHOOSEFONTW seen{};
    LOGFONTW seenFont{};
    DialogCalls calls;
    calls.chooseFont = [&](CHOOSEFONTW& record) {
        seen = record;
        seenFont = *record.lpLogFont;
        lstrcpyW(record.lpLogFont->lfFaceName, L"Courier New");
        record.lpLogFont->lfWeight = FW_NORMAL;
        record.lpLogFont->lfItalic = FALSE;
        record.lpLogFont->lfStrikeOut = TRUE;
        record.iPointSize = 105;
        record.rgbColors = RGB(0, 0, 255);
        return TRUE;
    };
    CommonDialog dialog(calls);
    dialog.owner = kOwner;
    dialog.fontName = L"Tahoma";
    dialog.fontSize = 12;
    dialog.bold = dialog.italic = dialog.underline = true;
    dialog.color = RGB(255, 0, 0);
    dialog.flags = CF_ENABLEHOOK | CF_ENABLETEMPLATE | CF_NOSCRIPTSEL;
    EXPECT_FALSE(dialog.ShowFont().has_value());

    EXPECT_EQ(seen.lStructSize, sizeof(CHOOSEFONTW));
    EXPECT_EQ(seen.hwndOwner, kOwner);
    EXPECT_EQ(seen.Flags, DWORD{CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_NOSCRIPTSEL});
    EXPECT_EQ(seen.iPointSize, 120);
    EXPECT_EQ(seen.rgbColors, RGB(255, 0, 0));
    EXPECT_STREQ(seenFont.lfFaceName, L"Tahoma");
    EXPECT_LT(seenFont.lfHeight, 0) << "a character height, not a cell height";
    EXPECT_EQ(seenFont.lfWeight, 700);
    EXPECT_TRUE(seenFont.lfItalic && seenFont.lfUnderline && !seenFont.lfStrikeOut);

    EXPECT_EQ(dialog.fontName, L"Courier New");
    EXPECT_EQ(dialog.fontSize, 10);
    EXPECT_TRUE(!dialog.bold && !dialog.italic && dialog.underline && dialog.strikeOut);
    EXPECT_EQ(dialog.color, RGB(0, 0, 255));

    calls.chooseFont = [](CHOOSEFONTW&) { return FALSE; };
    CommonDialog cancelled(calls);
    cancelled.fontName = L"Tahoma";
    EXPECT_FALSE(cancelled.ShowFont().has_value());
    cancelled.cancelError = true;
    EXPECT_EQ(cancelled.ShowFont()->number, kDialogCancelled);
    EXPECT_EQ(cancelled.fontName, L"Tahoma");
}

// A device-names block as the print dialog returns it: driver, device and port.
HGLOBAL DeviceNames(const std::wstring& device) {
    const std::wstring text = std::wstring(L"winspool\0", 9) + device + L'\0' + L"LPT1:" + L'\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(DEVNAMES) + text.size() * sizeof(wchar_t));
    auto* names = static_cast<DEVNAMES*>(GlobalLock(block));
    names->wDriverOffset = sizeof(DEVNAMES) / sizeof(wchar_t);
    names->wDeviceOffset = static_cast<WORD>(names->wDriverOffset + 9);
    names->wOutputOffset = static_cast<WORD>(names->wDeviceOffset + device.size() + 1);
    text.copy(reinterpret_cast<wchar_t*>(names + 1), text.size());
    GlobalUnlock(block);
    return block;
}

TEST(PrintDialogRecord, StartsOnTheRememberedPrinterAndRemembersTheChosenOne) {
    struct Seen {
        DWORD flags;
        HWND owner;
        std::wstring device, modeDevice;
        short orientation, duplex;
    };
    std::vector<Seen> seen;
    HDC madeDc = nullptr;
    BOOL result = TRUE;
    DialogCalls calls;
    calls.printDialog = [&](PRINTDLGW& record) {
        Seen s{record.Flags, record.hwndOwner, L"", L"", 0, 0};
        if (record.hDevNames != nullptr) {
            auto* names = static_cast<const DEVNAMES*>(GlobalLock(record.hDevNames));
            s.device = reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset;
            GlobalUnlock(record.hDevNames);
            const auto* mode = static_cast<const DEVMODEW*>(GlobalLock(record.hDevMode));
            s.modeDevice = mode->dmDeviceName;
            s.orientation = (mode->dmFields & DM_ORIENTATION) ? mode->dmOrientation : -1;
            s.duplex = (mode->dmFields & DM_DUPLEX) ? mode->dmDuplex : -1;
            GlobalUnlock(record.hDevMode);
            // Replaced by the dialog's own, as PrintDlg may do.
            GlobalFree(record.hDevNames);
            GlobalFree(record.hDevMode);
        }
        seen.push_back(s);
        record.hDevNames = DeviceNames(L"Office Printer");
        auto* mode = static_cast<DEVMODEW*>(
            GlobalLock(record.hDevMode = GlobalAlloc(GMEM_ZEROINIT, sizeof(DEVMODEW))));
        mode->dmFields = DM_ORIENTATION | DM_DUPLEX | DM_COPIES;
        mode->dmOrientation = DMORIENT_LANDSCAPE;
        mode->dmDuplex = DMDUP_VERTICAL;
        mode->dmCopies = 3;
        GlobalUnlock(record.hDevMode);
        record.hDC = madeDc = CreateCompatibleDC(nullptr);
        return result;
    };
    CommonDialog dialog(calls);
    dialog.owner = kOwner;
    dialog.flags = 0xFFFFFFFF;
    EXPECT_FALSE(dialog.ShowPrinter().has_value());
    EXPECT_EQ(dialog.printer.deviceName, L"Office Printer");
    EXPECT_EQ(dialog.printer.orientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(dialog.printer.duplex, DMDUP_VERTICAL);
    EXPECT_EQ(dialog.printer.copies, 3);
    EXPECT_EQ(dialog.owner, kOwner) << "the printer's device context is no owner window";
    EXPECT_EQ(GetObjectType(madeDc), 0u) << "the device context is released";

    result = FALSE;
    dialog.cancelError = true;
    dialog.printer.orientation = DMORIENT_PORTRAIT;
    EXPECT_EQ(dialog.ShowPrinter()->number, kDialogCancelled);
    EXPECT_EQ(dialog.printer.orientation, DMORIENT_PORTRAIT) << "a cancelled dialog changes nothing";
    EXPECT_EQ(GetObjectType(madeDc), 0u);

    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].flags, 0x1C0FFFu);
    EXPECT_EQ(seen[0].owner, kOwner);
    EXPECT_EQ(seen[0].device, L"") << "the first dialog starts on the system's default printer";
    EXPECT_EQ(seen[1].device, L"Office Printer");
    EXPECT_EQ(seen[1].modeDevice, L"Office Printer");
    EXPECT_EQ(seen[1].orientation, DMORIENT_PORTRAIT);
    EXPECT_EQ(seen[1].duplex, DMDUP_VERTICAL);
}

}  // namespace
}  // namespace vorelix::platform
