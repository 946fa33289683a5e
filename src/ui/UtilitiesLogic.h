// What the utilities window's tools decide, apart from any window: which of their controls may be used
// in which state, and what a nick Save or a chat Edit writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "demo/ChatScan.h"
#include "demo/NickScan.h"
#include "demo/WritePlan.h"

namespace vorelix::ui {

// The nick editor: the Load button, the nick list with the new-nick box (enabled ones are white), the
// two options and the Save button as each state leaves them.
enum class NickEditorState { Initial, Loaded, LoadFailed, SaveFailed };
struct NickEditorControls {
    bool loadButton;
    bool listAndBox;
    bool options;
    bool saveButton;  // in the loaded state: a selection disables it, a change of the new nick enables it
};
NickEditorControls NickControlsIn(NickEditorState state);

// The chat editor: its Load button, the chat list (white when enabled), the Edit and Delete buttons.
enum class ChatEditorState { Initial, NothingFound, Loaded };
struct ChatEditorControls {
    bool loadButton;
    bool list;
    bool editAndDelete;
};
ChatEditorControls ChatControlsIn(ChatEditorState state);

// A nick as the list holds it: where it starts, how many bytes the demo holds for it, and its bytes
// now (as loaded, or as last saved: then shorter than the room, which the rest of holds blanks).
struct ListedNick {
    std::int64_t position = 0;
    std::size_t room = 0;
    std::string bytes;
};
std::vector<ListedNick> ListedNicks(std::vector<demo::NickEntry> scanned);

// What Save does: tell the user why nothing is written, or write the plan; then the entries listed
// in `shown` show their new bytes.
struct NickSave {
    std::wstring refusal;
    demo::WritePlan plan;
    std::vector<std::pair<std::size_t, std::string>> shown;  // entry index, its bytes afterwards
};

// Save of `typed` over the entry at `selected` (-1 for none), or over every entry shown with the same
// text when `allSimilar`. Each entry gets the typed text encoded as it is itself shown and filled up
// with blanks to its room; an entry with too little room for it is left out and keeps its text.
NickSave DecideNickSave(const std::vector<ListedNick>& nicks, int selected, std::wstring_view typed,
                        bool allSimilar, std::uint64_t fileLength);

// The text an Edit of a chat entry starts from: the entry as shown, up to its first line feed (an
// entry spanning two chat lines is only ever written up to there).
std::wstring EditableChatText(const demo::ChatEntry& entry);

// What Edit does with the text the user typed for the entry at `current`.
struct ChatEdit {
    enum class Outcome { Nothing, Refused, Write } outcome = Outcome::Nothing;
    std::wstring refusal;
    demo::WritePlan plan;
    std::string written;  // the bytes at the entry's position afterwards
};
ChatEdit DecideChatEdit(const std::vector<demo::ChatEntry>& entries, std::size_t current,
                        std::wstring_view typed, std::uint64_t fileLength);

// After `written` went to `position`: every entry starting there (an entry that spans two chat lines
// shares its start with the first line's entry) shows those bytes in place of its first ones.
void NoteWritten(std::vector<demo::ChatEntry>& entries, std::int64_t position, const std::string& written);

}  // namespace vorelix::ui
