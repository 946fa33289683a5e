// Building synthetic demos for tests.
#include "SyntheticDemo.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

namespace vorelix::test {

std::string MakeDemo(std::size_t length, std::string_view map, std::string_view mod) {
    std::string demo(std::max<std::size_t>(length, 406), '\0');
    PutAt(demo, 0, "HLDEMO");
    PutAt(demo, 16, map);
    PutAt(demo, 276, mod);
    demo.resize(length);
    return demo;
}

void PutAt(std::string& demo, std::size_t offset, std::string_view bytes) {
    if (offset + bytes.size() > demo.size()) throw std::out_of_range("PutAt beyond the demo");
    std::copy(bytes.begin(), bytes.end(), demo.begin() + static_cast<std::ptrdiff_t>(offset));
}

std::string WithPieces(std::string demo, const Pieces& pieces) {
    for (const auto& [offset, bytes] : pieces) PutAt(demo, offset, bytes);
    return demo;
}

std::string MakeDemo(std::size_t length, const Pieces& pieces) {
    return WithPieces(MakeDemo(length), pieces);
}

std::string Int32(std::int32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

std::string Counted(std::string_view bytes) {
    return Int32(static_cast<std::int32_t>(bytes.size())) + std::string(bytes);
}

std::string Frame(int kind, float time, int number, std::string_view body) {
    return static_cast<char>(kind) + Int32(std::bit_cast<std::int32_t>(time)) + Int32(number) +
           std::string(body);
}

namespace {

std::string Entry(int type, std::string description, float time, int frames, std::size_t offset,
                  std::size_t length) {
    description.resize(64, '\0');
    return Int32(type) + description + Int32(0) + Int32(-1) + Int32(std::bit_cast<std::int32_t>(time)) +
           Int32(frames) + Int32(static_cast<std::int32_t>(offset)) +
           Int32(static_cast<std::int32_t>(length));
}

}  // namespace

FramedDemo AssembleDemo(const std::vector<std::string>& loading, const std::vector<std::string>& playback,
                        float time, int frames) {
    FramedDemo demo;
    std::string& out = demo.bytes;
    out = MakeDemo(544);
    PutAt(out, 8, Int32(5) + Int32(48));
    for (const std::string& frame : loading) out += frame;
    demo.playbackBegin = out.size();
    for (const std::string& frame : playback) {
        demo.frameOffsets.push_back(out.size());
        out += frame;
    }
    demo.directoryOffset = out.size();
    out += Int32(2) + Entry(0, "LOADING", 0.0f, 0, 544, demo.playbackBegin - 544) +
           Entry(1, "Playback", time, frames, demo.playbackBegin, demo.directoryOffset - demo.playbackBegin);
    PutAt(out, 540, Int32(static_cast<std::int32_t>(demo.directoryOffset)));
    return demo;
}

FramedDemo MakeFramedDemo(int messages) {
    const std::string info(464, '\x11');
    std::vector<std::string> playback{
        Frame(2, 0.0f, 0, ""),
        Frame(3, 0.0f, 0, std::string("say hi").append(58, '\0')),
        Frame(4, 0.0f, 0, std::string(32, '\x33')),
        Frame(9, 0.0f, 0, Counted("buffer")),
        Frame(6, 0.1f, 1, std::string(84, '\x44')),
        Frame(7, 0.1f, 1, std::string(8, '\x55')),
        Frame(8, 0.2f, 2, Int32(1) + Counted("weapons/ak47-1.wav") + std::string(16, '\x66'))};
    float time = 0.5f;
    for (int i = 0; i < messages; ++i, time += 0.5f)
        playback.push_back(
            Frame(1, time, 3 + i, info + Counted(std::string(static_cast<std::size_t>(40 + i), '\x77'))));
    playback.push_back(Frame(5, time, 3 + messages, ""));
    FramedDemo demo =
        AssembleDemo({Frame(0, 1.0f, 10, info + Counted("loading one")),
                      Frame(0, 1.5f, 11, info + Counted(std::string(300, '\x22'))), Frame(5, 1.5f, 11, "")},
                     playback, time, messages);
    demo.messageOffsets.assign(demo.frameOffsets.end() - 1 - messages, demo.frameOffsets.end() - 1);
    return demo;
}

}  // namespace vorelix::test
