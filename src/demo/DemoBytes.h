// A demo's bytes handed out in windows: a span already in memory, or a file read a chunk at a time.
#pragma once

#include <cstdint>

#include "demo/edit/ByteSearch.h"
#include "demo/Result.h"

namespace vorelix::demo {

class DemoBytes {
  public:
    virtual ~DemoBytes() = default;
    virtual std::uint64_t Size() const = 0;
    // The bytes from `offset` on: at least `want` of them (the caller keeps offset + want within
    // Size()), more when they are at hand. Fails only when reading fails.
    virtual Result<ByteView> At(std::uint64_t offset, std::uint64_t want) = 0;
};

// The bytes of a demo that is wholly in memory (or mapped).
class SpanBytes final : public DemoBytes {
  public:
    explicit SpanBytes(ByteView bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    Result<ByteView> At(std::uint64_t offset, std::uint64_t) override { return bytes_.subspan(offset); }

  private:
    ByteView bytes_;
};

}  // namespace vorelix::demo
