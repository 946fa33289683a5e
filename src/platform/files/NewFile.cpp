// Staged new files on both systems, through File.
#include "platform/files/NewFile.h"

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace vorelix::platform {

namespace {

constexpr std::string_view kStagingSuffix = ".vorelix-part";

void RemoveQuietly(const std::filesystem::path& path) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

}  // namespace

StagedFile::StagedFile(std::filesystem::path temporary, File file)
    : temporary_(std::move(temporary)), file_(std::move(file)) {}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : temporary_(std::exchange(other.temporary_, {})), file_(std::move(other.file_)), flushed_(other.flushed_) {}

StagedFile::~StagedFile() {
    if (temporary_.empty()) return;
    // Removed while still held, so no other process's sweep can take it for a leftover meanwhile.
    RemoveQuietly(temporary_);
}

Result<StagedFile> StagedFile::Create(const std::filesystem::path& target) {
    RemoveStagingLeftovers(target.parent_path());
    std::filesystem::path temporary = target;
    temporary += std::string(".");
    temporary += std::to_string(CurrentProcessId());
    temporary += std::string(kStagingSuffix);
    // Held while it is written: a sweep in another process leaves it alone.
    auto file = File::CreateHeld(temporary);
    if (!file) return file.failure();
    return StagedFile(std::move(temporary), std::move(*file));
}

Status StagedFile::Publish(const std::filesystem::path& name, bool replace) {
    if (!flushed_) {
        if (auto flushed = file_.Flush(); !flushed) return flushed;
        flushed_ = true;
    }
    // Renamed while still held, then let go.
    if (auto renamed = RenameFile(temporary_, name, replace); !renamed) return renamed;
    temporary_.clear();
    file_ = File();
    FlushFolder(name.parent_path());
    return Ok();
}

bool IsStagingName(const std::filesystem::path& name) {
    const std::filesystem::path file = name.filename();
    const std::filesystem::path::string_type suffix(kStagingSuffix.begin(), kStagingSuffix.end());
    return file.native().ends_with(suffix);
}

// A temporary that can be held is nobody's: its writer has ended (a kill, a crash, a power loss).
void RemoveStagingLeftovers(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        if (!IsStagingName(entries->path())) continue;
        if (auto held = File::OpenHeld(entries->path())) RemoveQuietly(entries->path());
    }
}

Result<StagedFile> StageCopy(const std::filesystem::path& from, const std::filesystem::path& to,
                             const CopyProgress& progress) {
    auto source = File::OpenForReading(from);
    if (!source) return source.failure();
    auto length = source->Length();
    if (!length) return length.failure();
    auto written = source->LastWriteTime();
    if (!written) return written.failure();
    auto staged = StagedFile::Create(to);
    if (!staged) return staged.failure();
    File& target = staged->Output();
    std::string buffer;
    for (std::uint64_t at = 0; at < *length;) {
        buffer.resize(static_cast<std::size_t>(std::min<std::uint64_t>(1 << 20, *length - at)));
        if (auto read = source->ReadAt(at, buffer); !read) return read.failure();
        if (auto wrote = target.WriteAt(at, buffer.data(), buffer.size()); !wrote) return wrote.failure();
        at += buffer.size();
        if (progress && !progress(at, *length)) return Failure{"the copy was stopped", kCopyStopped};
    }
    if (auto kept = KeepModeOf(*source, target); !kept) return kept.failure();
    if (auto kept = target.SetLastWriteTime(*written); !kept) return kept.failure();
    return staged;
}

Status CopyToNewFile(const std::filesystem::path& from, const std::filesystem::path& to, bool replace,
                     const CopyProgress& progress) {
    auto staged = StageCopy(from, to, progress);
    if (!staged) return staged.failure();
    return staged->Publish(to, replace);
}

Status WriteNewFile(const std::filesystem::path& to, const std::string& bytes, bool replace) {
    auto staged = StagedFile::Create(to);
    if (!staged) return staged.failure();
    if (auto wrote = staged->Output().WriteAt(0, bytes.data(), bytes.size()); !wrote) return wrote;
    return staged->Publish(to, replace);
}

}  // namespace vorelix::platform
