// A small writer of JSON documents: keys and values are added in order and
// the writer puts the commas between them, escapes every string and never
// writes a number that JSON cannot carry. The document is kept in memory
// until it is whole, so that a command that fails half-way leaves no
// broken document on standard output.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class JsonWriter {
 public:
  enum class FloatStyle {
    kOneDecimal,   // %.1f
    kTwoDecimals,  // %.2f
    kExponent,     // %e
  };

  // Objects and arrays: at the top level (or inside an array) the key is
  // null; inside an object every value has one.
  void BeginObject(const char* key = nullptr);
  void EndObject();
  void BeginArray(const char* key = nullptr);
  void EndArray();

  // A string value: the text up to its terminator, or at most `length`
  // bytes of it (a field that may fill its bytes without a terminator).
  void String(const char* key, const char* text);
  void StringBounded(const char* key, const char* text, size_t length);
  void Unsigned(const char* key, uint64_t value);
  void Signed(const char* key, int64_t value);
  // A number written as a string ("35"), as some keys of the reports carry it.
  void QuotedUnsigned(const char* key, uint64_t value);
  void Bool(const char* key, bool value);
  // A value that is not known.
  void Null(const char* key);
  // A float in the style given; a value that is not finite is written null.
  void Float(const char* key, double value, FloatStyle style);

  // True when every object and array begun has been ended and something
  // was written.
  bool Complete() const { return depth_ == 0 && !text_.empty(); }
  const std::string& Text() const { return text_; }
  // Writes the document to standard output when it is complete; answers
  // whether it did.
  bool Emit() const;

 private:
  static constexpr size_t kMaxDepth = 16;

  void Value(const char* key);
  void Open(const char* key, char bracket);
  void Close(char bracket);
  void AppendEscaped(const char* text, size_t length);

  std::string text_;
  size_t depth_ = 0;
  bool hasMember_[kMaxDepth] = {};
};
