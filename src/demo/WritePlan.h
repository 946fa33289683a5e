// An edit of a demo as a list of same-length overwrites: the only way the program changes a demo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "demo/Result.h"

namespace vorelix::demo {

struct Overwrite {
    std::uint64_t offset = 0;  // 0-based file offset
    std::string bytes;
};

struct WritePlan {
    std::uint64_t fileLength = 0;  // the length the demo had when it was scanned
    std::vector<Overwrite> runs;

    bool empty() const { return runs.empty(); }
    std::uint64_t BytesWritten() const;
};

// The runs sorted by offset, adjacent and overlapping ones merged (a later run wins where two
// overlap), empty ones dropped.
WritePlan Coalesced(const WritePlan& plan);

// Refuses a plan with a run that reaches past the scanned length: the file is never extended.
// Empty runs write nothing and are not checked.
Status CheckPlanFits(const WritePlan& plan);

}  // namespace vorelix::demo
