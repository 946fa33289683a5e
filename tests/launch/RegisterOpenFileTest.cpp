// Tests of writing the .dem association into the registry, read back from the Wine prefix's registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "launch/RegisterOpenFile.h"
#include "platform/Registry.h"

namespace vorelix::launch {
namespace {

using platform::GetRegString;
using platform::SetRegString;
using test::TestRegistryKey;

const std::wstring kFolder = L"C:\\Program Files\\\u0414\u0435\u043C\u043A\u0438 CS";
const std::wstring kExe = kFolder + L"\\vorelix.exe";
const std::wstring kIcon = kExe + L",0";
const std::wstring kCommand = L"\"" + kExe + L"\" %1";

// Roots for a test: the "machine" classes and the "user" classes are two subkeys of the test key.
AssociationRoots TestRoots(const TestRegistryKey& base) {
    AssociationRoots roots;
    roots.primaryRoot = base.Root();
    roots.primaryPrefix = base / L"machine\\";
    roots.fallbackRoot = base.Root();
    roots.fallbackPrefix = base / L"user\\";
    roots.notifyShell = false;
    return roots;
}

void ExpectAssociationUnder(HKEY root, const std::wstring& prefix) {
    EXPECT_EQ(GetRegString(root, prefix + L".dem", L""), L"vorelix_file");
    EXPECT_EQ(GetRegString(root, prefix + L"vorelix_file\\DefaultIcon", L""), kIcon);
    EXPECT_EQ(GetRegString(root, prefix + L"vorelix_file\\shell\\open\\command", L""), kCommand);
}

TEST(RegisterOpenFile, WritesTheThreeKeysUnderThePrimaryRoot) {
    TestRegistryKey base;
    const auto roots = TestRoots(base);
    EXPECT_FALSE(RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots).has_value());
    ExpectAssociationUnder(base.Root(), roots.primaryPrefix);
    EXPECT_FALSE(GetRegString(base.Root(), roots.fallbackPrefix + L".dem", L"").has_value());
}

TEST(RegisterOpenFile, OverwritesDefaultValuesAndLeavesEverythingElse) {
    TestRegistryKey base;
    const auto roots = TestRoots(base);
    const std::wstring& p = roots.primaryPrefix;
    ASSERT_FALSE(SetRegString(base.Root(), p + L".dem", L"", L"other_player").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), p + L".dem", L"Content Type", L"application/x-demo").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), p + L".dem\\OpenWithProgids", L"other_player", L"").has_value());
    ASSERT_FALSE(SetRegString(base.Root(), p + L"vorelix_file\\shell\\open\\command", L"", L"C:\\old.exe %1")
                     .has_value());
    ASSERT_FALSE(
        SetRegString(base.Root(), p + L"vorelix_file\\shell\\edit\\command", L"", L"edit.exe").has_value());

    EXPECT_FALSE(RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots).has_value());
    ExpectAssociationUnder(base.Root(), p);
    EXPECT_EQ(GetRegString(base.Root(), p + L".dem", L"Content Type"), L"application/x-demo");
    EXPECT_EQ(GetRegString(base.Root(), p + L".dem\\OpenWithProgids", L"other_player"), L"");
    EXPECT_EQ(GetRegString(base.Root(), p + L"vorelix_file\\shell\\edit\\command", L""), L"edit.exe");
}

TEST(RegisterOpenFile, TakesItsRootsAsOpenedKeys) {
    TestRegistryKey base;
    HKEY classes = nullptr;
    ASSERT_EQ(RegCreateKeyExW(base.Root(), (base / L"classes").c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &classes, nullptr),
              ERROR_SUCCESS);
    AssociationRoots roots;
    roots.primaryRoot = classes;
    roots.primaryPrefix = L"";
    roots.notifyShell = false;
    const auto error = RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots);
    RegCloseKey(classes);
    EXPECT_FALSE(error.has_value());
    ExpectAssociationUnder(base.Root(), base / L"classes\\");
}

// Wine runs everyone as an administrator and never denies HKEY_CLASSES_ROOT, so the refusal comes
// from a volatile key, below which the registry makes no lasting key.
TEST(RegisterOpenFile, ARefusedPrimaryRootSendsAllThreeToTheFallback) {
    TestRegistryKey base;
    auto roots = TestRoots(base);
    roots.primaryPrefix = base.CreateVolatile(L"machine") + L"\\";

    EXPECT_FALSE(RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots).has_value());
    ExpectAssociationUnder(base.Root(), roots.fallbackPrefix);
    EXPECT_FALSE(GetRegString(base.Root(), roots.primaryPrefix + L".dem", L"").has_value());
}

TEST(RegisterOpenFile, AFailureAtTheThirdKeyStillEndsWithAllThreeInTheFallback) {
    TestRegistryKey base;
    const auto roots = TestRoots(base);
    // Only "shell" is volatile: the extension and icon keys can be written, the command key cannot.
    ASSERT_FALSE(SetRegString(base.Root(), roots.primaryPrefix + L"vorelix_file", L"", L"").has_value());
    base.CreateVolatile(L"machine\\vorelix_file\\shell");

    EXPECT_FALSE(RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots).has_value());
    ExpectAssociationUnder(base.Root(), roots.fallbackPrefix);
    EXPECT_EQ(GetRegString(base.Root(), roots.primaryPrefix + L".dem", L""), L"vorelix_file");
    EXPECT_EQ(GetRegString(base.Root(), roots.primaryPrefix + L"vorelix_file\\DefaultIcon", L""), kIcon);
    EXPECT_FALSE(GetRegString(base.Root(), roots.primaryPrefix + L"vorelix_file\\shell\\open\\command", L"")
                     .has_value());
}

TEST(RegisterOpenFile, BothRootsRefusedReportsTheError) {
    TestRegistryKey base;
    auto roots = TestRoots(base);
    roots.primaryPrefix = base.CreateVolatile(L"machine") + L"\\";
    roots.fallbackPrefix = base.CreateVolatile(L"user") + L"\\";
    const auto error = RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number, -2147215501);
    EXPECT_EQ(error->source, L"SetRegString");
    EXPECT_EQ(error->description, L"RegCreateKeyEx failed!");
    EXPECT_FALSE(GetRegString(base.Root(), roots.fallbackPrefix + L".dem", L"").has_value());
}

TEST(RegisterOpenFile, NotifiesTheShellWithoutTrouble) {
    TestRegistryKey base;
    auto roots = TestRoots(base);
    roots.notifyShell = true;
    EXPECT_FALSE(RegisterOpenFile(L"dem", L"vorelix_file", kIcon, kExe, roots).has_value());
    ExpectAssociationUnder(base.Root(), roots.primaryPrefix);
}

}  // namespace
}  // namespace vorelix::launch
