// Delta-coded structures: the tables the demo describes in svc_deltadescription, and reading one
// delta against them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "demo/net/BitReader.h"

namespace vorelix::demo::net {

// A field's kind, as the game numbers it; the sign flag may be added to any kind.
enum DeltaFieldKind : std::uint32_t {
    kDeltaByte = 1u << 0,
    kDeltaShort = 1u << 1,
    kDeltaFloat = 1u << 2,
    kDeltaInteger = 1u << 3,
    kDeltaAngle = 1u << 4,
    kDeltaTimeWindow8 = 1u << 5,
    kDeltaTimeWindowBig = 1u << 6,
    kDeltaString = 1u << 7,
    kDeltaSigned = 1u << 31,
};

struct DeltaField {
    std::string name;
    std::uint32_t kind = 0;  // one DeltaFieldKind, maybe with kDeltaSigned
    std::uint32_t bits = 0;  // significant bits of a number
    // How many bits the field takes in a delta; 0 for a text (read up to its NUL).
    std::uint32_t streamBits = 0;
};

struct DeltaTable {
    std::string name;
    std::vector<DeltaField> fields;
};

// Bounds that keep a damaged demo from building tables without end: the game's tables have about 50
// fields (a delta can address 56 of them) and there are eight tables.
inline constexpr std::uint32_t kMostDeltaFields = 256;
inline constexpr std::size_t kMostDeltaTables = 32;

// A field's value as read: a number's raw bits (sign applied) or a text.
struct DeltaValue {
    std::int64_t number = 0;
    std::string_view text;
};

// The table that describes the other tables' fields, built into the game.
const DeltaTable& DescriptionTable();

// Checks a described field and works out its width in a delta; false, with `why`, for a field the
// game could not read (no kind or more than one, no bits, more than 32).
bool PrepareField(DeltaField& field, std::string& why);

// Reads one delta: a 3-bit count of mask bytes, the mask, then each field whose bit is set, in the
// table's order. `values`, when given, receives the fields read, indexed as the table's fields (the
// others untouched). Bits set past the table's last field are ignored, as the game ignores them.
void ReadDelta(BitReader& in, const DeltaTable& table, std::vector<DeltaValue>* values = nullptr);

// Reads an svc_deltadescription's fields (after its name and field count) into a table.
bool ReadDescribedTable(BitReader& in, std::string name, std::uint32_t fieldCount, DeltaTable& table,
                        std::string& why);

// The tables a demo has described so far, by name; the ones messages use most are kept at hand.
class DeltaTables {
  public:
    // Keeps a table, replacing one of the same name; false when it would be one table too many.
    bool Set(DeltaTable table);
    const DeltaTable* Find(std::string_view name) const;

    const DeltaTable* entity = nullptr;        // entity_state_t
    const DeltaTable* player = nullptr;        // entity_state_player_t
    const DeltaTable* customEntity = nullptr;  // custom_entity_state_t
    const DeltaTable* clientData = nullptr;    // clientdata_t
    const DeltaTable* weaponData = nullptr;    // weapon_data_t
    const DeltaTable* event = nullptr;         // event_t

  private:
    std::map<std::string, DeltaTable, std::less<>> tables_;
};

}  // namespace vorelix::demo::net
