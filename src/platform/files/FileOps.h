// File operations of the windows (Win32): the demo list's copy, rename and delete, small files
// written and read whole, and the copy that reports its progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "demo/Result.h"
#include "platform/files/NewFile.h"

namespace vorelix::platform {

// Copies `source` into `folder` under its own name. Refuses (with a clear text) to copy a file onto
// itself, which would destroy it. Another file of that name is replaced only with `replaceExisting`;
// otherwise the copy fails with the code ERROR_FILE_EXISTS and nothing is written. The copy appears
// whole or not at all (NewFile.h).
Status CopyFileIntoFolder(const std::wstring& source, const std::wstring& folder, bool replaceExisting);

// Deletes a file outright (not to the recycle bin).
Status DeleteFileAt(const std::wstring& path);

// Renames a file; never replaces an existing one.
Status RenameFileTo(const std::wstring& from, const std::wstring& to);


// Copies `source` onto `target`, replacing it, in chunks with `progress` after each (which may stop
// it). A target that another process holds open without sharing writes (a running game holds its
// demo so), or the source itself, fails at once and is left untouched; `target` is replaced only by
// the whole copy.
Status CopyFileReplacing(const std::wstring& source, const std::wstring& target,
                         const CopyProgress& progress);

// Writes `bytes` as the whole of `path`, replacing it only once they are all written.
Status WriteFileReplacing(const std::wstring& path, const std::string& bytes);

// The first `limit` bytes of a file, or all of a smaller one.
Result<std::string> ReadFileStart(const std::wstring& path, std::size_t limit);

}  // namespace vorelix::platform
