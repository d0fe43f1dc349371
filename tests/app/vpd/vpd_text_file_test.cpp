// The VPD data file: the bytes each kind of word gives, and the refusal of
// every file that would leave the card with VPD other than the one written.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/vpd/vpd_layout.h"
#include "app/vpd/vpd_text_file.h"
#include "emu/host/emulator.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The identifier string "Cx" as a file writes it and the bytes it gives.
const std::string kId = "LR_ID_STRING_TAG 0x82\nLR_ID_STRING_LENGTH 0x02\nLR_ID_STRING Cx\n";
const Bytes kIdBytes = {0x82, 0x02, 0x00, 'C', 'x'};

class VpdTextFileTest : public ::testing::Test {
 protected:
  void SetUp() override { card_ = &emu::Install(emu::DefaultHost()); }
  bool Parse(const std::string& text) {
    bytes_ = {0xEE};  // a failure must leave nothing behind
    bool parsed = ParseVpdFile(text.data(), text.size(), &bytes_);
    output_ = card_->TakeOutput();
    return parsed;
  }
  emu::Emulator* card_ = nullptr;
  Bytes bytes_;
  std::string output_;
};

TEST_F(VpdTextFileTest, TurnsAWholeFileIntoTheVpdArea) {
  const std::string file =
      "; Corvexium VPD\n"
      "LR_ID_STRING_TAG = 0x82\n"
      "LR_ID_STRING_LENGTH = 0x0E\n"
      "LR_ID_STRING = \"Ulvane Cx 100\t\"\n"
      "LR_VPD_TAG = 0x90 ; read-only\n"
      "LR_VPD_LENGTH = 0x0F\n"
      "VPD_KEYWORD = PN  VPD_LENGTH = 0x03  VPD_DATA = A1B\n"
      "vpd_keyword = sn  vpd_length = 0X02  vpd_data = \"7 \"\n"
      "VPD_KEYWORD = RV  VPD_LENGTH = 0x01  VPD_DATA = checksum\n"
      "LR_VPD_TAG = 0x91\n"
      "LR_VPD_LENGTH = 0x0006\n"
      "VPD_KEYWORD = RW  VPD_LENGTH = 0x03  VPD_DATA = RESERVED\n"
      "SR_END_TAG";
  ASSERT_TRUE(Parse(file)) << output_;
  EXPECT_EQ(output_, "");
  Bytes head = Bytes{0x82, 0x0E, 0x00} + Text("Ulvane Cx 100\t") + Bytes{0x90, 0x0F, 0x00} + Text("PN") +
               Bytes{3} + Text("A1B") + Text("sn") + Bytes{2} + Text("7 ") + Text("RV") + Bytes{1};
  uint8_t sum = 0;
  for (uint8_t b : head) sum = static_cast<uint8_t>(sum + b);
  Bytes expected = head + Bytes{static_cast<uint8_t>(0x100 - sum)} + Bytes{0x91, 0x06, 0x00} + Text("RW") +
                   Bytes{3, 0, 0, 0} + Bytes{0x78};
  EXPECT_EQ(bytes_, expected);
  // Everything from the area's start through the checksum sums to 0.
  uint8_t total = 0;
  for (size_t i = 0; i <= head.size(); ++i) total = static_cast<uint8_t>(total + bytes_[i]);
  EXPECT_EQ(total, 0);
}

TEST_F(VpdTextFileTest, ReadsEachKindOfWord) {
  const std::string ro = "LR_VPD_TAG 0x90 LR_VPD_LENGTH ";
  struct Case {
    const char* name;
    std::string file;
    Bytes bytes;
  } cases[] = {
      {"identifier and end tag alone", kId + "SR_END_TAG", kIdBytes + Bytes{0x78}},
      {"the end tag written with its value", kId + "SR_END_TAG = 0x78\n", kIdBytes + Bytes{0x78}},
      {"an empty resource", kId + ro + "0x00 SR_END_TAG", kIdBytes + Bytes{0x90, 0, 0, 0x78}},
      {"RESERVED gives zero bytes", kId + ro + "0x06 VPD_KEYWORD RW VPD_LENGTH 0x03 VPD_DATA RESERVED SR_END_TAG",
       kIdBytes + Bytes{0x90, 6, 0, 'R', 'W', 3, 0, 0, 0, 0x78}},
      {"an empty value and a number with an empty rest",
       kId + ro + "0x03 VPD_KEYWORD YA VPD_LENGTH 0x VPD_DATA \"\" SR_END_TAG",
       kIdBytes + Bytes{0x90, 3, 0, 'Y', 'A', 0, 0x78}},
      {"a number of 16 digits behind its prefix",
       kId + ro + "0x0000000000000003 VPD_KEYWORD V0 VPD_LENGTH 0x0000000000000000 VPD_DATA \"\" SR_END_TAG",
       kIdBytes + Bytes{0x90, 3, 0, 'V', '0', 0, 0x78}},
      {"';' inside a value is a character", kId + ro + "0x05 VPD_KEYWORD EC VPD_LENGTH 0x02 VPD_DATA a;\nSR_END_TAG",
       kIdBytes + Bytes{0x90, 5, 0, 'E', 'C', 2, 'a', ';', 0x78}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Parse(c.file)) << c.name << "\n" << output_;
    EXPECT_EQ(bytes_, c.bytes) << c.name;
  }
}

TEST_F(VpdTextFileTest, FillsTheAreaToItsLastByte) {
  // Identifier (5), resource header (3), one keyword of 3 + n, end tag (1).
  auto file = [](size_t n) {
    char length[8];
    std::snprintf(length, sizeof length, "0x%zX", n + 3);
    char data[8];
    std::snprintf(data, sizeof data, "0x%zX", n);
    return kId + "LR_VPD_TAG 0x90 LR_VPD_LENGTH " + length + " VPD_KEYWORD YA VPD_LENGTH " + data +
           " VPD_DATA RESERVED SR_END_TAG";
  };
  ASSERT_TRUE(Parse(file(256 - 12))) << output_;
  EXPECT_EQ(bytes_.size(), 256u);
  EXPECT_EQ(bytes_.back(), 0x78);
  EXPECT_FALSE(Parse(file(256 - 11)));
  EXPECT_EQ(output_, "\t\tERROR: line 4: the VPD is more than the 256 bytes the page holds.\n");
}

TEST_F(VpdTextFileTest, RefusesEveryFaultNamingItsLine) {
  const std::string ro = "LR_VPD_TAG 0x90\nLR_VPD_LENGTH 0x06\n";
  const std::string pn = "VPD_KEYWORD PN\nVPD_LENGTH 0x03\nVPD_DATA ABC\n";
  struct Case {
    const char* name;
    std::string file;
    std::string message;  // after "\t\tERROR: "
  } cases[] = {
      {"no identifier string first", ro + kId + "SR_END_TAG",
       "line 1: \"LR_VPD_TAG\" found where LR_ID_STRING_TAG was expected."},
      {"an identifier tag that is not 0x82", "LR_ID_STRING_TAG 0x90\n",
       "line 1: LR_ID_STRING_TAG 0x90 is not the identifier string's tag 0x82."},
      {"an identifier shorter than its length", "LR_ID_STRING_TAG 0x82\nLR_ID_STRING_LENGTH 0x03\nLR_ID_STRING Cx\n",
       "line 2: LR_ID_STRING_LENGTH 0x3, but LR_ID_STRING \"Cx\" has 0x2 characters."},
      {"an identifier without its text", "LR_ID_STRING_TAG 0x82\nLR_ID_STRING_LENGTH 0x03\nLR_ID_STRING",
       "line 3: the file ends where the value of LR_ID_STRING was expected."},
      {"a number that is not hexadecimal", kId + "LR_VPD_TAG 0x9G\n",
       "line 4: the value \"0x9G\" of LR_VPD_TAG is not a valid number."},
      {"a number shorter than its prefix", kId + "LR_VPD_TAG 9\n",
       "line 4: the value \"9\" of LR_VPD_TAG is not a valid number."},
      {"a tag beyond a byte", kId + "LR_VPD_TAG 0x190\n", "line 4: LR_VPD_TAG 0x190 is more than 0xFF."},
      {"a small tag as a resource", kId + "LR_VPD_TAG 0x10\n",
       "line 4: LR_VPD_TAG 0x10 is not the tag of a large resource (0x81 to 0xFF)."},
      {"a resource length beyond 16 bits", kId + "LR_VPD_TAG 0x90\nLR_VPD_LENGTH 0x10000\n",
       "line 5: LR_VPD_LENGTH 0x10000 is more than 0xFFFF."},
      {"a resource length that does not match its keywords",
       kId + "LR_VPD_TAG 0x90\nLR_VPD_LENGTH 0x07\n" + pn + "SR_END_TAG",
       "line 5: LR_VPD_LENGTH 0x7, but the resource's keywords take 0x6 bytes."},
      {"the same, closed by the next resource", kId + ro + pn + "VPD_KEYWORD SN VPD_LENGTH 0x01 VPD_DATA 1\n" + ro,
       "line 5: LR_VPD_LENGTH 0x6, but the resource's keywords take 0xA bytes."},
      {"a keyword outside a resource", kId + pn,
       "line 4: VPD_KEYWORD outside a resource: LR_VPD_TAG and LR_VPD_LENGTH come first."},
      {"a keyword of three characters", kId + ro + "VPD_KEYWORD PNX\n",
       "line 6: VPD_KEYWORD \"PNX\" is not two characters."},
      {"a keyword of one character", kId + ro + "VPD_KEYWORD P\n", "line 6: VPD_KEYWORD \"P\" is not two characters."},
      {"a keyword length beyond a byte", kId + ro + "VPD_KEYWORD PN\nVPD_LENGTH 0x100\n",
       "line 7: VPD_LENGTH 0x100 is more than 0xFF."},
      {"words out of order inside a keyword", kId + ro + "VPD_KEYWORD PN\nVPD_DATA ABC\n",
       "line 7: \"VPD_DATA\" found where VPD_LENGTH was expected."},
      {"a checksum of two bytes", kId + ro + "VPD_KEYWORD RV\nVPD_LENGTH 0x02\nVPD_DATA CHECKSUM\n",
       "line 7: CHECKSUM is one byte, but VPD_LENGTH is 0x2."},
      {"RESERVED past the area", kId + "LR_VPD_TAG 0x90\nLR_VPD_LENGTH 0x0102\nVPD_KEYWORD RW\nVPD_LENGTH 0xFF\n"
       "VPD_DATA RESERVED\n", "line 8: the VPD is more than the 256 bytes the page holds."},
      {"an unknown word", kId + ro + "VPD_KEYWORDS PN\n", "line 6: unknown token \"VPD_KEYWORDS\"."},
      {"no end tag", kId + ro + pn, "line 8: the file ends where SR_END_TAG was expected."},
      {"a value left out at the end", kId + ro + "VPD_KEYWORD PN\nVPD_LENGTH 0x03\nVPD_DATA\n",
       "line 8: the file ends where the value of VPD_DATA was expected."},
      {"a word after the end tag", kId + "SR_END_TAG\nLR_VPD_TAG 0x90\n",
       "line 5: \"LR_VPD_TAG\" after SR_END_TAG: the end tag ends the VPD."},
      {"a word after the end tag's value", kId + "SR_END_TAG 0x78 0x78\n",
       "line 4: \"0x78\" after SR_END_TAG: the end tag ends the VPD."},
      {"another value for the end tag", kId + "SR_END_TAG 0x79\n",
       "line 4: \"0x79\" after SR_END_TAG: the end tag ends the VPD."},
      {"an over-long word", kId + ro + "VPD_KEYWORD PN\nVPD_LENGTH 0x80\nVPD_DATA " + std::string(128, 'a') + "\n",
       "line 8: a token of more than 127 characters."},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Parse(c.file)) << c.name;
    EXPECT_TRUE(bytes_.empty()) << c.name;
    // The number parser may say first what it found wrong with the digits.
    std::string message = "\t\tERROR: " + c.message + "\n";
    ASSERT_GE(output_.size(), message.size()) << c.name << ": " << output_;
    EXPECT_EQ(output_.substr(output_.size() - message.size()), message) << c.name << ": " << output_;
  }
}

TEST_F(VpdTextFileTest, ADataLengthThatDoesNotMatchShowsBothLengths) {
  EXPECT_FALSE(Parse(kId + "LR_VPD_TAG 0x90\nLR_VPD_LENGTH 0x08\nVPD_KEYWORD PN\nVPD_LENGTH 0x05\nVPD_DATA ABC\n"
                           "SR_END_TAG"));
  EXPECT_EQ(output_, "\t\tERROR: line 8: VPD Value \"ABC\"\n\t\tExpected Length 5 Actual Length 3.\n");
  EXPECT_TRUE(bytes_.empty());
}

TEST_F(VpdTextFileTest, ATextEndsAtItsFirstNul) {
  std::string file = kId + "SR_END_TAG";
  file.push_back('\0');
  file += " anything after it";
  EXPECT_TRUE(Parse(file)) << output_;
  file = kId;
  file.push_back('\0');
  file += "SR_END_TAG";
  EXPECT_FALSE(Parse(file));
  EXPECT_EQ(output_, "\t\tERROR: line 3: the file ends where SR_END_TAG was expected.\n");
}

TEST(VpdChecksumTest, MakesTheBytesSumToZero) {
  const Bytes bytes = {0x82, 0x02, 0x00, 'C', 'x', 0xFF, 0x01};
  uint8_t checksum = VpdChecksum(bytes.data(), bytes.size());
  uint8_t sum = checksum;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
  EXPECT_EQ(sum, 0);
  EXPECT_EQ(VpdChecksum(nullptr, 0), 0);
  const Bytes one = {0x01};
  EXPECT_EQ(VpdChecksum(one.data(), one.size()), 0xFF);
}

}  // namespace
