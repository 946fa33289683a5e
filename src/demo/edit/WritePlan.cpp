// Merging and checking write plans.
#include "demo/edit/WritePlan.h"

#include <algorithm>

namespace vorelix::demo {

std::uint64_t WritePlan::BytesWritten() const {
    std::uint64_t total = 0;
    for (const auto& run : runs) total += run.bytes.size();
    return total;
}

WritePlan Coalesced(const WritePlan& plan) {
    std::vector<const Overwrite*> sorted;
    for (const auto& run : plan.runs) {
        if (!run.bytes.empty()) sorted.push_back(&run);
    }
    std::sort(sorted.begin(), sorted.end(),
              [](const Overwrite* a, const Overwrite* b) { return a->offset < b->offset; });
    // First the ranges the merged runs cover, then every run copied in in the order it was given,
    // so that a later run wins where two overlap.
    WritePlan merged{plan.fileLength, {}, plan.lastWriteTime};
    std::vector<bool> checked;
    for (const Overwrite* run : sorted) {
        const std::uint64_t end = run->offset + run->bytes.size();
        const bool checks = run->expected.size() == run->bytes.size();
        if (!merged.runs.empty()) {
            Overwrite& last = merged.runs.back();
            if (run->offset <= last.offset + last.bytes.size()) {
                if (end > last.offset + last.bytes.size()) last.bytes.resize(end - last.offset);
                checked.back() = checked.back() && checks;
                continue;
            }
        }
        merged.runs.push_back(Overwrite{run->offset, std::string(run->bytes.size(), '\0'), {}});
        checked.push_back(checks);
    }
    for (std::size_t i = 0; i < merged.runs.size(); ++i) {
        if (checked[i]) merged.runs[i].expected.assign(merged.runs[i].bytes.size(), '\0');
    }
    for (const auto& run : plan.runs) {
        if (run.bytes.empty()) continue;
        auto target =
            std::upper_bound(merged.runs.begin(), merged.runs.end(), run.offset,
                             [](std::uint64_t offset, const Overwrite& m) { return offset < m.offset; });
        --target;
        target->bytes.replace(run.offset - target->offset, run.bytes.size(), run.bytes);
        if (!target->expected.empty())
            target->expected.replace(run.offset - target->offset, run.expected.size(), run.expected);
    }
    return merged;
}

Status CheckPlanFits(const WritePlan& plan) {
    for (const auto& run : plan.runs) {
        if (run.bytes.empty()) continue;  // writes nothing, wherever it points
        if (run.offset > plan.fileLength || run.bytes.size() > plan.fileLength - run.offset) {
            return Failure{"a write would reach past the end of the demo", 0};
        }
    }
    return Ok();
}

}  // namespace vorelix::demo
