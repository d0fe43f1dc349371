#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/shell/text_tokenizer.h"

namespace {

struct Word {
  std::string text;
  uint32_t line;
  bool operator==(const Word& other) const { return text == other.text && line == other.line; }
};

std::ostream& operator<<(std::ostream& out, const Word& word) {
  return out << '"' << word.text << "\"@" << word.line;
}

// Every token of the text up to the end or the first over-long one.
std::vector<Word> Words(const std::string& text, TokenResult* last = nullptr) {
  TextTokenizer words(text.data(), text.size());
  std::vector<Word> out;
  TokenResult result;
  while ((result = words.NextToken()) == TokenResult::kToken) out.push_back({words.token(), words.line()});
  if (last != nullptr) *last = result;
  return out;
}

TEST(TextTokenizerTest, SplitsTheTextIntoWords) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<Word> words;
  } cases[] = {
      {"blanks, = and line breaks separate", "A  = B\r\nC\n\n D=E", {{"A", 1}, {"B", 1}, {"C", 2}, {"D", 4}, {"E", 4}}},
      {"a TAB leads no token but stays inside one", "\tA\tB C\t", {{"A\tB", 1}, {"C\t", 1}}},
      {"a comment runs to its line break", "LR_VPD_TAG 0x90 ; read-only = x\nNEXT",
       {{"LR_VPD_TAG", 1}, {"0x90", 1}, {"NEXT", 2}}},
      {"a comment at the end of the text", "A ;no line break", {{"A", 1}}},
      {"a ';' inside a word is a character", "0x90;x y", {{"0x90;x", 1}, {"y", 1}}},
      {"a quoted part keeps blanks, '=' and ';'", "ID \"Ulvane Cx 1=2;\" X",
       {{"ID", 1}, {"Ulvane Cx 1=2;", 1}, {"X", 1}}},
      {"a word goes on after its quoted part", "a\"b c\"d e", {{"ab cd", 1}, {"e", 1}}},
      {"an empty quoted part is an empty word", "A \"\" B", {{"A", 1}, {"", 1}, {"B", 1}}},
      {"an unclosed quote ends with the text", "A \"open to the end", {{"A", 1}, {"open to the end", 1}}},
      {"a quoted line break counts as a line", "\"a\nb\" C", {{"a\nb", 1}, {"C", 2}}},
      {"the text ends at a NUL byte", std::string("A B\0C D", 7), {{"A", 1}, {"B", 1}}},
      {"blanks and comments alone hold no word", " \r\n= ; only a comment\n\t", {}},
      {"the empty text", "", {}},
  };
  for (const Case& c : cases) {
    TokenResult last = TokenResult::kToken;
    EXPECT_EQ(Words(c.text, &last), c.words) << c.name;
    EXPECT_EQ(last, TokenResult::kEnd) << c.name;
  }
}

TEST(TextTokenizerTest, RefusesOverLongWordsWithoutCuttingThem) {
  const std::string longest(TextTokenizer::kMaxTokenLength, 'w');
  const std::string quoted(TextTokenizer::kMaxQuotedLength, 'q');
  struct Case {
    std::string text;
    bool taken;
  } cases[] = {
      {longest, true},
      {longest + "w", false},
      {"\"" + quoted + "\"", true},
      {"\"" + quoted + "q\"", false},
      // Two quoted parts may each hold their most, as long as the word fits.
      {"\"" + quoted + "\"" + std::string(TextTokenizer::kMaxTokenLength - quoted.size(), 'x'), true},
      {"\"" + quoted + "\"\"" + quoted + "\"", false},
  };
  for (const Case& c : cases) {
    TextTokenizer words(c.text.data(), c.text.size());
    TokenResult result = words.NextToken();
    EXPECT_EQ(result, c.taken ? TokenResult::kToken : TokenResult::kTooLong) << c.text.size();
    if (c.taken) {
      const auto quotes = static_cast<size_t>(std::count(c.text.begin(), c.text.end(), '"'));
      EXPECT_EQ(words.tokenLength(), c.text.size() - quotes);
    } else {
      EXPECT_STREQ(words.token(), "");
    }
  }
}

TEST(TextTokenizerTest, ReadsNothingPastTheGivenLength) {
  // The length ends the text even without a NUL: "AB" of "ABCD".
  const char text[4] = {'A', 'B', 'C', 'D'};
  TextTokenizer words(text, 2);
  ASSERT_EQ(words.NextToken(), TokenResult::kToken);
  EXPECT_STREQ(words.token(), "AB");
  EXPECT_EQ(words.NextToken(), TokenResult::kEnd);
  EXPECT_TRUE(words.AtEnd());

  TextTokenizer none(nullptr, 10);
  EXPECT_EQ(none.NextToken(), TokenResult::kEnd);
}

TEST(TextTokenizerTest, AtEndLooksPastBlanksAndComments) {
  const std::string text = "A ; comment\n  \n";
  TextTokenizer words(text.data(), text.size());
  EXPECT_FALSE(words.AtEnd());
  ASSERT_EQ(words.NextToken(), TokenResult::kToken);
  EXPECT_TRUE(words.AtEnd());
  EXPECT_EQ(words.NextToken(), TokenResult::kEnd);
  EXPECT_EQ(words.line(), 3u);
}

}  // namespace
