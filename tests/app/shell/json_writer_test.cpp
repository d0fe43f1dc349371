// The JSON writer: commas between members, escapes, numbers JSON can carry,
// and a document that is written only when it is whole.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "app/shell/json_writer.h"
#include "emu/host/emulator.h"

namespace {

using Style = JsonWriter::FloatStyle;

TEST(JsonWriter, CommasBetweenMembersAndElements) {
  JsonWriter w;
  w.BeginObject();
  w.String("name", "health");
  w.Unsigned("id", 1);
  w.BeginArray("device");
  for (int i = 0; i < 3; ++i) {
    w.BeginObject();
    w.Unsigned("slot", static_cast<uint64_t>(4 + i));
    w.BeginObject("currentData");
    w.QuotedUnsigned("temp", 38);
    w.EndObject();
    w.EndObject();
  }
  w.EndArray();
  w.BeginArray("empty");
  w.EndArray();
  w.Bool("locked", false);
  w.Signed("delta", -3);
  w.EndObject();
  EXPECT_TRUE(w.Complete());
  EXPECT_EQ(w.Text(),
            "{\"name\":\"health\",\"id\":1,\"device\":[{\"slot\":4,\"currentData\":{\"temp\":\"38\"}},"
            "{\"slot\":5,\"currentData\":{\"temp\":\"38\"}},{\"slot\":6,\"currentData\":{\"temp\":\"38\"}}],"
            "\"empty\":[],\"locked\":false,\"delta\":-3}");
}

TEST(JsonWriter, StringsAreEscaped) {
  JsonWriter w;
  w.BeginObject();
  w.String("quote\"key", "a\"b\\c\nd\te\x01");
  w.String("high", "\xC3\xA9\x7F");
  const char unterminated[4] = {'A', 'B', 'C', 'D'};
  w.StringBounded("bounded", unterminated, sizeof unterminated);
  w.StringBounded("short", "AB\0CD", 5);
  w.String("null", nullptr);
  w.EndObject();
  EXPECT_EQ(w.Text(),
            "{\"quote\\\"key\":\"a\\\"b\\\\c\\u000ad\\u0009e\\u0001\",\"high\":\"\\u00c3\\u00a9\\u007f\","
            "\"bounded\":\"ABCD\",\"short\":\"AB\",\"null\":\"\"}");
}

TEST(JsonWriter, FloatsInTheirStyleAndNeverNotANumber) {
  JsonWriter w;
  w.BeginObject();
  w.Float("one", 8760.5, Style::kOneDecimal);
  w.Float("two", -1.0, Style::kTwoDecimals);
  w.Float("exp", 3e-6, Style::kExponent);
  w.Float("nan", std::nan(""), Style::kTwoDecimals);
  w.Float("inf", std::numeric_limits<double>::infinity(), Style::kExponent);
  w.Float("big", 1e300, Style::kOneDecimal);
  w.EndObject();
  std::string text = w.Text();
  const std::string start = "{\"one\":8760.5,\"two\":-1.00,\"exp\":3.000000e-06,\"nan\":null,\"inf\":null,\"big\":1000000000";
  EXPECT_EQ(text.substr(0, start.size()), start);
  EXPECT_EQ(text.find(":nan"), std::string::npos);
  EXPECT_EQ(text.find(":inf"), std::string::npos);
  EXPECT_EQ(text.back(), '}');
}

TEST(JsonWriter, OnlyAWholeDocumentIsWritten) {
  emu::Emulator& card = emu::Install(emu::DefaultHost());
  JsonWriter w;
  EXPECT_FALSE(w.Emit());
  w.BeginObject();
  w.Unsigned("corvexiumID", 1);
  EXPECT_FALSE(w.Complete());
  EXPECT_FALSE(w.Emit());
  EXPECT_EQ(card.TakeOutput(), "");
  w.EndObject();
  w.EndObject();  // one too many changes nothing
  EXPECT_TRUE(w.Emit());
  EXPECT_EQ(card.TakeOutput(), "{\"corvexiumID\":1}");
}

}  // namespace
