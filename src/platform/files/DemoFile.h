// Demo files: the summary, plan writes with their backup copy, chunked reads, and checked and
// repaired copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "demo/DemoBytes.h"
#include "demo/DemoCheck.h"
#include "demo/DemoRepair.h"
#include "demo/DemoSummary.h"
#include "demo/Result.h"
#include "demo/edit/WritePlan.h"
#include "platform/files/File.h"

namespace vorelix::platform {

// What the information panel shows of a demo. Reads only the three header windows and the body
// window (positioned reads; never the whole file), and, when no HLTV marker is in the body window,
// the messages up to the start of playback (NoteRecording). A file that is not a demo, or that
// cannot be read, gives a failure: the panel then says "Incorrect format of the demo!".
Result<demo::DemoSummary> ReadDemoSummary(const std::filesystem::path& path);

// Whether a backup copy of the demo is made before a plan is written.
enum class Backup { No, Yes };

struct WriteOutcome {
    Status status = Ok();
    // The backup copy, when one was asked for and made; also when the write then failed.
    std::optional<std::filesystem::path> backup;
    // The demo's last-write time after the write, when it could be read: a plan made from the bytes
    // loaded before the write carries it. None when nothing was written.
    std::optional<std::int64_t> lastWriteTime;
};

// Applies a plan with positioned writes, adjacent runs merged, all or nothing through a journal
// (EditJournalFile.h); an empty plan touches nothing. An edit of this demo cut off earlier is undone
// first. The demo is opened for writing without being created, truncated or extended; a demo whose
// length, last-write time or bytes under the runs differ from what the plan read (it changed since
// it was scanned), or one marked read-only, is refused before anything is written, and the length is
// checked again afterwards.
// With a backup, a demo that would refuse the write (gone, read-only, held by a program that lets
// nobody write, as the game playing it does) is refused before the copy is made.
WriteOutcome ApplyWritePlan(const std::filesystem::path& path, const demo::WritePlan& plan,
                            Backup backup = Backup::No);

// The backup copy of a demo beside it, named after the local time of day ("<demo>.HH-MM-SS.bak",
// with "-2", "-3"... when taken). Returns the copy's path.
Result<std::filesystem::path> MakeBakCopy(const std::filesystem::path& demo);

// A demo file read a chunk at a time: the frame walk and repaired copies see it through a buffer of
// about a megabyte, never the whole file at once.
class ChunkedDemoFile final : public demo::DemoBytes {
  public:
    // Opens the demo for reading, sharing it with any other reader or writer.
    static Result<ChunkedDemoFile> Open(const std::filesystem::path& path);

    // The length the file had when it was opened.
    std::uint64_t Size() const override { return size_; }
    // Reads a new chunk from `offset` when the buffer does not hold the bytes asked for; a file that
    // has become shorter since it was opened gives a failure.
    Result<demo::ByteView> At(std::uint64_t offset, std::uint64_t want) override;

  private:
    ChunkedDemoFile(File file, std::uint64_t size) : file_(std::move(file)), size_(size) {}

    File file_;
    std::uint64_t size_ = 0;
    std::string buffer_;
    std::uint64_t start_ = 0;  // the file offset of the buffer's first byte
};

// Hands the bytes of the pieces to `write` in order, in chunks of at most a megabyte, until it fails
// (a piece outside the source fails before anything is handed over).
using ChunkWriter = std::function<Status(const unsigned char* data, std::size_t size)>;
Status WritePieces(demo::DemoBytes& source, std::span<const demo::DemoPiece> pieces,
                   const ChunkWriter& write);

// Writes the pieces in order into a new file `target`, copying ranges of `source` a chunk at a time,
// through a staged file: `target` appears whole or not at all. A name that is taken is refused,
// never replaced.
Status WriteNewDemo(const std::filesystem::path& target, demo::DemoBytes& source,
                    std::span<const demo::DemoPiece> pieces);

// The check of a demo file, read a chunk at a time.
Result<demo::DemoCheck> CheckDemoFile(const std::filesystem::path& demo);

struct RepairOutcome {
    demo::RepairAnswer answer;     // what the demo was, and what the copy keeps
    std::filesystem::path output;  // the repaired copy; empty when the demo is whole and nothing was written
};

// Repairs `demo` into a new file, `output` or else RepairedDemoPath(demo). The demo itself is only
// read. A whole demo is left alone and nothing is written; a demo that cannot be repaired, or an
// output that cannot be created (it exists, the folder is read-only), gives the reason.
Result<RepairOutcome> RepairDemoFile(const std::filesystem::path& demo,
                                     const std::filesystem::path& output = {});

}  // namespace vorelix::platform
