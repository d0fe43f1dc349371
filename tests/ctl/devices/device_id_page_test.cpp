// Choosing the one identifier the library keeps from a device
// identification VPD page.
#include <cstring>

#include "ctl/devices/device_senders.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

struct Designator {
  uint8_t codeSet;
  uint8_t association;
  uint8_t type;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> IdentificationPage(const std::vector<Designator>& designators) {
  std::vector<uint8_t> page = {0x00, 0x83, 0x00, 0x00};
  for (const Designator& d : designators) {
    page.push_back(d.codeSet);
    page.push_back(static_cast<uint8_t>((d.association << 4) | d.type));
    page.push_back(0);
    page.push_back(static_cast<uint8_t>(d.bytes.size()));
    page.insert(page.end(), d.bytes.begin(), d.bytes.end());
  }
  uint16_t length = static_cast<uint16_t>(page.size() - 4);
  page[2] = static_cast<uint8_t>(length >> 8);
  page[3] = static_cast<uint8_t>(length);
  return page;
}

std::vector<uint8_t> Bytes(size_t n, uint8_t first) {
  std::vector<uint8_t> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<uint8_t>(first + i);
  return bytes;
}

struct Parsed {
  std::vector<uint8_t> identifier;
  uint32_t length = 0xDEAD;
  uint8_t codeSet = 0xEE;
};

Parsed Parse(std::vector<uint8_t> page, uint32_t bufferLength = 0) {
  if (bufferLength == 0) bufferLength = static_cast<uint32_t>(page.size());
  page.resize(std::max<size_t>(page.size(), bufferLength));
  Parsed out;
  uint8_t* identifier = reinterpret_cast<uint8_t*>(1);
  ParseDeviceIdPage(nullptr, page.data(), bufferLength, &identifier, &out.length, &out.codeSet);
  if (identifier != nullptr) {
    out.identifier.assign(identifier, identifier + out.length);
    QmxFree(nullptr, identifier);
  }
  return out;
}

TEST(DeviceIdPage, ChoiceByDesignatorClass) {
  const std::vector<uint8_t> t10 = Bytes(8, 0x10);
  const std::vector<uint8_t> naa = Bytes(8, 0x50);
  const std::vector<uint8_t> eui = Bytes(8, 0x20);
  struct Case {
    const char* name;
    std::vector<Designator> designators;
    std::vector<uint8_t> expected;
    uint8_t codeSet;
  } cases[] = {
      {"NAA after a T10 vendor ID wins", {{2, 0, 1, t10}, {1, 0, 3, naa}}, naa, 1},
      {"EUI-64 (type 2) over T10 (type 1)", {{2, 0, 1, t10}, {1, 0, 2, eui}}, eui, 1},
      {"T10 alone", {{2, 0, 1, t10}}, t10, 2},
      {"the target port's NAA does not count", {{1, 1, 3, naa}}, {}, 0},
      {"a later descriptor of a class replaces an earlier one", {{2, 0, 1, t10}, {2, 0, 5, eui}}, eui, 2},
      {"type 0 and 8 are ignored", {{2, 0, 0, t10}, {2, 0, 8, eui}}, {}, 0},
      {"NAA ends the walk", {{1, 0, 3, naa}, {1, 0, 3, t10}}, naa, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Parsed out = Parse(IdentificationPage(c.designators));
    EXPECT_EQ(out.identifier, c.expected);
    EXPECT_EQ(out.length, c.expected.size());
    EXPECT_EQ(out.codeSet, c.codeSet);
  }
}

TEST(DeviceIdPage, LengthsAreBoundedByDesignatorAndBuffer) {
  // A 32-byte designator is kept, 33 bytes is too long to keep.
  Parsed kept = Parse(IdentificationPage({{1, 0, 3, Bytes(32, 1)}}));
  EXPECT_EQ(kept.length, 32u);
  EXPECT_EQ(kept.identifier, Bytes(32, 1));
  Parsed tooLong = Parse(IdentificationPage({{1, 0, 3, Bytes(33, 1)}}));
  EXPECT_EQ(tooLong.length, 0u);
  EXPECT_TRUE(tooLong.identifier.empty());

  // A page announcing more than the buffer holds yields nothing.
  std::vector<uint8_t> page = IdentificationPage({{1, 0, 3, Bytes(8, 1)}});
  EXPECT_EQ(Parse(page, static_cast<uint32_t>(page.size() - 1)).length, 0u);
  // A descriptor whose length runs past the buffer ends the walk.
  std::vector<uint8_t> cut = IdentificationPage({{2, 0, 1, Bytes(4, 1)}, {1, 0, 3, Bytes(8, 9)}});
  cut[4 + 8 + 3] = 200;
  Parsed walked = Parse(cut);
  EXPECT_EQ(walked.identifier, Bytes(4, 1));
  // Shorter than a header.
  EXPECT_EQ(Parse({0, 0x83, 0}, 3).length, 0u);
  uint8_t* identifier = nullptr;
  uint32_t length = 7;
  uint8_t codeSet = 7;
  ParseDeviceIdPage(nullptr, nullptr, 255, &identifier, &length, &codeSet);
  EXPECT_EQ(length, 0u);
  EXPECT_EQ(codeSet, 0);
}

}  // namespace
}  // namespace ctltest
