// Repairing a demo whose directory is missing or damaged: a plan of the new demo's pieces.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "demo/edit/ByteSearch.h"
#include "demo/DemoCheck.h"
#include "demo/Result.h"

namespace vorelix::demo {

// One piece of a new demo: when `bytes` is empty, bytes [copyFrom, copyTo) of the source demo;
// otherwise these new bytes. The pieces of a plan follow each other in the new file.
struct DemoPiece {
    std::uint64_t copyFrom = 0;
    std::uint64_t copyTo = 0;
    std::string bytes;

    std::uint64_t Size() const { return bytes.empty() ? copyTo - copyFrom : bytes.size(); }
};

struct RepairPlan {
    std::vector<DemoPiece> pieces;
    std::uint64_t length = 0;        // of the repaired demo
    double duration = 0;             // seconds of playback it keeps
    std::uint64_t frames = 0;        // net-message frames of playback it keeps
    std::uint64_t droppedBytes = 0;  // bytes of the source after its last whole frame, left out
    bool closingFrameAdded = false;
};

struct RepairAnswer {
    DemoCheck check;                 // what the source is
    std::optional<RepairPlan> plan;  // absent when the source is whole: it is left alone

    bool Whole() const { return !plan; }
};

// Plans the repaired copy of a demo whose directory is missing or damaged: the header with the new
// directory's offset, every whole frame from the header up to where the demo breaks (or up to the
// playback's closing frame), a closing next-section frame when that is missing (with the time and
// frame number of the last whole frame), and a directory of a "LOADING" and a "Playback" entry
// written the way the game writes it. Fails, saying why, for a file that is not a protocol-5 demo,
// one that breaks before a net message of playback is whole, and one whose repair would not fit the
// 2 GB the directory's offsets can reach.
Result<RepairAnswer> PlanRepair(DemoBytes& demo);
Result<RepairAnswer> PlanRepair(ByteView demo);

// The pieces of a plan checked against the source: every copied range lies inside it.
Status CheckPiecesFit(std::span<const DemoPiece> pieces, std::uint64_t sourceLength);

// The new demo in memory (for small demos and tests; files are written piece by piece). The pieces
// have been checked with CheckPiecesFit.
std::string AssembleDemo(ByteView source, std::span<const DemoPiece> pieces);

// "<name>.repaired.dem" beside the demo: where a repaired copy goes unless told otherwise.
std::filesystem::path RepairedDemoPath(const std::filesystem::path& demo);

}  // namespace vorelix::demo
