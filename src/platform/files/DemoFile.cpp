// Demo files on both systems, through File: the summary, plan writes and the backup copy, chunked
// reads, and checked and repaired copies.
#include "platform/files/DemoFile.h"

#include <algorithm>
#include <ctime>
#include <system_error>

#include "demo/DemoHeader.h"
#include "demo/edit/BackupName.h"
#include "platform/files/EditJournalFile.h"
#include "platform/files/NewFile.h"

namespace vorelix::platform {

Result<MappedDemo> MappedDemo::Open(const std::filesystem::path& path) {
    auto file = File::OpenForReading(path);
    if (!file) return file.failure();
    auto length = file->Length();
    if (!length) return length.failure();
    auto written = file->LastWriteTime();
    if (!written) return written.failure();
    MappedDemo demo;
    demo.lastWriteTime_ = *written;
    // An empty file has no mapping (Windows cannot make one of it): its view is empty.
    if (*length > 0) {
        if (auto mapped = demo.Map(std::move(*file), *length); !mapped) return mapped.failure();
    }
    return demo;
}

namespace {

// A megabyte keeps the buffer in the processor's caches while the walk moves through it.
constexpr std::uint64_t kChunk = std::uint64_t{1} << 20;

// Refuses a plan for a demo that is not as it was scanned: another length, or (when the plan
// carries one) another last-write time.
Status CheckUnchangedSinceScan(const demo::WritePlan& plan, const File& file) {
    auto length = file.Length();
    if (!length) return length.failure();
    auto written = file.LastWriteTime();
    if (!written) return written.failure();
    if (*length != plan.fileLength) {
        return Failure{"the demo has changed since it was read (its length is not the same)", 0};
    }
    if (plan.lastWriteTime && *plan.lastWriteTime != *written) {
        return Failure{"the demo has changed since it was read (it was written to since)", 0};
    }
    return Ok();
}

Status WriteMergedPlan(const std::filesystem::path& path, const demo::WritePlan& plan) {
    const demo::WritePlan merged = demo::Coalesced(plan);
    if (auto fits = demo::CheckPlanFits(merged); !fits) return fits.failure();
    if (merged.runs.empty()) return Ok();
    auto file = File::OpenForWriting(path);
    if (!file) return file.failure();
    if (auto same = CheckUnchangedSinceScan(merged, *file); !same) return same.failure();
    if (auto written = WriteThroughJournal(path, *file, merged); !written) return written;
    auto after = file->Length();
    if (!after) return after.failure();
    if (*after != merged.fileLength) return Failure{"the demo's length changed while it was written", 0};
    return file->Close();
}

// Opens the demo as a write does and lets go: a write that could not happen is refused before a
// backup copy is made for it.
Status CheckWritable(const std::filesystem::path& path) {
    auto file = File::OpenForWriting(path);
    if (!file) return file.failure();
    return file->Close();
}

bool LocalTime(std::time_t when, std::tm& out) {
#ifdef _WIN32
    return localtime_s(&out, &when) == 0;
#else
    return ::localtime_r(&when, &out) != nullptr;
#endif
}

}  // namespace

Result<demo::DemoSummary> ReadDemoSummary(const std::filesystem::path& path) {
    auto file = File::OpenForReading(path);
    if (!file) return file.failure();
    auto length = file->Length();
    if (!length) return length.failure();
    const auto bodyLength = demo::BodyWindowLength(*length);
    if (!bodyLength) return Failure{};
    std::string head(demo::kBodyOffset, '\0');
    if (auto read = file->ReadAt(0, head); !read) return read.failure();
    std::string body(static_cast<std::size_t>(*bodyLength), '\0');
    if (auto read = file->ReadAt(demo::kBodyOffset, body); !read) return read.failure();
    auto summary = demo::Summarize(demo::AsBytes(head), demo::AsBytes(body), *length);
    if (!summary || summary->hltv) return summary;
    // Only the loading segment's messages are read: a demo that cannot be read that far keeps what
    // its windows say.
    if (auto messages = ChunkedDemoFile::Open(path)) {
        if (auto read = demo::net::ReadRecording(*messages)) demo::NoteRecording(*summary, *read);
    }
    return summary;
}

WriteOutcome ApplyWritePlan(const std::filesystem::path& path, const demo::WritePlan& plan, Backup backup) {
    if (plan.empty()) return {Ok(), {}, {}};
    // An edit cut off earlier is undone first; one whose journal does not fit stops this one.
    if (auto recovered = RecoverInterruptedEdit(path); recovered.kind == Recovery::LeftAlone)
        return {Failure{recovered.text, 0}, {}, {}};
    std::optional<std::filesystem::path> copy;
    if (backup == Backup::Yes) {
        if (auto writable = CheckWritable(path); !writable) return {writable, {}, {}};
        auto made = MakeBakCopy(path);
        if (!made) return {made.failure(), {}, {}};
        copy = std::move(*made);
    }
    Status written = WriteMergedPlan(path, plan);
    std::optional<std::int64_t> writeTime;
    if (auto file = written ? File::OpenForReading(path) : Result<File>(Failure{})) {
        if (auto time = file->LastWriteTime()) writeTime = *time;
    }
    return {std::move(written), std::move(copy), writeTime};
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
    // The copy is made once; another program may take a free name before the copy gets it, so the
    // next free name is tried then. Any other failure (a full disk) is the system's own.
    auto staged = StageCopy(demo, demo::BackupPathFor(demo, time, exists));
    if (!staged) return staged.failure();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto target = demo::BackupPathFor(demo, time, exists);
        auto published = staged->Publish(target, false);
        if (published) return target;
        if (!IsNameTaken(published.failure())) return published.failure();
    }
    return Failure{"no free name for the backup copy", 0};
}

Result<ChunkedDemoFile> ChunkedDemoFile::Open(const std::filesystem::path& path) {
    auto file = File::OpenForReading(path);
    if (!file) return file.failure();
    auto size = file->Length();
    if (!size) return size.failure();
    return ChunkedDemoFile(std::move(*file), *size);
}

Result<demo::ByteView> ChunkedDemoFile::At(std::uint64_t offset, std::uint64_t want) {
    if (offset > size_ || want > size_ - offset)
        return Failure{"a read past the end of the demo was asked for", 0};
    if (offset < start_ || offset + want > start_ + buffer_.size()) {
        buffer_.resize(static_cast<std::size_t>(std::min(size_ - offset, std::max(want, kChunk))));
        start_ = offset;
        if (auto read = file_.ReadAt(offset, buffer_); !read) {
            buffer_.clear();
            return read.failure();
        }
    }
    return demo::AsBytes(buffer_).subspan(static_cast<std::size_t>(offset - start_));
}

Status WritePieces(demo::DemoBytes& source, std::span<const demo::DemoPiece> pieces,
                   const ChunkWriter& write) {
    if (auto fits = demo::CheckPiecesFit(pieces, source.Size()); !fits) return fits;
    for (const auto& piece : pieces) {
        if (!piece.bytes.empty()) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(piece.bytes.data());
            if (auto wrote = write(bytes, piece.bytes.size()); !wrote) return wrote;
            continue;
        }
        for (std::uint64_t at = piece.copyFrom; at < piece.copyTo;) {
            const std::uint64_t part = std::min(kChunk, piece.copyTo - at);
            auto bytes = source.At(at, part);
            if (!bytes) return bytes.failure();
            if (auto wrote = write(bytes->data(), static_cast<std::size_t>(part)); !wrote) return wrote;
            at += part;
        }
    }
    return Ok();
}

Status WriteNewDemo(const std::filesystem::path& target, demo::DemoBytes& source,
                    std::span<const demo::DemoPiece> pieces) {
    if (auto fits = demo::CheckPiecesFit(pieces, source.Size()); !fits) return fits;
    // Refused before the copy is written; the name is still never replaced if it is taken meanwhile.
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, ignored))) return NameTakenFailure();
    auto staged = StagedFile::Create(target);
    if (!staged) return staged.failure();
    std::uint64_t end = 0;
    Status written = WritePieces(source, pieces, [&](const unsigned char* data, std::size_t size) {
        Status wrote = staged->Output().WriteAt(end, data, size);
        end += size;
        return wrote;
    });
    if (!written) return written;
    return staged->Publish(target, false);
}

Result<demo::DemoCheck> CheckDemoFile(const std::filesystem::path& demo) {
    auto file = ChunkedDemoFile::Open(demo);
    if (!file) return file.failure();
    return demo::CheckDemo(*file);
}

Result<RepairOutcome> RepairDemoFile(const std::filesystem::path& demo, const std::filesystem::path& output) {
    auto file = ChunkedDemoFile::Open(demo);
    if (!file) return file.failure();
    auto answer = demo::PlanRepair(*file);
    if (!answer) return answer.failure();
    RepairOutcome outcome{std::move(*answer), {}};
    if (outcome.answer.Whole()) return outcome;
    outcome.output = output.empty() ? demo::RepairedDemoPath(demo) : output;
    if (auto written = WriteNewDemo(outcome.output, *file, outcome.answer.plan->pieces); !written)
        return written.failure();
    return outcome;
}

}  // namespace vorelix::platform
