// The open and save file dialogs of CommonDialog, and the shared cancel rule.
#include <string>

#include "platform/dialogs/CommonDialog.h"
#include "platform/dialogs/CommonDialogBuffers.h"
#include "platform/PathNames.h"

namespace vorelix::platform {

namespace {

using dialog_detail::PaddedBuffer;
using dialog_detail::UpToFirstNul;

// Both file buffers hold this many characters.
constexpr std::size_t kFileBufferSize = 255;
// The class supplies no hook procedure and no dialog template, so their bits never reach the dialog:
// OFN_ENABLEHOOK, OFN_ENABLETEMPLATE, OFN_ENABLETEMPLATEHANDLE.
constexpr DWORD kHookAndTemplateBits = 0x20 | 0x40 | 0x80;

// The folder of the running executable, where a file dialog starts when no folder is given.
std::wstring ProgramFolder() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(length < path.size() ? length : 0);
    return GetParentFolder(path).value_or(L"");
}

}  // namespace

std::wstring NulSeparated(std::initializer_list<std::wstring_view> parts) {
    std::wstring joined;
    bool first = true;
    for (const std::wstring_view part : parts) {
        if (!first) joined.push_back(L'\0');
        joined.append(part);
        first = false;
    }
    return joined;
}

std::optional<DialogError> CommonDialog::ShowOpen() {
    return ShowFileDialog(L"ShowOpen", calls_.getOpenFileName);
}

std::optional<DialogError> CommonDialog::ShowSave() {
    return ShowFileDialog(L"ShowSave", calls_.getSaveFileName);
}

std::optional<DialogError> CommonDialog::Cancelled(const wchar_t* source) const {
    if (!cancelError) return std::nullopt;
    return DialogError{kDialogCancelled, dialog_detail::SourceOf(source), L"", 0};
}

std::optional<DialogError> CommonDialog::ShowFileDialog(const wchar_t* source,
                                                        const std::function<BOOL(OPENFILENAMEW&)>& call) {
    auto fileBuffer = PaddedBuffer(fileName, kFileBufferSize);
    if (!fileBuffer) return dialog_detail::InvalidArgument(source);
    auto titleBuffer = *PaddedBuffer(L"", kFileBufferSize);

    // The list ends with an empty entry: two NULs after the caller's text (c_str adds a third).
    std::wstring filterList = filter;
    filterList.append(2, L'\0');
    const std::wstring startFolder = initDir.empty() ? ProgramFolder() : initDir;

    // The whole current record: its size makes the system show its current dialog, which the record
    // of the old size (without the reserved fields and FlagsEx) would not.
    OPENFILENAMEW record{};
    record.lStructSize = sizeof(OPENFILENAMEW);
    record.hwndOwner = owner;
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = filterList.c_str();
    record.nFilterIndex = static_cast<DWORD>(filterIndex);
    record.lpstrFile = fileBuffer->data();
    record.nMaxFile = kFileBufferSize;
    record.lpstrFileTitle = titleBuffer.data();
    record.nMaxFileTitle = kFileBufferSize;
    record.lpstrInitialDir = startFolder.c_str();
    // An empty title or extension is passed as none: the system's own title, no extension added.
    record.lpstrTitle = dialogTitle.empty() ? nullptr : dialogTitle.c_str();
    record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    record.Flags = flags & ~kHookAndTemplateBits;

    if (call(record) <= 0) return Cancelled(source);
    if (auto title = UpToFirstNul(titleBuffer.data(), kFileBufferSize)) fileTitle = *title;
    if (auto path = UpToFirstNul(fileBuffer->data(), kFileBufferSize)) fileName = *path;
    return std::nullopt;
}

}  // namespace vorelix::platform
