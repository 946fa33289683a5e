// Whole-file operations: writing a small file, reading the start of one, copying one with progress.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "demo/Result.h"

namespace vorelix::platform {

// Called between the chunks of a copy with the bytes copied so far and the file's size.
using CopyProgress = std::function<void(std::uint64_t copied, std::uint64_t total)>;

// Copies `source` onto `target`, replacing it, in chunks with `progress` after each. A target that
// another process holds open without sharing writes (a running game holds its demo so), or the source
// itself, fails at once and is left untouched; a copy that fails midway removes its unfinished target.
Status CopyFileReplacing(const std::wstring& source, const std::wstring& target,
                         const CopyProgress& progress);

// Creates or empties `path` and writes `bytes` into it.
Status WriteFileReplacing(const std::wstring& path, const std::string& bytes);

// The first `limit` bytes of a file, or all of a smaller one.
Result<std::string> ReadFileStart(const std::wstring& path, std::size_t limit);

}  // namespace vorelix::platform
