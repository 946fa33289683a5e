// An edit of a demo as a list of same-length overwrites: the only way the program changes a demo.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "demo/Result.h"

namespace vorelix::demo {

struct Overwrite {
    Overwrite() = default;
    Overwrite(std::uint64_t at, std::string written, std::string read = {})
        : offset(at), bytes(std::move(written)), expected(std::move(read)) {}
    std::uint64_t offset = 0;  // 0-based file offset
    std::string bytes;
    // What the planner read there, as long as `bytes`: a demo that holds other bytes there when it
    // is written (another file put in its place at the same length and time) is refused. Empty
    // when the run checks nothing.
    std::string expected;
};

struct WritePlan {
    WritePlan() = default;
    WritePlan(std::uint64_t length, std::vector<Overwrite> overwrites,
              std::optional<std::int64_t> writeTime = {})
        : fileLength(length), runs(std::move(overwrites)), lastWriteTime(writeTime) {}

    std::uint64_t fileLength = 0;  // the length the demo had when it was scanned
    std::vector<Overwrite> runs;
    // The demo's last-write time when it was scanned, as the platform's file API reports it: a demo
    // written since (even at the same length) is refused. Without it only the length is compared.
    std::optional<std::int64_t> lastWriteTime;

    bool empty() const { return runs.empty(); }
    std::uint64_t BytesWritten() const;
};

// An edit of the entries an editor lists (nicks, chat lines): what it writes, the bytes each entry it
// changes shows afterwards, and the entries it leaves alone with the reason, each by its index.
struct EntryEdit {
    WritePlan plan;
    std::vector<std::pair<std::size_t, std::string>> shown;
    std::vector<std::pair<std::size_t, std::string>> leftOut;
};

// The runs sorted by offset, adjacent and overlapping ones merged (a later run wins where two
// overlap), empty ones dropped. A merged run checks its bytes only when each run in it does.
WritePlan Coalesced(const WritePlan& plan);

// Refuses a plan with a run that reaches past the scanned length: the file is never extended.
// Empty runs write nothing and are not checked.
Status CheckPlanFits(const WritePlan& plan);

}  // namespace vorelix::demo
