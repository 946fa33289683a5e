// CarryOutLaunch: one routine for every launch, in the plan's order, with no step reported done that
// failed.
#include "launch/LaunchExecutor.h"

#include "launch/RealSystem.h"
#include "platform/files/FileOps.h"
#include "platform/Shell.h"
#include "platform/SystemError.h"
#include "platform/Text.h"

namespace vorelix::launch {

namespace {

UserMessage Stopped(const std::wstring& what, const Failure& failure) {
    return UserMessage{what + L": " + platform::Utf8ToWide(failure.systemText), {}};
}

// Closes the wait window however the copy ends.
class CopyScope {
  public:
    explicit CopyScope(const LaunchEvents& events) : events_(events) {
        if (events_.copyStarting) events_.copyStarting();
    }
    ~CopyScope() {
        if (events_.copyFinished) events_.copyFinished();
    }
    CopyScope(const CopyScope&) = delete;
    CopyScope& operator=(const CopyScope&) = delete;

  private:
    const LaunchEvents& events_;
};

}  // namespace

std::optional<platform::RegistryError> SetHLGraphics(const VideoSettings& settings, HKEY root,
                                                     const std::wstring& key) {
    for (const auto& value : settings) {
        if (auto error = platform::SetRegDWord(root, key, value.valueName, value.value)) return error;
    }
    return std::nullopt;
}

Status CreateCFG(const std::wstring& path, const std::string& bytes) {
    return platform::WriteFileReplacing(path, bytes);
}

std::optional<UserMessage> CarryOutLaunch(const LaunchPlan& plan, AutoexecSwitch& autoexec,
                                          const LaunchEvents& events, const LaunchTargets& targets) {
    if (plan.stagedDemo && targets.stagedDemoGame && targets.stagedDemoGame->Runs())
        return StagedDemoInUse(*plan.stagedDemo);
    if (const auto error =
            SetHLGraphics(plan.videoSettings, targets.videoSettingsRoot, targets.videoSettingsKey)) {
        return UserMessage{L"The video settings of Half-Life could not be written: " + error->description +
                               L" " + platform::SystemErrorText(error->systemCode),
                           {}};
    }
    if (plan.renameAutoexec) autoexec.RenameAutoexec(plan.modFolder);
    if (plan.stagedDemo) {
        const CopyScope scope(events);
        const auto copied = platform::CopyFileReplacing(plan.stagedDemo->source, plan.stagedDemo->target,
                                                        events.copyProgress);
        if (!copied && copied.failure().code == platform::kCopyStopped)
            return UserMessage{L"The launch was stopped while the demo was copied; the game was not started.",
                               {}};
        if (!copied) {
            return Stopped(L"The demo could not be copied to \"" + plan.stagedDemo->target + L"\"",
                           copied.failure());
        }
    }
    if (const auto written = CreateCFG(plan.configPath, plan.configBytes); !written) {
        return Stopped(L"The file \"" + plan.configPath + L"\" could not be written", written.failure());
    }
    const auto started = platform::ShellStartProcess(targets.owner, plan.hlExePath, plan.parameters,
                                                     plan.workingFolder, plan.showMode);
    if (!started) return Stopped(L"\"" + plan.hlExePath + L"\" could not be started", started.failure());
    if (plan.stagedDemo && targets.stagedDemoGame) {
        targets.stagedDemoGame->Keep(*started);
    } else if (*started) {
        CloseHandle(*started);
    }
    return std::nullopt;
}

std::optional<UserMessage> LaunchDemo(const LaunchInputs& inputs, AutoexecSwitch& autoexec,
                                      const LaunchEvents& events, const LaunchTargets& targets) {
    const auto decided = PlanLaunch(inputs, RealSystemQueries());
    if (const auto* stop = std::get_if<UserMessage>(&decided)) return *stop;
    return CarryOutLaunch(std::get<LaunchPlan>(decided), autoexec, events, targets);
}

}  // namespace vorelix::launch
