#include "app/shell/json_writer.h"

#include <cmath>

#include "app/shell/console.h"

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

void JsonWriter::Value(const char* key) {
  if (depth_ > 0) {
    size_t level = depth_ < kMaxDepth ? depth_ : kMaxDepth - 1;
    if (hasMember_[level]) text_ += ',';
    hasMember_[level] = true;
  }
  if (key != nullptr) {
    text_ += '"';
    AppendEscaped(key, std::string::npos);
    text_ += "\":";
  }
}

void JsonWriter::Open(const char* key, char bracket) {
  Value(key);
  text_ += bracket;
  ++depth_;
  if (depth_ < kMaxDepth) hasMember_[depth_] = false;
}

void JsonWriter::Close(char bracket) {
  if (depth_ == 0) return;
  text_ += bracket;
  --depth_;
}

void JsonWriter::BeginObject(const char* key) { Open(key, '{'); }
void JsonWriter::EndObject() { Close('}'); }
void JsonWriter::BeginArray(const char* key) { Open(key, '['); }
void JsonWriter::EndArray() { Close(']'); }

void JsonWriter::AppendEscaped(const char* text, size_t length) {
  for (size_t i = 0; i < length && text[i] != '\0'; ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      text_ += '\\';
      text_ += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      // Control characters and bytes outside ASCII (a page's name need not
      // be text at all) travel as escapes, so the document stays valid
      // UTF-8 whatever the card holds.
      text_ += "\\u00";
      text_ += kHexDigits[c >> 4];
      text_ += kHexDigits[c & 0x0F];
    } else {
      text_ += static_cast<char>(c);
    }
  }
}

void JsonWriter::String(const char* key, const char* text) {
  StringBounded(key, text, std::string::npos);
}

void JsonWriter::StringBounded(const char* key, const char* text, size_t length) {
  Value(key);
  text_ += '"';
  if (text != nullptr) AppendEscaped(text, length);
  text_ += '"';
}

void JsonWriter::Unsigned(const char* key, uint64_t value) {
  Value(key);
  text_ += std::to_string(value);
}

void JsonWriter::Signed(const char* key, int64_t value) {
  Value(key);
  text_ += std::to_string(value);
}

void JsonWriter::QuotedUnsigned(const char* key, uint64_t value) {
  Value(key);
  text_ += '"';
  text_ += std::to_string(value);
  text_ += '"';
}

void JsonWriter::Bool(const char* key, bool value) {
  Value(key);
  text_ += value ? "true" : "false";
}

void JsonWriter::Null(const char* key) {
  Value(key);
  text_ += "null";
}

void JsonWriter::Float(const char* key, double value, FloatStyle style) {
  Value(key);
  if (!std::isfinite(value)) {
    text_ += "null";
    return;
  }
  const char* format = style == FloatStyle::kOneDecimal ? "%.1f" : style == FloatStyle::kTwoDecimals ? "%.2f" : "%e";
  // Room for any finite double in these formats.
  char number[400];
  FormatString(number, sizeof number, format, value);
  text_ += number;
}

bool JsonWriter::Emit() const {
  if (!Complete()) return false;
  ConsolePrint("%s", text_.c_str());
  return true;
}
