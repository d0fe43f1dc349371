#include "app/vpd/vpd_text_file.h"

#include <string>

#include "app/shell/console.h"
#include "app/shell/hex_number.h"
#include "app/shell/memory_strings.h"
#include "app/shell/text_tokenizer.h"
#include "app/vpd/vpd_layout.h"

namespace {

constexpr uint32_t kPrefixLength = 2;  // "0x"
constexpr uint32_t kMaxTagValue = 0xFF;

std::string Hex(uint64_t value) {
  char text[24];
  FormatString(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
  return text;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

class VpdFileParser {
 public:
  VpdFileParser(const char* text, size_t length) : words_(text, length) {}

  bool Run() {
    if (!ParseVpdIdString()) return false;
    for (;;) {
      if (!Next("SR_END_TAG")) return false;
      if (Is("LR_VPD_TAG")) {
        if (!CloseResource() || !ParseVpdTag()) return false;
      } else if (Is("VPD_KEYWORD")) {
        if (!open_) return Fail("VPD_KEYWORD outside a resource: LR_VPD_TAG and LR_VPD_LENGTH come first.");
        if (!ParseVpdKeyword()) return false;
      } else if (Is("SR_END_TAG")) {
        return CloseResource() && Emit({vpd::kTagEnd}) && AfterEnd();
      } else {
        return Fail("unknown token " + Quoted(word_) + ".");
      }
    }
  }

  std::vector<uint8_t>& bytes() { return bytes_; }

 private:
  // Prints the fault with the line of the word last read; always false.
  bool Fail(const std::string& text) { return FailAt(words_.line(), text); }
  static bool FailAt(uint32_t line, const std::string& text) {
    ConsolePrint("\t\tERROR: line %u: %s\n", line, text.c_str());
    return false;
  }

  bool Is(const char* keyword) const { return StrEqualNoCase(word_.c_str(), keyword); }

  // The next word into word_; false at the end of the text (when `wanted`
  // names what was due) or for an over-long word.
  bool Next(const std::string& wanted) {
    TokenResult result = words_.NextToken();
    word_ = words_.token();
    // The end of the text is named by the line of the last word before it.
    if (result == TokenResult::kEnd) return FailAt(lastLine_, "the file ends where " + wanted + " was expected.");
    lastLine_ = words_.line();
    if (result == TokenResult::kTooLong) {
      return Fail("a token of more than " + std::to_string(TextTokenizer::kMaxTokenLength) + " characters.");
    }
    return true;
  }

  // The next word, which must be the keyword.
  bool Expect(const char* keyword) {
    if (!Next(keyword)) return false;
    if (!Is(keyword)) return Fail(Quoted(word_) + " found where " + keyword + " was expected.");
    return true;
  }

  // The value of the keyword: the next word.
  bool Value(const char* keyword) { return Next("the value of " + std::string(keyword)); }

  // The value of the keyword as a number of at most `maximum`.
  bool Number(const char* keyword, uint64_t maximum, uint64_t* value) {
    if (!Value(keyword)) return false;
    uint32_t low = 0;
    uint32_t high = 0;
    if (word_.size() < kPrefixLength || !ParseHexNumber(word_.c_str() + kPrefixLength, &low, &high)) {
      return Fail("the value " + Quoted(word_) + " of " + keyword + " is not a valid number.");
    }
    *value = (static_cast<uint64_t>(high) << 32) | low;
    if (*value > maximum) return Fail(std::string(keyword) + " " + word_ + " is more than " + Hex(maximum) + ".");
    return true;
  }

  bool Emit(const std::vector<uint8_t>& more) {
    if (bytes_.size() + more.size() > vpd::kAreaSize) {
      return Fail("the VPD is more than the " + std::to_string(vpd::kAreaSize) + " bytes the page holds.");
    }
    bytes_.insert(bytes_.end(), more.begin(), more.end());
    return true;
  }
  bool EmitLe16(uint64_t value) {
    return Emit({static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
  }
  // The characters of the word last read (none for an empty word).
  bool AppendVpdToken() { return Emit(std::vector<uint8_t>(word_.begin(), word_.end())); }

  // LR_ID_STRING_TAG 0x82, LR_ID_STRING_LENGTH n, LR_ID_STRING text of n
  // characters: the first resource of the area.
  bool ParseVpdIdString() {
    uint64_t tag = 0;
    uint64_t length = 0;
    if (!Expect("LR_ID_STRING_TAG") || !Number("LR_ID_STRING_TAG", kMaxTagValue, &tag)) return false;
    if (tag != vpd::kTagIdentifier) {
      return Fail("LR_ID_STRING_TAG " + word_ + " is not the identifier string's tag " + Hex(vpd::kTagIdentifier) + ".");
    }
    if (!Expect("LR_ID_STRING_LENGTH") || !Number("LR_ID_STRING_LENGTH", vpd::large::kMaxLength, &length)) {
      return false;
    }
    uint32_t lengthLine = words_.line();
    if (!Expect("LR_ID_STRING") || !Value("LR_ID_STRING")) return false;
    if (word_.size() != length) {
      return FailAt(lengthLine, "LR_ID_STRING_LENGTH " + Hex(length) + ", but LR_ID_STRING " + Quoted(word_) +
                                    " has " + Hex(word_.size()) + " characters.");
    }
    return Emit({static_cast<uint8_t>(tag)}) && EmitLe16(length) && AppendVpdToken();
  }

  // LR_VPD_TAG t, LR_VPD_LENGTH n: a large resource whose keywords follow.
  bool ParseVpdTag() {
    uint64_t tag = 0;
    if (!Number("LR_VPD_TAG", kMaxTagValue, &tag)) return false;
    if (tag <= vpd::kLargeTagLimit) {
      return Fail("LR_VPD_TAG " + word_ + " is not the tag of a large resource (0x81 to 0xFF).");
    }
    uint64_t length = 0;
    if (!Expect("LR_VPD_LENGTH") || !Number("LR_VPD_LENGTH", vpd::large::kMaxLength, &length)) return false;
    if (!Emit({static_cast<uint8_t>(tag)}) || !EmitLe16(length)) return false;
    open_ = true;
    resourceStart_ = bytes_.size();
    resourceLength_ = length;
    resourceLine_ = words_.line();
    return true;
  }

  // The resource open so far must hold exactly the bytes its length says.
  bool CloseResource() {
    if (!open_) return true;
    open_ = false;
    uint64_t held = bytes_.size() - resourceStart_;
    if (held == resourceLength_) return true;
    return FailAt(resourceLine_, "LR_VPD_LENGTH " + Hex(resourceLength_) + ", but the resource's keywords take " +
                                     Hex(held) + " bytes.");
  }

  // VPD_KEYWORD name, VPD_LENGTH n, VPD_DATA value.
  bool ParseVpdKeyword() {
    if (!Value("VPD_KEYWORD")) return false;
    if (word_.size() != vpd::keyword::kNameSize) {
      return Fail("VPD_KEYWORD " + Quoted(word_) + " is not two characters.");
    }
    std::vector<uint8_t> header(word_.begin(), word_.end());
    uint64_t length = 0;
    if (!Expect("VPD_LENGTH") || !Number("VPD_LENGTH", vpd::keyword::kMaxDataLength, &length)) return false;
    header.push_back(static_cast<uint8_t>(length));
    uint32_t lengthLine = words_.line();
    if (!Expect("VPD_DATA") || !Value("VPD_DATA")) return false;

    if (Is("RESERVED")) return Emit(header) && Emit(std::vector<uint8_t>(length, 0));
    if (Is("CHECKSUM")) {
      if (length != 1) return FailAt(lengthLine, "CHECKSUM is one byte, but VPD_LENGTH is " + Hex(length) + ".");
      if (!Emit(header)) return false;
      return Emit({VpdChecksum(bytes_.data(), bytes_.size())});
    }
    if (word_.size() != length) {
      ConsolePrint("\t\tERROR: line %u: VPD Value \"%s\"\n\t\tExpected Length %X Actual Length %X.\n",
                   words_.line(), word_.c_str(), static_cast<unsigned>(length),
                   static_cast<unsigned>(word_.size()));
      return false;
    }
    return Emit(header) && AppendVpdToken();
  }

  // After the end tag the file may repeat its value, 0x78, and then ends.
  bool AfterEnd() {
    TokenResult result = words_.NextToken();
    if (result == TokenResult::kEnd) return true;
    word_ = words_.token();
    if (result == TokenResult::kToken && StrEqualNoCase(word_.c_str(), "0x78")) {
      result = words_.NextToken();
      if (result == TokenResult::kEnd) return true;
      word_ = words_.token();
    }
    if (result == TokenResult::kTooLong) return Fail("text after SR_END_TAG.");
    return Fail(Quoted(word_) + " after SR_END_TAG: the end tag ends the VPD.");
  }

  TextTokenizer words_;
  std::string word_;
  std::vector<uint8_t> bytes_;
  bool open_ = false;
  size_t resourceStart_ = 0;
  uint64_t resourceLength_ = 0;
  uint32_t resourceLine_ = 0;
  uint32_t lastLine_ = 1;
};

}  // namespace

bool ParseVpdFile(const char* text, size_t length, std::vector<uint8_t>* bytes) {
  bytes->clear();
  VpdFileParser parser(text, length);
  if (!parser.Run()) return false;
  bytes->swap(parser.bytes());
  return true;
}
