// The tokenizer of the utility's small text files (the VPD data file and
// the flash package manifest): words separated by blanks, line breaks or
// "=", comments from ";" to the end of the line, and double quotes around a
// part of a word that holds blanks, "=" or ";".
//
//   TextTokenizer words(text, length);
//   while (words.NextToken() == TokenResult::kToken) Use(words.token(), words.line());
//
// The text ends at its length or at its first NUL byte, whichever comes
// first; nothing past it is read.
#pragma once

#include <cstddef>
#include <cstdint>

enum class TokenResult {
  kToken,    // a token was read (it may be empty: "" is a token)
  kEnd,      // nothing but blanks and comments up to the end of the text
  kTooLong,  // the token has more than kMaxTokenLength characters, or its
             // quoted part more than kMaxQuotedLength: it is not taken
};

class TextTokenizer {
 public:
  static constexpr size_t kMaxTokenLength = 127;
  static constexpr size_t kMaxQuotedLength = 99;

  TextTokenizer(const char* text, size_t length);

  // Skips blanks and comments, then reads one token. A token ends at "=",
  // LF, CR or SPACE (which is consumed) or at the end of the text. TAB and
  // ";" inside a token are ordinary characters. A double quote opens a
  // quoted part, taken as it is up to the next double quote (or the end of
  // the text), and the token goes on after it.
  TokenResult NextToken();

  // Advances over CR, LF, TAB, SPACE and "=", and over comments: ";" up to
  // and including the next line break, or to the end of the text.
  void SkipBlanksAndComments();

  // The token last read, terminated; empty after kEnd or kTooLong.
  const char* token() const { return token_; }
  size_t tokenLength() const { return tokenLength_; }
  // The line (from 1) on which the token last read starts; after kEnd the
  // line the text ends on.
  uint32_t line() const { return tokenLine_; }
  // True when nothing but blanks and comments remains.
  bool AtEnd();

 private:
  bool More() const { return position_ < length_ && text_[position_] != '\0'; }
  char Take();

  const char* text_;
  size_t length_;
  size_t position_ = 0;
  uint32_t line_ = 1;
  uint32_t tokenLine_ = 1;
  char token_[kMaxTokenLength + 1] = {};
  size_t tokenLength_ = 0;
};
