// Image and component lookups in a region, and the checksum byte of a
// rebuilt image: found where the format puts them, and "not found" for
// every malformed or cut chain instead of a read outside it.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "app/images/rom_image_lookup.h"
#include "rom_fixtures.h"

namespace {

using rom_test::Component;
using rom_test::Join;
using rom_test::RomImage;
using rom_test::RomFields;

RomFields Image(uint8_t codeType, uint16_t units, uint8_t indicator, uint8_t seed) {
  RomFields fields;
  fields.codeType = codeType;
  fields.units = units;
  fields.indicator = indicator;
  fields.seed = seed;
  return fields;
}

struct Found {
  uint32_t result;
  uint32_t offset;
  uint32_t length;
  bool operator==(const Found&) const = default;
};

Found Image(const std::vector<uint8_t>& region, uint8_t codeType) {
  Found f{0, 0xDEAD, 0xDEAD};
  f.result = FindRomImage(region.data(), static_cast<uint32_t>(region.size()), &f.offset, &f.length, codeType);
  return f;
}

Found Piece(const std::vector<uint8_t>& region, uint8_t group, uint16_t id) {
  Found f{0, 0xDEAD, 0xDEAD};
  f.result = FindRomComponent(region.data(), static_cast<uint32_t>(region.size()), &f.offset, &f.length, group, id);
  return f;
}

constexpr Found kMissing{0, 0xDEAD, 0xDEAD};

// legacy (1 KiB) at 0, a second legacy (1.5 KiB) at 0x400, UEFI (1 KiB,
// last) at 0xA00, then components g10/0x102 (0x100 bytes) at 0xE00,
// g30/0x112 (0x80) at 0xF00 and g10/0x110 (0x200) at 0xF80.
std::vector<uint8_t> Region() {
  return Join({RomImage(Image(0, 2, 0, 1)), RomImage(Image(0, 3, 0, 2)), RomImage(Image(3, 2, 0x80, 3)),
               Component(0x10, 0x102, 0x100, 4), Component(0x30, 0x112, 0x80, 5),
               Component(0x10, 0x110, 0x200, 6)});
}

TEST(RomImageLookup, ImagesByCodeType) {
  const std::vector<uint8_t> region = Region();
  EXPECT_EQ(Image(region, 0), (Found{1, 0, 0x400}));
  EXPECT_EQ(Image(region, 0xAA), (Found{1, 0x400, 0x600}));
  EXPECT_EQ(Image(region, 3), (Found{1, 0xA00, 0x400}));
  EXPECT_EQ(Image(region, 1), kMissing);

  // One legacy image has no second one; an image whose code type byte is
  // 0xAA is one.
  EXPECT_EQ(Image(RomImage(Image(0, 2, 0x80, 1)), 0xAA), kMissing);
  std::vector<uint8_t> marked = Join({RomImage(Image(3, 2, 0, 1)), RomImage(Image(0xAA, 2, 0x80, 2))});
  EXPECT_EQ(Image(marked, 0xAA), (Found{1, 0x400, 0x400}));

  // Any non-zero indicator ends the chain.
  std::vector<uint8_t> ended = Join({RomImage(Image(0, 2, 0x01, 1)), RomImage(Image(3, 2, 0x80, 2))});
  EXPECT_EQ(Image(ended, 3), kMissing);
}

TEST(RomImageLookup, ComponentsByGroupAndId) {
  const std::vector<uint8_t> region = Region();
  EXPECT_EQ(Piece(region, 0x10, 0x102), (Found{1, 0xE00, 0x100}));
  EXPECT_EQ(Piece(region, 0x30, 0x112), (Found{1, 0xF00, 0x80}));
  EXPECT_EQ(Piece(region, 0x10, 0x110), (Found{1, 0xF80, 0x200}));
  EXPECT_EQ(Piece(region, 0x30, 0x102), kMissing);
  EXPECT_EQ(Piece(region, 0x10, 0x113), kMissing);

  // Only the group's upper four bits count.
  std::vector<uint8_t> low = Region();
  low[0xE00 + 0x3B] = 0x1F;
  EXPECT_EQ(Piece(low, 0x10, 0x102), (Found{1, 0xE00, 0x100}));
}

TEST(RomImageLookup, MalformedChainsAreNotFound) {
  struct Case {
    const char* name;
    size_t at;
    uint32_t value;
    int width;
  } cases[] = {
      {"image length 0", 0x40 + 0x10, 0, 2},
      {"data structure past the image", 0x18, 0x3F0, 2},
      {"data structure past the region", 0x18, 0xFFFF, 2},
      {"image running past the region", 0xA00 + 0x40 + 0x10, 0x7F, 2},
      {"component size 0", 0xE00 + 0x60, 0, 4},
      {"component smaller than its header", 0xE00 + 0x60, 0x20, 4},
      {"component running past the region", 0xE00 + 0x60, 0x100000, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> region = Region();
    if (c.width == 2) {
      rom_test::PutLe16(&region, c.at, static_cast<uint16_t>(c.value));
    } else {
      rom_test::PutLe32(&region, c.at, c.value);
    }
    Found uefi = Image(region, 3);
    Found last = Piece(region, 0x10, 0x110);
    if (c.at < 0xE00) {
      EXPECT_EQ(uefi, kMissing);
    } else {
      EXPECT_EQ(uefi, (Found{1, 0xA00, 0x400}));
    }
    EXPECT_EQ(last, kMissing);
  }
  // A chain that never ends inside the region.
  std::vector<uint8_t> open = Join({RomImage(Image(0, 2, 0, 1)), RomImage(Image(0, 2, 0, 2))});
  EXPECT_EQ(Image(open, 3), kMissing);
  EXPECT_EQ(Piece(open, 0x10, 0x102), kMissing);
  EXPECT_EQ(FindRomImage(nullptr, 4096, nullptr, nullptr, 0), 0u);
}

// Every cut of the region finds a piece only when the piece lies whole
// inside the cut, and reads nothing past it (exact-size heap blocks).
TEST(RomImageLookup, EveryTruncationStaysInsideTheRegion) {
  const std::vector<uint8_t> region = Region();
  struct Wanted {
    bool component;
    uint8_t type;  // code type or group
    uint16_t id;
    Found whole;
  } wanted[] = {
      {false, 0, 0, {1, 0, 0x400}},        {false, 0xAA, 0, {1, 0x400, 0x600}},
      {false, 3, 0, {1, 0xA00, 0x400}},    {true, 0x10, 0x102, {1, 0xE00, 0x100}},
      {true, 0x30, 0x112, {1, 0xF00, 0x80}}, {true, 0x10, 0x110, {1, 0xF80, 0x200}},
  };
  for (size_t cut = 0; cut <= region.size(); ++cut) {
    SCOPED_TRACE(cut);
    std::unique_ptr<uint8_t[]> part(new uint8_t[cut == 0 ? 1 : cut]);
    std::memcpy(part.get(), region.data(), cut);
    for (const Wanted& w : wanted) {
      Found f{0, 0xDEAD, 0xDEAD};
      uint32_t n = static_cast<uint32_t>(cut);
      f.result = w.component ? FindRomComponent(part.get(), n, &f.offset, &f.length, w.type, w.id)
                             : FindRomImage(part.get(), n, &f.offset, &f.length, w.type);
      // Components need the whole chain before them; images only themselves.
      bool inside = w.whole.offset + w.whole.length <= cut;
      EXPECT_EQ(f, inside ? w.whole : kMissing) << int(w.type) << " " << w.id;
    }
  }
}

TEST(RomImageLookup, ChecksumByteMakesTheImageSumToZero) {
  std::vector<uint8_t> image = RomImage(Image(0, 2, 0, 7));
  image[100] ^= 0x5A;  // a rebuilt image whose byte sum is off
  image.back() = 0x33;
  uint8_t fix = RomImageChecksum(image.data(), static_cast<uint32_t>(image.size()));
  EXPECT_EQ(image.back(), 0);  // cleared
  image.back() = fix;
  EXPECT_EQ(rom_test::Sum(image), 0);

  uint8_t untouched = 0x44;
  EXPECT_EQ(RomImageChecksum(&untouched, 0), 0);
  EXPECT_EQ(untouched, 0x44);
  uint8_t one = 0x44;
  EXPECT_EQ(RomImageChecksum(&one, 1), 0);
}

}  // namespace
