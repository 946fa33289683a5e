// Nick rename plans.
#include "demo/NickEdit.h"

namespace vorelix::demo {

Result<std::string> FitNick(const std::string& newNick, std::size_t room) {
    if (newNick.size() > room) {
        return Failure{"the new nick is " + std::to_string(newNick.size()) +
                           " bytes long, but the demo has room for " + std::to_string(room) + " there",
                       0};
    }
    std::string bytes = newNick;
    bytes.resize(room, ' ');
    return bytes;
}

Result<WritePlan> PlanNickEdit(const std::vector<NickEntry>& entries, std::uint64_t fileLength,
                               const std::string& oldNick, const std::string& newNick,
                               std::optional<std::int64_t> onlyAt) {
    WritePlan plan{fileLength, {}};
    bool positionSeen = false;
    for (const auto& entry : entries) {
        if (onlyAt) {
            if (entry.position != *onlyAt) continue;
            positionSeen = true;
        }
        if (entry.nick != oldNick) continue;
        auto bytes = FitNick(newNick, entry.nick.size());
        if (!bytes) return bytes.failure();
        plan.runs.push_back(Overwrite{static_cast<std::uint64_t>(entry.position - 1), std::move(*bytes)});
    }
    if (plan.runs.empty()) {
        if (onlyAt && !positionSeen) {
            return Failure{"no nick starts at position " + std::to_string(*onlyAt), 0};
        }
        return Failure{onlyAt ? "the nick at position " + std::to_string(*onlyAt) + " is not the one given"
                              : std::string("no such nick in the demo"),
                       0};
    }
    return plan;
}

}  // namespace vorelix::demo
