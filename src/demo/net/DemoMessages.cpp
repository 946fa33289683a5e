// The frame walk that feeds the message decoder, one frame in memory at a time.
#include "demo/net/DemoMessages.h"

#include <algorithm>

#include "demo/DemoContainer.h"
#include "demo/DemoFrames.h"
#include "demo/LittleEndian.h"
#include "demo/net/EngineMessages.h"

namespace vorelix::demo::net {

namespace {

// Decodes one net-message frame whose bytes `frame` holds whole.
void DecodeMessageFrame(ByteView frame, const Frame& at, bool playback, MessageDecoder& decoder,
                        MessageSink& sink, DecodeOutcome& outcome) {
    const FrameFacts facts{at.offset, at.offset + kLongestFramePrefix, at.time,
                           ReadInt32(frame, kIncomingSequenceOffset), playback};
    auto stop = decoder.DecodeFrame(frame.subspan(kLongestFramePrefix), facts, sink);
    if (!stop) {
        ++outcome.framesDecoded;
        return;
    }
    ++outcome.framesNotDecoded;
    if (!outcome.firstStop) outcome.firstStop = std::move(stop);
}

}  // namespace

Result<DecodeOutcome> DecodeDemoMessages(DemoBytes& demo, MessageSink& sink) {
    const std::uint64_t headerBytes = std::min(demo.Size(), kContainerHeaderSize);
    auto first = demo.At(0, headerBytes);
    if (!first) return first.failure();
    auto header = ReadContainerHeader(first->first(headerBytes));
    if (!header) return header.failure();
    DecodeOutcome outcome;
    outcome.networkProtocol = header->networkProtocol;
    if (!header->FramesReadable()) {
        outcome.notDecoded = "not decoded (demo protocol " + std::to_string(header->demoProtocol) + ")";
        return outcome;
    }
    if (header->networkProtocol != kDecodedNetworkProtocol) {
        outcome.notDecoded = "not decoded (network protocol " + std::to_string(header->networkProtocol) + ")";
        return outcome;
    }
    // The frames end where the directory starts; without one (a recording cut short), at the end.
    const auto directory = static_cast<std::uint64_t>(header->directoryOffset);
    const std::uint64_t limit =
        directory > kContainerHeaderSize && directory <= demo.Size() ? directory : demo.Size();

    MessageDecoder decoder;
    bool playback = false;
    bool playbackFrames = false;  // a frame other than a next-section one has come in playback
    std::uint64_t offset = kContainerHeaderSize;
    while (offset < limit) {
        const std::uint64_t left = limit - offset;
        auto prefix = demo.At(offset, std::min(kLongestFramePrefix, left));
        if (!prefix) return prefix.failure();
        const auto frame = ReadFrame(*prefix, offset, left);
        if (!frame) {
            outcome.framesEnd = "offset " + std::to_string(offset) + ": " + FrameProblem(*prefix, left);
            return outcome;
        }
        if (frame->IsMessage()) {
            const std::uint64_t messages = frame->size - kLongestFramePrefix;
            if (messages > kMostMessageBytes) {
                ++outcome.framesNotDecoded;
                if (!outcome.firstStop) {
                    outcome.firstStop =
                        DecodeStop{offset,
                                   frame->time,
                                   playback,
                                   -1,
                                   "",
                                   offset + kLongestFramePrefix,
                                   0,
                                   "the frame says its messages take " + std::to_string(messages) +
                                       " bytes, more than the game ever writes in one frame"};
                }
            } else {
                auto bytes = demo.At(offset, frame->size);
                if (!bytes) return bytes.failure();
                DecodeMessageFrame(bytes->first(frame->size), *frame, playback, decoder, sink, outcome);
                if (sink.Satisfied()) return outcome;
            }
        }
        offset += frame->size;
        if (frame->kind == static_cast<std::uint8_t>(FrameKind::NextSection)) {
            if (playback && playbackFrames) return outcome;
            playback = true;
        } else if (playback) {
            playbackFrames = true;
        }
    }
    // The walk ran out of frames before the playback segment closed.
    outcome.framesEnd = "offset " + std::to_string(offset) +
                        ": the frames end before the playback segment's next-section frame";
    return outcome;
}

std::string DescribeOutcome(const DecodeOutcome& outcome) {
    if (!outcome.notDecoded.empty()) return outcome.notDecoded;
    const std::uint64_t frames = outcome.framesDecoded + outcome.framesNotDecoded;
    std::string text;
    if (outcome.framesNotDecoded > 0) {
        text = std::to_string(outcome.framesNotDecoded) + " of " + std::to_string(frames) +
               " message frames not decoded; the first stopped at " + DescribeStop(*outcome.firstStop);
    } else if (frames == 0) {
        text = "no message frame to decode";
    } else if (frames == 1) {
        text = "its one message frame decoded";
    } else {
        text = "every one of " + std::to_string(frames) + " message frames decoded";
    }
    if (!outcome.framesEnd.empty()) text += "; the frames end early at " + outcome.framesEnd;
    return text;
}

}  // namespace vorelix::demo::net
