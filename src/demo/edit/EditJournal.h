// The journal of an in-place edit: the bytes every run held before and will hold after, and the
// demo's length and last-write time before. It is written whole and flushed before the demo's first
// byte changes, and removed once the edit is flushed, so a demo found beside a journal was cut off
// midway and can be put back as it was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorelix::demo {

struct JournalRun {
    std::uint64_t offset = 0;
    std::string before;
    std::string after;  // as long as `before`
};

struct EditJournal {
    std::uint64_t fileLength = 0;
    std::int64_t lastWriteTime = 0;
    std::vector<JournalRun> runs;
};

std::string EncodeJournal(const EditJournal& journal);

// Nothing when the bytes are not a whole journal (cut short or damaged): a journal that was never
// finished was never followed by a write.
std::optional<EditJournal> DecodeJournal(std::string_view bytes);

// Whether each run's bytes now (`now[i]` for `runs[i]`) hold, byte by byte, what the run held
// before or what it was to hold after: a run the kill cut holds some of each. Anything else means
// the journal belongs to another state of the file, and undoing it would damage the demo.
bool JournalFitsDemo(const EditJournal& journal, const std::vector<std::string>& now);

}  // namespace vorelix::demo
