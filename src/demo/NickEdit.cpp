// Nick rename plans.
#include "demo/NickEdit.h"

namespace vorelix::demo {

Result<WritePlan> PlanNickEdit(const std::vector<NickEntry>& entries, std::uint64_t fileLength,
                               std::string_view shownNick, std::string_view newNick,
                               std::optional<std::int64_t> onlyAt, const TextRule& rule) {
    WritePlan plan{fileLength, {}};
    bool positionSeen = false;
    for (const auto& entry : entries) {
        if (onlyAt) {
            if (entry.position != *onlyAt) continue;
            positionSeen = true;
        }
        if (ShownText(entry.nick, rule) != shownNick) continue;
        auto bytes = FitTypedText(newNick, entry.nick, TextField::Nick, rule);
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
