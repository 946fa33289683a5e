// Reading a demo's messages just far enough for the recording's facts.
#include "demo/net/RecordingRead.h"

namespace vorelix::demo::net {

namespace {

class RecordingSink final : public EventSink {
  public:
    void OnRecording(const Recording& told) override { recording = told; }
    void OnEvent(const Event&) override {}
    bool Satisfied() const override { return recording.has_value(); }
    std::optional<Recording> recording;
};

}  // namespace

Result<RecordingRead> ReadRecording(DemoBytes& demo) {
    RecordingSink sink;
    auto outcome = ReadEvents(demo, sink);
    if (!outcome) return outcome.failure();
    return RecordingRead{std::move(*outcome), std::move(sink.recording)};
}

std::string DecodedText(const DecodeOutcome& outcome) {
    return outcome.notDecoded.empty() ? "yes" : outcome.notDecoded;
}

}  // namespace vorelix::demo::net
