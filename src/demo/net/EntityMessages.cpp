// The engine messages that are bit streams of delta-coded structures: delta tables, baselines,
// entity packets, client data and events.
#include "demo/net/MessageDecoder.h"

namespace vorelix::demo::net {

namespace {

// A baseline's or packet's entity number is 11 bits; all ones ends the list of baselines.
constexpr std::uint32_t kEntityBits = 11;
constexpr std::uint32_t kEndOfBaselines = (1u << kEntityBits) - 1;

}  // namespace

bool MessageDecoder::DeltaDescription(BitReader& in) {
    std::string name(in.String());
    const std::uint32_t fieldCount = in.Word();
    if (in.Overrun()) return true;
    DeltaTable table;
    std::string why;
    if (!ReadDescribedTable(in, name, fieldCount, table, why))
        return Fail("the delta table " + name + " cannot be read: " + why);
    in.AlignToByte();
    if (!tables_.Set(std::move(table)))
        return Fail("it describes a table more than the " + std::to_string(kMostDeltaTables) +
                    " a demo can hold");
    return true;
}

bool MessageDecoder::ClientData(BitReader& in) {
    // A proxy's spectators get the message with nothing in it.
    if (proxySpectator_) return true;
    const DeltaTable* clientData = Table(tables_.clientData, "clientdata_t");
    const DeltaTable* weaponData = Table(tables_.weaponData, "weapon_data_t");
    if (clientData == nullptr || weaponData == nullptr) return false;
    if (in.Bit()) in.SkipBits(8);  // the packet it is a delta from
    ReadDelta(in, *clientData);
    while (!in.Overrun() && in.Bit()) {
        in.SkipBits(6);  // the weapon's slot
        ReadDelta(in, *weaponData);
    }
    in.AlignToByte();
    return true;
}

bool MessageDecoder::SpawnBaseline(BitReader& in) {
    for (;;) {
        const std::uint32_t entity = in.Bits(kEntityBits);
        if (in.Overrun() || entity == kEndOfBaselines) break;
        const std::uint32_t type = in.Bits(2);
        const DeltaTable* table = (type & 1) == 0 ? Table(tables_.customEntity, "custom_entity_state_t")
                                  : IsPlayer(static_cast<int>(entity))
                                      ? Table(tables_.player, "entity_state_player_t")
                                      : Table(tables_.entity, "entity_state_t");
        if (table == nullptr) return false;
        ReadDelta(in, *table);
    }
    if (in.Bits(5) != 0x1F && !in.Overrun())
        return Fail("its list of baselines does not end as the game ends it");
    instancedBaselines_ = static_cast<int>(in.Bits(6));
    if (instancedBaselines_ > 0) {
        const DeltaTable* table = Table(tables_.entity, "entity_state_t");
        if (table == nullptr) return false;
        for (int i = 0; i < instancedBaselines_ && !in.Overrun(); ++i) ReadDelta(in, *table);
    }
    in.AlignToByte();
    return true;
}

bool MessageDecoder::PacketEntities(BitReader& in, bool delta, const FrameFacts& facts) {
    in.Word();  // how many entities the packet holds
    if (delta) {
        const std::uint8_t from = in.Byte();
        const PacketSlot& base = packets_[from];
        if (!in.Overrun() && (!base.seen || facts.incomingSequence - base.sequence <= 0 ||
                              facts.incomingSequence - base.sequence >= 256)) {
            return Fail("it is a delta from packet " + std::to_string(from) + ", which never came");
        }
    }
    int entity = 0;
    for (;;) {
        if (in.BitsLeft() < 16) return Fail("its entities run past the frame's messages");
        if (in.PeekBits(16) == 0) {
            in.SkipBits(16);
            break;
        }
        if (delta) {
            const bool remove = in.Bit();
            entity =
                in.Bit() ? static_cast<int>(in.Bits(kEntityBits)) : entity + static_cast<int>(in.Bits(6));
            if (remove) continue;
        } else if (in.Bit()) {
            ++entity;
        } else {
            entity =
                in.Bit() ? static_cast<int>(in.Bits(kEntityBits)) : entity + static_cast<int>(in.Bits(6));
        }
        const bool custom = in.Bit();
        bool instanced = false;
        if (instancedBaselines_ > 0 && in.Bit()) {
            instanced = true;
            in.SkipBits(6);
        }
        if (!delta && !instanced && in.Bit()) in.SkipBits(6);  // an earlier entity of this packet as its base
        const DeltaTable* table = custom             ? Table(tables_.customEntity, "custom_entity_state_t")
                                  : IsPlayer(entity) ? Table(tables_.player, "entity_state_player_t")
                                                     : Table(tables_.entity, "entity_state_t");
        if (table == nullptr) return false;
        ReadDelta(in, *table);
        if (in.Overrun()) return true;
    }
    in.AlignToByte();
    PacketSlot& slot = packets_[static_cast<std::uint8_t>(facts.incomingSequence & 0xFF)];
    slot = PacketSlot{true, facts.incomingSequence};
    return true;
}

bool MessageDecoder::Event(BitReader& in, bool reliable) {
    const DeltaTable* table = Table(tables_.event, "event_t");
    if (table == nullptr) return false;
    if (reliable) {
        in.SkipBits(10);  // the event's index
        ReadDelta(in, *table);
        if (in.Bit()) in.SkipBits(16);  // delay
        in.AlignToByte();
        return true;
    }
    const std::uint32_t count = in.Bits(5);
    for (std::uint32_t i = 0; i < count && !in.Overrun(); ++i) {
        in.SkipBits(10);
        if (in.Bit()) {
            in.SkipBits(11);  // the entity packet it belongs to
            if (in.Bit()) ReadDelta(in, *table);
        }
        if (in.Bit()) in.SkipBits(16);  // fire time
    }
    in.AlignToByte();
    return true;
}

}  // namespace vorelix::demo::net
