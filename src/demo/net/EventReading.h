// Reading a demo's events on a thread of its own: the rows handed over in batches while the reading
// goes on, how far it has come, and a stop that takes effect at the next frame.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "demo/DemoBytes.h"
#include "demo/Result.h"
#include "demo/net/EventRows.h"
#include "demo/net/Events.h"

namespace vorelix::demo::net {

// How a reading ended.
struct ReadingEnd {
    bool stopped = false;            // Stop() ended it before the demo's end
    std::optional<Failure> failure;  // the demo could not be opened or read, or is no demo
    DecodeOutcome outcome;           // the decoding's outcome when it was neither stopped nor failed
};

// What a reading has brought since it was last asked.
struct ReadingNews {
    std::vector<EventRow> rows;
    std::optional<std::string> recording;  // the recording's line (DescribeRecording), once
    std::uint64_t bytesRead = 0;           // how far into the demo the reading is
    std::uint64_t bytesTotal = 0;
    std::optional<ReadingEnd> end;  // once, with the last rows
};

// The line that tells how a reading ended: "1234 events", what stopped the decoding early, or why
// the demo's events cannot be shown at all.
std::string DescribeReadingEnd(const ReadingEnd& end, std::size_t rows);

// Whether the timeline shows DescribeReadingEnd in place of its list: a demo whose messages are not
// decoded, or one that failed before any row was read. A reading that failed or stopped part way
// keeps the rows it read.
bool ShowsNoList(const ReadingEnd& end, std::size_t rows);

// The bytes of a demo the reading opens on its own thread.
using DemoOpener = std::function<Result<std::unique_ptr<DemoBytes>>()>;

class EventReading {
  public:
    // How long at most rows and progress wait on the reading thread before they are handed over.
    static constexpr std::chrono::milliseconds kNewsInterval{40};

    // Starts reading on a new thread. `newsWaiting` is called on that thread when news waits to be
    // taken, and not again until Take has been called (a window posts itself a message there).
    EventReading(DemoOpener open, ShowText show, std::function<void()> newsWaiting);
    // Stops the reading and waits for its thread.
    ~EventReading();
    EventReading(const EventReading&) = delete;
    EventReading& operator=(const EventReading&) = delete;

    // Asks the reading to stop; it does so before its next frame, and ends with `stopped` set.
    void Stop() { stop_ = true; }
    // The news waiting, which is then no longer waiting.
    ReadingNews Take();
    // Whether the reading thread has finished its work (its end is then waiting or taken).
    bool Finished() const { return finished_; }

  private:
    class Sink;
    class StoppableBytes;

    void Run(const DemoOpener& open);
    // Moves the rows gathered on the reading thread to the waiting news and tells of it, at once or
    // once kNewsInterval has passed since the last time.
    void Publish(std::vector<EventRow>& rows, std::optional<std::string> recording, bool now);
    void End(ReadingEnd end, std::vector<EventRow>& rows);

    ShowText show_;
    std::function<void()> newsWaiting_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<std::uint64_t> bytesRead_{0};
    std::atomic<std::uint64_t> bytesTotal_{0};
    std::chrono::steady_clock::time_point lastPublished_{};  // reading thread only

    std::mutex mutex_;
    ReadingNews waiting_;  // guarded by mutex_
    bool told_ = false;    // guarded by mutex_: newsWaiting was called and Take not since

    std::thread thread_;  // last: it starts once everything above is set up
};

}  // namespace vorelix::demo::net
