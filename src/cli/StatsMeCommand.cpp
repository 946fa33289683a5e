// strip-statsme: blanks the StatsMe inscriptions of each demo given; a failure is reported as one.
#include "cli/Cli.h"
#include "cli/Json.h"
#include "demo/Messages.h"
#include "demo/StatsMe.h"
#include "platform/DemoFile.h"

namespace vorelix::cli {

int RunStripStatsMe(const Context& context) {
    const Options& options = context.options;
    JsonWriter json;
    json.BeginObject().Key("files").BeginArray();
    int status = kSuccess;
    for (const auto& argument : options.operands) {
        const std::string name = DisplayName(argument, options);
        const auto path = PathFromUtf8(argument);
        json.BeginObject().Key("file").String(name);
        // Any failure (the backup, opening, a write) is reported as one, never as success.
        const auto fail = [&](const Failure& failure) {
            const std::string message = std::string(demo::kWriteFailedPrefix) + failure.systemText;
            context.console.Error(name + ": " + message);
            json.Key("ok").Bool(false).Key("error").String(message).EndObject();
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
        json.Key("ok")
            .Bool(true)
            .Key("found")
            .Bool(result.found)
            .Key("inscriptions")
            .Unsigned(result.inscriptions);
        json.Key("bytes_blanked")
            .Unsigned(result.plan.BytesWritten())
            .Key("message")
            .String(message)
            .Key("backup");
        if (*backup) {
            json.String(PathText(**backup));
        } else {
            json.Null();
        }
        json.EndObject();
        if (!options.json) {
            if (*backup) context.console.Line(name + ": Backup: " + PathText(**backup));
            context.console.Line(name + ": " + std::string(message));
        }
    }
    if (options.json) context.console.Line(json.EndArray().EndObject().Text());
    return status;
}

}  // namespace vorelix::cli
