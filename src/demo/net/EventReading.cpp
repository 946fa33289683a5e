// A demo's events read on a thread of their own and handed over in batches.
#include "demo/net/EventReading.h"

#include "demo/net/EngineMessages.h"

namespace vorelix::demo::net {

namespace {

std::string EventCount(std::size_t rows) {
    return std::to_string(rows) + (rows == 1 ? " event" : " events");
}

}  // namespace

std::string DescribeReadingEnd(const ReadingEnd& end, std::size_t rows) {
    if (end.stopped) return "Reading stopped after " + EventCount(rows) + ".";
    if (end.failure) {
        return end.failure->systemText.empty()
                   ? std::string("The demo's events could not be read.")
                   : "The demo's events could not be read: " + end.failure->systemText;
    }
    if (!end.outcome.notDecoded.empty()) {
        return "No events can be shown: this demo's messages are " + end.outcome.notDecoded +
               ". Events are read from demos of network protocol " + std::to_string(kDecodedNetworkProtocol) +
               " (Counter-Strike 1.6).";
    }
    if (!end.outcome.Whole()) return EventCount(rows) + "; " + DescribeOutcome(end.outcome) + ".";
    return EventCount(rows) + ".";
}

bool ShowsNoList(const ReadingEnd& end, std::size_t rows) {
    return !end.outcome.notDecoded.empty() || (end.failure && rows == 0);
}

// The demo's bytes as the decoder asks for them, frame by frame: each request notes how far the
// reading is, hands over what waits when it is time, and fails once a stop is asked for, which ends
// the decoding there.
class EventReading::StoppableBytes final : public DemoBytes {
  public:
    StoppableBytes(EventReading& reading, DemoBytes& demo, std::vector<EventRow>& rows)
        : reading_(reading), demo_(demo), rows_(rows) {}
    std::uint64_t Size() const override { return demo_.Size(); }
    Result<ByteView> At(std::uint64_t offset, std::uint64_t want) override {
        if (reading_.stop_) return Failure{"stopped", 0};
        reading_.bytesRead_ = offset;
        reading_.Publish(rows_, std::nullopt, false);
        return demo_.At(offset, want);
    }

  private:
    EventReading& reading_;
    DemoBytes& demo_;
    std::vector<EventRow>& rows_;
};

class EventReading::Sink final : public EventSink {
  public:
    Sink(EventReading& reading, std::vector<EventRow>& rows) : reading_(reading), rows_(rows) {}
    void OnRecording(const Recording& recording) override {
        reading_.Publish(rows_, DescribeRecording(recording, reading_.show_), true);
    }
    void OnEvent(const Event& event) override { rows_.push_back(MakeEventRow(event, reading_.show_)); }

  private:
    EventReading& reading_;
    std::vector<EventRow>& rows_;
};

EventReading::EventReading(DemoOpener open, ShowText show, std::function<void()> newsWaiting)
    : show_(std::move(show)), newsWaiting_(std::move(newsWaiting)) {
    thread_ = std::thread([this, open = std::move(open)] { Run(open); });
}

EventReading::~EventReading() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

ReadingNews EventReading::Take() {
    std::lock_guard lock(mutex_);
    ReadingNews news = std::move(waiting_);
    waiting_ = {};
    told_ = false;
    news.bytesRead = bytesRead_;
    news.bytesTotal = bytesTotal_;
    return news;
}

void EventReading::Publish(std::vector<EventRow>& rows, std::optional<std::string> recording, bool now) {
    const auto time = std::chrono::steady_clock::now();
    if (!now && time - lastPublished_ < kNewsInterval) return;
    lastPublished_ = time;
    bool tell = false;
    {
        std::lock_guard lock(mutex_);
        if (waiting_.rows.empty()) {
            waiting_.rows = std::move(rows);
        } else {
            waiting_.rows.insert(waiting_.rows.end(), std::make_move_iterator(rows.begin()),
                                 std::make_move_iterator(rows.end()));
        }
        rows.clear();
        if (recording) waiting_.recording = std::move(recording);
        tell = !told_;
        told_ = true;
    }
    if (tell && newsWaiting_) newsWaiting_();
}

void EventReading::End(ReadingEnd end, std::vector<EventRow>& rows) {
    if (!end.stopped && !end.failure) bytesRead_ = bytesTotal_.load();
    {
        std::lock_guard lock(mutex_);
        waiting_.end = std::move(end);
    }
    finished_ = true;
    Publish(rows, std::nullopt, true);
}

void EventReading::Run(const DemoOpener& open) {
    std::vector<EventRow> rows;
    try {
        auto demo = open();
        if (!demo) return End({false, demo.failure(), {}}, rows);
        bytesTotal_ = (*demo)->Size();
        StoppableBytes bytes(*this, **demo, rows);
        Sink sink(*this, rows);
        auto outcome = ReadEvents(bytes, sink);
        // A reading that came to its end before the stop was asked for ends as any other.
        if (!outcome && stop_) return End({true, std::nullopt, {}}, rows);
        if (!outcome) return End({false, outcome.failure(), {}}, rows);
        End({false, std::nullopt, std::move(*outcome)}, rows);
    } catch (const std::exception& exception) {
        // Out of memory on a huge demo, say: the rows handed over so far stay, and the end says why.
        rows.clear();
        End({false, Failure{exception.what(), 0}, {}}, rows);
    }
}

}  // namespace vorelix::demo::net
