#include "platform/mpv_json.h"

#include <gtest/gtest.h>

namespace tamiral {
namespace {

TEST(MpvJsonTest, RequestsAreOneLineWithEscapedStrings) {
  EXPECT_EQ(mpvRequest({jsonString("loadfile"), jsonString("/m/a \"b\"\\c\n.wav")}, 7),
            "{\"command\":[\"loadfile\",\"/m/a \\\"b\\\"\\\\c\\u000a.wav\"],\"request_id\":7}\n");
  EXPECT_EQ(mpvRequest({jsonString("seek"), jsonNumber(1.5), jsonString("absolute+exact")}, 8),
            "{\"command\":[\"seek\",1.5,\"absolute+exact\"],\"request_id\":8}\n");
  EXPECT_EQ(jsonString("canção"), "\"canção\"");  // UTF-8 passes through
}

TEST(MpvJsonTest, RepliesAndEventsKeepTheirTopLevel) {
  std::optional<MpvMessage> reply = parseMpvMessage(R"({"data":12.345000,"request_id":3,"error":"success"})");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->requestId, 3);
  EXPECT_EQ(reply->error, "success");
  EXPECT_EQ(reply->data, JsonScalar(12.345));

  reply = parseMpvMessage(R"({"request_id":4,"error":"property unavailable","data":null})");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->error, "property unavailable");
  EXPECT_EQ(reply->data, JsonScalar());

  reply = parseMpvMessage(R"({ "data" : true , "request_id" : 5 , "error" : "success" })");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->data, JsonScalar(true));

  std::optional<MpvMessage> event =
      parseMpvMessage(R"({"event":"end-file","reason":"error","playlist_entry_id":1,"file_error":"loading failed"})");
  ASSERT_TRUE(event);
  EXPECT_EQ(event->event, "end-file");
  EXPECT_EQ(event->reason, "error");
  EXPECT_FALSE(event->requestId);

  // Nested data is checked and skipped.
  reply = parseMpvMessage(R"({"data":[{"a":[1,2,{"b":"}"}]},"x"],"request_id":6,"error":"success"})");
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->requestId, 6);
  EXPECT_EQ(reply->data, JsonScalar());
}

TEST(MpvJsonTest, StringEscapesBecomeUtf8) {
  struct Case {
    std::string_view json;
    std::string_view text;
  } cases[] = {
      {R"({"data":"a\"b\\c\/d\n\t"})", "a\"b\\c/d\n\t"},
      {R"({"data":"can\u00e7\u00E3o"})", "canção"},
      {R"({"data":"\ud83c\udfb5"})", "\xF0\x9F\x8E\xB5"},  // a surrogate pair
      {R"({"data":"\ud83c!"})", "\xEF\xBF\xBD!"},           // a lone half
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.json);
    std::optional<MpvMessage> message = parseMpvMessage(c.json);
    ASSERT_TRUE(message);
    EXPECT_EQ(message->data, JsonScalar(std::string(c.text)));
  }
}

TEST(MpvJsonTest, MalformedLinesAreRefused) {
  std::string deep = "{\"data\":" + std::string(40, '[') + std::string(40, ']') + "}";
  for (std::string_view line : {
           "", "[]", "{", "{\"a\"}", "{\"a\":}", "{\"a\":1,}", "{\"a\":1} x", "{\"a\":\"open",
           "{\"a\":\"\\x\"}", "{\"a\":\"\\u12\"}", "{\"a\":\"tab\there\"}", "{\"a\":tru}", "{\"a\":+1}",
           "{\"a\":[1,2}", "{\"a\":{\"b\" 1}}", "{\"a\":1.2.3}",
       }) {
    SCOPED_TRACE(line);
    EXPECT_FALSE(parseMpvMessage(line));
  }
  EXPECT_FALSE(parseMpvMessage(deep));
  EXPECT_TRUE(parseMpvMessage("{\"data\":" + std::string(20, '[') + std::string(20, ']') + "}"));
}

}  // namespace
}  // namespace tamiral
