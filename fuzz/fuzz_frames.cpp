// Fuzzes the frame walk and the repair plan: whatever the bytes, the check answers without reading
// past them, and every repaired demo it plans walks whole with the playback the plan promised.
#include <cstring>

#include "FuzzInput.h"
#include "demo/DemoContainer.h"
#include "demo/DemoRepair.h"
#include "demo/LittleEndian.h"

using namespace vorelix;

namespace {

// The input after its first byte as a whole file when that byte is odd (a demo's own first byte, 'H',
// is even, so the file must not start with it); otherwise behind a protocol-5 header whose directory
// offset the next four bytes give, so the fuzzer spends its time on frames and tables.
std::string AsDemo(const std::uint8_t* data, std::size_t size) {
    if (size > 0 && (data[0] & 1) != 0) return std::string(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::string demo(demo::kContainerHeaderSize - 4, '\0');
    std::memcpy(demo.data(), "HLDEMO", 6);
    demo[demo::kDemoProtocolOffset] = 5;
    demo[demo::kNetworkProtocolOffset] = 48;
    std::uint32_t offset = 0;
    for (std::size_t i = 1; i < 5 && i < size; ++i)
        offset |= static_cast<std::uint32_t>(data[i]) << (8 * (i - 1));
    demo::AppendUInt32(demo, offset);
    if (size > 5) demo.append(reinterpret_cast<const char*>(data) + 5, size - 5);
    return demo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string demo = AsDemo(data, size);
    const demo::ByteView bytes = demo::AsBytes(demo);
    auto check = demo::CheckDemo(bytes);
    if (check && check->problem) fuzz::Require(check->problem->offset <= bytes.size());
    auto answer = demo::PlanRepair(bytes);
    if (!answer) return 0;
    fuzz::Require(answer->Whole() == (check && check->Whole()));
    if (answer->Whole()) return 0;
    const demo::RepairPlan& plan = *answer->plan;
    fuzz::Require(demo::CheckPiecesFit(plan.pieces, bytes.size()).ok());
    const std::string repaired = demo::AssembleDemo(bytes, plan.pieces);
    fuzz::Require(repaired.size() == plan.length && plan.frames > 0);
    auto after = demo::CheckDemo(demo::AsBytes(repaired));
    fuzz::Require(after && after->Whole() && after->frames == plan.frames &&
                  after->duration == plan.duration);
    // Repairing is done once: the copy is whole.
    auto again = demo::PlanRepair(demo::AsBytes(repaired));
    fuzz::Require(again && again->Whole());
    return 0;
}
