// Option parsing and the JSON text of talvane-cli, where scripts depend on the exact form.

#include <gtest/gtest.h>

#include "app/cli/CliOptions.h"
#include "app/cli/JsonWriter.h"

namespace {

bool Parse(std::vector<std::string> args, CliOptions& o, std::string& error) {
    std::vector<const char*> argv = {"talvane-cli"};
    for (const std::string& a : args) {
        argv.push_back(a.c_str());
    }
    return ParseCliOptions(static_cast<int>(argv.size()), argv.data(), o, error);
}

TEST(CliOptionsTest, OptionsStandAnywhereAndTakeTheirValuesEitherWay) {
    CliOptions o;
    std::string error;
    ASSERT_TRUE(Parse({"dpi", "--profile", "3", "set", "--json", "2", "-5", "--model=102",
                       "--virtual-mouse=receiver", "--virtual-dir", "/x", "--", "--yes"},
                      o, error))
        << error;
    EXPECT_EQ(o.profile, 3);
    EXPECT_EQ(o.model, 102);
    EXPECT_TRUE(o.json);
    EXPECT_FALSE(o.yes);  // after "--" it is a word
    EXPECT_EQ(o.virtualMode, "receiver");
    EXPECT_EQ(o.virtualDir, "/x");
    EXPECT_EQ(o.words, (std::vector<std::string>{"dpi", "set", "2", "-5", "--yes"}));
    CliOptions plain;
    ASSERT_TRUE(Parse({"--virtual-mouse", "info"}, plain, error));
    EXPECT_EQ(plain.virtualMode, "cable");
}

TEST(CliOptionsTest, BadOptionsAreRefusedWithTheReason) {
    const struct {
        std::vector<std::string> args;
        const char* error;
    } cases[] = {
        {{"--frob"}, "unknown option --frob"},
        {{"--json=1"}, "unknown option --json=1"},
        {{"--profile"}, "--profile needs a profile number"},
        {{"--profile", "6"}, "--profile takes a number from 1 to 5"},
        {{"--profile=2x"}, "--profile takes a number from 1 to 5"},
        {{"--model", "0"}, "--model takes a number from 1 to 2147483647"},
        {{"--model", "99999999999"}, "--model takes a number from 1 to 2147483647"},
        {{"--virtual-mouse=usb"}, "--virtual-mouse takes cable, receiver or bluetooth"},
        {{"--virtual-dir="}, "--virtual-dir needs a folder"},
    };
    for (const auto& c : cases) {
        CliOptions o;
        std::string error;
        EXPECT_FALSE(Parse(c.args, o, error)) << c.args[0];
        EXPECT_EQ(error, c.error);
    }
}

TEST(CliOptionsTest, WholeNumbersOnly) {
    long long v = 0;
    EXPECT_TRUE(ParseWholeNumber("-12", v));
    EXPECT_EQ(v, -12);
    for (const char* bad : {"", "+", "1.5", "12a", " 1", "0x10", "1234567890123456789"}) {
        EXPECT_FALSE(ParseWholeNumber(bad, v)) << bad;
    }
}

TEST(JsonValueTest, TextIsEscapedAndMembersKeepTheirOrder) {
    JsonValue v = JsonValue::MakeObject()
                      .Set("z", 1)
                      .Set("a", std::wstring(L"\"Профиль\"\\\n\x01"))
                      .Set("list", JsonValue(JsonValue::Array{true, JsonValue(), -3}));
    EXPECT_EQ(v.Dump(),
              "{\"z\":1,\"a\":\"\\\"Профиль\\\"\\\\\\n\\u0001\",\"list\":[true,null,-3]}");
}

}  // namespace
