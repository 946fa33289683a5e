// Reading a net message's bytes and bit streams without ever reading past them.
#pragma once

#include <cstdint>
#include <string_view>

#include "demo/edit/ByteSearch.h"

namespace vorelix::demo::net {

// A cursor over the messages of one frame, in bits. Bit streams are read least significant bit
// first, as the game writes them; byte fields are the same reads on a byte boundary. A read past the
// end yields zeros and marks the reader overrun: callers check Overrun() once per message rather than
// after every field, which keeps the hot loops free of branches on the outcome.
class BitReader {
  public:
    explicit BitReader(ByteView bytes)
        : bytes_(bytes), sizeInBits_(static_cast<std::uint64_t>(bytes.size()) * 8) {}

    std::uint64_t BitPosition() const { return position_; }
    std::uint64_t BitsLeft() const { return position_ >= sizeInBits_ ? 0 : sizeInBits_ - position_; }
    std::uint64_t BytesLeft() const { return BitsLeft() / 8; }
    bool AtEnd() const { return position_ >= sizeInBits_; }
    bool Overrun() const { return overrun_; }
    ByteView Bytes() const { return bytes_; }

    // Up to 32 bits as an unsigned number.
    std::uint32_t Bits(unsigned count) {
        if (count == 0) return 0;
        if (count > BitsLeft()) {
            Overrun(count);
            return 0;
        }
        std::uint32_t value = 0;
        unsigned done = 0;
        while (done < count) {
            const unsigned shift = static_cast<unsigned>(position_ & 7);
            const unsigned take = count - done < 8 - shift ? count - done : 8 - shift;
            const unsigned byte = bytes_[static_cast<std::size_t>(position_ >> 3)];
            value |= ((byte >> shift) & ((1u << take) - 1)) << done;
            done += take;
            position_ += take;
        }
        return value;
    }
    bool Bit() { return Bits(1) != 0; }
    // The next bits without moving; zeros past the end, without overrunning.
    std::uint32_t PeekBits(unsigned count) const {
        BitReader copy = *this;
        return copy.Bits(count);
    }
    void SkipBits(std::uint64_t count) {
        if (count > BitsLeft()) {
            Overrun(count);
            return;
        }
        position_ += count;
    }
    // A sign bit, then count - 1 bits of magnitude.
    std::int32_t SignedBits(unsigned count) {
        const bool negative = Bit();
        const auto magnitude = static_cast<std::int32_t>(Bits(count - 1));
        return negative ? -magnitude : magnitude;
    }

    // Moves to the next byte boundary, as the game does when a bit stream ends.
    void AlignToByte() { position_ = (position_ + 7) & ~std::uint64_t{7}; }

    // Byte fields; the reader stands on a byte boundary.
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Bits(8)); }
    std::int16_t Short() { return static_cast<std::int16_t>(Bits(16)); }
    std::uint16_t Word() { return static_cast<std::uint16_t>(Bits(16)); }
    std::int32_t Long() { return static_cast<std::int32_t>(Bits(32)); }
    void SkipBytes(std::uint64_t count) { SkipBits(count * 8); }

    // The bytes up to the next NUL (which is passed), at any bit position. A text with no NUL before
    // the end overruns.
    std::string_view String();

  private:
    void Overrun(std::uint64_t) {
        overrun_ = true;
        position_ = sizeInBits_;
    }

    ByteView bytes_;
    std::uint64_t sizeInBits_ = 0;
    std::uint64_t position_ = 0;
    bool overrun_ = false;
};

}  // namespace vorelix::demo::net
