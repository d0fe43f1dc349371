// The configuration-page wrappers, the page readers, the RAID limits and
// the two volume operations, against the emulated card.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/card/bay_flash_type.h"
#include "app/card/config_page_wrappers.h"
#include "app/card/device_by_slot.h"
#include "app/shell/memory_strings.h"
#include "app/card/page_readers.h"
#include "app/shell/program_state.h"
#include "app/card/raid_limits.h"
#include "app/card/raid_volume_ops.h"
#include "app_test_support.h"
#include "card_fixture.h"
#include "ctl/base/byte_order.h"
#include "emu/controller/command_handler.h"
#include "emu/controller/handlers.h"
#include "emu/card_file/named_cards.h"

namespace {

using app_test::kTitle;

class VolumeHelpers : public app_test::CardFixture {
 protected:
  void StartCard(const std::string& name) {
    emu::HostModel host;
    ASSERT_TRUE(emu::BuildNamedCard(name, &host));
    Start(std::move(host));
    SelectedController = 1;
  }
  std::vector<uint8_t> Page4() const {
    const emu::ConfigPage* page = card_->model().FirstAdapter()->FindPage(9, 4);
    return page == nullptr ? std::vector<uint8_t>() : page->nvram;
  }
  size_t Actions(uint8_t action) {
    size_t n = 0;
    for (const emu::RaidActionRecord& r : card().RaidActions()) n += r.action == action;
    return n;
  }
};

TEST_F(VolumeHelpers, PageWrappersReportTheControllersStatus) {
  std::vector<uint8_t> page(256, 0);
  uint16_t status = 0x7777;
  uint32_t logInfo = 0x77777777;
  uint32_t held = 99;
  EXPECT_EQ(GetCfgPage(adapter_, 9, 10, 0, 256, kConfigActionReadNvram, page.data(), 0, &status, &logInfo, &held), 1u);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(logInfo, 0u);
  EXPECT_EQ(page[4], 0x80);
  EXPECT_EQ(held, card_->model().FirstAdapter()->FindPage(9, 10)->nvram.size());

  card().AnswerConfigPage(9, 10, 0, 0x0022, 0x12345678, -1);
  EXPECT_EQ(GetCfgPage(adapter_, 9, 10, 0, 256, kConfigActionReadCurrent, page.data(), 0, &status, &logInfo, &held),
            0u);
  EXPECT_EQ(status, 0x0022);
  EXPECT_EQ(logInfo, 0x12345678u);
  EXPECT_EQ(held, 0u);
  uint16_t length = 7;
  EXPECT_EQ(GetCfgPageHeader(adapter_, 9, 10, 0, 0, &length, &status, &logInfo), 0u);
  EXPECT_EQ(length, 7);
  card().ClearFaults();
  EXPECT_EQ(GetCfgPageHeader(adapter_, 9, 10, 0, 0, &length, &status, &logInfo), 1u);
  EXPECT_EQ(length, card_->model().FirstAdapter()->FindPage(9, 10)->nvram.size());
  // Only the read and write actions the wrappers know are sent.
  card().ClearLog();
  EXPECT_EQ(GetCfgPage(adapter_, 9, 10, 0, 256, kConfigActionWriteNvram, page.data(), 0, &status, &logInfo), 0u);
  EXPECT_EQ(SetCfgPage(adapter_, kConfigActionReadCurrent, 0, page.data(), &status, &logInfo), 0u);
  EXPECT_TRUE(Commands(0x04).empty());

  // A write takes type, number and length from the page's own header.
  std::vector<uint8_t> four = Page4();
  ASSERT_GT(four.size(), 106u);
  four[105] = 3;
  EXPECT_EQ(WriteMfgPage(adapter_, four.data(), &status, &logInfo), 1u);
  EXPECT_EQ(Page4()[105], 3);
}

TEST_F(VolumeHelpers, PageReadersHandOutTheirBuffer) {
  PageCopy page;
  EXPECT_EQ(ReadMfgPage10(adapter_, &page), 0u);
  ASSERT_TRUE(page.Holds(5, 1));
  EXPECT_EQ(page.data()[5], 7);

  // Without its signature the page is held but the read fails.
  emu::ConfigPage* ten = model().FindPage(9, 10);
  ten->nvram[4] = 0x00;
  EXPECT_EQ(ReadMfgPage10(adapter_, &page), 1u);
  EXPECT_TRUE(page.Holds(5, 1));

  card().RemovePage(0, 8);
  EXPECT_EQ(ReadIoUnitPage8(adapter_, &page), 258u);  // the library's status
  EXPECT_EQ(page.size(), 0u);

  EXPECT_TRUE(ReadVolumeAttrPage(adapter_, &page));
  card().CutPage(9, 4, 0, 104);  // too short for the attribute bytes
  EXPECT_FALSE(ReadVolumeAttrPage(adapter_, &page));
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(VolumeHelpers, RaidLimitsFromIocPage6OrTheDefaults) {
  LoadIocPage6Limits(adapter_);
  EXPECT_EQ(RaidExpectedMembers, 4);  // the board's module count
  EXPECT_EQ(RaidMinMembers, 2);
  EXPECT_EQ(RaidMaxPhysDisks, 4);
  for (auto arm : {+[](emu::Emulator& e) { e.RemovePage(1, 6); },
                   +[](emu::Emulator& e) { e.AnswerConfigPage(1, 6, 0, 0x0004, 0); },
                   +[](emu::Emulator& e) { e.CutPage(1, 6, 0, 20); }}) {
    card().ClearFaults();
    LoadIocPage6Limits(adapter_);
    ASSERT_EQ(RaidExpectedMembers, 4);
    arm(card());
    LoadIocPage6Limits(adapter_);
    EXPECT_EQ(RaidExpectedMembers, 10);
    EXPECT_EQ(RaidMinMembers, 2);
    EXPECT_EQ(RaidMaxPhysDisks, 14);
  }
  EXPECT_EQ(card().TakeOutput(), "");
}

TEST_F(VolumeHelpers, DeviceBySlot) {
  StartCard("unconfigured");
  DeviceInfoBlock record;
  EXPECT_EQ(FindDeviceBySlot(adapter_, 6, &record), 0u);
  EXPECT_EQ(GetLe16(record.bytes, device_info::kSlot), 6);
  EXPECT_EQ(GetLe16(record.bytes, device_info::kDevHandle), 0x000B);
  EXPECT_EQ(FindDeviceBySlot(adapter_, 3, &record), 1u);
  EXPECT_EQ(FindDeviceBySlot(adapter_, 8, &record), 1u);
}

TEST_F(VolumeHelpers, CreatingFromOneModuleIsRefused) {
  StartCard("unconfigured");
  const uint32_t slots[] = {4};
  EXPECT_EQ(CreateRaidVolume(0, 1, slots, 0), 1u);
  EXPECT_EQ(card().TakeOutput(), kTitle + ": Incorrect number of devices specified for RAID0 !\n");
  EXPECT_EQ(Actions(2), 0u);
}

TEST_F(VolumeHelpers, ModulesOfAnotherFlashTypeAreRefused) {
  StartCard("unconfigured");
  card().Module(5)->configId = "2516";
  const uint32_t slots[] = {4, 5, 6, 7};
  EXPECT_EQ(CreateRaidVolume(0, 4, slots, 0), 1u);
  EXPECT_EQ(card().TakeOutput(), "\t\t SSD Flash type mismatch on bay 5\n");
  EXPECT_EQ(Actions(2), 0u);
  // Each module that differs from the first says so, the last one too.
  card().Module(7)->modelType = '4';
  EXPECT_EQ(CheckBayFlashType(adapter_, 4, slots), 1u);
  EXPECT_EQ(card().TakeOutput(),
            "\t\t SSD Flash type mismatch on bay 5\n\t\t SSD Flash type mismatch on bay 7\n");
  // The adapter's devices when no list is given.
  EXPECT_EQ(CheckBayFlashType(adapter_, 0, nullptr), 1u);
  EXPECT_EQ(CheckBayFlashType(0, 4, slots), 1u);
}

TEST_F(VolumeHelpers, CreateAndDeleteKeepTheVolumeAttributes) {
  StartCard("unconfigured");
  const uint32_t slots[] = {4, 5, 6, 7};
  ASSERT_EQ(CreateRaidVolume(0, 4, slots, 0), 0u);
  EXPECT_EQ(card().TakeOutput(), "");
  ASSERT_EQ(Actions(2), 1u);
  ASSERT_EQ(card().model().FirstAdapter()->raid.volumes.size(), 1u);
  EXPECT_EQ(card().model().FirstAdapter()->raid.volumes[0].members.size(), 4u);
  EXPECT_EQ(Page4()[105], 4);
  EXPECT_EQ(Page4()[106], 4);

  ASSERT_EQ(DeleteRaidVolume(0), 0u);
  EXPECT_EQ(card().TakeOutput(), "");
  EXPECT_EQ(Actions(3), 1u);
  EXPECT_TRUE(card().model().FirstAdapter()->raid.volumes.empty());
  EXPECT_EQ(Page4()[105], 4);
  EXPECT_EQ(Page4()[106], 4);
  // Without volumes the delete still counts the modules and writes.
  card().Module(7)->state = emu::ModuleState::kMissing;
  EXPECT_EQ(DeleteRaidVolume(0), 0u);
  EXPECT_EQ(Page4()[105], 3);
}

TEST_F(VolumeHelpers, CreateChecksTheLimitsAndTheDevices) {
  // Five modules where IOC page 6 allows four.
  StartCard("unconfigured-five");
  const uint32_t five[] = {3, 4, 5, 6, 7};
  EXPECT_EQ(CreateRaidVolume(0, 5, five, 0), 1u);
  EXPECT_EQ(card().TakeOutput(), kTitle + ": Incorrect number of devices specified for RAID0 !\n");
  // With IOC page 6 gone the limits are 2 to 10: five members pass, but
  // this card has four devices.
  StartCard("unconfigured");
  card().RemovePage(1, 6);
  const uint32_t twice[] = {4, 4, 5, 6, 7};
  EXPECT_EQ(CreateRaidVolume(0, 5, twice, 0), 1u);
  EXPECT_EQ(card().TakeOutput(), kTitle +
                                     ": Number of drives specified is higher than number of drives available to "
                                     "create a RAID volume!\n");
  const uint32_t gap[] = {4, 3};
  EXPECT_EQ(CreateRaidVolume(0, 2, gap, 0), 1u);
  EXPECT_NE(card().TakeOutput().find("Failed getting device information."), std::string::npos);
  EXPECT_EQ(Actions(2), 0u);
}

TEST_F(VolumeHelpers, DeleteFailures) {
  StartCard("default");
  // The controller refuses the delete (RAID ACTION 3) alone.
  emu::FunctionHandler base = emu::RaidActionHandler();
  card().RegisterFunction(0x15, emu::FunctionHandler{base.minimumFrameBytes, [base](emu::CommandRequest& request,
                                                                                    emu::CommandAnswer& answer) {
                            if (request.frame.at(0) != 3) return base.handle(request, answer);
                            answer.reply = emu::NewReply(request, 44);
                            emu::SetReplyStatus(&answer.reply, 0x0008, 0x31110000);
                          }});
  EXPECT_EQ(DeleteRaidVolume(0), 1u);
  EXPECT_EQ(card().TakeOutput(), kTitle + ": IocStatus = 8 IocLogInfo = 31110000\n" + kTitle +
                                     ": Cannot  remove existing volume!\n");
  card().RegisterFunction(0x15, emu::RaidActionHandler());
  card().RemovePage(9, 4);
  EXPECT_EQ(DeleteRaidVolume(0), 1u);
  EXPECT_EQ(card().TakeOutput(), kTitle + ": Unable to retrieve volume attributes \n");
}

}  // namespace
