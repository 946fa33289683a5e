// svc_tempentity: a type byte, then a layout of that type's own.
#include <array>

#include "demo/net/MessageDecoder.h"

namespace vorelix::demo::net {

namespace {

constexpr int kBspDecal = 13;
constexpr int kTextMessage = 29;

// The bytes each type takes after its type byte, for the types of one fixed size; 0 for a type the
// game does not have. Coordinates are two bytes each.
constexpr std::array<std::uint8_t, 128> MakeSizes() {
    std::array<std::uint8_t, 128> sizes{};
    const std::pair<int, int> known[] = {
        {0, 24},   {1, 20},   {2, 6},    {3, 11},   {4, 6},    {5, 10},   {6, 12},   {7, 17},   {8, 16},
        {9, 6},    {10, 6},   {11, 6},   {12, 8},   {14, 9},   {15, 19},  {17, 10},  {18, 16},  {19, 24},
        {20, 24},  {21, 24},  {22, 10},  {23, 11},  {24, 16},  {25, 19},  {27, 12},  {28, 16},  {30, 17},
        {31, 17},  {99, 2},   {100, 10}, {101, 14}, {102, 12}, {103, 14}, {104, 9},  {105, 5},  {106, 17},
        {107, 13}, {108, 24}, {109, 9},  {110, 17}, {111, 7},  {112, 10}, {113, 19}, {114, 19}, {115, 12},
        {116, 7},  {117, 7},  {118, 9},  {119, 16}, {120, 18}, {121, 5},  {122, 10}, {123, 13}, {124, 7},
        {125, 1},  {126, 18}, {127, 15}};
    for (const auto& [type, size] : known)
        sizes[static_cast<std::size_t>(type)] = static_cast<std::uint8_t>(size);
    return sizes;
}
constexpr std::array<std::uint8_t, 128> kSizes = MakeSizes();

}  // namespace

bool MessageDecoder::TempEntity(BitReader& in) {
    const int type = in.Byte();
    if (in.Overrun()) return true;
    if (type == kBspDecal) {
        in.SkipBytes(6 + 2);                   // position, texture
        if (in.Short() != 0) in.SkipBytes(2);  // the brush entity's model
        return true;
    }
    if (type == kTextMessage) {
        in.SkipBytes(1 + 2 + 2);  // channel, x, y
        const int effect = in.Byte();
        in.SkipBytes(4 + 4 + 2 + 2 + 2);   // colours, fade in, fade out, hold time
        if (effect == 2) in.SkipBytes(2);  // the scan-out effect's time
        in.String();
        return true;
    }
    if (type >= static_cast<int>(kSizes.size()) || kSizes[static_cast<std::size_t>(type)] == 0)
        return Fail("temporary entity type " + std::to_string(type) + " is not one the game has");
    in.SkipBytes(kSizes[static_cast<std::size_t>(type)]);
    return true;
}

}  // namespace vorelix::demo::net
