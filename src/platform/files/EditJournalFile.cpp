// The journal's file on both systems, through File.
#include "platform/files/EditJournalFile.h"

#include <system_error>

#include "demo/edit/EditJournal.h"

namespace vorelix::platform {

namespace {

// A journal holds each run twice; far larger ones are none of ours.
constexpr std::uint64_t kLargestJournal = std::uint64_t{1} << 31;

std::string NameOf(const std::filesystem::path& path) {
    const auto name = path.filename().u8string();
    return std::string(name.begin(), name.end());
}

Result<std::vector<std::string>> BytesAt(const File& file, const std::vector<demo::JournalRun>& runs) {
    std::vector<std::string> now;
    now.reserve(runs.size());
    for (const auto& run : runs) {
        std::string bytes(run.before.size(), '\0');
        if (auto read = file.ReadAt(run.offset, bytes); !read) return read.failure();
        now.push_back(std::move(bytes));
    }
    return now;
}

// Writes each run's bytes before back, flushes, and gives the demo its time before.
Status PutBack(File& demo, const demo::EditJournal& journal) {
    for (const auto& run : journal.runs) {
        if (auto wrote = demo.WriteAt(run.offset, run.before.data(), run.before.size()); !wrote) return wrote;
    }
    if (auto flushed = demo.Flush(); !flushed) return flushed;
    return demo.SetLastWriteTime(journal.lastWriteTime);
}

// Deletes the journal while this process still holds it, then lets go of it.
void RemoveJournal(const std::filesystem::path& path, File& journal) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    journal = File();
    FlushFolder(path.parent_path());
}

RecoveryOutcome LeftAlone(const std::filesystem::path& journal, const std::string& why) {
    return {Recovery::LeftAlone, "the journal of an interrupted edit (" + NameOf(journal) + ") " + why +
                                     "; it was left alone and the demo was not changed"};
}

}  // namespace

std::filesystem::path JournalPathFor(const std::filesystem::path& demo) {
    std::filesystem::path journal = demo;
    journal += std::string(".vorelix-journal");
    return journal;
}

Status WriteThroughJournal(const std::filesystem::path& path, File& demo, const demo::WritePlan& merged) {
    demo::EditJournal journal;
    journal.fileLength = merged.fileLength;
    auto time = demo.LastWriteTime();
    if (!time) return time.failure();
    journal.lastWriteTime = *time;
    for (const auto& run : merged.runs) {
        std::string before(run.bytes.size(), '\0');
        if (auto read = demo.ReadAt(run.offset, before); !read) return read;
        if (!run.expected.empty() && before != run.expected) {
            return Failure{"the demo has changed since it was read (the bytes at position " +
                               std::to_string(run.offset + 1) + " are not the ones read)",
                           0};
        }
        journal.runs.push_back({run.offset, std::move(before), run.bytes});
    }

    const auto journalPath = JournalPathFor(path);
    auto held = File::CreateHeld(journalPath);
    if (!held) {
        if (IsNameTaken(held.failure())) {
            return Failure{"the journal of another edit (" + NameOf(journalPath) + ") lies beside the demo", 0};
        }
        return held.failure();
    }
    const std::string record = demo::EncodeJournal(journal);
    Status written = held->WriteAt(0, record.data(), record.size());
    if (written) written = held->Flush();
    if (!written) {
        RemoveJournal(journalPath, *held);
        return written;
    }
    FlushFolder(path.parent_path());

    for (const auto& run : merged.runs) {
        written = demo.WriteAt(run.offset, run.bytes.data(), run.bytes.size());
        if (!written) break;
    }
    if (written) written = demo.Flush();
    if (!written) {
        // Nothing may stay half written: the bytes before go back at once, and the journal stays
        // for the next access if even that fails.
        if (PutBack(demo, journal)) RemoveJournal(journalPath, *held);
        return written;
    }
    RemoveJournal(journalPath, *held);
    return Ok();
}

RecoveryOutcome RecoverInterruptedEdit(const std::filesystem::path& path) {
    const auto journalPath = JournalPathFor(path);
    std::error_code error;
    if (!std::filesystem::exists(std::filesystem::symlink_status(journalPath, error))) return {};
    auto held = File::OpenHeld(journalPath);
    if (!held) {
        if (IsHeldElsewhere(held.failure())) return {};  // an edit is being written now
        return LeftAlone(journalPath, "could not be opened (" + held.failure().systemText + ")");
    }
    auto length = held->Length();
    if (!length) return LeftAlone(journalPath, "could not be read (" + length.failure().systemText + ")");
    if (*length > kLargestJournal) return LeftAlone(journalPath, "is too large to be a journal");
    std::string record(static_cast<std::size_t>(*length), '\0');
    if (auto read = held->ReadAt(0, record); !read)
        return LeftAlone(journalPath, "could not be read (" + read.failure().systemText + ")");
    const auto journal = demo::DecodeJournal(record);
    if (!journal) {
        // Written whole and flushed before the demo's first write: an unfinished one had none.
        RemoveJournal(journalPath, *held);
        return {Recovery::Discarded, "an edit that had not begun was cut off; its journal was removed"};
    }
    auto demo = File::OpenForWriting(path);
    if (!demo) return LeftAlone(journalPath, "could not be applied (" + demo.failure().systemText + ")");
    auto demoLength = demo->Length();
    if (!demoLength || *demoLength != journal->fileLength)
        return LeftAlone(journalPath, "does not match the demo (its length is not the same)");
    auto now = BytesAt(*demo, journal->runs);
    if (!now) return LeftAlone(journalPath, "could not be applied (" + now.failure().systemText + ")");
    if (!demo::JournalFitsDemo(*journal, *now))
        return LeftAlone(journalPath, "does not match the demo (it holds other bytes where the edit wrote)");
    if (auto restored = PutBack(*demo, *journal); !restored)
        return LeftAlone(journalPath, "could not be applied (" + restored.failure().systemText + ")");
    if (auto closed = demo->Close(); !closed)
        return LeftAlone(journalPath, "could not be applied (" + closed.failure().systemText + ")");
    RemoveJournal(journalPath, *held);
    return {Recovery::Undone, "an interrupted edit was undone"};
}

}  // namespace vorelix::platform
