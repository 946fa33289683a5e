// strip-statsme: blanks the StatsMe inscriptions of each demo given.
#include "cli/EditCommands.h"
#include "demo/edit/Messages.h"
#include "demo/edit/StatsMe.h"

namespace vorelix::cli {

int RunStripStatsMe(const Context& context) {
    FileListJson files(context);
    int status = kSuccess;
    for (const auto& argument : context.options.operands) {
        const Json file = EditDemo(context, argument, [](platform::MappedDemo& demo) {
            EditDecision decision;
            demo::StatsMePlan result = demo::PlanStatsMeRemoval(demo.Bytes(), &demo);
            decision.details = Json{{"found", result.found},
                                    {"inscriptions", result.inscriptions},
                                    {"bytes_blanked", result.plan.BytesWritten()}};
            decision.listWritten = false;
            decision.message = result.found ? demo::kStatsMeRemovedMessage : demo::kStatsMeNotFoundMessage;
            decision.plan = std::move(result.plan);
            return decision;
        });
        if (!file["ok"].get<bool>()) status = kRefused;
        files.Add(file);
    }
    files.Close();
    return status;
}

}  // namespace vorelix::cli
