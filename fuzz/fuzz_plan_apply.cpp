// Fuzzes plan merging and applying: a file and runs decoded from the input, applied to a real file
// and in memory; both must agree, the length never changes, and runs past the end are refused.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "FuzzInput.h"
#include "demo/edit/TextRule.h"
#include "demo/edit/WritePlan.h"
#include "platform/files/DemoFile.h"

using namespace vorelix;

namespace {

const std::filesystem::path& WorkFile() {
    // A memory-backed folder when there is one: the file is rewritten for every input.
    std::error_code ec;
    const bool shm = std::filesystem::is_directory("/dev/shm", ec);
    static const std::filesystem::path path =
        (shm ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path()) /
        ("vorelix-fuzz-plan-" + std::to_string(::getpid()) + ".dem");
    return path;
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // First byte: the file's length (0..255); then the file's bytes; then runs of
    // [offset byte][length byte][bytes].
    const std::size_t fileLength = data[0];
    std::size_t at = 1;
    std::string file(fileLength, 'f');
    for (std::size_t i = 0; i < fileLength && at < size; ++i) file[i] = static_cast<char>(data[at++]);
    demo::WritePlan plan{fileLength, {}};
    while (at + 2 <= size) {
        const std::size_t offset = data[at];
        const std::size_t length = data[at + 1];
        at += 2;
        std::string bytes;
        for (std::size_t i = 0; i < length && at < size; ++i) bytes += static_cast<char>(data[at++]);
        plan.runs.push_back(demo::Overwrite{offset, bytes});
    }
    {
        std::ofstream out(WorkFile(), std::ios::binary | std::ios::trunc);
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
    }
    const auto merged = demo::Coalesced(plan);
    fuzz::Require(merged.BytesWritten() <= plan.BytesWritten());
    for (std::size_t i = 1; i < merged.runs.size(); ++i) {
        fuzz::Require(merged.runs[i - 1].offset + merged.runs[i - 1].bytes.size() < merged.runs[i].offset);
    }
    std::string expected = file;
    const bool fits = demo::CheckPlanFits(plan).ok();
    if (fits) {
        for (const auto& run : plan.runs) {
            if (!run.bytes.empty()) expected.replace(run.offset, run.bytes.size(), run.bytes);
        }
    }
    const auto applied = platform::ApplyWritePlan(WorkFile(), plan);
    fuzz::Require(applied.status.ok() == fits);
    fuzz::Require(ReadAll(WorkFile()) == expected);
    std::error_code ignored;
    std::filesystem::remove(WorkFile(), ignored);

    // Shown text is valid UTF-8 whatever the bytes. Typed text (the input's first half) fitted over
    // the second half fills its room exactly and never ends inside a UTF-8 character.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const demo::TextRule rule(demo::Windows1251(), data[0] % 2 == 0);
    fuzz::Require(demo::IsValidUtf8(demo::ShownText(text, rule)));
    const std::string_view typed = text.substr(0, size / 2);
    const std::string_view replaced = text.substr(size / 2);
    for (auto field : {demo::TextField::Nick, demo::TextField::Chat}) {
        const auto fitted = demo::FitTypedText(typed, replaced, field, rule);
        if (!fitted) continue;
        fuzz::Require(fitted->size() == replaced.size());
        if (demo::IsShownAsUtf8(replaced)) fuzz::Require(demo::IsValidUtf8(*fitted));
    }
    return 0;
}
