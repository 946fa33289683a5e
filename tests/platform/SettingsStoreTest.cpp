// Tests of the settings store against a registry key of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"

namespace vorelix::platform {
namespace {

class SettingsStoreTest : public ::testing::Test {
  protected:
    test::TestRegistryKey base;
    SettingsStore store{base.Root(), base / L"Vorelix"};
};

TEST_F(SettingsStoreTest, WritesEachSectionAsASubkeyOfStringsAndGivesDefaultsForWhatIsAbsent) {
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), L"C:\\");
    EXPECT_EQ(store.GetInt(L"main", L"firstrun", 1), 1);
    const std::wstring folder = L"C:\\Мои демки\\  two  blanks ";
    ASSERT_TRUE(store.SetString(L"CooMMon", L"DemoPath", folder));
    ASSERT_TRUE(store.SetString(L"CooMMon", L"CommandLine", L""));
    EXPECT_EQ(platform::GetRegString(base.Root(), base / L"Vorelix\\CooMMon", L"DemoPath"), folder);
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), folder);
    EXPECT_EQ(store.GetString(L"CooMMon", L"CommandLine", L"-game cstrike -console"), L"")
        << "empty is a value";
    EXPECT_EQ(store.GetString(L"main", L"DemoPath", L"D:\\"), L"D:\\") << "sections are separate";
}

TEST_F(SettingsStoreTest, NumbersAreReadAsStoredAndAnythingElseGivesNoValue) {
    const std::pair<const wchar_t*, std::optional<int>> cases[] = {{L"9", 9},
                                                                   {L"-1", -1},
                                                                   {L" 3 ", 3},
                                                                   {L"+7", 7},
                                                                   {L"2147483647", 2147483647},
                                                                   {L"-2147483648", -2147483647 - 1},
                                                                   {L"abc", std::nullopt},
                                                                   {L"", std::nullopt},
                                                                   {L"  ", std::nullopt},
                                                                   {L"12abc", std::nullopt},
                                                                   {L"1 2", std::nullopt},
                                                                   {L"-", std::nullopt},
                                                                   {L"0x10", std::nullopt},
                                                                   {L"2147483648", std::nullopt},
                                                                   {L"1.5", std::nullopt}};
    for (const auto& [text, number] : cases) {
        ASSERT_TRUE(store.SetString(L"main", L"graphmode", text));
        EXPECT_EQ(store.GetInt(L"main", L"graphmode", 1), number) << text;
    }
}

TEST_F(SettingsStoreTest, AValueOfAnotherTypeReadsAsAbsentUntilWrittenAsText) {
    ASSERT_FALSE(platform::SetRegDWord(base.Root(), base / L"Vorelix\\main", L"graphmode", 2).has_value());
    EXPECT_EQ(store.GetInt(L"main", L"graphmode", 1), 1);
    EXPECT_EQ(store.GetString(L"main", L"graphmode", L"fallback"), L"fallback");
    ASSERT_TRUE(store.SetString(L"main", L"graphmode", L"2"));
    EXPECT_EQ(store.GetInt(L"main", L"graphmode", 1), 2);
}

TEST_F(SettingsStoreTest, AStoreThatRefusesWritesSaysSoAndKeepsGivingDefaults) {
    SettingsStore refusing(base.Root(), base.CreateVolatile(L"Refusing"));
    EXPECT_FALSE(refusing.SetString(L"main", L"firstrun", L"0"));
    EXPECT_EQ(refusing.GetInt(L"main", L"firstrun", 1), 1);
}

}  // namespace
}  // namespace vorelix::platform
