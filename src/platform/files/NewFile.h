// New files that appear whole or not at all: each is written under a temporary name in its own
// folder, flushed, and only then given its name. A kill, a crash or a full disk leaves at most a
// temporary file, never a partial one under the final name; the next new file written in that
// folder removes the temporaries that no process holds any more.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "demo/Result.h"
#include "platform/files/File.h"

namespace vorelix::platform {

class StagedFile {
  public:
    // Creates the temporary file for `target` ("<name>.<process id>.vorelix-part" beside it).
    static Result<StagedFile> Create(const std::filesystem::path& target);

    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;
    // Removes the temporary file unless it was published.
    ~StagedFile();

    File& Output() { return file_; }
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

    // Flushes the file (the first time), gives it the name `name` and lets go of it. Without
    // `replace` a taken name is refused (IsNameTaken) and the file stays staged, so another name can
    // be tried.
    Status Publish(const std::filesystem::path& name, bool replace);

  private:
    StagedFile(std::filesystem::path temporary, File file);
    std::filesystem::path temporary_;
    File file_;
    bool flushed_ = false;
};

// Whether a name is one of the temporary names above.
bool IsStagingName(const std::filesystem::path& name);

// Removes the temporary files in `folder` that no process holds.
void RemoveStagingLeftovers(const std::filesystem::path& folder);

// Called after each chunk of a copy with the bytes copied so far and the file's size; returning
// false stops the copy.
using CopyProgress = std::function<bool(std::uint64_t copied, std::uint64_t total)>;
// The code of the failure of a copy its progress routine stopped.
inline constexpr int kCopyStopped = -1;

// Copies `from` into a new staged file for `to`, keeping the source's last-write time (and permission
// bits on POSIX); the caller publishes it.
Result<StagedFile> StageCopy(const std::filesystem::path& from, const std::filesystem::path& to,
                             const CopyProgress& progress = nullptr);

// Copies `from` to `to` through a staged file, keeping the source's last-write time (and permission
// bits on POSIX). Without `replace` an existing `to` is never replaced.
Status CopyToNewFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace,
                     const CopyProgress& progress = nullptr);

// Writes `bytes` as the whole of `to` through a staged file.
Status WriteNewFile(const std::filesystem::path& to, const std::string& bytes, bool replace);

}  // namespace vorelix::platform
