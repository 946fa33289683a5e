// The message loop of a frame and the engine messages laid out in whole bytes.
#include "demo/net/MessageDecoder.h"

#include "demo/DemoCheck.h"
#include "demo/net/EngineMessages.h"

namespace vorelix::demo::net {

namespace {

// Fixed sizes of the engine messages that are plain bytes; -1 for the others.
constexpr int FixedSize(Svc id) {
    switch (id) {
        case Svc::Nop:
        case Svc::KilledMonster:
        case Svc::FoundSecret:
        case Svc::Intermission:
        case Svc::Choke:
            return 0;
        case Svc::Version:
        case Svc::Time:
        case Svc::TimeScale:
            return 4;
        case Svc::SetView:
        case Svc::StopSound:
        case Svc::RoomType:
        case Svc::AddAngle:
        case Svc::CdTrack:
        case Svc::WeaponAnim:
        case Svc::CrosshairAngle:
            return 2;
        case Svc::SetAngle:
            return 6;
        case Svc::Particle:
            return 11;
        case Svc::SetPause:
        case Svc::SignOnNum:
            return 1;
        case Svc::SpawnStaticSound:
            return 14;
        case Svc::SoundFade:
            return 4;
        case Svc::ResourceRequest:
            return 8;
        default:
            return -1;
    }
}

}  // namespace

std::string DescribeStop(const DecodeStop& stop) {
    std::string text = "offset " + std::to_string(stop.messageOffset) + " (the frame at " +
                       std::to_string(stop.frameOffset) + ", " +
                       (stop.playback ? TimeText(stop.time) + " into playback" : "before playback") + ")";
    if (stop.messageId >= 0) {
        text += ", " + stop.messageName + " (id " + std::to_string(stop.messageId) + ")";
    }
    return text + ", bit " + std::to_string(stop.bitPosition) + ": " + stop.reason;
}

bool MessageDecoder::Fail(std::string why) {
    why_ = std::move(why);
    return false;
}

const DeltaTable* MessageDecoder::Table(const DeltaTable* table, std::string_view name) {
    if (table == nullptr) Fail("the delta table " + std::string(name) + " was never described");
    return table;
}

std::optional<DecodeStop> MessageDecoder::DecodeFrame(ByteView messages, const FrameFacts& facts,
                                                      MessageSink& sink) {
    BitReader in(messages);
    while (!in.AtEnd()) {
        const std::uint64_t start = in.BitPosition();
        const std::uint8_t id = in.Byte();
        why_.clear();
        bool read = id >= kFirstUserMessage ? DecodeUserMessage(id, in, facts, sink)
                                            : DecodeEngineMessage(id, in, facts, sink);
        if (read && in.Overrun()) read = Fail("the message ends past the frame's messages");
        if (read) continue;
        std::string name =
            id >= kFirstUserMessage
                ? (userMessages_[id].registered ? "user message " + userMessages_[id].name : "user message")
                : std::string(EngineMessageName(id));
        return DecodeStop{facts.offset,
                          facts.time,
                          facts.playback,
                          id,
                          std::move(name),
                          facts.messagesOffset + start / 8,
                          in.Overrun() ? in.Bytes().size() * 8 : in.BitPosition(),
                          why_};
    }
    return std::nullopt;
}

bool MessageDecoder::DecodeUserMessage(std::uint8_t id, BitReader& in, const FrameFacts& facts,
                                       MessageSink& sink) {
    const UserMessage& message = userMessages_[id];
    if (!message.registered) return Fail("user message " + std::to_string(id) + " was never registered");
    std::uint64_t size = message.size >= 0 ? static_cast<std::uint64_t>(message.size) : in.Byte();
    if (in.Overrun()) return Fail("its length byte is past the frame's messages");
    if (size > in.BytesLeft()) {
        return Fail("it takes " + std::to_string(size) + " bytes, " + std::to_string(in.BytesLeft()) +
                    " are left");
    }
    const std::uint64_t at = in.BitPosition() / 8;
    const ByteView payload = in.Bytes().subspan(static_cast<std::size_t>(at), static_cast<std::size_t>(size));
    in.SkipBytes(size);
    sink.OnUserMessage(message.name, payload, facts.messagesOffset + at, facts);
    return true;
}

bool MessageDecoder::DecodeEngineMessage(std::uint8_t id, BitReader& in, const FrameFacts& facts,
                                         MessageSink& sink) {
    const Svc svc = static_cast<Svc>(id);
    if (const int size = FixedSize(svc); size >= 0 && id <= kLastEngineMessage) {
        in.SkipBytes(static_cast<std::uint64_t>(size));
        return true;
    }
    switch (svc) {
        case Svc::Disconnect:
        case Svc::StuffText:
        case Svc::CenterPrint:
        case Svc::Finale:
        case Svc::Cutscene:
        case Svc::FileTxferFailed:
        case Svc::ResourceLocation:
        case Svc::SendCvarValue:
            in.String();
            return true;
        case Svc::Print: {
            const std::string_view text = in.String();
            if (!in.Overrun()) sink.OnPrint(text, facts);
            return true;
        }
        case Svc::ServerInfo:
            return ServerInfoMessage(in, facts, sink);
        case Svc::LightStyle:
        case Svc::DecalName:
            in.Byte();
            in.String();
            return true;
        case Svc::UpdateUserInfo: {
            const int slot = in.Byte();
            const std::int32_t userId = in.Long();
            const std::string_view info = in.String();
            in.SkipBytes(16);  // the CD key's hash
            if (!in.Overrun()) sink.OnUserInfo(slot, userId, info, facts);
            return true;
        }
        case Svc::DeltaDescription:
            return DeltaDescription(in);
        case Svc::ClientData:
            return ClientData(in);
        case Svc::Event:
            return Event(in, false);
        case Svc::EventReliable:
            return Event(in, true);
        case Svc::SpawnBaseline:
            return SpawnBaseline(in);
        case Svc::PacketEntities:
            return PacketEntities(in, false, facts);
        case Svc::DeltaPacketEntities:
            return PacketEntities(in, true, facts);
        case Svc::TempEntity:
            return TempEntity(in);
        case Svc::SpawnStatic: {
            in.SkipBytes(2 + 1 + 1 + 2 + 1 +
                         3 * (2 + 1));  // model, sequence, frame, colormap, skin, origin and angles
            if (in.Byte() != 0) in.SkipBytes(1 + 3 + 1);  // render amount, colour and effects
            return true;
        }
        case Svc::Restore: {
            in.String();
            const int maps = in.Byte();
            for (int i = 0; i < maps && !in.Overrun(); ++i) in.String();
            return true;
        }
        case Svc::NewUserMsg: {
            const std::uint8_t userId = in.Byte();
            const std::uint8_t size = in.Byte();
            const ByteView name = in.Bytes().subspan(static_cast<std::size_t>(in.BitPosition() / 8),
                                                     std::min<std::size_t>(16, in.BytesLeft()));
            in.SkipBytes(16);
            if (in.Overrun()) return true;
            if (userId < kFirstUserMessage) {
                return Fail("it registers user message " + std::to_string(userId) +
                            ", an id engine messages keep");
            }
            // A second registration of an id replaces the first, as in the game.
            UserMessage& message = userMessages_[userId];
            message.registered = true;
            message.size = size == 255 ? -1 : size;
            const std::string_view text = AsText(name);
            message.name = std::string(text.substr(0, text.find('\0')));
            return true;
        }
        case Svc::Pings:
            while (!in.Overrun() && in.Bit()) in.SkipBits(24);  // slot, ping, loss
            in.AlignToByte();
            return true;
        case Svc::Sound: {
            const std::uint32_t fields = in.Bits(9);
            in.SkipBits(((fields & 1) ? 8 : 0) + ((fields & 2) ? 8 : 0) + 3 +
                        11);                     // volume, attenuation, channel, entity
            in.SkipBits((fields & 4) ? 16 : 8);  // the sound's index
            const bool axes[3] = {in.Bit(), in.Bit(), in.Bit()};
            for (const bool axis : axes) {
                if (!axis) continue;
                const bool whole = in.Bit();
                const bool fraction = in.Bit();
                if (whole || fraction) in.SkipBits(1 + (whole ? 12 : 0) + (fraction ? 3 : 0));
            }
            if (fields & 8) in.SkipBits(8);  // pitch
            in.AlignToByte();
            return true;
        }
        case Svc::ResourceList: {
            const std::uint32_t count = in.Bits(12);
            for (std::uint32_t i = 0; i < count && !in.Overrun(); ++i) {
                in.SkipBits(4);  // type
                in.String();
                in.SkipBits(12 + 24);                  // index, download size
                if (in.Bits(3) & 4) in.SkipBits(128);  // a custom resource's MD5
                if (in.Bit()) in.SkipBits(256);        // reserved bytes
            }
            // The consistency list: indexes as 5-bit steps or 10-bit numbers.
            if (in.Bit()) {
                while (!in.Overrun() && in.Bit()) in.SkipBits(in.Bit() ? 5 : 10);
            }
            in.AlignToByte();
            return true;
        }
        case Svc::NewMoveVars:
            in.SkipBytes(16 * 4 + 1 + 2 * 4 + 6 * 4);  // 16 floats, footsteps, roll, sky colour and vector
            in.String();                               // sky name
            return true;
        case Svc::Customization: {
            in.SkipBytes(2);  // player, type
            in.String();
            in.SkipBytes(2 + 4);                  // index, download size
            if (in.Byte() & 4) in.SkipBytes(16);  // a custom resource's MD5
            return true;
        }
        case Svc::Hltv: {
            const int mode = in.Byte();
            // Mode 1 is the proxy's status: spectators, slots, proxies, bandwidth and more.
            if (mode == 1)
                in.SkipBytes(4 + 2 + 2 + 4 + 4 + 2);
            else if (mode != 0)
                return Fail("svc_hltv of mode " + std::to_string(mode) + " is not known");
            if (in.Overrun()) return true;
            // Mode 0 tells a spectator that it watches through a proxy: its client data stays empty.
            if (mode == 0) proxySpectator_ = true;
            sink.OnHltv(mode, facts);
            return true;
        }
        case Svc::Director:
            in.SkipBytes(in.Byte());
            return true;
        case Svc::VoiceInit:
            in.String();
            in.Byte();
            return true;
        case Svc::VoiceData: {
            in.Byte();
            in.SkipBytes(in.Word());
            return true;
        }
        case Svc::SendExtraInfo:
            in.String();
            in.Byte();
            return true;
        case Svc::SendCvarValue2:
            in.Long();
            in.String();
            return true;
        default:
            return Fail(id <= kLastEngineMessage ? "the game never sends this message in a demo"
                                                 : "no engine message has id " + std::to_string(id));
    }
}

bool MessageDecoder::ServerInfoMessage(BitReader& in, const FrameFacts& facts, MessageSink& sink) {
    ServerInfo info;
    info.protocol = in.Long();
    info.spawnCount = in.Long();
    info.mapCrc = in.Long();
    in.SkipBytes(16);  // the client library's MD5
    info.maxPlayers = in.Byte();
    info.recorderSlot = in.Byte();
    info.deathmatch = in.Byte() != 0;
    info.gameFolder = in.String();
    info.hostName = in.String();
    info.mapFile = in.String();
    in.String();  // the map cycle
    in.Byte();
    if (in.Overrun()) return true;
    if (info.maxPlayers < 1 || info.maxPlayers > 32)
        return Fail("it says the server holds " + std::to_string(info.maxPlayers) + " players");
    serverInfo_ = info;
    sink.OnServerInfo(info, facts);
    return true;
}

}  // namespace vorelix::demo::net
