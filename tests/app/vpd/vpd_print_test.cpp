// The VPD display: the walk over the resources of manufacturing page 1 and
// the bounds it keeps when the card's lengths are wrong.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/vpd/vpd_print.h"
#include "emu/host/emulator.h"

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kDash = "\n-----------------------------------------------------------";
const std::string kHead = kDash + "\n                      VPD Information                      " + kDash;
const std::string kTitle = "Ulvane Corvexium Management Utility";
const std::string kIncomplete = "\n" + kTitle + ": VPD information incomplete.\n";
const std::string kNotProgrammed = "\n" + kTitle + ": VPD information is not programmed on this controller.\n";

// One keyword line as the display prints it.
std::string Line(const std::string& name, const std::string& value) {
  return "\n " + name + std::string(13, ' ') + ": " + value;
}

Bytes Large(uint8_t tag, const Bytes& body, size_t length) {
  Bytes out = {tag, static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8)};
  out.insert(out.end(), body.begin(), body.end());
  return out;
}
Bytes Large(uint8_t tag, const Bytes& body) { return Large(tag, body, body.size()); }
Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }
Bytes Keyword(const std::string& name, const Bytes& data) {
  Bytes out = {static_cast<uint8_t>(name[0]), static_cast<uint8_t>(name[1]), static_cast<uint8_t>(data.size())};
  out.insert(out.end(), data.begin(), data.end());
  return out;
}
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A page of 260 bytes (length byte 65) whose VPD area starts with `area`.
Bytes Page(const Bytes& area) {
  Bytes page(260, 0);
  page[1] = 65;
  page[3] = 9;
  page[2] = 1;
  for (size_t i = 0; i < area.size() && i < 256; ++i) page[4 + i] = area[i];
  return page;
}

class VpdPrintTest : public ::testing::Test {
 protected:
  void SetUp() override { card_ = &emu::Install(emu::DefaultHost()); }
  std::string Print(const Bytes& page, size_t size) {
    PrintVpdInfo(page.data(), size);
    return card_->TakeOutput();
  }
  std::string Print(const Bytes& page) { return Print(page, page.size()); }
  emu::Emulator* card_ = nullptr;
};

TEST_F(VpdPrintTest, PrintsTheProductNameAndEveryKeywordUpToTheEndTag) {
  Bytes area = Large(0x82, Text("Ulvane X")) +
               Large(0x90, Keyword("PN", Text("A123")) + Keyword("SN", Text("S9")) + Keyword("RV", {0x5C})) +
               Large(0x91, Keyword("V1", Text("2.0")) + Keyword("RW", Bytes(3, 0))) + Bytes{0x78};
  EXPECT_EQ(Print(Page(area)), kHead + "\n Product Name   : Ulvane X " +
                                   Line("PN", "A123") + Line("SN", "S9") +
                                   Line("RV", "0x5c ") + Line("V1", "2.0") +
                                   Line("RW", "") + kDash + "\n");
}

TEST_F(VpdPrintTest, EndsTheWalkAtTheFirstSmallTag) {
  struct Case {
    const char* name;
    Bytes area;
    std::string body;  // after the product name
    bool complete;
  } cases[] = {
      {"the end tag straight after the name", Large(0x82, Text("X")) + Bytes{0x78}, "", true},
      {"another small tag", Large(0x82, Text("X")) + Bytes{0x10} + Large(0x90, Keyword("PN", Text("1"))), "",
       false},
      {"0x80 is not a large tag", Large(0x82, Text("X")) + Bytes{0x80, 0x78}, "", false},
      // Resources fill the area to its end and no tag follows.
      {"no end tag inside the area", Large(0x82, Text("X")) + Large(0x90, Keyword("YA", Bytes(246, 'a'))),
       Line("YA", std::string(246, 'a')), false},
  };
  for (const Case& c : cases) {
    std::string expected = kHead + "\n Product Name   : X " + c.body + kDash + "\n";
    if (!c.complete) expected += kIncomplete;
    EXPECT_EQ(Print(Page(c.area)), expected) << c.name;
  }
}

TEST_F(VpdPrintTest, SaysNotProgrammedWithoutTheIdentifierString) {
  EXPECT_EQ(Print(Page({})), kNotProgrammed);
  EXPECT_EQ(Print(Page(Large(0x90, Keyword("PN", Text("1"))) + Bytes{0x78})), kNotProgrammed);
  // A page cut to its header holds no VPD area at all.
  EXPECT_EQ(Print(Page(Large(0x82, Text("X")) + Bytes{0x78}), 4), kNotProgrammed);
  PrintVpdInfo(nullptr, 260);
  EXPECT_EQ(card_->TakeOutput(), kNotProgrammed);
}

TEST_F(VpdPrintTest, NeverReadsPastTheAreaOrThePage) {
  // Each page is copied into a buffer of exactly the size given, so that the
  // sanitizer build catches a read past it.
  struct Case {
    const char* name;
    Bytes area;
    size_t size;
    std::string expected;
  } cases[] = {
      {"an identifier longer than the area", Large(0x82, Text("Name"), 0xFFFF), 260,
       kHead + "\n Product Name   : Name " + kDash + "\n" + kIncomplete},
      // A resource that runs past the area ends the walk unshown: its
      // keywords cannot be told from what lies after it.
      {"a resource longer than the area", Large(0x82, Text("X")) + Large(0x90, Keyword("PN", Text("12")), 0x4000),
       260, kHead + "\n Product Name   : X " + kDash + "\n" + kIncomplete},
      {"a keyword longer than its resource",
       Large(0x82, Text("X")) + Large(0x90, Keyword("PN", Text("1")) + Bytes{'S', 'N', 9, 'a', 'b'}) + Bytes{0x78},
       260,
       kHead + "\n Product Name   : X " + Line("PN", "1") + kDash + "\n"},
      {"a keyword header cut by its resource", Large(0x82, Text("X")) + Large(0x90, Bytes{'S', 'N'}) + Bytes{0x78},
       260, kHead + "\n Product Name   : X " + kDash + "\n"},
      {"a checksum keyword without data", Large(0x82, Text("X")) + Large(0x90, Keyword("RV", {})) + Bytes{0x78}, 260,
       kHead + "\n Product Name   : X " + Line("RV", "0x00 ") + kDash + "\n"},
      // The page the controller returned is shorter than the 260 bytes.
      {"a page of 16 bytes", Large(0x82, Text("X")) + Large(0x90, Keyword("PN", Text("123456"))) + Bytes{0x78}, 16,
       kHead + "\n Product Name   : X " + kDash + "\n" + kIncomplete},
      {"a tag as the page's last byte", Large(0x82, Text("X")) + Bytes{0x90, 0x05}, 4 + 5,
       kHead + "\n Product Name   : X " + kDash + "\n" + kIncomplete},
  };
  for (const Case& c : cases) {
    Bytes page = Page(c.area);
    page.resize(c.size);
    EXPECT_EQ(Print(page), c.expected) << c.name;
  }
}

TEST_F(VpdPrintTest, ShowsControlBytesFromTheCardAsBlanks) {
  Bytes area = Large(0x82, Text("A\x1b[2J")) + Large(0x90, Bytes{'P', 0x07, 3, 'x', '\n', 'y'}) + Bytes{0x78};
  EXPECT_EQ(Print(Page(area)),
            kHead + "\n Product Name   : A [2J " + Line("P ", "x y") + kDash + "\n");
}

}  // namespace
