// Events read on a thread of their own: every row in order with the recording and progress, the news
// told once until taken, a stop that ends the reading at the next frame, and the end's line.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "MessageDemo.h"
#include "demo/net/EventReading.h"

namespace vorelix::demo::net {
namespace {

using namespace vorelix::test;

std::string Plain(std::string_view bytes) {
    return std::string(bytes);
}

std::string Say(std::uint8_t sender, std::string_view text) {
    return UserMessage(kSayText, std::string(1, static_cast<char>(sender)) + Text("#Cstrike_Chat_All") +
                                     Text("") + Text(text));
}

FramedDemo ChatDemo(int lines) {
    std::vector<MessageFrame> frames;
    for (int i = 0; i < lines; ++i)
        frames.push_back({static_cast<float>(i), Say(1, "line " + std::to_string(i) + "\n")});
    return MakeMessageDemo({StandardSetUp(), UserInfo(0, 1, "\\name\\Alice")}, frames);
}

// A demo's bytes that count the decoder's requests and, from request `holdAt` on, wait at each until
// the test lets them go on.
class GatedBytes final : public DemoBytes {
  public:
    GatedBytes(const std::string& bytes, int holdAt) : bytes_(AsBytes(bytes)), holdAt_(holdAt) {}
    std::uint64_t Size() const override { return bytes_.Size(); }
    Result<ByteView> At(std::uint64_t offset, std::uint64_t want) override {
        std::unique_lock lock(mutex_);
        ++requests_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return requests_ < holdAt_ || released_; });
        return bytes_.At(offset, want);
    }
    void WaitForRequests(int count) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return requests_ >= count; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    int Requests() {
        std::lock_guard lock(mutex_);
        return requests_;
    }

  private:
    SpanBytes bytes_;
    int holdAt_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int requests_ = 0;
    bool released_ = false;
};

// Collects the news as a window does: each time it is told, it takes what waits.
struct NewsTaker {
    std::mutex mutex;
    std::condition_variable told;
    int tellings = 0;

    std::function<void()> Teller() {
        return [this] {
            std::lock_guard lock(mutex);
            ++tellings;
            told.notify_all();
        };
    }
    // Takes news until the reading's end has come.
    ReadingNews TakeAll(EventReading& reading, int& takes) {
        ReadingNews all;
        for (;;) {
            {
                std::unique_lock lock(mutex);
                told.wait(lock, [&] { return tellings > takes; });
            }
            ReadingNews news = reading.Take();
            ++takes;
            for (auto& row : news.rows) all.rows.push_back(std::move(row));
            if (news.recording) {
                EXPECT_FALSE(all.recording) << "the recording comes once";
                all.recording = news.recording;
            }
            all.bytesRead = news.bytesRead;
            all.bytesTotal = news.bytesTotal;
            if (news.end) {
                all.end = std::move(news.end);
                return all;
            }
        }
    }
};

DemoOpener OpenerOf(const std::string& bytes) {
    return [&bytes]() -> Result<std::unique_ptr<DemoBytes>> {
        return std::unique_ptr<DemoBytes>(std::make_unique<SpanBytes>(AsBytes(bytes)));
    };
}

TEST(EventReading, HandsOverEveryRowInOrderWithTheRecordingAndTellsOnceUntilTaken) {
    const FramedDemo demo = ChatDemo(3000);
    NewsTaker taker;
    int takes = 0;
    EventReading reading(OpenerOf(demo.bytes), Plain, taker.Teller());
    const ReadingNews all = taker.TakeAll(reading, takes);
    EXPECT_TRUE(reading.Finished());
    // Each telling was answered by one take: none came while news already waited.
    EXPECT_EQ(taker.tellings, takes);
    ASSERT_EQ(all.rows.size(), 3000u);
    for (std::size_t i = 0; i < all.rows.size(); ++i) {
        ASSERT_EQ(all.rows[i].what, "Alice: line " + std::to_string(i));
    }
    EXPECT_EQ(all.recording.value_or("none"),
              "server \"Test server\", map de_dust2, recorded by Alice (slot 1), first-person");
    EXPECT_EQ(all.bytesRead, demo.bytes.size());
    EXPECT_EQ(all.bytesTotal, demo.bytes.size());
    ASSERT_TRUE(all.end);
    EXPECT_FALSE(all.end->stopped);
    EXPECT_TRUE(all.end->outcome.Whole());
    EXPECT_EQ(DescribeReadingEnd(*all.end, all.rows.size()), "3000 events.");
}

TEST(EventReading, AStopEndsTheReadingBeforeItsNextFrame) {
    const FramedDemo demo = ChatDemo(500);
    GatedBytes gated(demo.bytes, 50);
    NewsTaker taker;
    int takes = 0;
    EventReading reading(
        [&gated]() -> Result<std::unique_ptr<DemoBytes>> {
            // The reading owns what the opener gives: a stand-in that passes requests to the gate.
            struct Through final : DemoBytes {
                explicit Through(GatedBytes& gate) : gate_(gate) {}
                std::uint64_t Size() const override { return gate_.Size(); }
                Result<ByteView> At(std::uint64_t offset, std::uint64_t want) override {
                    return gate_.At(offset, want);
                }
                GatedBytes& gate_;
            };
            return std::unique_ptr<DemoBytes>(std::make_unique<Through>(gated));
        },
        Plain, taker.Teller());
    gated.WaitForRequests(50);
    reading.Stop();
    gated.Release();
    const ReadingNews all = taker.TakeAll(reading, takes);
    EXPECT_EQ(gated.Requests(), 50) << "no frame is read after the stop";
    ASSERT_TRUE(all.end);
    EXPECT_TRUE(all.end->stopped);
    EXPECT_LT(all.rows.size(), 50u);
    EXPECT_LT(all.bytesRead, all.bytesTotal);
    EXPECT_EQ(DescribeReadingEnd(*all.end, 7), "Reading stopped after 7 events.");
}

TEST(EventReading, EndsSayWhyADemoHasNoEventsOrWhereItsDecodingStopped) {
    NewsTaker taker;
    int takes = 0;
    {
        std::string other = ChatDemo(3).bytes;
        PutAt(other, 12, Int32(35));  // the network protocol of an older game
        EventReading reading(OpenerOf(other), Plain, taker.Teller());
        const ReadingNews all = taker.TakeAll(reading, takes);
        ASSERT_TRUE(all.end);
        EXPECT_TRUE(all.rows.empty());
        EXPECT_FALSE(all.recording);
        EXPECT_EQ(DescribeReadingEnd(*all.end, 0),
                  "No events can be shown: this demo's messages are not decoded (network protocol 35). "
                  "Events are read from demos of network protocol 48 (Counter-Strike 1.6).");
        EXPECT_TRUE(ShowsNoList(*all.end, 0));
    }
    {
        EventReading reading(
            []() -> Result<std::unique_ptr<DemoBytes>> {
                return Failure{"Access is denied.", 5};
            },
            Plain, taker.Teller());
        const ReadingNews all = taker.TakeAll(reading, takes);
        ASSERT_TRUE(all.end);
        EXPECT_EQ(DescribeReadingEnd(*all.end, 0), "The demo's events could not be read: Access is denied.");
        EXPECT_TRUE(ShowsNoList(*all.end, 0));
        // A read that fails part way keeps the rows read before.
        EXPECT_FALSE(ShowsNoList(*all.end, 5));
    }
    {
        const std::string notADemo(2000, 'x');
        EventReading reading(OpenerOf(notADemo), Plain, taker.Teller());
        const ReadingNews all = taker.TakeAll(reading, takes);
        ASSERT_TRUE(all.end);
        EXPECT_TRUE(all.end->failure);
    }
    {
        // Cut inside its playback: the rows before the cut, and the end says where the frames stop.
        const FramedDemo demo = ChatDemo(20);
        const std::string cut = demo.bytes.substr(0, demo.frameOffsets.at(10) + 3);
        EventReading reading(OpenerOf(cut), Plain, taker.Teller());
        const ReadingNews all = taker.TakeAll(reading, takes);
        ASSERT_TRUE(all.end);
        EXPECT_FALSE(all.end->outcome.Whole());
        const std::string line = DescribeReadingEnd(*all.end, all.rows.size());
        EXPECT_EQ(line.rfind(std::to_string(all.rows.size()) + " events; ", 0), 0u) << line;
        EXPECT_NE(line.find("the frames end early"), std::string::npos) << line;
        EXPECT_FALSE(ShowsNoList(*all.end, all.rows.size()));
    }
}

}  // namespace
}  // namespace vorelix::demo::net
