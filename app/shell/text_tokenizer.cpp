#include "app/shell/text_tokenizer.h"

namespace {

bool IsSeparator(char c) { return c == '=' || c == '\n' || c == '\r' || c == ' '; }
bool IsBlank(char c) { return c == '\r' || c == '\n' || c == '\t' || c == ' ' || c == '='; }

}  // namespace

TextTokenizer::TextTokenizer(const char* text, size_t length)
    : text_(text), length_(text == nullptr ? 0 : length) {}

char TextTokenizer::Take() {
  char c = text_[position_++];
  if (c == '\n') ++line_;
  return c;
}

void TextTokenizer::SkipBlanksAndComments() {
  while (More()) {
    char c = text_[position_];
    if (IsBlank(c)) {
      Take();
    } else if (c == ';') {
      while (More() && Take() != '\n') {
      }
    } else {
      return;
    }
  }
}

bool TextTokenizer::AtEnd() {
  SkipBlanksAndComments();
  return !More();
}

TokenResult TextTokenizer::NextToken() {
  tokenLength_ = 0;
  token_[0] = '\0';
  SkipBlanksAndComments();
  tokenLine_ = line_;
  if (!More()) return TokenResult::kEnd;

  bool tooLong = false;
  auto keep = [&](char c) {
    if (tokenLength_ == kMaxTokenLength) {
      tooLong = true;
      return;
    }
    token_[tokenLength_++] = c;
  };
  while (More()) {
    char c = Take();
    if (IsSeparator(c)) break;
    if (c != '"') {
      keep(c);
      continue;
    }
    size_t quoted = 0;
    while (More() && text_[position_] != '"') {
      if (++quoted > kMaxQuotedLength) tooLong = true;
      keep(Take());
    }
    if (More()) Take();  // the closing quote
  }
  if (tooLong) {
    tokenLength_ = 0;
    token_[0] = '\0';
    return TokenResult::kTooLong;
  }
  token_[tokenLength_] = '\0';
  return TokenResult::kToken;
}
