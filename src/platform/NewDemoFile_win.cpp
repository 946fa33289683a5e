// Writing a new demo on Windows: CreateFileW with CREATE_NEW, WriteFile, deleted when a write fails.
#include <windows.h>

#include "platform/NewDemoFile.h"

namespace vorelix::platform {

namespace {

// The system's words for the calling thread's last error, in UTF-8.
Failure LastWin32Failure() {
    const DWORD code = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string utf8 = "system error " + std::to_string(code);
    if (length > 0 && text != nullptr) {
        DWORD end = length;
        while (end > 0 && (text[end - 1] == L'\r' || text[end - 1] == L'\n' || text[end - 1] == L' ')) --end;
        const int bytes =
            WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(end), nullptr, 0, nullptr, nullptr);
        utf8.assign(static_cast<std::size_t>(bytes), '\0');
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(end), utf8.data(), bytes, nullptr, nullptr);
    }
    if (text != nullptr) LocalFree(text);
    return Failure{utf8, static_cast<int>(code)};
}

Status WriteAll(HANDLE file, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        DWORD wrote = 0;
        if (!WriteFile(file, data, static_cast<DWORD>(size), &wrote, nullptr)) return LastWin32Failure();
        if (wrote == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return LastWin32Failure();
        }
        data += wrote;
        size -= wrote;
    }
    return Ok();
}

}  // namespace

Status WriteNewDemo(const std::filesystem::path& target, demo::DemoBytes& source,
                    std::span<const demo::DemoPiece> pieces) {
    if (auto fits = demo::CheckPiecesFit(pieces, source.Size()); !fits) return fits;
    // CREATE_NEW fails on any existing file, the source demo included; nobody shares the new file
    // until it is complete.
    HANDLE file =
        CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return LastWin32Failure();
    Status written = WritePieces(source, pieces, [file](const unsigned char* data, std::size_t size) {
        return WriteAll(file, data, size);
    });
    if (!CloseHandle(file) && written) written = LastWin32Failure();
    if (!written) DeleteFileW(target.c_str());
    return written;
}

}  // namespace vorelix::platform
