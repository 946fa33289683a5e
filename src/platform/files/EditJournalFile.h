// In-place edits that are all or nothing: the journal beside the demo ("<demo>.vorelix-journal")
// while an edit is written, and putting back a demo whose edit was cut off by a kill, a crash or a
// power loss.
#pragma once

#include <filesystem>
#include <string>

#include "demo/Result.h"
#include "demo/edit/WritePlan.h"
#include "platform/files/File.h"

namespace vorelix::platform {

std::filesystem::path JournalPathFor(const std::filesystem::path& demo);

// Writes the runs of a merged plan into `demo`, open for writing: the bytes there now are read and
// compared with what the plan read, the journal is written and flushed, then the runs, then the demo
// is flushed and the journal removed. A write that fails midway is undone at once.
Status WriteThroughJournal(const std::filesystem::path& path, File& demo, const demo::WritePlan& merged);

enum class Recovery {
    None,       // no journal, or one an edit running now holds
    Undone,     // the demo is back as it was before the cut-off edit
    Discarded,  // the journal was never finished, so the demo was never written: it was removed
    LeftAlone,  // the journal does not fit the demo (or could not be applied) and stays
};
struct RecoveryOutcome {
    Recovery kind = Recovery::None;
    std::string text;  // what the user is told, empty with None
};

// Looks for the journal of `demo` and, when an edit was cut off, puts the demo back as it was
// before it, byte for byte and with its last-write time. A journal that does not fit the demo is
// never applied.
RecoveryOutcome RecoverInterruptedEdit(const std::filesystem::path& demo);

}  // namespace vorelix::platform
