// Fuzzes the edit journal's reading: any bytes give a journal or nothing, never a read outside them;
// a journal read back encodes to the very bytes it came from, and fits a demo only run by run.
#include "FuzzInput.h"
#include "demo/edit/EditJournal.h"

using namespace vorelix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto journal = demo::DecodeJournal(bytes);
    if (journal) {
        fuzz::Require(demo::EncodeJournal(*journal) == bytes);
        std::vector<std::string> before, after;
        for (const auto& run : journal->runs) {
            fuzz::Require(run.before.size() == run.after.size());
            before.push_back(run.before);
            after.push_back(run.after);
        }
        fuzz::Require(demo::JournalFitsDemo(*journal, before) && demo::JournalFitsDemo(*journal, after));
    }
    // Whatever the input, a journal made of it reads back as itself.
    demo::EditJournal made{size, static_cast<std::int64_t>(size) * 7, {}};
    for (std::size_t at = 0; at + 1 < size; at += 2)
        made.runs.push_back({at, std::string(bytes.substr(at, 1)), std::string(bytes.substr(at + 1, 1))});
    const std::string encoded = demo::EncodeJournal(made);
    const auto read = demo::DecodeJournal(encoded);
    fuzz::Require(read && read->runs.size() == made.runs.size() && read->fileLength == size);
    fuzz::Require(!demo::DecodeJournal(std::string_view(encoded).substr(0, encoded.size() - 1)));
    return 0;
}
