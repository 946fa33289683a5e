// The journal's bytes: "VXJOURN1", the length and time, the runs (offset, size, before, after), and
// an FNV-1a hash of all that, in little-endian fields.
#include "demo/edit/EditJournal.h"

namespace vorelix::demo {

namespace {

constexpr std::string_view kJournalMagic = "VXJOURN1";

std::uint64_t Fnv1a(std::string_view bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ull;
    }
    return hash;
}

void Append64(std::string& out, std::uint64_t value) {
    for (int shift = 0; shift < 64; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// Reads fields from the front of a span; a read past its end leaves `ok` false.
class Fields {
  public:
    explicit Fields(std::string_view bytes) : rest_(bytes) {}
    std::uint64_t Take64() {
        const auto bytes = Take(8);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i) value |= std::uint64_t{static_cast<unsigned char>(bytes[i])} << (8 * i);
        return value;
    }
    std::string_view Take(std::uint64_t size) {
        if (size > rest_.size()) {
            ok_ = false;
            rest_ = {};
            return {};
        }
        const auto taken = rest_.substr(0, static_cast<std::size_t>(size));
        rest_.remove_prefix(static_cast<std::size_t>(size));
        return taken;
    }
    bool Ok() const { return ok_; }
    bool AtEnd() const { return rest_.empty(); }

  private:
    std::string_view rest_;
    bool ok_ = true;
};

}  // namespace

std::string EncodeJournal(const EditJournal& journal) {
    std::string out(kJournalMagic);
    Append64(out, journal.fileLength);
    Append64(out, static_cast<std::uint64_t>(journal.lastWriteTime));
    Append64(out, journal.runs.size());
    for (const auto& run : journal.runs) {
        Append64(out, run.offset);
        Append64(out, run.before.size());
        out += run.before;
        out += run.after;
    }
    Append64(out, Fnv1a(out));
    return out;
}

std::optional<EditJournal> DecodeJournal(std::string_view bytes) {
    if (bytes.size() < kJournalMagic.size() + 8 || !bytes.starts_with(kJournalMagic)) return std::nullopt;
    const auto body = bytes.substr(0, bytes.size() - 8);
    Fields hash(bytes.substr(body.size()));
    if (hash.Take64() != Fnv1a(body)) return std::nullopt;
    Fields in(body.substr(kJournalMagic.size()));
    EditJournal journal;
    journal.fileLength = in.Take64();
    journal.lastWriteTime = static_cast<std::int64_t>(in.Take64());
    const std::uint64_t count = in.Take64();
    for (std::uint64_t i = 0; i < count && in.Ok(); ++i) {
        JournalRun run;
        run.offset = in.Take64();
        const std::uint64_t size = in.Take64();
        run.before = in.Take(size);
        run.after = in.Take(size);
        journal.runs.push_back(std::move(run));
    }
    if (!in.Ok() || !in.AtEnd()) return std::nullopt;
    return journal;
}

bool JournalFitsDemo(const EditJournal& journal, const std::vector<std::string>& now) {
    if (now.size() != journal.runs.size()) return false;
    for (std::size_t i = 0; i < now.size(); ++i) {
        const JournalRun& run = journal.runs[i];
        if (now[i].size() != run.before.size()) return false;
        for (std::size_t at = 0; at < now[i].size(); ++at) {
            if (now[i][at] != run.before[at] && now[i][at] != run.after[at]) return false;
        }
    }
    return true;
}

}  // namespace vorelix::demo
