// How the commands that change demos go through one demo, shared by set-nick, edit-chat,
// delete-chat and strip-statsme.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/Cli.h"

namespace vorelix::cli {

// What a command decided for one demo from its bytes.
struct EditDecision {
    demo::WritePlan plan;
    std::string message;            // told when the plan is written, also when it is empty
    Json details = Json::object();  // the command's own fields, in the JSON object before "message"
    bool listWritten = true;        // "written": every run's position and length
    // The entries left alone, by their 1-based positions, with the reason; told after the message.
    std::vector<std::pair<std::int64_t, std::string>> leftOut;
    std::optional<Problem> problem;  // the demo is refused: nothing is written
};
using Planner = std::function<EditDecision(platform::MappedDemo& demo)>;

// Opens the demo (refusing a .bak copy, a file that cannot be opened, one that is not a demo),
// plans, makes the backup copy right before the first write, writes, and tells the outcome on
// standard output or error. Returns the demo's JSON object ("ok" says whether it succeeded).
Json EditDemo(const Context& context, const std::string& argument, const Planner& planner);

}  // namespace vorelix::cli
