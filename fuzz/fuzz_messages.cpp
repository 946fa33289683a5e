// Fuzzes the message decoder: whatever the messages, every frame is accounted for once, a stop says
// where it happened inside the frame, and what the sink is handed lies in the demo's own bytes.
#include <cstring>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "demo/DemoContainer.h"
#include "demo/DemoFrames.h"
#include "demo/LittleEndian.h"
#include "demo/net/DemoMessages.h"
#include "demo/net/EngineMessages.h"

using namespace vorelix;

namespace {

// Splits the input into frames' messages. Rare in real messages, so a seed cut from a recording
// keeps its frames apart; the fuzzer finds it through its memmem hook.
constexpr std::string_view kFrameBreak = "\x7FVXF";

struct BuiltDemo {
    std::string bytes;
    std::vector<std::uint64_t> messageFrames;  // the offsets of its net-message frames
};

void AppendMessageFrame(BuiltDemo& demo, std::uint8_t kind, float time, std::int32_t sequence,
                        std::string_view messages) {
    const std::uint64_t at = demo.bytes.size();
    demo.messageFrames.push_back(at);
    demo.bytes += static_cast<char>(kind);
    demo::AppendFloat(demo.bytes, time);
    demo::AppendInt32(demo.bytes, static_cast<std::int32_t>(demo.messageFrames.size()));
    demo.bytes.append(demo::kMessageInfoSize, '\0');
    std::string number;
    demo::AppendInt32(number, sequence);
    demo.bytes.replace(at + demo::kIncomingSequenceOffset, 4, number);
    demo::AppendInt32(demo.bytes, static_cast<std::int32_t>(messages.size()));
    demo.bytes.append(messages);
}

void AppendNextSection(BuiltDemo& demo, float time) {
    demo.bytes += static_cast<char>(demo::FrameKind::NextSection);
    demo::AppendFloat(demo.bytes, time);
    demo::AppendInt32(demo.bytes, 0);
}

// A whole protocol-5/48 recording without a directory, made of the input: its bytes 1 to 4 are the
// first frame's incoming sequence; the rest, cut at each kFrameBreak, gives the messages of one
// loading frame (where a seed puts the delta descriptions and user message registrations the later
// frames build on), then of playback frames (one at least), each led by one byte: how far its incoming
// sequence moves on from the frame before (delta packets of entities refer back by it).
BuiltDemo BuildDemo(const std::uint8_t* data, std::size_t size) {
    BuiltDemo demo;
    demo.bytes.assign(demo::kContainerHeaderSize, '\0');
    std::memcpy(demo.bytes.data(), "HLDEMO", 6);
    demo.bytes[demo::kDemoProtocolOffset] = demo::kFramedDemoProtocol;
    demo.bytes[demo::kNetworkProtocolOffset] = demo::net::kDecodedNetworkProtocol;
    std::uint32_t sequence = 0;
    for (std::size_t i = 1; i < 5 && i < size; ++i)
        sequence |= static_cast<std::uint32_t>(data[i]) << (8 * (i - 1));
    const std::string_view rest =
        size > 5 ? std::string_view(reinterpret_cast<const char*>(data) + 5, size - 5) : std::string_view();

    float time = 0;
    bool loading = true;
    for (std::size_t from = 0; from <= rest.size();) {
        std::size_t to = rest.find(kFrameBreak, from);
        if (to == std::string_view::npos) to = rest.size();
        std::string_view messages = rest.substr(from, to - from);
        if (loading) {
            AppendMessageFrame(demo, static_cast<std::uint8_t>(demo::FrameKind::LoadingMessage), time,
                               static_cast<std::int32_t>(sequence), messages);
            AppendNextSection(demo, time);
            loading = false;
        } else {
            if (!messages.empty()) {
                sequence += static_cast<std::uint8_t>(messages[0]);
                messages.remove_prefix(1);
            }
            time += 0.01f;
            AppendMessageFrame(demo, static_cast<std::uint8_t>(demo::FrameKind::Message), time,
                               static_cast<std::int32_t>(sequence), messages);
        }
        from = to + kFrameBreak.size();
    }
    // The decoder takes a next-section frame for playback's end only behind a playback frame.
    if (demo.messageFrames.size() == 1)
        AppendMessageFrame(demo, static_cast<std::uint8_t>(demo::FrameKind::Message), time,
                           static_cast<std::int32_t>(sequence), {});
    AppendNextSection(demo, time);
    return demo;
}

// Reads every text and payload it is handed (so the sanitizer sees a span that points astray) and
// checks that a user message's payload is the demo's bytes at the offset it is given.
class CheckingSink final : public demo::net::MessageSink {
  public:
    explicit CheckingSink(demo::ByteView demo) : demo_(demo) {}

    void OnServerInfo(const demo::net::ServerInfo& info, const demo::net::FrameFacts& facts) override {
        fuzz::Require(info.maxPlayers >= 1 && info.maxPlayers <= 32);
        Touch(info.hostName, facts);
    }
    void OnUserInfo(int, std::int32_t, std::string_view info, const demo::net::FrameFacts& facts) override {
        Touch(info, facts);
    }
    void OnUserMessage(std::string_view name, demo::ByteView payload, std::uint64_t offset,
                       const demo::net::FrameFacts& facts) override {
        Touch(name, facts);
        fuzz::Require(offset >= facts.messagesOffset && offset <= demo_.size() &&
                      payload.size() <= demo_.size() - offset);
        fuzz::Require(payload.empty() ||
                      std::memcmp(payload.data(), demo_.data() + offset, payload.size()) == 0);
        ++userMessages;
    }
    void OnPrint(std::string_view text, const demo::net::FrameFacts& facts) override { Touch(text, facts); }
    void OnHltv(int mode, const demo::net::FrameFacts& facts) override {
        fuzz::Require(mode == 0 || mode == 1);
        Touch({}, facts);
    }

    std::uint64_t userMessages = 0;

  private:
    void Touch(std::string_view text, const demo::net::FrameFacts& facts) {
        for (const char c : text) sum_ += static_cast<unsigned char>(c);
        fuzz::Require(facts.messagesOffset == facts.offset + demo::kLongestFramePrefix &&
                      facts.messagesOffset <= demo_.size());
    }

    demo::ByteView demo_;
    std::uint64_t sum_ = 0;
};

// What holds for any outcome: each frame counted once at most, and the first stop inside its frame.
void CheckOutcome(const demo::net::DecodeOutcome& outcome, demo::ByteView demo, std::uint64_t messageFrames) {
    fuzz::Require(outcome.framesDecoded + outcome.framesNotDecoded <= messageFrames);
    fuzz::Require(outcome.firstStop.has_value() == (outcome.framesNotDecoded > 0));
    if (!outcome.firstStop) return;
    const demo::net::DecodeStop& stop = *outcome.firstStop;
    fuzz::Require(stop.frameOffset + demo::kLongestFramePrefix <= demo.size());
    const std::uint64_t messagesOffset = stop.frameOffset + demo::kLongestFramePrefix;
    const std::uint64_t length = demo::ReadUInt32(demo, messagesOffset - 4);
    fuzz::Require(stop.messageOffset >= messagesOffset && stop.messageOffset <= demo.size());
    if (stop.messageId < 0) {
        // Too long to be read: nothing of it was decoded.
        fuzz::Require(length > demo::net::kMostMessageBytes && stop.bitPosition == 0);
        return;
    }
    fuzz::Require(length <= demo.size() - messagesOffset);
    fuzz::Require(stop.messageOffset < messagesOffset + length);
    fuzz::Require(stop.bitPosition <= length * 8);
    fuzz::Require(!stop.reason.empty() && !demo::net::DescribeStop(stop).empty());
}

// A walk of the frames as the decoder makes it, counting the net-message frames it meets.
std::uint64_t CountMessageFrames(demo::ByteView demo) {
    std::uint64_t count = 0;
    for (std::uint64_t at = demo::kContainerHeaderSize; at < demo.size();) {
        const std::uint64_t size = demo::FrameSize(demo.subspan(at), demo.size() - at);
        if (size == 0) break;
        count += demo.subspan(at)[0] <= static_cast<std::uint8_t>(demo::FrameKind::Message) ? 1 : 0;
        at += size;
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An odd first byte: the rest is a whole demo file as it stands.
    if (size > 0 && (data[0] & 1) != 0) {
        const demo::ByteView demo(data + 1, size - 1);
        demo::SpanBytes bytes(demo);
        CheckingSink sink(demo);
        auto outcome = demo::net::DecodeDemoMessages(bytes, sink);
        if (outcome) CheckOutcome(*outcome, demo, CountMessageFrames(demo));
        return 0;
    }

    const BuiltDemo built = BuildDemo(data, size);
    const demo::ByteView demo = demo::AsBytes(built.bytes);
    demo::SpanBytes bytes(demo);
    CheckingSink sink(demo);
    auto outcome = demo::net::DecodeDemoMessages(bytes, sink);
    fuzz::Require(outcome.ok());
    fuzz::Require(outcome->notDecoded.empty() && outcome->framesEnd.empty());
    // Every frame is whole, so each is walked to and counted exactly once.
    fuzz::Require(outcome->framesDecoded + outcome->framesNotDecoded == built.messageFrames.size());
    CheckOutcome(*outcome, demo, built.messageFrames.size());
    return 0;
}
