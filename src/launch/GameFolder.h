// The game folder: the folder of the chosen hl.exe when it holds both hw.dll and hl.exe.
#pragma once

#include <functional>
#include <string>

namespace vorelix::launch {

using FileExistsQuery = std::function<bool(const std::wstring&)>;

// True when both `path` + "\hw.dll" and `path` + "\hl.exe" exist (joined as they stand).
bool Is_HL_Folder(const std::wstring& path, const FileExistsQuery& exists);

// The text of `hlExePath` before its last "\" when that folder is a Half-Life folder, else "".
// Never ends with "\": for "C:\hl.exe" it is "C:".
std::wstring GetHLFolder(const std::wstring& hlExePath, const FileExistsQuery& exists);

// The mod folder the launch writes into: the game folder followed by "\cstrike".
std::wstring ModFolder(const std::wstring& gameFolder);

}  // namespace vorelix::launch
