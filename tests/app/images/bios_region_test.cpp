// The BIOS region rebuilt around a new image file and downloaded, checked
// byte by byte against regions put together here from the same pieces:
// which piece comes from where, in which order, with which indicator and
// checksum; and that an unreadable region is never overwritten.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/images/image_download.h"
#include "card_fixture.h"
#include "emu/controller/handlers.h"
#include "rom_fixtures.h"

namespace {

using rom_test::Component;
using rom_test::Join;
using rom_test::Resummed;
using rom_test::RomImage;
using rom_test::RomFields;
using rom_test::WithIndicator;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kUpload = 0x12;
constexpr uint8_t kDownload = 0x09;

RomFields Fields(uint8_t codeType, uint16_t units, uint16_t deviceId, uint8_t indicator, uint8_t seed) {
  RomFields fields;
  fields.codeType = codeType;
  fields.units = units;
  fields.deviceId = deviceId;
  fields.indicator = indicator;
  fields.codeRevision = static_cast<uint16_t>(0x0800 + seed);
  fields.pcirOffset = codeType == 3 ? 0x1C : 0x40;
  fields.seed = seed;
  return fields;
}

// An image whose checksum byte is wrong, as an image is after its device ID
// was rewritten in memory: the assembly must recompute it.
Bytes Unsummed(Bytes image) {
  image[0x100] ^= 0x5A;
  return image;
}

struct Pieces {
  // What the card holds now.
  Bytes legacy = RomImage(Fields(0, 4, 0x7E, 0, 1));
  Bytes secondLegacy = RomImage(Fields(0, 2, 0x7E, 0, 2));
  Bytes uefi = Unsummed(RomImage(Fields(3, 3, 0x7E, 0x80, 3)));
  Bytes g10[4] = {Component(0x10, 0x102, 0x200, 10), Component(0x10, 0x110, 0x180, 11),
                  Component(0x10, 0x112, 0x100, 12), Component(0x10, 0x113, 0x80, 13)};
  Bytes g30[2] = {Component(0x30, 0x102, 0x100, 20), Component(0x30, 0x113, 0x100, 21)};
  // What new files bring.
  Bytes newLegacy = RomImage(Fields(0, 5, 0x7E, 0x80, 30));
  Bytes companionLegacy = RomImage(Fields(0, 5, 0x7F, 0x80, 31));
  Bytes otherLegacy = RomImage(Fields(0, 5, 0x70, 0x80, 32));
  Bytes newUefi = RomImage(Fields(3, 2, 0x7E, 0x80, 33));
  Bytes newTypeOne = RomImage(Fields(1, 2, 0x7E, 0x80, 34));
  // New components, in file order 0x113, 0x102, 0x112, 0x110.
  Bytes newG10[4] = {Component(0x10, 0x113, 0x100, 40), Component(0x10, 0x102, 0x100, 41),
                     Component(0x10, 0x112, 0x100, 42), Component(0x10, 0x110, 0x100, 43)};
  Bytes newG30[4] = {Component(0x30, 0x113, 0x80, 50), Component(0x30, 0x102, 0x80, 51),
                     Component(0x30, 0x112, 0x80, 52), Component(0x30, 0x110, 0x80, 53)};

  Bytes CurrentG10() const { return Join({g10[0], g10[1], g10[2], g10[3]}); }
  Bytes CurrentG30() const { return Join({g30[0], g30[1]}); }
  Bytes Current() const { return Join({legacy, uefi, CurrentG10(), CurrentG30()}); }
  // 0x102, 0x110, 0x112, 0x113 of group 0x10; 0x102, 0x112, 0x110, 0x113 of 0x30.
  Bytes NewG10InOrder() const { return Join({newG10[1], newG10[3], newG10[2], newG10[0]}); }
  Bytes NewG30InOrder() const { return Join({newG30[1], newG30[2], newG30[3], newG30[0]}); }
  Bytes NewG10File() const { return Join({newG10[0], newG10[1], newG10[2], newG10[3]}); }
  Bytes NewG30File() const { return Join({newG30[0], newG30[1], newG30[2], newG30[3]}); }
};

struct AssemblyCase {
  const char* name;
  Bytes current;
  Bytes file;
  std::vector<Bytes> images;  // the option-ROM pieces expected, in order
  Bytes components;           // then these bytes
};

std::vector<AssemblyCase> AssemblyCases() {
  const Pieces p;
  const Bytes legacyFile = Join({p.newLegacy, p.NewG10File(), p.NewG30File()});
  const Bytes companionFile = Join({p.companionLegacy, p.NewG10File()});
  Bytes companionAsExtra = companionFile;
  companionAsExtra[0x40 + 0x15] = 0;
  return {
      // Same device ID, no second legacy image in the region: the new image
      // and its group 0x10 components replace the current ones; the UEFI
      // driver stays, its checksum recomputed and its indicator kept.
      {"new legacy for the same device", p.Current(), legacyFile,
       {WithIndicator(p.newLegacy, 0), Resummed(p.uefi)},
       Join({p.NewG10InOrder(), p.CurrentG30()})},
      // A plain legacy BIOS file carries no components: the region keeps
      // the ones it has rather than losing them.
      {"new legacy without components", p.Current(), p.newLegacy,
       {WithIndicator(p.newLegacy, 0), Resummed(p.uefi)}, Join({p.CurrentG10(), p.CurrentG30()})},
      // Same device ID with a second legacy image: that image stays behind
      // the new one, and so do the current components.
      {"second legacy image kept", Join({p.legacy, p.secondLegacy, p.uefi, p.CurrentG10(), p.CurrentG30()}),
       legacyFile, {WithIndicator(p.newLegacy, 0), Resummed(p.secondLegacy), Resummed(p.uefi)},
       Join({p.CurrentG10(), p.CurrentG30()})},
      // Device ID one above the region's: the region's image first, then
      // the whole new file as the extra image.
      {"companion device", p.Current(), companionFile,
       {Resummed(p.legacy), Resummed(companionAsExtra), Resummed(p.uefi)},
       Join({p.CurrentG10(), p.CurrentG30()})},
      // Any other device ID: the new image first, the region's behind it.
      {"other device", p.Current(), Join({p.otherLegacy, p.NewG10File()}),
       {WithIndicator(p.otherLegacy, 0), Resummed(p.legacy), Resummed(p.uefi)},
       Join({p.NewG10InOrder(), p.CurrentG30()})},
      {"region without a legacy image", Join({p.uefi, p.CurrentG10()}), legacyFile,
       {WithIndicator(p.newLegacy, 0), Resummed(p.uefi)}, Join({p.NewG10InOrder()})},
      // A new UEFI driver keeps the legacy image and brings the group 0x30
      // components; its own indicator stays.
      {"new UEFI driver", p.Current(), Join({p.newUefi, p.NewG30File(), p.NewG10File()}),
       {Resummed(p.legacy), Resummed(p.newUefi)}, Join({p.CurrentG10(), p.NewG30InOrder()})},
      // An image of code type 1 goes last; the UEFI driver before it loses
      // its last-image indicator.
      // The last piece ends the chain even when its source gave it no
      // last-image indicator (it was followed by another image there).
      {"last piece without an indicator", Join({WithIndicator(p.legacy, 0x80), p.CurrentG10()}),
       Join({WithIndicator(p.newUefi, 0), p.newTypeOne, p.NewG30File()}),
       {Resummed(p.legacy), WithIndicator(p.newUefi, 0x80)}, Join({p.CurrentG10(), p.NewG30InOrder()})},
      {"new code type 1 image", p.Current(), p.newTypeOne,
       {Resummed(p.legacy), WithIndicator(p.uefi, 0), Resummed(p.newTypeOne)},
       Join({p.CurrentG10(), p.CurrentG30()})},
  };
}

class BiosRegion : public app_test::CardFixture {};

TEST_F(BiosRegion, NewImageIsAssembledWithTheCurrentRegion) {
  for (const AssemblyCase& c : AssemblyCases()) {
    SCOPED_TRACE(c.name);
    Start(emu::DefaultHost());
    model().images[2].bytes = c.current;
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    EXPECT_EQ(DownloadBiosImage(c.file.data(), adapter_, static_cast<uint32_t>(c.file.size()), &status, &logInfo),
              1u);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(logInfo, 0u);
    Bytes expected = Join(c.images);
    expected.insert(expected.end(), c.components.begin(), c.components.end());
    const Bytes& region = model().images[2].bytes;
    EXPECT_EQ(region.size(), expected.size());
    EXPECT_TRUE(region == expected);
    // Each image of the new region sums to 0 on its own.
    size_t at = 0;
    for (const Bytes& image : c.images) {
      if (at + image.size() <= region.size()) {
        EXPECT_EQ(rom_test::Sum(region.data() + at, image.size()), 0);
      }
      at += image.size();
    }
    // One download request, the whole region with the last-segment flag.
    std::vector<const emu::LoggedCall*> downloads = Commands(kDownload);
    ASSERT_EQ(downloads.size(), 1u);
    EXPECT_EQ(downloads[0]->frame[0], 2);
    EXPECT_EQ(downloads[0]->frame[7], 1);
    EXPECT_EQ(Le32(downloads[0]->frame, 28), 0u);
    EXPECT_EQ(card().TakeOutput(), "");
  }
}

// When the current region cannot be read, or the new file gives nothing,
// nothing is sent: the region is never overwritten with an empty, partial
// or foreign image.
TEST_F(BiosRegion, NothingIsSentWithoutBothSources) {
  const Pieces p;
  Bytes truncated = p.newLegacy;
  truncated.resize(truncated.size() - 1);  // its length runs past the file
  struct Case {
    const char* name;
    std::function<void(BiosRegion&)> arm;
    Bytes file;
    uint16_t status;
    std::string output;
  } cases[] = {
      {"region upload refused", [](BiosRegion& t) { t.card().AnswerFunction(kUpload, 0x0004, 0, 1); },
       p.newLegacy, 0x0004, "\tERROR: Failed to Upload Image!\n"},
      {"no region in flash", [](BiosRegion& t) { t.model().images.erase(2); }, p.newLegacy, 0, ""},
      {"region read fails after the first chunk",
       [](BiosRegion& t) {
         emu::FunctionHandler original = emu::FwUploadHandler();
         auto calls = std::make_shared<int>(0);
         t.card().RegisterFunction(kUpload, {original.minimumFrameBytes, [=](emu::CommandRequest& request,
                                                                             emu::CommandAnswer& answer) {
                                               if (++*calls < 3) return original.handle(request, answer);
                                               answer.reply = emu::NewReply(request, 24);
                                               emu::SetReplyStatus(&answer.reply, 0x0004);
                                             }});
       },
       p.newLegacy, 0x0004, ""},
      {"new file is no image", [](BiosRegion&) {}, Bytes(2048, 0), 0, ""},
      {"new image runs past the file", [](BiosRegion&) {}, truncated, 0, ""},
      {"new image of an unknown code type", [](BiosRegion&) {}, RomImage(Fields(2, 2, 0x7E, 0x80, 60)), 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Start(emu::DefaultHost());
    // A region of more than one upload chunk.
    Bytes region = Join({RomImage(Fields(0, 0x90, 0x7E, 0, 1)), p.uefi, p.CurrentG10()});
    model().images[2].bytes = region;
    c.arm(*this);
    uint16_t status = 0x7777;
    uint32_t logInfo = 0x77777777;
    EXPECT_EQ(DownloadBiosImage(c.file.data(), adapter_, static_cast<uint32_t>(c.file.size()), &status, &logInfo),
              0u);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(card().CountFunction(kDownload), 0u);
    if (model().images.count(2) != 0) {
      EXPECT_TRUE(model().images[2].bytes == region);
    }
    EXPECT_EQ(card().TakeOutput(), c.output);
  }
}

TEST_F(BiosRegion, ARefusedDownloadReportsItsStatus) {
  const Pieces p;
  model().images[2].bytes = p.Current();
  card().AnswerFunction(kDownload, 0x0022, 0x0BAD, 1);
  uint16_t status = 0;
  uint32_t logInfo = 0;
  EXPECT_EQ(DownloadBiosImage(p.newLegacy.data(), adapter_, static_cast<uint32_t>(p.newLegacy.size()), &status,
                              &logInfo),
            0u);
  EXPECT_EQ(status, 0x0022);
  EXPECT_EQ(logInfo, 0x0BADu);
  EXPECT_TRUE(model().images[2].bytes == p.Current());
}

}  // namespace
