// Parsing vorelix-cli's arguments and writing its JSON, natively and under Wine.
#include <gtest/gtest.h>

#include "cli/Args.h"
#include "cli/Json.h"

namespace vorelix::cli {
namespace {

TEST(Args, OptionsMayStandAnywhereAndDoubleDashEndsThem) {
    const auto ok = ParseArgs({"--json", "edit-chat", "a.dem", "--backup", "12", "--", "-text"});
    ASSERT_TRUE(ok.usageError.empty()) << ok.usageError;
    EXPECT_TRUE(ok.options.json);
    EXPECT_TRUE(ok.options.backup);
    EXPECT_EQ(ok.options.operands, (std::vector<std::string>{"a.dem", "12", "-text"}));
    EXPECT_EQ(ParseArgs({"edit-chat", "a.dem", "12", "--", "x", "--json"}).usageError,
              "wrong number of arguments for edit-chat");
    EXPECT_EQ(ParseArgs({"--codepage", "1251", "info", "a"}).options.codePage, demo::CodePage::Windows1251);
    EXPECT_EQ(ParseArgs({"--codepage", "utf8", "info", "a"}).options.codePage, demo::CodePage::Utf8);
}

TEST(Args, MisusedOptionsAndWrongArityAreUsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"set-nick", "a.dem", "--from", "x", "--to", "y", "--at", "0"},
             {"set-nick", "a.dem", "--from", "x", "--to", "y", "--at", "1x"},
             {"set-nick", "a.dem", "--from", "x", "--to", "y", "--at", "99999999999999999999"},
             {"nicks", "a.dem", "--from", "x"},
             {"players", "a.dem", "b.dem"},
             {"info"},
             {"--codepage"},
             {"--verbose", "info", "a"}})
        EXPECT_FALSE(ParseArgs(args).usageError.empty()) << args[0] << " " << args.back();
    const auto empty = ParseArgs({"set-nick", "a.dem", "--from", "", "--to", "y", "--at", "42"});
    EXPECT_TRUE(empty.usageError.empty()) << empty.usageError;
    EXPECT_EQ(empty.options.from, "");
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
