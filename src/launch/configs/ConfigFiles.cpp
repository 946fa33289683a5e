// LoadConfigList and SaveConfigList over the real folder listing and files.
#include "launch/configs/ConfigFiles.h"

#include "launch/GameFolder.h"
#include "launch/RealSystem.h"
#include "platform/files/FileOps.h"
#include "platform/FolderPaths.h"
#include "platform/Text.h"

namespace vorelix::launch {

namespace {

// configs.ini holds a few names; a file beyond this is not one the program wrote, and only its start
// is read.
constexpr std::size_t kConfigsIniReadLimit = 1u << 20;

}  // namespace

std::optional<ConfigChoice> LoadConfigList(const std::wstring& gameFolder,
                                           const std::wstring& configsIniPath) {
    if (gameFolder.empty()) return std::nullopt;
    const auto names = platform::ListFilesWithExtension(ModFolder(gameFolder), L".cfg");
    if (!names) return std::nullopt;
    const auto ini = platform::ReadFileStart(configsIniPath, kConfigsIniReadLimit);
    return ApplyConfigsIni(*names, ini ? *ini : std::string(), RealSystemQueries().toAnsi);
}

std::optional<UserMessage> SaveConfigList(const std::vector<ConfigEntry>& entries,
                                          const std::wstring& configsIniPath) {
    const auto bytes = ConfigsIniBytes(entries, RealSystemQueries().toAnsi);
    if (const auto* refusal = std::get_if<UserMessage>(&bytes)) return *refusal;
    const auto written = platform::WriteFileReplacing(configsIniPath, std::get<std::string>(bytes));
    if (written) return std::nullopt;
    return UserMessage{L"The choice of configs could not be saved in \"" + configsIniPath + L"\": " +
                           platform::Utf8ToWide(written.failure().systemText) +
                           L" It still applies until the program ends.",
                       {}};
}

}  // namespace vorelix::launch
