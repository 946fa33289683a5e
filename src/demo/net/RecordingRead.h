// The recording's facts alone (server, recorder, whether a proxy recorded it), read from a demo's
// messages only up to the start of playback, where they are all known.
#pragma once

#include <optional>

#include "demo/DemoBytes.h"
#include "demo/Result.h"
#include "demo/net/DemoMessages.h"
#include "demo/net/Events.h"

namespace vorelix::demo::net {

struct RecordingRead {
    DecodeOutcome outcome;               // of the frames read; the walk ends early by design
    std::optional<Recording> recording;  // none when the messages are not decoded
};

// Decodes the demo's messages until the recording is told (ReadEvents: when playback begins, or at
// the end of a demo that never reaches it). Fails only when the bytes are not a demo or cannot be read.
Result<RecordingRead> ReadRecording(DemoBytes& demo);

// "yes" when the messages were decoded, else why not: "not decoded (network protocol 35)".
std::string DecodedText(const DecodeOutcome& outcome);

}  // namespace vorelix::demo::net
