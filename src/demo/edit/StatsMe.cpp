// StatsMe inscription removal plans.
#include "demo/edit/StatsMe.h"

#include "demo/DemoHeader.h"
#include "demo/edit/NickScan.h"

namespace vorelix::demo {

std::size_t PlanFillWithSpaces(ByteView copy, std::size_t start, WritePlan& plan) {
    const std::size_t nul = FindByte(copy, start, 0);
    if (nul == kNotFound) return kNotFound;
    std::size_t runStart = start;
    for (std::size_t i = start; i <= nul; ++i) {
        if (i == nul || copy[i] == '\n') {
            if (i > runStart)
                plan.runs.push_back(Overwrite{runStart, std::string(i - runStart, ' '),
                                              std::string(AsText(copy.subspan(runStart, i - runStart)))});
            runStart = i + 1;
        }
    }
    return nul;
}

StatsMePlan PlanStatsMeRemoval(ByteView file, ScanProgress* progress) {
    StatsMePlan result;
    result.plan.fileLength = file.size();
    if (file.size() < kShortestScannedDemo) return result;
    const ByteView copy = ScanCopy(file);
    std::size_t search = 0;
    for (;;) {
        const std::size_t marker = FindPattern(copy, search, kStatsMeMarker, 1, progress);
        if (marker == kNotFound) break;
        const unsigned char format = file[marker + 3];
        if (format != 0x00 && format != 0x99) {
            search = marker + 10;
            continue;
        }
        result.found = true;
        ++result.inscriptions;
        const std::size_t nul = PlanFillWithSpaces(copy, marker + (format == 0x00 ? 22 : 24), result.plan);
        if (nul == kNotFound) break;
        search = nul;
    }
    return result;
}

}  // namespace vorelix::demo
