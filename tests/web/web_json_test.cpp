#include "web/web_json.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vessory::web {
namespace {

TEST(WebJsonTest, StringsAreQuotedEscapedAndAlwaysValidUtf8) {
  struct Case {
    std::string text;
    std::string json;
  };
  const std::vector<Case> cases = {
      {"", "\"\""},
      {"plain/path.dat", "\"plain/path.dat\""},
      {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
      {"a\nb\r\tc", "\"a\\nb\\r\\tc\""},
      {std::string("\x01\x1f", 2), "\"\\u0001\\u001f\""},
      {"Zürich 日記", "\"Zürich 日記\""},
      // An archive's windows-1252 byte, and a cut sequence: U+FFFD each.
      {"caf\xE9", "\"caf\xEF\xBF\xBD\""},
      {"\xE6\x97", "\"\xEF\xBF\xBD\xEF\xBF\xBD\""},
  };
  for (const Case& c : cases) EXPECT_EQ(jsonString(c.text), c.json) << c.text;
}

TEST(WebJsonTest, FlatObjectsOfStringsAndBooleansAreRead) {
  std::string error;
  const auto members = parseFlatObject(
      R"( { "journal" : "Daily \"J\"\u00e9\ud83d\ude00", "dailyNotes":true,
            "includeDeleted": false, "keywords":"", "journal":"Last wins" } )",
      error);
  ASSERT_TRUE(members) << error;
  EXPECT_EQ(members->size(), 4u);
  EXPECT_EQ(std::get<std::string>(members->at("journal")), "Last wins");
  EXPECT_EQ(std::get<bool>(members->at("dailyNotes")), true);
  EXPECT_EQ(std::get<bool>(members->at("includeDeleted")), false);
  EXPECT_EQ(std::get<std::string>(members->at("keywords")), "");
  const auto escapes = parseFlatObject(R"({"a":"\"\\\/\b\f\n\r\t\u00e9\ud83d\ude00"})", error);
  ASSERT_TRUE(escapes) << error;
  EXPECT_EQ(std::get<std::string>(escapes->at("a")), "\"\\/\b\f\n\r\t\u00e9\U0001F600");
  EXPECT_TRUE(parseFlatObject("{}", error));
}

TEST(WebJsonTest, AnythingElseIsRefusedWithItsPlace) {
  const std::vector<std::string> refused = {
      "",
      "[]",
      R"({"a":1})",
      R"({"a":null})",
      R"({"a":{}})",
      R"({"a":"x")",
      R"({"a" "x"})",
      R"({"a":"x",})",
      R"({"a":"x"} x)",
      R"({"a":"\q"})",
      R"({"a":"\ud83d"})",
      R"({"a":"\ude00"})",
      R"({"a":"\u12"})",
      "{\"a\":\"tab\there\"}",
      R"({"a":tru})",
  };
  for (const std::string& json : refused) {
    std::string error;
    EXPECT_FALSE(parseFlatObject(json, error)) << json;
    EXPECT_NE(error.find(" at offset "), std::string::npos) << json << ": " << error;
  }
}

}  // namespace
}  // namespace vessory::web
