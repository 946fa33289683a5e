// StatsMe inscriptions: finding them in a whole demo and the plan that blanks their texts.
#pragma once

#include <cstdint>
#include <string_view>

#include "demo/edit/ByteSearch.h"
#include "demo/edit/WritePlan.h"

namespace vorelix::demo {

inline constexpr std::string_view kStatsMeMarker = "\x17\x1D\x01";

struct StatsMePlan {
    bool found = false;  // a marker with format byte 0x00 or 0x99 was met
    std::size_t inscriptions = 0;
    WritePlan plan;
};

// The blanks for one NUL-terminated text from 0-based `start` of `copy`: every byte up to the NUL
// but line feeds becomes 0x20, appended to `plan`. Returns the NUL's offset, or kNotFound (nothing
// added) when the copy holds no NUL from `start` on.
std::size_t PlanFillWithSpaces(ByteView copy, std::size_t start, WritePlan& plan);

// Finds every inscription of a whole file (first length - 1 bytes) and plans blanking its text.
// A file shorter than 1,000 bytes has none. The format byte is read from `file`: it may be the
// file's last byte, which the scanned copy leaves out.
StatsMePlan PlanStatsMeRemoval(ByteView file, ScanProgress* progress = nullptr);

}  // namespace vorelix::demo
