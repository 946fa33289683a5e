// strip-statsme: blanks the StatsMe inscriptions of each demo given; a failure is reported as one.
#include "cli/Cli.h"
#include "cli/JsonOutput.h"
#include "demo/Messages.h"
#include "demo/StatsMe.h"
#include "platform/DemoFile.h"

namespace vorelix::cli {

int RunStripStatsMe(const Context& context) {
    const Options& options = context.options;
    Json files = Json::array();
    int status = kSuccess;
    for (const auto& argument : options.operands) {
        const std::string name = DisplayName(argument, options);
        const auto path = PathFromUtf8(argument);
        Json& file = files.emplace_back(Json{{"file", name}});
        // Any failure (the backup, opening, a write) is reported as one, never as success.
        const auto fail = [&](const Failure& failure) {
            const std::string message = std::string(demo::kWriteFailedPrefix) + failure.systemText;
            context.console.Error(name + ": " + message);
            file["ok"] = false;
            file["error"] = message;
            status = kRefused;
        };
        auto backup = BackupIfAsked(context, path);
        if (!backup) {
            fail(backup.failure());
            continue;
        }
        demo::StatsMePlan result;
        {
            auto demoFile = platform::MappedDemo::Open(path);
            if (!demoFile) {
                fail(demoFile.failure());
                continue;
            }
            result = demo::PlanStatsMeRemoval(demoFile->Bytes(), &demoFile.value());
        }
        if (auto written = platform::ApplyWritePlan(path, result.plan); !written) {
            fail(written.failure());
            continue;
        }
        const std::string_view message =
            result.found ? demo::kStatsMeRemovedMessage : demo::kStatsMeNotFoundMessage;
        file["ok"] = true;
        file["found"] = result.found;
        file["inscriptions"] = result.inscriptions;
        file["bytes_blanked"] = result.plan.BytesWritten();
        file["message"] = message;
        file["backup"] = *backup ? Json(PathText(**backup)) : Json();
        if (!options.json) {
            if (*backup) context.console.Line(name + ": Backup: " + PathText(**backup));
            context.console.Line(name + ": " + std::string(message));
        }
    }
    if (options.json) context.console.Line(JsonText(Json{{"files", std::move(files)}}));
    return status;
}

}  // namespace vorelix::cli
