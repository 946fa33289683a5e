// Tests of the registry writers and readers, and the settings store over them, against the Wine
// prefix's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include "TestRegistryKey.h"
#include "platform/Registry.h"
#include "platform/SettingsStore.h"

namespace vorelix::platform {
namespace {

class RegistryTest : public ::testing::Test {
  protected:
    test::TestRegistryKey base;
    const HKEY root = test::TestRegistryKey::Root();
    SettingsStore store{root, base / L"Vorelix"};
};

TEST_F(RegistryTest, WritersCreateTheKeyAndOverwriteOnlyTheirOwnValue) {
    const std::wstring key = base / L"a\\b";
    ASSERT_FALSE(SetRegString(root, key, L"", L"old").has_value());
    ASSERT_FALSE(SetRegString(root, key, L"other", L"stays").has_value());
    ASSERT_FALSE(SetRegString(root, key, L"", L"новое new").has_value());
    ASSERT_FALSE(SetRegString(root, key, L"empty", L"").has_value());
    ASSERT_FALSE(SetRegDWord(root, key, L"EngineModeW", 1024).has_value());
    ASSERT_FALSE(SetRegDWord(root, key, L"Negative", -2).has_value());
    EXPECT_EQ(GetRegString(root, key, L"").value() + L"|" + GetRegString(root, key, L"other").value() + L"|" +
                  GetRegString(root, key, L"empty").value(),
              L"новое new|stays|");
    EXPECT_EQ(GetRegDWord(root, key, L"Negative"), 0xFFFFFFFEu);
    // The value's type and raw bytes as the registry holds them.
    const auto raw = [&](const wchar_t* name) {
        DWORD type = 0, size = 16;
        char bytes[16] = {};
        RegGetValueW(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &type, bytes, &size);
        return std::to_string(type) + ":" + std::string(bytes, size);
    };
    EXPECT_EQ(raw(L"empty") + "|" + raw(L"EngineModeW"), std::string("1:\0\0|4:\0\4\0\0", 11));
    const std::wstring longText(5000, L'Ж');
    ASSERT_FALSE(SetRegString(root, key, L"long", longText).has_value());
    EXPECT_EQ(GetRegString(root, key, L"long"), longText);
}

TEST_F(RegistryTest, ARefusedKeyOrValueRaisesItsErrorAndLeavesTheKeyClosed) {
    // Below a volatile key no lasting key can be made; value names are limited to 16383 characters.
    const std::wstring refusing = base.CreateVolatile(L"volatile") + L"\\new";
    const std::wstring tooLong(20000, L'n');
    const auto text = [](const std::optional<RegistryError>& error) {
        return error ? std::to_wstring(error->number) + L" " + error->source + L" " + error->description +
                           (error->systemCode != 0 ? L" coded" : L" 0")
                     : L"none";
    };
    // The next handle a process gets is the lowest free one: a key left open by a writer moves it up.
    const auto nextFreeHandle = [] {
        HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        CloseHandle(event);
        return event;
    };
    const HANDLE before = nextFreeHandle();
    EXPECT_EQ(
        text(SetRegString(root, refusing, L"v", L"x")) + L"|" + text(SetRegDWord(root, refusing, L"v", 1)),
        L"-2147215501 SetRegString RegCreateKeyEx failed! coded|"
        L"-2147215501 SetRegDWord RegCreateKeyEx failed! coded");
    EXPECT_EQ(text(SetRegString(root, base / L"k", tooLong, L"x")) + L"|" +
                  text(SetRegDWord(root, base / L"k", tooLong, 1)),
              L"-2147215502 SetRegString RegSetValueEx failed! coded|"
              L"-2147215502 SetRegDWord RegSetValueEx failed! coded");
    ASSERT_FALSE(SetRegDWord(root, base / L"k", L"d", 1).has_value());
    EXPECT_EQ(nextFreeHandle(), before) << "a write left its key open";
}

TEST_F(RegistryTest, ReadersGiveNothingForAbsentKeysValuesAndOtherTypesAndDeleteRegTreeRemovesAKey) {
    ASSERT_FALSE(SetRegDWord(root, base.Path(), L"number", 7).has_value());
    ASSERT_FALSE(SetRegString(root, base.Path(), L"text", L"7").has_value());
    EXPECT_FALSE(GetRegString(root, base / L"absent", L"v") || GetRegString(root, base.Path(), L"absent") ||
                 GetRegString(root, base.Path(), L"number") || GetRegDWord(root, base.Path(), L"text"));

    ASSERT_FALSE(SetRegString(root, base / L"tree\\a\\b", L"v", L"x").has_value());
    ASSERT_FALSE(SetRegString(root, base / L"sibling", L"v", L"stays").has_value());
    EXPECT_TRUE(DeleteRegTree(root, base / L"tree"));
    EXPECT_FALSE(GetRegString(root, base / L"tree\\a\\b", L"v").has_value());
    EXPECT_EQ(GetRegString(root, base / L"sibling", L"v"), L"stays");
    EXPECT_TRUE(DeleteRegTree(root, base / L"tree")) << "an absent key is already gone";
    EXPECT_FALSE(DeleteRegTree(root, L""));
}

TEST_F(RegistryTest, TheSettingsStoreKeepsEachSectionAsASubkeyOfStringsAndGivesDefaultsForWhatIsAbsent) {
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), L"C:\\");
    EXPECT_EQ(store.GetInt(L"main", L"firstrun", 1), 1);
    const std::wstring folder = L"C:\\Мои демки\\  two  blanks ";
    ASSERT_TRUE(store.SetString(L"CooMMon", L"DemoPath", folder) &&
                store.SetString(L"CooMMon", L"CommandLine", L""));
    EXPECT_EQ(GetRegString(root, base / L"Vorelix\\CooMMon", L"DemoPath"), folder);
    EXPECT_EQ(store.GetString(L"CooMMon", L"DemoPath", L"C:\\"), folder);
    EXPECT_EQ(store.GetString(L"CooMMon", L"CommandLine", L"-game cstrike -console"), L"")
        << "empty is a value";
    EXPECT_EQ(store.GetString(L"main", L"DemoPath", L"D:\\"), L"D:\\") << "sections are separate";

    // Numbers are read as stored; anything else gives no value.
    std::wstring numbers;
    for (const wchar_t* text : {L"9", L"-1", L" 3 ", L"+7", L"2147483647", L"-2147483648", L"abc", L"", L"  ",
                                L"12abc", L"1 2", L"-", L"0x10", L"2147483648", L"1.5"}) {
        ASSERT_TRUE(store.SetString(L"main", L"graphmode", text));
        const auto number = store.GetInt(L"main", L"graphmode", 1);
        numbers += (number ? std::to_wstring(*number) : L"none") + L" ";
    }
    EXPECT_EQ(numbers, L"9 -1 3 7 2147483647 -2147483648 none none none none none none none none none ");

    // A store that refuses writes says so.
    SettingsStore refusing(root, base.CreateVolatile(L"Refusing"));
    EXPECT_FALSE(refusing.SetString(L"main", L"firstrun", L"0"));
}

}  // namespace
}  // namespace vorelix::platform
