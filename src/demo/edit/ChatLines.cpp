// Chat lines from the byte rule and the message reader, merged.
#include "demo/edit/ChatLines.h"

#include <algorithm>

#include "demo/DemoHeader.h"
#include "demo/net/Events.h"

namespace vorelix::demo {

namespace {

class ChatCollector final : public net::EventSink {
  public:
    void OnRecording(const net::Recording&) override {}
    void OnEvent(const net::Event& event) override {
        const auto* chat = std::get_if<net::ChatEvent>(&event.what);
        if (chat == nullptr || chat->place.room == 0) return;
        lines.push_back(ChatEntry{static_cast<std::int64_t>(chat->place.offset) + 1,
                                  chat->text.substr(0, chat->place.room), chat->name});
    }
    std::vector<ChatEntry> lines;
};

// A mapped demo handed to the reader, which tells the scan's progress how far it read, as the byte
// scans do, so the pages it passed may be let go.
class ProgressBytes final : public DemoBytes {
  public:
    ProgressBytes(ByteView bytes, ScanProgress* progress) : bytes_(bytes), progress_(progress) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    Result<ByteView> At(std::uint64_t offset, std::uint64_t) override {
        if (progress_ != nullptr) progress_->Passed(static_cast<std::size_t>(offset));
        return bytes_.subspan(offset);
    }

  private:
    ByteView bytes_;
    ScanProgress* progress_;
};

struct Span {
    std::int64_t first = 0;  // 1-based positions of its first byte and the byte after its last
    std::int64_t end = 0;
};

Span SpanOf(const ChatEntry& entry) {
    return {entry.position, entry.position + static_cast<std::int64_t>(entry.text.size())};
}

bool Overlap(const Span& a, const Span& b) {
    return a.first < b.end && b.first < a.end;
}

}  // namespace

Result<std::vector<ChatEntry>> MessageChatLines(DemoBytes& demo) {
    ChatCollector collector;
    auto outcome = net::ReadEvents(demo, collector);
    if (!outcome) return outcome.failure();
    // Events come in time order, which a damaged demo's frames need not share with the file's.
    std::stable_sort(collector.lines.begin(), collector.lines.end(),
                     [](const ChatEntry& a, const ChatEntry& b) { return a.position < b.position; });
    return std::move(collector.lines);
}

std::vector<ChatEntry> MergedChatLines(std::vector<ChatEntry> byteRuleLines,
                                       const std::vector<ChatEntry>& messageLines) {
    std::vector<Span> taken;
    taken.reserve(byteRuleLines.size() + messageLines.size());
    for (const ChatEntry& line : byteRuleLines) taken.push_back(SpanOf(line));
    std::vector<ChatEntry> merged = std::move(byteRuleLines);
    for (const ChatEntry& line : messageLines) {
        const Span span = SpanOf(line);
        if (std::any_of(taken.begin(), taken.end(), [&](const Span& other) { return Overlap(span, other); }))
            continue;
        taken.push_back(span);
        merged.push_back(line);
    }
    return merged;
}

std::vector<ChatEntry> ScanAllChat(ByteView file, ScanProgress* progress) {
    if (file.size() < kShortestScannedDemo) return {};
    std::vector<ChatEntry> byteRuleLines = ScanChat(file, progress);
    ProgressBytes bytes(file, progress);
    // Bytes in memory are always read: the reader finds its lines or none.
    auto messageLines = MessageChatLines(bytes);
    if (!messageLines) return byteRuleLines;
    return MergedChatLines(std::move(byteRuleLines), *messageLines);
}

std::string ListedText(const ChatEntry& entry) {
    return entry.sender.empty() ? entry.text : entry.sender + ": " + entry.text;
}

}  // namespace vorelix::demo
