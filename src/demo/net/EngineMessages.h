// The game's engine messages of network protocol 48: their ids and names.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorelix::demo::net {

// The only network protocol whose messages are decoded: every recording at hand was made with it.
inline constexpr std::int32_t kDecodedNetworkProtocol = 48;

enum class Svc : std::uint8_t {
    Bad = 0,
    Nop = 1,
    Disconnect = 2,
    Event = 3,
    Version = 4,
    SetView = 5,
    Sound = 6,
    Time = 7,
    Print = 8,
    StuffText = 9,
    SetAngle = 10,
    ServerInfo = 11,
    LightStyle = 12,
    UpdateUserInfo = 13,
    DeltaDescription = 14,
    ClientData = 15,
    StopSound = 16,
    Pings = 17,
    Particle = 18,
    Damage = 19,
    SpawnStatic = 20,
    EventReliable = 21,
    SpawnBaseline = 22,
    TempEntity = 23,
    SetPause = 24,
    SignOnNum = 25,
    CenterPrint = 26,
    KilledMonster = 27,
    FoundSecret = 28,
    SpawnStaticSound = 29,
    Intermission = 30,
    Finale = 31,
    CdTrack = 32,
    Restore = 33,
    Cutscene = 34,
    WeaponAnim = 35,
    DecalName = 36,
    RoomType = 37,
    AddAngle = 38,
    NewUserMsg = 39,
    PacketEntities = 40,
    DeltaPacketEntities = 41,
    Choke = 42,
    ResourceList = 43,
    NewMoveVars = 44,
    ResourceRequest = 45,
    Customization = 46,
    CrosshairAngle = 47,
    SoundFade = 48,
    FileTxferFailed = 49,
    Hltv = 50,
    Director = 51,
    VoiceInit = 52,
    VoiceData = 53,
    SendExtraInfo = 54,
    TimeScale = 55,
    ResourceLocation = 56,
    SendCvarValue = 57,
    SendCvarValue2 = 58,
};
inline constexpr std::uint8_t kLastEngineMessage = 58;
// Ids from here on are the game's user messages, which the demo registers itself.
inline constexpr std::uint8_t kFirstUserMessage = 64;

// "svc_serverinfo", ...; "svc_unknown" for an id no engine message has.
std::string_view EngineMessageName(std::uint8_t id);

}  // namespace vorelix::demo::net
