// File operations of the demo list: copying a dropped file in, renaming and deleting demos.
#pragma once

#include <string>

#include "demo/Result.h"

namespace vorelix::platform {

// Copies `source` into `folder` under its own name. Refuses (with a clear text) to copy a file onto
// itself, which would destroy it. Another file of that name is replaced only with `replaceExisting`;
// otherwise the copy fails with the code ERROR_FILE_EXISTS and nothing is written.
Status CopyFileIntoFolder(const std::wstring& source, const std::wstring& folder, bool replaceExisting);

// Deletes a file outright (not to the recycle bin).
Status DeleteFileAt(const std::wstring& path);

// Renames a file; never replaces an existing one.
Status RenameFileTo(const std::wstring& from, const std::wstring& to);

}  // namespace vorelix::platform
