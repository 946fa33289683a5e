// Reading and writing the demo header's fields and the directory table.
#include "demo/DemoContainer.h"

#include "demo/DemoHeader.h"
#include "demo/LittleEndian.h"

namespace vorelix::demo {

namespace {

std::string TextField(ByteView bytes, std::uint64_t offset, std::uint64_t size) {
    const ByteView field = bytes.subspan(offset, size);
    const std::size_t nul = FindByte(field, 0, 0);
    return std::string(AsText(nul == kNotFound ? field : field.first(nul)));
}

}  // namespace

Result<ContainerHeader> ReadContainerHeader(ByteView demo) {
    if (demo.empty()) return Failure{"the file is empty", 0};
    if (demo.size() < kMagic.size() + 1 ||
        AsText(demo.first(kMagic.size() + 1)) != std::string(kMagic) + '\0')
        return Failure{"this is not a demo (it does not start with HLDEMO)", 0};
    if (demo.size() < kNetworkProtocolOffset + 4) return Failure{"the file ends inside the demo's header", 0};
    ContainerHeader header;
    header.demoProtocol = ReadInt32(demo, kDemoProtocolOffset);
    header.networkProtocol = ReadInt32(demo, kNetworkProtocolOffset);
    if (!header.FramesReadable()) return header;
    if (demo.size() < kContainerHeaderSize)
        return Failure{
            "the file ends inside the demo's " + std::to_string(kContainerHeaderSize) + "-byte header", 0};
    header.map = TextField(demo, kMapOffset, kHeaderTextSize);
    header.gameFolder = TextField(demo, kGameOffset, kHeaderTextSize);
    header.mapCrc = ReadUInt32(demo, kMapCrcOffset);
    header.directoryOffset = ReadInt32(demo, kDirectoryOffsetField);
    return header;
}

std::string_view DirectoryStateText(DirectoryState state) {
    switch (state) {
        case DirectoryState::Ok:
            return "ok";
        case DirectoryState::Missing:
            return "missing";
        case DirectoryState::Damaged:
            return "damaged";
    }
    return "damaged";
}

Result<DirectoryRead> ReadDirectory(DemoBytes& demo, std::int32_t directoryOffset) {
    const auto damaged = [](std::string problem) {
        return DirectoryRead{DirectoryState::Damaged, {}, std::move(problem)};
    };
    if (directoryOffset == 0)
        return DirectoryRead{DirectoryState::Missing, {}, "the header gives no directory offset"};
    const std::string at = " (the header gives offset " + std::to_string(directoryOffset) + ")";
    if (directoryOffset > 0 && static_cast<std::uint64_t>(directoryOffset) >= demo.Size())
        return DirectoryRead{DirectoryState::Missing, {}, "the file ends before its directory" + at};
    if (directoryOffset < static_cast<std::int64_t>(kContainerHeaderSize))
        return damaged("the directory would lie inside the header" + at);
    const auto offset = static_cast<std::uint64_t>(directoryOffset);
    const std::uint64_t left = demo.Size() - offset;
    if (left < 4) return damaged("the file ends inside the directory's entry count" + at);
    auto countBytes = demo.At(offset, 4);
    if (!countBytes) return countBytes.failure();
    const std::int32_t count = ReadInt32(*countBytes, 0);
    if (count <= 0 || count > kMostDirectoryEntries)
        return damaged("the directory holds " + std::to_string(count) + " entries, not 1 to " +
                       std::to_string(kMostDirectoryEntries) + at);
    const std::uint64_t tableSize = static_cast<std::uint64_t>(count) * kDirectoryEntrySize;
    if (tableSize > left - 4)
        return damaged("the directory's " + std::to_string(count) +
                       " entries would reach past the end of the file" + at);
    auto table = demo.At(offset + 4, tableSize);
    if (!table) return table.failure();
    DirectoryRead read{DirectoryState::Ok, {}, {}};
    for (std::uint64_t i = 0; i < static_cast<std::uint64_t>(count); ++i) {
        const ByteView bytes = table->subspan(i * kDirectoryEntrySize, kDirectoryEntrySize);
        const std::uint64_t fields = 4 + kEntryDescriptionSize;
        DirectoryEntry entry{ReadInt32(bytes, 0),           TextField(bytes, 4, kEntryDescriptionSize),
                             ReadInt32(bytes, fields),      ReadInt32(bytes, fields + 4),
                             ReadFloat(bytes, fields + 8),  ReadInt32(bytes, fields + 12),
                             ReadInt32(bytes, fields + 16), ReadInt32(bytes, fields + 20)};
        const bool inside = entry.offset >= static_cast<std::int64_t>(kContainerHeaderSize) &&
                            entry.length >= 0 && entry.End() <= offset;
        if (!inside && read.state == DirectoryState::Ok) {
            read.state = DirectoryState::Damaged;
            read.problem = "directory entry " + std::to_string(i + 1) + " gives a segment of " +
                           std::to_string(entry.length) + " bytes at offset " + std::to_string(entry.offset) +
                           ", outside the frames between the header and the directory";
        }
        read.entries.push_back(std::move(entry));
    }
    return read;
}

std::string EncodeDirectory(const std::vector<DirectoryEntry>& entries) {
    std::string out;
    out.reserve(4 + entries.size() * kDirectoryEntrySize);
    AppendInt32(out, static_cast<std::int32_t>(entries.size()));
    for (const auto& entry : entries) {
        AppendInt32(out, entry.type);
        std::string description = entry.description.substr(0, kEntryDescriptionSize - 1);
        description.resize(kEntryDescriptionSize, '\0');
        out += description;
        AppendInt32(out, entry.flags);
        AppendInt32(out, entry.cdTrack);
        AppendFloat(out, entry.time);
        AppendInt32(out, entry.frames);
        AppendInt32(out, entry.offset);
        AppendInt32(out, entry.length);
    }
    return out;
}

}  // namespace vorelix::demo
