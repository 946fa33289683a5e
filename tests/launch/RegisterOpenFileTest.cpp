// Writing the .dem association when the machine's classes refuse a later key than the first (the
// start-up tests cover the registration itself and a refusal at the first key and at both roots).
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "launch/RegisterOpenFile.h"

namespace vorelix::launch {
namespace {

TEST(RegisterOpenFile, AFailureAtALaterKeyPutsAllThreeEntriesUnderTheFallback) {
    // A lasting key cannot be made below a volatile one: only the third key is refused.
    test::TestRegistryKey base;
    platform::SetRegString(base.Root(), base / L"machine\\vorelix_file", L"", L"");
    base.CreateVolatile(L"machine\\vorelix_file\\shell");
    const AssociationRoots roots{base.Root(), base / L"machine\\", base.Root(), base / L"user\\", false};
    EXPECT_FALSE(
        RegisterOpenFile(L"dem", L"vorelix_file", L"C:\\V\\v.exe,0", L"C:\\V\\v.exe", roots).has_value());
    for (const auto& [key, value] : {std::pair{L".dem", L"vorelix_file"},
                                     {L"vorelix_file\\DefaultIcon", L"C:\\V\\v.exe,0"},
                                     {L"vorelix_file\\shell\\open\\command", L"\"C:\\V\\v.exe\" %1"}})
        EXPECT_EQ(platform::GetRegString(base.Root(), roots.fallbackPrefix + key, L""), value);
}

}  // namespace
}  // namespace vorelix::launch
