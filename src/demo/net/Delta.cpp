// Reading delta-coded structures field by field, as the game's own delta parser does.
#include "demo/net/Delta.h"

#include <bit>

namespace vorelix::demo::net {

namespace {

constexpr std::uint32_t kKindMask = ~kDeltaSigned;

DeltaTable MakeDescriptionTable() {
    // fieldType, fieldName, fieldOffset, fieldSize, significant_bits, premultiply, postmultiply.
    DeltaTable table{"delta_description_t",
                     {{"fieldType", kDeltaInteger, 32, 0},
                      {"fieldName", kDeltaString, 8, 0},
                      {"fieldOffset", kDeltaInteger, 16, 0},
                      {"fieldSize", kDeltaInteger, 8, 0},
                      {"significant_bits", kDeltaInteger, 8, 0},
                      {"premultiply", kDeltaFloat, 32, 0},
                      {"postmultiply", kDeltaFloat, 32, 0}}};
    std::string unused;
    for (DeltaField& field : table.fields) PrepareField(field, unused);
    return table;
}

}  // namespace

const DeltaTable& DescriptionTable() {
    static const DeltaTable table = MakeDescriptionTable();
    return table;
}

bool PrepareField(DeltaField& field, std::string& why) {
    const std::uint32_t kind = field.kind & kKindMask;
    if (kind == 0 || !std::has_single_bit(kind) || kind > kDeltaString) {
        why = "its field \"" + field.name + "\" has the unknown kind " + std::to_string(field.kind);
        return false;
    }
    if (kind == kDeltaString) {
        field.streamBits = 0;
        return true;
    }
    // A time window of 8 bits is always 8 wide, whatever the table says.
    const std::uint32_t bits = kind == kDeltaTimeWindow8 ? 8 : field.bits;
    if (bits == 0 || bits > 32) {
        why = "its field \"" + field.name + "\" is " + std::to_string(field.bits) + " bits wide";
        return false;
    }
    field.streamBits = bits;
    return true;
}

void ReadDelta(BitReader& in, const DeltaTable& table, std::vector<DeltaValue>* values) {
    const unsigned maskBytes = in.Bits(3);
    std::uint64_t mask = 0;
    for (unsigned i = 0; i < maskBytes; ++i) mask |= std::uint64_t{in.Bits(8)} << (8 * i);
    const std::size_t fieldCount = table.fields.size();
    while (mask != 0 && !in.Overrun()) {
        const auto index = static_cast<std::size_t>(std::countr_zero(mask));
        mask &= mask - 1;
        if (index >= fieldCount) break;
        const DeltaField& field = table.fields[index];
        if (field.streamBits == 0) {
            const std::string_view text = in.String();
            if (values != nullptr) (*values)[index].text = text;
            continue;
        }
        if (values == nullptr) {
            in.SkipBits(field.streamBits);
            continue;
        }
        const bool isSigned = (field.kind & kDeltaSigned) != 0 ||
                              (field.kind & kKindMask) == kDeltaTimeWindow8 ||
                              (field.kind & kKindMask) == kDeltaTimeWindowBig;
        const bool angle = (field.kind & kKindMask) == kDeltaAngle;
        (*values)[index].number =
            isSigned && !angle ? in.SignedBits(field.streamBits) : in.Bits(field.streamBits);
    }
}

bool ReadDescribedTable(BitReader& in, std::string name, std::uint32_t fieldCount, DeltaTable& table,
                        std::string& why) {
    if (fieldCount > kMostDeltaFields) {
        why = "it has " + std::to_string(fieldCount) + " fields, more than any table of the game";
        return false;
    }
    const DeltaTable& description = DescriptionTable();
    table = DeltaTable{std::move(name), {}};
    std::vector<DeltaValue> values(description.fields.size());
    for (std::uint32_t i = 0; i < fieldCount; ++i) {
        // Every field is coded against an empty one.
        values.assign(description.fields.size(), DeltaValue{});
        ReadDelta(in, description, &values);
        if (in.Overrun()) {
            why = "its field " + std::to_string(i + 1) + " of " + std::to_string(fieldCount) +
                  " ends past the message";
            return false;
        }
        DeltaField field{std::string(values[1].text), static_cast<std::uint32_t>(values[0].number),
                         static_cast<std::uint32_t>(values[4].number), 0};
        if (!PrepareField(field, why)) return false;
        table.fields.push_back(std::move(field));
    }
    return true;
}

bool DeltaTables::Set(DeltaTable table) {
    if (tables_.size() >= kMostDeltaTables && !tables_.contains(table.name)) return false;
    const std::string name = table.name;
    tables_[name] = std::move(table);
    entity = Find("entity_state_t");
    player = Find("entity_state_player_t");
    customEntity = Find("custom_entity_state_t");
    clientData = Find("clientdata_t");
    weaponData = Find("weapon_data_t");
    event = Find("event_t");
    return true;
}

const DeltaTable* DeltaTables::Find(std::string_view name) const {
    const auto found = tables_.find(name);
    return found == tables_.end() ? nullptr : &found->second;
}

}  // namespace vorelix::demo::net
