// The platform-independent half of demo file access: moving a mapped view, the summary, plan writes
// and the backup copy.
#include <chrono>
#include <ctime>
#include <system_error>

#include "demo/BackupName.h"
#include "demo/DemoLayout.h"
#include "platform/DemoFile.h"
#include "platform/DemoFileIo.h"

namespace vorelix::platform {

MappedDemo::MappedDemo(MappedDemo&& other) noexcept
    : data_(other.data_),
      size_(other.size_),
      file_(other.file_),
      mapping_(other.mapping_),
      released_(other.released_),
      lastWriteTime_(other.lastWriteTime_) {
    other.data_ = nullptr;
    other.size_ = 0;
    other.file_ = -1;
    other.mapping_ = 0;
}

MappedDemo& MappedDemo::operator=(MappedDemo&& other) noexcept {
    if (this != &other) {
        Release();
        data_ = other.data_;
        size_ = other.size_;
        file_ = other.file_;
        mapping_ = other.mapping_;
        released_ = other.released_;
        lastWriteTime_ = other.lastWriteTime_;
        other.data_ = nullptr;
        other.size_ = 0;
        other.file_ = -1;
        other.mapping_ = 0;
    }
    return *this;
}

MappedDemo::~MappedDemo() {
    Release();
}

Result<demo::DemoSummary> ReadDemoSummary(const std::filesystem::path& path) {
    auto file = ReadOnlyFile::Open(path);
    if (!file) return file.failure();
    auto length = file->Length();
    if (!length) return length.failure();
    const auto bodyLength = demo::BodyWindowLength(*length);
    if (!bodyLength) return Failure{};
    std::string head(demo::kBodyOffset, '\0');
    if (auto read = file->ReadAt(0, head); !read) return read.failure();
    std::string body(static_cast<std::size_t>(*bodyLength), '\0');
    if (auto read = file->ReadAt(demo::kBodyOffset, body); !read) return read.failure();
    return demo::Summarize(demo::AsBytes(head), demo::AsBytes(body), *length);
}

Status CheckUnchangedSinceScan(const demo::WritePlan& plan, std::uint64_t length,
                               std::int64_t lastWriteTime) {
    if (length != plan.fileLength) {
        return Failure{"the demo has changed since it was read (its length is not the same)", 0};
    }
    if (plan.lastWriteTime && *plan.lastWriteTime != lastWriteTime) {
        return Failure{"the demo has changed since it was read (it was written to since)", 0};
    }
    return Ok();
}

Status CheckWritable(const std::filesystem::path& path) {
    auto file = DemoWriter::OpenExisting(path);
    if (!file) return file.failure();
    return file->Close();
}

Status ApplyWritePlan(const std::filesystem::path& path, const demo::WritePlan& plan) {
    const demo::WritePlan merged = demo::Coalesced(plan);
    if (auto fits = demo::CheckPlanFits(merged); !fits) return fits.failure();
    if (merged.runs.empty()) return Ok();
    auto file = DemoWriter::OpenExisting(path);
    if (!file) return file.failure();
    auto before = file->Length();
    if (!before) return before.failure();
    auto written = file->LastWriteTime();
    if (!written) return written.failure();
    if (auto same = CheckUnchangedSinceScan(merged, *before, *written); !same) return same.failure();
    for (const auto& run : merged.runs) {
        if (auto wrote = file->WriteAt(run.offset, run.bytes); !wrote) return wrote.failure();
    }
    auto after = file->Length();
    if (!after) return after.failure();
    if (*after != merged.fileLength) return Failure{"the demo's length changed while it was written", 0};
    return file->Close();
}

Result<std::filesystem::path> MakeBakCopy(const std::filesystem::path& demo) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!LocalTime(now, local)) return Failure{"the local time is not known", 0};
    const demo::TimeOfDay time{local.tm_hour, local.tm_min, local.tm_sec};
    const auto exists = [](const std::filesystem::path& candidate) {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(candidate, ec));
    };
    // Another program may take the name between the check and the copy: the copy itself refuses
    // to replace a file, so try the next name then.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto target = demo::BackupPathFor(demo, time, exists);
        auto copied = CopyFileNoReplace(demo, target);
        if (copied) return target;
        if (!exists(target)) return copied.failure();
    }
    return Failure{"no free name for the backup copy", 0};
}

Result<std::filesystem::path> MakeBakCopyBeforeWrite(const std::filesystem::path& demo) {
    if (auto writable = CheckWritable(demo); !writable) return writable.failure();
    return MakeBakCopy(demo);
}

}  // namespace vorelix::platform
