// Tests of configs.ini: its lines into check states and check states into its bytes.
#include <gtest/gtest.h>

#include "FakeSystem.h"
#include "launch/ConfigList.h"

namespace vorelix::launch {
namespace {

const std::vector<std::wstring> kNames = {L"a.cfg", L"b.cfg", L"c.cfg", L"my config.cfg", L"é.cfg", L"ж.cfg"};

std::vector<bool> Checks(const std::vector<ConfigEntry>& entries) {
    std::vector<bool> checks;
    for (std::size_t i = 0; i < entries.size(); ++i)
        checks.push_back(entries[i].name == kNames[i] && entries[i].checked);
    return checks;
}

TEST(ApplyConfigsIni, ChecksNamesEqualToALineWithCaseAndBlanksCountingAndAnyLineEnd) {
    const auto toAnsi = test::FakeSystem({}).toAnsi;
    struct Case {
        std::string ini;
        std::vector<bool> checks;
    };
    for (const Case& c : {
             Case{"a.cfg\r\nb.cfg\r\n\r\n", {1, 1, 0, 0, 0, 0}},
             Case{"A.CFG\r\n b.cfg\r\nc.cfg \r\nc.cfg\t\r\n", {0, 0, 0, 0, 0, 0}},
             Case{"a.cfg\nc.cfg", {1, 0, 1, 0, 0, 0}},  // LF alone, no end after the last line
             Case{"a.cfg\rb.cfg\r", {1, 1, 0, 0, 0, 0}},
             Case{"\r\n\r\nunknown.cfg\r\nmy config.cfg\r\n", {0, 0, 0, 1, 0, 0}},
             Case{"\xE9.cfg\r\n?.cfg\r\n\x1f.cfg\r\n", {0, 0, 0, 0, 1, 0}},  // no '?' stands for ж
             Case{"", {0, 0, 0, 0, 0, 0}},
         }) {
        EXPECT_EQ(Checks(ApplyConfigsIni(kNames, c.ini, toAnsi)), c.checks) << c.ini;
    }
}

TEST(ConfigsIniBytes, AreEachCheckedNameWithCrLfThenOneMoreAndReadBackTheSame) {
    const auto toAnsi = test::FakeSystem({}).toAnsi;
    auto entries = ApplyConfigsIni(kNames, "", toAnsi);
    EXPECT_EQ(std::get<std::string>(ConfigsIniBytes(entries, toAnsi)), "\r\n");
    entries[1].checked = entries[3].checked = entries[4].checked = true;
    const auto bytes = std::get<std::string>(ConfigsIniBytes(entries, toAnsi));
    EXPECT_EQ(bytes, "b.cfg\r\nmy config.cfg\r\n\xE9.cfg\r\n\r\n");
    EXPECT_EQ(ApplyConfigsIni(kNames, bytes, toAnsi), entries);

    entries[5].checked = true;
    const auto refused = ConfigsIniBytes(entries, toAnsi);
    ASSERT_TRUE(std::holds_alternative<UserMessage>(refused));
    EXPECT_NE(std::get<UserMessage>(refused).text.find(L"\"ж.cfg\""), std::wstring::npos);
}

}  // namespace
}  // namespace vorelix::launch
