// Parsing vorelix-cli's arguments and writing its JSON, natively and under Wine.
#include <gtest/gtest.h>

#include "cli/Args.h"
#include "cli/Json.h"

namespace vorelix::cli {
namespace {

TEST(Args, OptionsMayStandAnywhereAndDoubleDashEndsThem) {
    const auto parsed =
        ParseArgs({"edit-chat", "--backup", "a.dem", "12", "--", "--not an option", "--json"});
    ASSERT_EQ(parsed.usageError, "wrong number of arguments for edit-chat");
    const auto ok = ParseArgs({"--json", "edit-chat", "a.dem", "--backup", "12", "--", "-text"});
    ASSERT_TRUE(ok.usageError.empty()) << ok.usageError;
    EXPECT_TRUE(ok.options.json);
    EXPECT_TRUE(ok.options.backup);
    EXPECT_EQ(ok.options.operands, (std::vector<std::string>{"a.dem", "12", "-text"}));
}

TEST(Args, SetNickNeedsFromAndToAndAtTakesAPosition) {
    EXPECT_FALSE(ParseArgs({"set-nick", "a.dem", "--from", "x"}).usageError.empty());
    EXPECT_FALSE(
        ParseArgs({"set-nick", "a.dem", "--from", "x", "--to", "y", "--at", "0"}).usageError.empty());
    EXPECT_FALSE(
        ParseArgs({"set-nick", "a.dem", "--from", "x", "--to", "y", "--at", "1x"}).usageError.empty());
    EXPECT_FALSE(ParseArgs({"nicks", "a.dem", "--from", "x"}).usageError.empty());
    const auto parsed = ParseArgs({"set-nick", "a.dem", "--from", "", "--to", "y", "--at", "42"});
    EXPECT_TRUE(parsed.usageError.empty()) << parsed.usageError;
    EXPECT_EQ(parsed.options.from, "");
    EXPECT_EQ(ParsePosition("42"), 42);
    EXPECT_FALSE(ParsePosition("-1").has_value());
    EXPECT_FALSE(ParsePosition("99999999999999999999").has_value());
}

TEST(Args, CommandsArityAndCodePages) {
    EXPECT_FALSE(ParseArgs({"players", "a.dem", "b.dem"}).usageError.empty());
    EXPECT_FALSE(ParseArgs({"info"}).usageError.empty());
    EXPECT_TRUE(ParseArgs({"info", "a", "b", "c"}).usageError.empty());
    EXPECT_FALSE(ParseArgs({"--codepage", "866", "info", "a"}).usageError.empty());
    EXPECT_FALSE(ParseArgs({"--codepage"}).usageError.empty());
    EXPECT_EQ(ParseArgs({"--codepage", "1251", "info", "a"}).options.codePage, demo::CodePage::Windows1251);
    EXPECT_EQ(ParseArgs({"--codepage", "utf8", "info", "a"}).options.codePage, demo::CodePage::Utf8);
    EXPECT_TRUE(ParseArgs({"--help"}).options.help);
    EXPECT_FALSE(ParseArgs({"--verbose", "info", "a"}).usageError.empty());
}

TEST(Json, EscapesAndDemoTextsTwice) {
    JsonWriter json;
    json.BeginObject().Key("a").String("q\"\\\n\x01").Key("n").Number(-3).Key("list").BeginArray();
    json.Bool(true).Null().Unsigned(7).EndArray();
    json.DemoText("nick", "\xcf\xe5\xf2\xff", demo::CodePage::Windows1251).EndObject();
    EXPECT_EQ(json.Text(),
              "{\"a\":\"q\\\"\\\\\\n\\u0001\",\"n\":-3,\"list\":[true,null,7],"
              "\"nick_hex\":\"cfe5f2ff\",\"nick\":\"Петя\"}");
}

}  // namespace
}  // namespace vorelix::cli
