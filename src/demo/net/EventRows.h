// The rows of a demo's timeline: each event as its time, kind and line; which rows a filter shows;
// the rows as copied text and as CSV; and the chat entry a chat row's text lies in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "demo/edit/ChatScan.h"
#include "demo/net/Events.h"

namespace vorelix::demo::net {

// "03:12.50": playback time in minutes (two digits at least) and seconds to the hundredth; a time
// no frame could mean (a damaged float) is "--:--.--".
std::string ClockText(double seconds);

struct EventRow {
    EventKind kind = EventKind::Chat;
    std::string clock;   // ClockText of the event's time
    std::string what;    // DescribeEvent, in UTF-8
    std::string folded;  // `what` folded for the filter (FoldedForSearch)
    // A chat row: the 1-based position in the demo of its text's first byte, and the text's bytes;
    // 0 for other rows.
    std::uint64_t chatPosition = 0;
    std::uint32_t chatRoom = 0;
};

// The row of an event; names and texts are passed through `show`, which turns demo bytes into UTF-8.
EventRow MakeEventRow(const Event& event, const ShowText& show);

// UTF-8 text with letters of the Latin and Cyrillic alphabets in lower case, so that a search
// ignores case ("Вася" finds "ВАСЯ"); other characters, and bytes that are not UTF-8, stay as they are.
std::string FoldedForSearch(std::string_view utf8);

struct RowFilter {
    bool chat = true;
    bool kills = true;
    bool rounds = true;
    bool players = true;
    std::string text;  // as typed, in UTF-8; an empty text filters nothing
};

// Decides, row by row, what a filter shows: a row of a shown kind whose line holds the typed text,
// case ignored.
class RowMatcher {
  public:
    explicit RowMatcher(const RowFilter& filter);
    bool Shows(const EventRow& row) const;

  private:
    bool kinds_[4];
    std::string needle_;
};

// The rows one a line: time, kind and line separated by tabs, each line ended by CR LF (as the
// clipboard's text is).
std::string RowsAsText(std::span<const EventRow* const> rows);

// The rows as CSV (RFC 4180): a heading line "time,kind,event", then a line per row, CR LF after
// each; a field holding a comma, a quote, CR or LF is quoted, its quotes doubled. UTF-8 without a
// byte-order mark (CsvFileBytes adds one).
std::string RowsAsCsv(std::span<const EventRow* const> rows);

// The bytes a saved CSV file holds: the UTF-8 byte-order mark, which spreadsheet programs need to
// read the text as UTF-8 rather than in the system's code page, then RowsAsCsv.
std::string CsvFileBytes(std::span<const EventRow* const> rows);

// The chat entry whose text holds the byte at `position` (1-based), when one does.
std::optional<std::size_t> ChatEntryHolding(std::span<const ChatEntry> entries, std::uint64_t position);

}  // namespace vorelix::demo::net
