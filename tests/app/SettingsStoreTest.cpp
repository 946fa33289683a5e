// Tests of the settings store against a registry key of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "app/SettingsStore.h"
#include "platform/Registry.h"

namespace vorelix::app {
namespace {

using test::TestRegistryKey;

TEST(SettingsStore, AbsentEntriesGiveTheDefaults) {
    TestRegistryKey base;
    const SettingsStore store(base.Root(), base / L"Vorelix");
    EXPECT_EQ(store.GetString(L"CooMMon", L"CommandLine", L"-game cstrike -console"),
              L"-game cstrike -console");
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), L"C:\\");
    EXPECT_EQ(store.GetInt(L"main", L"firstrun", 1), 1);
    EXPECT_EQ(store.GetInt(L"main", L"graphres", 4), 4);
}

TEST(SettingsStore, WritesEachSectionAsASubkeyOfStrings) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base / L"Vorelix");
    ASSERT_TRUE(store.SetString(L"main", L"firstrun", L"0"));
    ASSERT_TRUE(store.SetString(L"CooMMon", L"HLEXEPath", L"C:\\Games\\Half-Life\\hl.exe"));
    EXPECT_EQ(platform::GetRegString(base.Root(), base / L"Vorelix\\main", L"firstrun"), L"0");
    EXPECT_EQ(platform::GetRegString(base.Root(), base / L"Vorelix\\CooMMon", L"HLEXEPath"),
              L"C:\\Games\\Half-Life\\hl.exe");
    EXPECT_EQ(store.GetInt(L"main", L"firstrun", 1), 0);
}

TEST(SettingsStore, RoundTripsCyrillicBlanksAndEmptyTexts) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base / L"Vorelix");
    const std::wstring folder = L"C:\\\u041C\u043E\u0438 \u0434\u0435\u043C\u043A\u0438\\  two  blanks ";
    ASSERT_TRUE(store.SetString(L"CooMMon", L"DemoPath", folder));
    ASSERT_TRUE(store.SetString(L"CooMMon", L"CommandLine", L""));
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), folder);
    // A stored empty text is a value, not an absence.
    EXPECT_EQ(store.GetString(L"CooMMon", L"CommandLine", L"-game cstrike -console"), L"");
}

TEST(SettingsStore, SectionsAreSeparate) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base / L"Vorelix");
    ASSERT_TRUE(store.SetString(L"main", L"DemoPath", L"D:\\"));
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), L"C:\\");
}

TEST(SettingsStore, AValueOfAnotherTypeReadsAsAbsent) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base / L"Vorelix");
    ASSERT_FALSE(platform::SetRegDWord(base.Root(), base / L"Vorelix\\main", L"graphmode", 2).has_value());
    EXPECT_EQ(store.GetInt(L"main", L"graphmode", 1), 1);
    EXPECT_EQ(store.GetString(L"main", L"graphmode", L"fallback"), L"fallback");
    // Writing it as text again replaces the foreign value.
    ASSERT_TRUE(store.SetString(L"main", L"graphmode", L"2"));
    EXPECT_EQ(store.GetInt(L"main", L"graphmode", 1), 2);
}

TEST(SettingsStore, NumbersAreReadAsStoredEvenOutOfTheCallersRange) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base / L"Vorelix");
    ASSERT_TRUE(store.SetString(L"main", L"graphmode", L"9"));
    EXPECT_EQ(store.GetInt(L"main", L"graphmode", 1), 9);
    ASSERT_TRUE(store.SetString(L"main", L"graphres", L"-1"));
    EXPECT_EQ(store.GetInt(L"main", L"graphres", 4), -1);
    ASSERT_TRUE(store.SetString(L"main", L"graphres", L" 3 "));
    EXPECT_EQ(store.GetInt(L"main", L"graphres", 4), 3) << "blanks around the number are allowed";
    ASSERT_TRUE(store.SetString(L"main", L"graphres", L"+7"));
    EXPECT_EQ(store.GetInt(L"main", L"graphres", 4), 7);
    ASSERT_TRUE(store.SetString(L"main", L"graphres", L"2147483647"));
    EXPECT_EQ(store.GetInt(L"main", L"graphres", 4), 2147483647);
    ASSERT_TRUE(store.SetString(L"main", L"graphres", L"-2147483648"));
    EXPECT_EQ(store.GetInt(L"main", L"graphres", 4), -2147483647 - 1);
}

TEST(SettingsStore, TextsThatAreNoNumberGiveNoValue) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base / L"Vorelix");
    for (const wchar_t* text : {L"abc", L"", L"  ", L"12abc", L"1 2", L"-", L"0x10", L"2147483648", L"1.5"}) {
        ASSERT_TRUE(store.SetString(L"main", L"graphmode", text));
        EXPECT_FALSE(store.GetInt(L"main", L"graphmode", 1).has_value()) << text;
    }
}

TEST(SettingsStore, AStoreThatRefusesWritesSaysSoAndKeepsGivingDefaults) {
    TestRegistryKey base;
    SettingsStore store(base.Root(), base.CreateVolatile(L"Vorelix"));
    EXPECT_FALSE(store.SetString(L"main", L"firstrun", L"0"));
    EXPECT_EQ(store.GetInt(L"main", L"firstrun", 1), 1);
}

}  // namespace
}  // namespace vorelix::app
