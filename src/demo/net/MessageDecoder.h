// Decoding the game's messages in a demo's net-message frames, keeping the state they build on.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "demo/edit/ByteSearch.h"
#include "demo/net/BitReader.h"
#include "demo/net/Delta.h"

namespace vorelix::demo::net {

// svc_serverinfo: the server and map the recording was made on, and the recorder's slot.
struct ServerInfo {
    std::int32_t protocol = 0;
    std::int32_t spawnCount = 0;
    std::int32_t mapCrc = 0;
    int maxPlayers = 0;
    int recorderSlot = 0;  // 0-based; the recorder's entity is slot + 1
    bool deathmatch = false;
    std::string gameFolder;
    std::string hostName;
    std::string mapFile;  // "maps/de_dust2.bsp"
};

// What a frame is, as the decoder needs it.
struct FrameFacts {
    std::uint64_t offset = 0;          // where the frame starts in the demo
    std::uint64_t messagesOffset = 0;  // where its messages start
    float time = 0;                    // the frame's time
    std::int32_t incomingSequence = 0;
    bool playback = false;  // else a frame of the loading segment
};

// The messages that say something about the game, handed on as they are decoded. Texts and
// payloads point into the frame's bytes: copy what must outlive the call.
class MessageSink {
  public:
    virtual ~MessageSink() = default;
    virtual void OnServerInfo(const ServerInfo&, const FrameFacts&) {}
    // svc_updateuserinfo: a player's slot (0-based), user id and info string ("\name\...").
    virtual void OnUserInfo(int, std::int32_t, std::string_view, const FrameFacts&) {}
    // A user message: its registered name, its payload and the payload's offset in the demo.
    virtual void OnUserMessage(std::string_view, ByteView, std::uint64_t, const FrameFacts&) {}
    virtual void OnPrint(std::string_view, const FrameFacts&) {}
    // svc_hltv: only an HLTV proxy sends it to its spectators.
    virtual void OnHltv(int, const FrameFacts&) {}
    // Whether the sink has all it wants: the frame walk then ends after the frame it decoded last.
    virtual bool Satisfied() const { return false; }
};

// Where a frame's decoding stopped, and why.
struct DecodeStop {
    std::uint64_t frameOffset = 0;
    float time = 0;
    bool playback = false;
    int messageId = -1;  // -1 when the frame's messages could not be reached at all
    std::string messageName;
    std::uint64_t messageOffset = 0;  // where that message starts in the demo
    std::uint64_t bitPosition = 0;    // how far into the frame's messages decoding got, in bits
    std::string reason;
};

// "offset 1234 (frame at 1200, 12.5 s into playback), svc_packetentities (id 40), bit 804: ..."
std::string DescribeStop(const DecodeStop& stop);

// Decodes the frames of one demo in the order they stand; one decoder per demo.
class MessageDecoder {
  public:
    // Decodes every message of one frame. Nothing when the last message ends exactly where the
    // frame's messages do; otherwise where and why it stopped (the rest of the frame is skipped,
    // the state built so far is kept).
    std::optional<DecodeStop> DecodeFrame(ByteView messages, const FrameFacts& facts, MessageSink& sink);

    int MaxPlayers() const { return serverInfo_ ? serverInfo_->maxPlayers : 32; }

  private:
    struct UserMessage {
        bool registered = false;
        int size = -1;  // -1: a length byte follows the id
        std::string name;
    };
    // A packet of entities that a later delta packet may refer to.
    struct PacketSlot {
        bool seen = false;
        std::int32_t sequence = 0;
    };

    bool DecodeEngineMessage(std::uint8_t id, BitReader& in, const FrameFacts& facts, MessageSink& sink);
    bool DecodeUserMessage(std::uint8_t id, BitReader& in, const FrameFacts& facts, MessageSink& sink);
    bool ServerInfoMessage(BitReader& in, const FrameFacts& facts, MessageSink& sink);
    bool DeltaDescription(BitReader& in);
    bool ClientData(BitReader& in);
    bool PacketEntities(BitReader& in, bool delta, const FrameFacts& facts);
    bool SpawnBaseline(BitReader& in);
    bool Event(BitReader& in, bool reliable);
    bool TempEntity(BitReader& in);
    bool Fail(std::string why);
    const DeltaTable* Table(const DeltaTable* table, std::string_view name);
    bool IsPlayer(int entity) const { return entity >= 1 && entity <= MaxPlayers(); }

    DeltaTables tables_;
    std::array<UserMessage, 256> userMessages_{};
    std::optional<ServerInfo> serverInfo_;
    int instancedBaselines_ = 0;
    bool proxySpectator_ = false;  // an HLTV proxy recorded the demo
    std::array<PacketSlot, 256> packets_{};
    std::string why_;
};

}  // namespace vorelix::demo::net
