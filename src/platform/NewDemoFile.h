// A new demo file made of pieces of a source demo and new bytes (a repaired copy), and the file-level
// check and repair the command line and the windows call.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <span>

#include "demo/ByteSearch.h"
#include "demo/DemoBytes.h"
#include "demo/DemoCheck.h"
#include "demo/DemoRepair.h"
#include "demo/Result.h"

namespace vorelix::platform {

// Creates `target` and writes the pieces into it in order, copying ranges of `source` a chunk at a
// time. Never opens an existing file: a name that is taken is refused. When a write fails, the
// partial file is removed again.
Status WriteNewDemo(const std::filesystem::path& target, demo::DemoBytes& source,
                    std::span<const demo::DemoPiece> pieces);

// Hands the bytes of the pieces to `write` in order, in chunks of at most a megabyte, until it fails
// (a piece outside the source fails before anything is handed over).
using ChunkWriter = std::function<Status(const unsigned char* data, std::size_t size)>;
Status WritePieces(demo::DemoBytes& source, std::span<const demo::DemoPiece> pieces,
                   const ChunkWriter& write);

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
