// Demos built byte by byte for tests: a valid header, chosen bytes at chosen offsets, whole frames.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorelix::test {

// A demo of `length` bytes with the "HLDEMO" magic, the map and game folder texts in their windows,
// and NUL bytes everywhere else.
std::string MakeDemo(std::size_t length, std::string_view map = "de_dust2", std::string_view mod = "cstrike");

// Copies `bytes` into `demo` at 0-based `offset` (the demo must be long enough).
void PutAt(std::string& demo, std::size_t offset, std::string_view bytes);

// Bytes to place at 0-based offsets, in order (later pieces overwrite earlier ones).
using Pieces = std::vector<std::pair<std::size_t, std::string>>;
std::string MakeDemo(std::size_t length, const Pieces& pieces);
std::string WithPieces(std::string demo, const Pieces& pieces);

// Little-endian fields, and a frame: its kind, time and number, then its body.
std::string Int32(std::int32_t value);
std::string Counted(std::string_view bytes);  // a 32-bit length, then the bytes
std::string Frame(int kind, float time, int number, std::string_view body);

struct FramedDemo {
    std::string bytes;
    std::size_t playbackBegin = 0;
    std::size_t directoryOffset = 0;
    std::vector<std::size_t> frameOffsets;    // of the playback frames
    std::vector<std::size_t> messageOffsets;  // MakeFramedDemo: of the playback's net messages
};
// A protocol-5 demo (network protocol 48) of the loading frames, the playback frames (each list
// ending in the next-section frame that closes its segment) and the directory the game writes;
// `time` and `frames` are what the playback entry gives.
FramedDemo AssembleDemo(const std::vector<std::string>& loading, const std::vector<std::string>& playback,
                        float time, int frames);

// A protocol-5 demo of whole frames, as the game records one: a loading segment of two net
// messages, a playback segment holding a frame of every kind and `messages` net messages (at 0.5 s,
// 1 s, ...; the last frames of playback).
FramedDemo MakeFramedDemo(int messages = 4);

}  // namespace vorelix::test
