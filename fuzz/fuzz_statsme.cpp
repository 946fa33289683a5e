// Fuzzes the StatsMe removal plan: only blanks, never over a line feed or NUL, inside the copy.
#include "FuzzInput.h"
#include "demo/edit/StatsMe.h"

using namespace vorelix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)demo::PlanStatsMeRemoval(demo::ByteView(data, size));
    const std::string file = fuzz::AsScannedDemo(data, size);
    const auto result = demo::PlanStatsMeRemoval(demo::AsBytes(file));
    fuzz::Require(result.found == (result.inscriptions > 0));
    fuzz::Require(demo::CheckPlanFits(result.plan).ok());
    for (const auto& run : result.plan.runs) {
        fuzz::Require(run.offset + run.bytes.size() <= file.size() - 1);
        for (std::size_t i = 0; i < run.bytes.size(); ++i) {
            fuzz::Require(run.bytes[i] == ' ');
            const char old = file[run.offset + i];
            fuzz::Require(old != '\n' && old != '\0');
        }
    }
    return 0;
}
