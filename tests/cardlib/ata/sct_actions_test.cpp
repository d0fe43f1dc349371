// The module vendor's SCT actions: diagnostic information, the
// configuration image, the format settings and the packed action.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "emu/modules/module_images.h"
#include "module_unlock_constants.h"
#include "tests/cardlib/cardlib_test_support.h"

namespace {


constexpr uint8_t kSlot = 7;

class SctActions : public cardlib_test::DefaultCardModule<kSlot> {
 protected:
  void Unlock() { ASSERT_EQ(LibZKSSDUnlock(c_.vx, ssd_, 1, kModuleUnlockCredential), 0u); }
  emu::ModuleModel& Module() { return *c_.card->Module(kSlot); }
  const emu::SctActionRecord& LastAction() { return Activity().sctActions.back(); }
};

TEST_F(SctActions, DiagInfoCopiesTheSizeAskedFor) {
  std::vector<uint8_t> info(512, 0xEE);
  ASSERT_EQ(LibZKSSDGetDiagInfo(c_.vx, ssd_, info.data(), 504), 0u);
  ASSERT_EQ(Activity().challenge.size(), 256u);
  std::vector<uint8_t> block = emu::DiagInfoBlock(Module(), Activity().challenge);
  ASSERT_EQ(block.size(), 512u);
  EXPECT_EQ(std::vector<uint8_t>(info.begin(), info.begin() + 504), std::vector<uint8_t>(block.begin(), block.begin() + 504));
  EXPECT_EQ(std::vector<uint8_t>(info.begin() + 504, info.end()), std::vector<uint8_t>(8, 0xEE));
  // The configuration identifier the application reads from it.
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(info.data()) + diag_info::kConfigId, 4), Module().configId);
  EXPECT_EQ(GetLe32(info.data(), diag_info::kModelType), static_cast<uint32_t>(Module().modelType));
  EXPECT_EQ(LastAction().action, 0xC000u);
  EXPECT_EQ(LastAction().function, 0u);
}

TEST_F(SctActions, DiagInfoRefusals) {
  std::vector<uint8_t> info(600, 0xEE);
  EXPECT_EQ(LibZKSSDGetDiagInfo(c_.vx, ssd_, info.data(), 513), 1u);
  EXPECT_EQ(LibZKSSDGetDiagInfo(c_.vx, ssd_, nullptr, 504), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), 0u);
  ASSERT_TRUE(c_.card->SetSctBusy(kSlot, -1));
  EXPECT_EQ(LibZKSSDGetDiagInfo(c_.vx, ssd_, info.data(), 504), 1u);
  EXPECT_EQ(info[0], 0xEE);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 0u);  // no retry
}

TEST_F(SctActions, ConfigImageRoundTrip) {
  Unlock();
  SsdConfigImage image;
  std::memset(&image, 0xEE, sizeof(image));
  ASSERT_EQ(ReadSsdConfigImage(c_.vx, ssd_, &image), 0u);
  EXPECT_EQ(std::vector<uint8_t>(image.bytes, image.bytes + kSsdConfigImageSize), emu::ConfigImage(Module()));
  EXPECT_EQ(Activity().configReads, 1u);

  // Change a byte in the written part and one in the module's own first
  // sector: only the first reaches the module.
  image.bytes[1000] ^= 0x5A;
  image.bytes[100] ^= 0x5A;
  std::vector<uint8_t> expected = emu::ConfigImage(Module());
  expected[1000] ^= 0x5A;
  ASSERT_EQ(WriteSsdConfigImage(c_.vx, ssd_, &image), 0u);
  EXPECT_EQ(Activity().configWrites, 1u);
  EXPECT_EQ(emu::ConfigImage(Module()), expected);
  EXPECT_EQ(LastAction().action, 0xC008u);
  EXPECT_EQ(LastAction().function, 1u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 0u);
}

TEST_F(SctActions, ConfigImageNeedsTheUnlock) {
  SsdConfigImage image{};
  EXPECT_EQ(ReadSsdConfigImage(c_.vx, ssd_, &image), 1u);
  EXPECT_EQ(Activity().configReads, 0u);
  EXPECT_EQ(c_.card->WaitedMicroseconds(), 3000000u);  // three tries, a pause after each
}

TEST_F(SctActions, ConfigTransferWhosePollKeepsFailing) {
  Unlock();
  ASSERT_TRUE(c_.card->SetSctBusy(kSlot, -1));
  size_t before = c_.card->CountFunction(0x1C);
  std::vector<uint8_t> buffer(kSsdConfigImageSize);
  EXPECT_EQ(SSDConfigReadWrite(c_.vx, ssd_, kSsdTransferRead, buffer.data(), kSsdConfigImageSize), 1u);
  // Three tries, each a command sector and six status reads.
  EXPECT_EQ(c_.card->CountFunction(0x1C) - before, 3u * 7u);
  EXPECT_EQ(c_.card->waits(), (std::vector<uint64_t>{1000000, 1000000, 1000000}));
}

TEST_F(SctActions, ConfigTransferRefusals) {
  std::vector<uint8_t> buffer(kSsdConfigImageSize);
  EXPECT_EQ(SSDConfigReadWrite(c_.vx, ssd_, 2, buffer.data(), kSsdConfigImageSize), 1u);
  EXPECT_EQ(SSDConfigReadWrite(c_.vx, ssd_, kSsdTransferRead, nullptr, kSsdConfigImageSize), 1u);
  EXPECT_EQ(ReadSsdConfigImage(c_.vx, ssd_, nullptr), 1u);
  EXPECT_EQ(WriteSsdConfigImage(c_.vx, ssd_, nullptr), 1u);
  EXPECT_EQ(c_.card->CountFunction(0x1C), 0u);
}

TEST_F(SctActions, FormatSettingsReadAndWrite) {
  Unlock();
  std::vector<uint8_t> settings(2048, 0xEE);
  ASSERT_EQ(SSDChangeSectorSize(c_.vx, ssd_, kSsdTransferRead, settings.data(), 2048, 0), 0u);
  EXPECT_EQ(settings, emu::FormatSettings(Module()));
  EXPECT_EQ(LastAction().action, 0xC60Cu);
  EXPECT_EQ(LastAction().function, 0u);

  settings[4] = 0x10;
  ASSERT_EQ(SSDChangeSectorSize(c_.vx, ssd_, kSsdTransferWrite, settings.data(), 1536, 0x12345678), 0u);
  const std::vector<uint8_t>& sector = LastAction().sector;
  EXPECT_EQ(LastAction().action, 0xC60Bu);
  EXPECT_EQ(LastAction().function, 1u);
  EXPECT_EQ(sector[5], 2u);
  EXPECT_EQ(sector[27], 1u);
  EXPECT_EQ(GetLe32(sector.data(), 62), 0x12345678u);
  EXPECT_EQ(Activity().formatSettingsWrites, 1u);
  EXPECT_EQ(Activity().lastFormatValue, 0x12345678u);
  EXPECT_EQ(emu::FormatSettings(Module())[4], 0x10);

  EXPECT_EQ(SSDChangeSectorSize(c_.vx, ssd_, 2, settings.data(), 1536, 0), 1u);
  EXPECT_EQ(SSDChangeSectorSize(c_.vx, ssd_, kSsdTransferRead, nullptr, 2048, 0), 1u);
}

TEST_F(SctActions, PackedParameters) {
  PackedSctParameters p{{0x0000AAAA, 0x11111111, 0x22222222, 0x33333333, 0x44444444, 0x55556666, 0x77778888,
                         0x00009999}};
  SendPackedSctAction(c_.vx, ssd_, &p);
  ASSERT_EQ(Activity().packedActions.size(), 1u);
  const std::vector<uint8_t>& s = Activity().packedActions[0];
  EXPECT_EQ(GetLe16(s.data(), 0), 0xC003u);
  EXPECT_EQ(GetLe16(s.data(), 2), 0xAAAAu);
  EXPECT_EQ(GetLe32(s.data(), 4), 0x22222222u);
  EXPECT_EQ(GetLe32(s.data(), 8), 0x11111111u);
  EXPECT_EQ(GetLe32(s.data(), 12), 0x33333333u);
  EXPECT_EQ(GetLe32(s.data(), 16), 0x44444444u);
  EXPECT_EQ(GetLe16(s.data(), 20), 0x6666u);
  EXPECT_EQ(GetLe16(s.data(), 22), 0x5555u);
  EXPECT_EQ(GetLe16(s.data(), 24), 0x7777u);
  EXPECT_EQ(GetLe16(s.data(), 40), 0x9999u);
  EXPECT_EQ(SendPackedSctAction(c_.vx, ssd_, nullptr), 1u);
}

TEST_F(SctActions, DiagIdentify) {
  std::vector<uint8_t> data(512, 0xEE);
  ASSERT_EQ(ReadDiagIdentify(c_.vx, ssd_, data.data()), 0u);
  EXPECT_EQ(data, emu::DiagIdentifyData(Module()));
  EXPECT_EQ(LastAction().action, 0xC002u);
  EXPECT_EQ(ReadDiagIdentify(c_.vx, ssd_, nullptr), 1u);
}

}  // namespace
