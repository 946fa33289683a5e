// Tests of writing the .dem association into the registry, read back from the Wine prefix's registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "TestRegistryKey.h"
#include "launch/RegisterOpenFile.h"
#include "platform/Registry.h"

namespace vorelix::launch {
namespace {

using platform::GetRegString;

const std::wstring kExe = L"C:\\Program Files\\Демки CS\\vorelix.exe";

// The "machine" and "user" classes are two subkeys of the test key. Wine runs everyone as an
// administrator and never denies HKEY_CLASSES_ROOT, so a refusal comes from a volatile key, below
// which the registry makes no lasting key.
class RegisterOpenFileTest : public ::testing::Test {
  protected:
    RegisterOpenFileTest() {
        roots.primaryRoot = roots.fallbackRoot = base.Root();
        roots.primaryPrefix = base / L"machine\\";
        roots.fallbackPrefix = base / L"user\\";
        roots.notifyShell = false;
    }
    std::optional<std::wstring> Read(const std::wstring& prefix, const wchar_t* key) const {
        return GetRegString(base.Root(), prefix + key, L"");
    }
    void ExpectAllThreeUnder(const std::wstring& prefix) const {
        EXPECT_EQ(Read(prefix, L".dem"), L"vorelix_file");
        EXPECT_EQ(Read(prefix, L"vorelix_file\\DefaultIcon"), kExe + L",0");
        EXPECT_EQ(Read(prefix, L"vorelix_file\\shell\\open\\command"), L"\"" + kExe + L"\" %1");
    }
    auto Register() const { return RegisterOpenFile(L"dem", L"vorelix_file", kExe + L",0", kExe, roots); }

    test::TestRegistryKey base;
    AssociationRoots roots;
};

TEST_F(RegisterOpenFileTest, WritesTheThreeKeysUnderThePrimaryRootAndLeavesOtherValues) {
    // An older default value is replaced; the key's other values stay.
    platform::SetRegString(base.Root(), roots.primaryPrefix + L".dem", L"", L"other");
    platform::SetRegString(base.Root(), roots.primaryPrefix + L".dem", L"Content Type", L"x");
    roots.notifyShell = true;
    EXPECT_FALSE(Register().has_value());
    ExpectAllThreeUnder(roots.primaryPrefix);
    EXPECT_EQ(GetRegString(base.Root(), roots.primaryPrefix + L".dem", L"Content Type"), L"x");
    EXPECT_FALSE(Read(roots.fallbackPrefix, L".dem").has_value());
}

TEST_F(RegisterOpenFileTest, AFailureAtAnyKeyEndsWithAllThreeInTheFallback) {
    // Refused at the first key; then, with only "shell" volatile below a lasting key, at the third.
    platform::SetRegString(base.Root(), base / L"m2\\vorelix_file", L"", L"");
    for (const auto& [primary, refusing] :
         {std::pair{L"m1", L"m1"}, std::pair{L"m2", L"m2\\vorelix_file\\shell"}}) {
        roots.primaryPrefix = base / primary + L"\\";
        roots.fallbackPrefix = base / primary + L"-user\\";
        base.CreateVolatile(refusing);
        EXPECT_FALSE(Register().has_value()) << primary;
        ExpectAllThreeUnder(roots.fallbackPrefix);
        EXPECT_FALSE(Read(roots.primaryPrefix, L"vorelix_file\\shell\\open\\command").has_value());
    }
}

TEST_F(RegisterOpenFileTest, BothRootsRefusedReportsTheError) {
    roots.primaryPrefix = roots.fallbackPrefix = base.CreateVolatile(L"refusing") + L"\\";
    const auto error = Register();
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, -2147215501) << "the writer's own error, as it raised it";
}

}  // namespace
}  // namespace vorelix::launch
