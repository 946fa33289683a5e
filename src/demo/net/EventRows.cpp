// The timeline's rows: their texts, the filter, the copied text and the CSV of them.
#include "demo/net/EventRows.h"

#include <cmath>
#include <cstdio>

namespace vorelix::demo::net {

std::string ClockText(double seconds) {
    // A damaged frame may carry any float: one that is no time to show is not shown as one.
    if (!(std::abs(seconds) < 1e12)) return "--:--.--";
    const long long hundredths = std::llround(std::abs(seconds) * 100);
    char text[48];
    std::snprintf(text, sizeof text, "%s%02lld:%02lld.%02lld", seconds < 0 && hundredths > 0 ? "-" : "",
                  hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
    return text;
}

EventRow MakeEventRow(const Event& event, const ShowText& show) {
    EventRow row;
    row.kind = event.Kind();
    row.clock = ClockText(event.time);
    row.what = DescribeEvent(event, show);
    row.folded = FoldedForSearch(row.what);
    if (const auto* chat = std::get_if<ChatEvent>(&event.what)) {
        row.chatPosition = chat->place.offset + 1;
        row.chatRoom = chat->place.room;
    }
    return row;
}

namespace {

// The lower-case letter of a Latin-1 or Cyrillic capital; any other code point as it is.
char32_t LowerLetter(char32_t c) {
    if (c >= U'A' && c <= U'Z') return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;  // À..Þ, but not ×
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;             // А..Я
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;             // Ѐ..Џ (Ё, Ї, Є, Ў...)
    return c;
}

// A code point of 0x80 to 0x7FF, the range of every letter LowerLetter changes, as its two bytes.
void AppendTwoByteUtf8(std::string& out, char32_t c) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

void AppendCsvField(std::string& out, std::string_view field) {
    if (!NeedsQuotes(field)) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

}  // namespace

std::string FoldedForSearch(std::string_view utf8) {
    std::string folded;
    folded.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            folded += static_cast<char>(LowerLetter(lead));
            continue;
        }
        // A two-byte sequence holds every letter folded here; anything else is copied byte by byte.
        if ((lead & 0xE0) == 0xC0 && i + 1 < utf8.size() &&
            (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            const char32_t c =
                (static_cast<char32_t>(lead & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            if (c >= 0x80) {
                AppendTwoByteUtf8(folded, LowerLetter(c));
                ++i;
                continue;
            }
        }
        folded += static_cast<char>(lead);
    }
    return folded;
}

RowMatcher::RowMatcher(const RowFilter& filter)
    : kinds_{filter.chat, filter.kills, filter.rounds, filter.players},
      needle_(FoldedForSearch(filter.text)) {}

bool RowMatcher::Shows(const EventRow& row) const {
    if (!kinds_[static_cast<int>(row.kind)]) return false;
    return needle_.empty() || row.folded.find(needle_) != std::string::npos;
}

std::string RowsAsText(std::span<const EventRow* const> rows) {
    std::string text;
    for (const EventRow* row : rows) {
        text += row->clock;
        text += '\t';
        text += EventKindName(row->kind);
        text += '\t';
        text += row->what;
        text += "\r\n";
    }
    return text;
}

std::string RowsAsCsv(std::span<const EventRow* const> rows) {
    std::string csv = "time,kind,event\r\n";
    for (const EventRow* row : rows) {
        AppendCsvField(csv, row->clock);
        csv += ',';
        AppendCsvField(csv, EventKindName(row->kind));
        csv += ',';
        AppendCsvField(csv, row->what);
        csv += "\r\n";
    }
    return csv;
}

std::string CsvFileBytes(std::span<const EventRow* const> rows) {
    return "\xEF\xBB\xBF" + RowsAsCsv(rows);
}

std::optional<std::size_t> ChatEntryHolding(std::span<const ChatEntry> entries, std::uint64_t position) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto first = static_cast<std::uint64_t>(entries[i].position);
        if (entries[i].position > 0 && position >= first && position < first + entries[i].text.size())
            return i;
    }
    return std::nullopt;
}

}  // namespace vorelix::demo::net
