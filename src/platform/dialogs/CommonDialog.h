// CommonDialog: the system's standard dialogs behind one set of properties and one Show operation each.
#pragma once

// clang-format off
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace vorelix::platform {

// An error raised by a dialog operation: a number, a source and a description, as the registry
// writers report theirs. No value from an operation means it ran (a quiet cancel included).
struct DialogError {
    long number = 0;           // one of the k... numbers below
    std::wstring source;       // "CommonDialog.ShowOpen" and so on
    std::wstring description;  // empty for a cancelled dialog
    unsigned long systemCode = 0;
};

// Cancelled file, colour, font or print dialog while cancelError is true.
inline constexpr long kDialogCancelled = 5000;
// An argument the dialog cannot take, such as a file name longer than its buffer.
inline constexpr long kInvalidDialogArgument = 5;
// A shell function that this system's shell32 does not export.
inline constexpr long kShellEntryPointMissing = 453;
// A program that could not be started.
inline constexpr long kProgramNotStarted = 53;

// Every system call the dialogs make, each one replaceable. SystemDialogCalls() gives the real
// ones; tests start from an empty set and fill in only what they expect to be called, so an
// unexpected call fails instead of reaching the system.
struct DialogCalls {
    std::function<BOOL(OPENFILENAMEW&)> getOpenFileName;
    std::function<BOOL(OPENFILENAMEW&)> getSaveFileName;
    std::function<BOOL(HWND owner, const wchar_t* file, UINT command, ULONG_PTR data)> winHelp;
    std::function<BOOL(CHOOSECOLORW&)> chooseColor;
    std::function<BOOL(CHOOSEFONTW&)> chooseFont;
    std::function<BOOL(PRINTDLGW&)> printDialog;
    std::function<PIDLIST_ABSOLUTE(BROWSEINFOW&)> browseForFolder;
    std::function<BOOL(PCIDLIST_ABSOLUTE item, wchar_t* path)> pathFromIdList;  // path holds MAX_PATH
    std::function<void(PIDLIST_ABSOLUTE item)> freeIdList;
    // shell32 functions that exist only as numbered exports. SystemDialogCalls() looks each one up by
    // its number and leaves it empty when this system's shell32 lacks it; an operation that needs an
    // empty one reports kShellEntryPointMissing instead of calling it.
    std::function<int(HWND owner, const wchar_t* prompt, DWORD options)> restartDialog;  // #59
    std::function<void(HWND owner)> exitWindowsDialog;                                   // #60
    std::function<void(HWND owner, HICON icon, const wchar_t* workingFolder, const wchar_t* title,
                       const wchar_t* prompt, UINT options)>
        runFileDialog;                                                                                // #61
    std::function<int(HWND owner, wchar_t* iconFile, UINT capacity, int* iconIndex)> pickIconDialog;  // #62
    std::function<PIDLIST_ABSOLUTE(const wchar_t* path)> idListFromPath;                              // #162
    std::function<BOOL(HWND owner, DWORD kind, const wchar_t* object, const wchar_t* page)>
        objectProperties;  // #178
    std::function<UINT(const wchar_t* file, int index, HICON* large, HICON* small, UINT count)> extractIcons;
    std::function<HICON(HICON icon)> copyIcon;
    std::function<BOOL(HICON icon)> destroyIcon;
    std::function<DWORD(HWND owner, UINT drive, UINT capacity, UINT options)> formatDrive;
    std::function<int(HWND owner, const wchar_t* appName, const wchar_t* otherText, HICON icon)> shellAbout;
    // Starts a command line in a window shown with `show`; 0 on success, else the system's error code.
    std::function<DWORD(const std::wstring& commandLine, int show)> runCommandLine;
};

const DialogCalls& SystemDialogCalls();

// The printer the print dialog starts on and leaves chosen; an empty device name is the system's
// default printer. Orientation, duplex and copies of 0 leave the printer's own setting.
struct PrinterSettings {
    std::wstring deviceName;
    short orientation = 0;  // DMORIENT_PORTRAIT or DMORIENT_LANDSCAPE
    short duplex = 0;       // DMDUP_SIMPLEX, DMDUP_VERTICAL or DMDUP_HORIZONTAL
    short copies = 0;
};

// Texts joined by single NUL characters: the raw form of a file dialog's filter list, whose entries
// are description and pattern in turn (NulSeparated({L"hl.exe", L"hl.exe"})).
std::wstring NulSeparated(std::initializer_list<std::wstring_view> parts);

// A caller sets the properties a dialog needs, calls its Show operation and reads the results back
// from the same properties. Properties are stored as given; only the operations look at them.
class CommonDialog {
  public:
    explicit CommonDialog(const DialogCalls& calls = SystemDialogCalls()) : calls_(calls) {}

    // When true, cancelling a file, colour, font or print dialog returns kDialogCancelled.
    bool cancelError = false;
    HWND owner = nullptr;
    // Option bits; each operation passes only its own part of them.
    DWORD flags = 0;
    std::wstring dialogTitle;   // file dialogs and the run dialog
    std::wstring dialogPrompt;  // restart, run, folder and about dialogs
    std::wstring appName;       // about dialog
    HICON icon = nullptr;       // run and about dialogs; out: the icon ShowIcon picked
    bool bold = false;
    std::wstring fontName;
    long fontSize = 0;  // points
    bool italic = false;
    bool strikeOut = false;
    bool underline = false;
    std::wstring defaultExt;
    std::wstring fileName;   // in: starting name (and ShowIcon's file); out: the chosen path
    std::wstring fileTitle;  // out: the chosen file's name without its folder
    std::wstring filter;     // raw filter list: entries separated by single NULs, "|" is not special
    long filterIndex = 0;    // 1-based
    std::wstring initDir;    // file dialogs' starting folder; out: the folder ShowFolder chose
    UINT helpCommand = 0;
    std::wstring helpFile;
    ULONG_PTR helpKey = 0;  // the help engine's data
    COLORREF color = 0;     // colour and font dialogs, in and out
    PrinterSettings printer;

    // File dialogs; the chosen file lands in fileName and fileTitle.
    std::optional<DialogError> ShowOpen();
    std::optional<DialogError> ShowSave();

    // Calls the help engine with helpFile, helpCommand and helpKey as its data.
    void ShowHelp();
    std::optional<DialogError> ShowColor();
    std::optional<DialogError> ShowFont();
    std::optional<DialogError> ShowPrinter();

    // Folder browser rooted at topFolder (empty: the whole shell namespace); the choice lands in initDir.
    std::optional<DialogError> ShowFolder(const std::wstring& topFolder = L"");
    // Icon picker over the icons of fileName; a copy of the chosen one in either size lands in icon.
    std::optional<DialogError> ShowIcon(bool largeIcon);
    std::optional<DialogError> ShowRun();
    std::optional<DialogError> ShowShutDown();
    std::optional<DialogError> ShowRestart();
    // SHFormatDrive's own result (SHFMT_ERROR, SHFMT_CANCEL, SHFMT_NOFORMAT or a format id).
    long ShowFormat(UINT drive = 0, UINT capacity = 0, UINT formatType = 0);
    // The properties sheet of an object; which object is chosen by the bits 0xF00 of flags.
    std::optional<DialogError> ShowObjectProp(const std::wstring& objectName, const std::wstring& tab);
    // The system's about box; an empty appName first becomes a single NUL character.
    void ShowAbout();

  private:
    std::optional<DialogError> ShowFileDialog(const wchar_t* source,
                                              const std::function<BOOL(OPENFILENAMEW&)>& call);
    std::optional<DialogError> Cancelled(const wchar_t* source) const;

    DialogCalls calls_;
};

}  // namespace vorelix::platform
