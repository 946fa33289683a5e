// Walking a demo's frames from its header and decoding the messages of every net-message frame.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "demo/DemoBytes.h"
#include "demo/Result.h"
#include "demo/net/MessageDecoder.h"

namespace vorelix::demo::net {

// The most bytes of messages one frame is read with; the game writes a few kilobytes at most, so a
// frame claiming more is damaged, and reading it whole would only cost memory.
inline constexpr std::uint64_t kMostMessageBytes = 1 << 20;

struct DecodeOutcome {
    std::int32_t networkProtocol = 0;
    // Empty when the messages were decoded; else why not: "not decoded (network protocol 35)".
    std::string notDecoded;
    std::uint64_t framesDecoded = 0;     // net-message frames decoded exactly to their end
    std::uint64_t framesNotDecoded = 0;  // net-message frames whose decoding stopped
    std::optional<DecodeStop> firstStop;
    // Where the frames themselves stop making sense before the demo's last segment closes (a demo
    // cut by a crash, a damaged frame); empty when they are whole.
    std::string framesEnd;

    bool Whole() const { return notDecoded.empty() && framesNotDecoded == 0 && framesEnd.empty(); }
};

// Decodes every net-message frame of the loading and the playback segment, in file order, handing
// what the messages say to `sink`, until the sink is satisfied. Fails only when the bytes are not a
// demo or cannot be read.
Result<DecodeOutcome> DecodeDemoMessages(DemoBytes& demo, MessageSink& sink);

// The outcome in one line: "every one of 1234 frames decoded", or how many were not and where the
// first stopped.
std::string DescribeOutcome(const DecodeOutcome& outcome);

}  // namespace vorelix::demo::net
