// The records CommonDialog hands to the file, colour, font and print dialogs, and what it reads back.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/CommonDialog.h"

namespace vorelix::platform {
namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

TEST(FileDialogRecord, CarriesThePropertiesAsGivenAndReadsTheChoiceBack) {
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    struct Case {
        bool save;
        std::wstring fileName, filter, initDir, defaultExt, title;
        DWORD flags, expectedFlags;
        std::wstring expectedFilter, expectedInitDir;
    } cases[] = {
        // The game-folder browse: only the title, flags and a one-entry filter.
        {false, L"", NulSeparated({L"hl.exe", L"hl.exe"}), L"", L"", L"Please choose hl.exe", 6144, 6144,
         std::wstring(L"hl.exe\0hl.exe\0\0", 15), std::filesystem::path(program).parent_path().wstring()},
        // "|" is no separator here; hook and template bits never pass.
        {true, L"старое.dem", L"Demos|*.dem", L"C:\\Demos", L"dem", L"", 0xFFFFFFFF, 0xFFFFFF1F,
         std::wstring(L"Demos|*.dem\0\0", 13), L"C:\\Demos"},
    };
    for (const Case& c : cases) {
        OPENFILENAMEW seen{};
        std::wstring buffers, filterList, initialDir;
        DialogCalls calls;
        (c.save ? calls.getSaveFileName : calls.getOpenFileName) = [&](OPENFILENAMEW& record) {
            seen = record;
            buffers = std::wstring(record.lpstrFile, 256) + L'|' + std::wstring(record.lpstrFileTitle, 256);
            filterList.assign(record.lpstrFilter, c.expectedFilter.size());
            initialDir = record.lpstrInitialDir;
            lstrcpyW(record.lpstrFile, L"C:\\Games\\hl.exe");
            lstrcpyW(record.lpstrFileTitle, L"hl.exe");
            return TRUE;
        };
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

        // The current W record: 152 bytes on x64 (the old record of the same fields has 136).
        EXPECT_EQ(seen.lStructSize, sizeof(OPENFILENAMEW));
        EXPECT_TRUE(seen.hwndOwner == kOwner && seen.hInstance == GetModuleHandleW(nullptr) &&
                    seen.nFilterIndex == 2 && seen.nMaxFile == 255 && seen.nMaxFileTitle == 255);
        EXPECT_EQ(filterList, c.expectedFilter);
        EXPECT_EQ(buffers,
                  c.fileName + std::wstring(256 - c.fileName.size(), L'\0') + L'|' + std::wstring(256, 0));
        EXPECT_EQ(initialDir, c.expectedInitDir);
        EXPECT_EQ(seen.lpstrTitle == nullptr ? L"" : std::wstring(seen.lpstrTitle), c.title);
        EXPECT_EQ(seen.lpstrDefExt == nullptr ? L"" : std::wstring(seen.lpstrDefExt), c.defaultExt);
        EXPECT_EQ(seen.Flags, c.expectedFlags);
        EXPECT_TRUE(seen.lpstrCustomFilter == nullptr && seen.lpfnHook == nullptr &&
                    seen.lpTemplateName == nullptr && seen.lCustData == 0);
        EXPECT_EQ(dialog.fileName + L"|" + dialog.fileTitle, L"C:\\Games\\hl.exe|hl.exe");
    }
}

TEST(FileDialogRecord, ANameLongerThanTheBufferIsRefusedAndAnUnterminatedAnswerIgnored) {
    for (const std::size_t length : {255u, 256u}) {
        std::size_t startLength = 0;
        DialogCalls calls;
        calls.getOpenFileName = [&](OPENFILENAMEW& record) {
            startLength = lstrlenW(record.lpstrFile);
            std::fill_n(record.lpstrFile, record.nMaxFile, L'x');
            std::fill_n(record.lpstrFileTitle, record.nMaxFileTitle, L'y');
            return TRUE;
        };
        CommonDialog dialog(calls);
        dialog.fileName.assign(length, L'n');
        const auto error = dialog.ShowOpen();
        EXPECT_EQ(error ? error->number : 0, length > 255 ? kInvalidDialogArgument : 0);
        EXPECT_EQ(startLength, length > 255 ? 0 : length)
            << "the starting name reaches the dialog terminated";
        EXPECT_EQ(dialog.fileName, std::wstring(length, L'n'));
        EXPECT_EQ(dialog.fileTitle, L"");
    }
}

TEST(DialogCancel, IsError5000OnlyWithCancelErrorAndChangesNoProperty) {
    DialogCalls calls;
    calls.getOpenFileName = calls.getSaveFileName = [](OPENFILENAMEW&) { return FALSE; };
    calls.chooseColor = [](CHOOSECOLORW&) { return FALSE; };
    calls.chooseFont = [](CHOOSEFONTW&) { return FALSE; };
    calls.printDialog = [](PRINTDLGW&) { return FALSE; };
    using Show = std::optional<DialogError> (CommonDialog::*)();
    const std::pair<std::wstring, Show> operations[] = {{L"ShowOpen", &CommonDialog::ShowOpen},
                                                        {L"ShowSave", &CommonDialog::ShowSave},
                                                        {L"ShowColor", &CommonDialog::ShowColor},
                                                        {L"ShowFont", &CommonDialog::ShowFont},
                                                        {L"ShowPrinter", &CommonDialog::ShowPrinter}};
    for (const bool cancelError : {false, true}) {
        for (const auto& [name, show] : operations) {
            CommonDialog dialog(calls);
            dialog.cancelError = cancelError;
            dialog.fileName = dialog.fileTitle = dialog.fontName = dialog.printer.deviceName = L"kept";
            dialog.color = RGB(1, 2, 3);
            const auto error = (dialog.*show)();
            ASSERT_EQ(error.has_value(), cancelError);
            if (error) {
                EXPECT_EQ(error->number, 5000);
                EXPECT_EQ(error->source, L"CommonDialog." + name);
                EXPECT_EQ(error->description, L"");
            }
            EXPECT_TRUE(dialog.fileName == L"kept" && dialog.fileTitle == L"kept" &&
                        dialog.fontName == L"kept" && dialog.printer.deviceName == L"kept" &&
                        dialog.color == RGB(1, 2, 3));
        }
    }
}

TEST(ColorDialogRecord, MasksFlagsStartsTheCustomColoursWhiteEachTimeAndReadsTheColourBack) {
    std::vector<CHOOSECOLORW> seen;
    std::vector<std::vector<COLORREF>> customs;
    DialogCalls calls;
    calls.chooseColor = [&](CHOOSECOLORW& record) {
        seen.push_back(record);
        customs.emplace_back(record.lpCustColors, record.lpCustColors + 16);
        std::fill_n(record.lpCustColors, 16, RGB(1, 2, 3));
        record.rgbResult = RGB(10, 20, 30);
        return TRUE;
    };
    CommonDialog dialog(calls);
    dialog.owner = kOwner;
    dialog.color = RGB(255, 0, 0);
    dialog.flags = 0xFFFF;
    for (int i = 0; i < 2; ++i) EXPECT_FALSE(dialog.ShowColor().has_value());
    EXPECT_EQ(dialog.color, RGB(10, 20, 30));
    EXPECT_TRUE(seen[0].lStructSize == sizeof(CHOOSECOLORW) && seen[0].hwndOwner == kOwner &&
                reinterpret_cast<HMODULE>(seen[0].hInstance) == GetModuleHandleW(nullptr));
    EXPECT_EQ(seen[0].rgbResult, RGB(255, 0, 0));
    EXPECT_EQ(seen[0].Flags, 15u);
    EXPECT_EQ(customs, std::vector(2, std::vector<COLORREF>(16, RGB(255, 255, 255))));
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

    EXPECT_TRUE(seen.lStructSize == sizeof(CHOOSEFONTW) && seen.hwndOwner == kOwner &&
                seen.iPointSize == 120 && seen.rgbColors == RGB(255, 0, 0));
    EXPECT_EQ(seen.Flags, DWORD{CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_EFFECTS | CF_NOSCRIPTSEL});
    EXPECT_STREQ(seenFont.lfFaceName, L"Tahoma");
    EXPECT_LT(seenFont.lfHeight, 0) << "a character height, not a cell height";
    EXPECT_TRUE(seenFont.lfWeight == 700 && seenFont.lfItalic && seenFont.lfUnderline &&
                !seenFont.lfStrikeOut);

    EXPECT_EQ(dialog.fontName, L"Courier New");
    EXPECT_TRUE(dialog.fontSize == 10 && !dialog.bold && !dialog.italic && dialog.underline &&
                dialog.strikeOut && dialog.color == RGB(0, 0, 255));
}

TEST(PrintDialogRecord, StartsOnTheRememberedPrinterAndRemembersTheChosenOne) {
    std::vector<std::wstring> seen;  // flags, device names and orientation of each call
    HDC madeDc = nullptr;
    DialogCalls calls;
    calls.printDialog = [&](PRINTDLGW& record) {
        std::wstring started = std::to_wstring(record.Flags);
        if (record.hDevNames != nullptr) {
            auto* names = static_cast<const DEVNAMES*>(GlobalLock(record.hDevNames));
            auto* mode = static_cast<const DEVMODEW*>(GlobalLock(record.hDevMode));
            started += L" " + std::wstring(reinterpret_cast<const wchar_t*>(names) + names->wDeviceOffset) +
                       L" " + mode->dmDeviceName + L" " + std::to_wstring(mode->dmOrientation);
            GlobalUnlock(record.hDevNames);
            GlobalUnlock(record.hDevMode);
        }
        seen.push_back(started);
        // The dialog's answer: its own blocks in place of the ones it was given, and a device context.
        GlobalFree(record.hDevNames);
        GlobalFree(record.hDevMode);
        // DEVNAMES: where driver, device and port start, in characters, then the three texts.
        const std::wstring names =
            std::wstring{4, 13, 28, 0} + std::wstring(L"winspool\0Office Printer\0", 24) + L'\0';
        record.hDevNames = GlobalAlloc(GMEM_FIXED, names.size() * sizeof(wchar_t));
        names.copy(static_cast<wchar_t*>(record.hDevNames), names.size());
        auto* mode = static_cast<DEVMODEW*>(record.hDevMode = GlobalAlloc(GPTR, sizeof(DEVMODEW)));
        mode->dmFields = DM_ORIENTATION | DM_DUPLEX | DM_COPIES;
        mode->dmOrientation = DMORIENT_LANDSCAPE;
        mode->dmDuplex = DMDUP_VERTICAL;
        mode->dmCopies = 3;
        record.hDC = madeDc = CreateCompatibleDC(nullptr);
        return TRUE;
    };
    CommonDialog dialog(calls);
    dialog.owner = kOwner;
    dialog.flags = 0xFFFFFFFF;
    EXPECT_FALSE(dialog.ShowPrinter().has_value());
    EXPECT_EQ(dialog.printer.deviceName, L"Office Printer");
    EXPECT_TRUE(dialog.printer.orientation == DMORIENT_LANDSCAPE && dialog.printer.duplex == DMDUP_VERTICAL &&
                dialog.printer.copies == 3);
    EXPECT_EQ(dialog.owner, kOwner) << "the printer's device context is no owner window";
    EXPECT_EQ(GetObjectType(madeDc), 0u) << "the device context is released";

    dialog.printer.orientation = DMORIENT_PORTRAIT;
    EXPECT_FALSE(dialog.ShowPrinter().has_value());
    // The first dialog starts on the system's default printer, the second on the chosen one.
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"1839103", L"1839103 Office Printer Office Printer 1"}));
}

}  // namespace
}  // namespace vorelix::platform
