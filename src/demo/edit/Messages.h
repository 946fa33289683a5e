// The fixed texts the editing commands report, shared by the utilities window and the command line.
#pragma once

#include <string_view>

namespace vorelix::demo {

inline constexpr std::string_view kWriteFailedPrefix = "An error occur ;( : ";
inline constexpr std::string_view kOpenFailedPrefix = "An error occur during open file...";
inline constexpr std::string_view kNickSavedMessage = "The new nick are successfully saved!";
inline constexpr std::string_view kMessageEditedMessage = "The message are successfully edited and saved!";
inline constexpr std::string_view kMessagesRemovedMessage = "The selected messages are successfully removed!";
inline constexpr std::string_view kNoChatMessage = "The demo don't have any chat messages!";
inline constexpr std::string_view kStatsMeRemovedMessage =
    "All inscriptions of StatsMe mod are successfully removed!";
inline constexpr std::string_view kStatsMeNotFoundMessage = "Inscriptions of StatsMe mod are not found!";

}  // namespace vorelix::demo
