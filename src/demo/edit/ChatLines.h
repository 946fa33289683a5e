// Every chat line of a demo, as the chat editors list it: the lines the byte rule finds (ChatScan.h),
// then those only the message reader finds (Counter-Strike 1.6's SayText lines), each line once.
#pragma once

#include <string>
#include <vector>

#include "demo/DemoBytes.h"
#include "demo/Result.h"
#include "demo/edit/ChatScan.h"

namespace vorelix::demo {

// The chat lines the message reader finds, in file order. Each entry's position and bytes are its
// text's alone (the bytes an edit may write over), its sender the name the player had then (empty
// for the server's lines). A line of an empty text is left out: it holds nothing to write over.
// Nothing for a demo whose messages are not decoded. Fails only when reading fails.
Result<std::vector<ChatEntry>> MessageChatLines(DemoBytes& demo);

// The byte rule's lines as they are, then each message line that shares no byte with any of them
// (the byte rule found it already) or with a message line kept before it.
std::vector<ChatEntry> MergedChatLines(std::vector<ChatEntry> byteRuleLines,
                                       const std::vector<ChatEntry>& messageLines);

// Every chat line of a whole demo: ScanChat's, then the message reader's, merged. The reader tells
// `progress` as well how far it got. Nothing for a file shorter than 1,000 bytes.
std::vector<ChatEntry> ScanAllChat(ByteView file, ScanProgress* progress = nullptr);

// A line as the lists show it, in demo bytes: "name: text" for a line with a sender, else its text.
std::string ListedText(const ChatEntry& entry);

}  // namespace vorelix::demo
