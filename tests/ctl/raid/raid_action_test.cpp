// RAID ACTION messages: what each action names, the card's marker, the
// answers, and the operations on volumes and hot spares built on them.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/raid/raid_actions.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class RaidActions : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartScannedCard(CardFile("default"));
    volume_ = FirstAdapterRecord()->volumes->header.handle;
    disk_ = FirstAdapterRecord()->volumes->members->next;  // disk number 1
  }

  // Answers RAID ACTION itself: the frames are kept, the card is not changed.
  void Intercept(uint16_t iocStatus = 0) {
    card().RegisterFunction(0x15, emu::FunctionHandler{20, [this, iocStatus](emu::CommandRequest& request,
                                                                             emu::CommandAnswer& answer) {
                              frames_.push_back(request.frame);
                              dataOut_.push_back(request.dataOut);
                              answer.reply = emu::NewReply(request, 64);
                              emu::SetReplyStatus(&answer.reply, iocStatus);
                              for (int i = 0; i < 24; ++i) answer.reply[20 + i] = static_cast<uint8_t>(0xA0 + i);
                            }});
  }

  LibHandle adapter_ = 0;
  LibHandle volume_ = 0;
  PhysDiskRecord* disk_ = nullptr;
  std::vector<std::vector<uint8_t>> frames_;
  std::vector<std::vector<uint8_t>> dataOut_;
};

TEST_F(RaidActions, WhatEachActionNames) {
  Intercept();
  LibHandle disk = disk_->header.handle;
  struct Case {
    uint8_t action;
    LibHandle handle;
    uint16_t volumeDevHandle;
    uint8_t diskNumber;
  } cases[] = {
      {1, volume_, 0x40, 0},   {3, volume_, 0x40, 0},  {17, volume_, 0x40, 0}, {33, volume_, 0x40, 0},
      {34, volume_, 0x40, 0},  {10, disk, 0, 1},       {11, disk, 0, 1},       {15, disk, 0, 1},
      {30, disk, 0, 1},        {2, adapter_, 0, 0},    {29, adapter_, 0, 0},   {35, adapter_, 0, 0},
      {129, adapter_, 0, 0},
  };
  for (const Case& c : cases) {
    frames_.clear();
    uint8_t actionData[24] = {};
    uint8_t out[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint32_t length = sizeof(out);
    EXPECT_EQ(QmxRaidAction(&c.handle, c.action, 0x11223344, AddressOf(out), AddressOf(actionData), &length),
              kLibOk)
        << int(c.action);
    ASSERT_EQ(frames_.size(), 1u);
    const std::vector<uint8_t>& f = frames_[0];
    ASSERT_EQ(f.size(), 20u);
    EXPECT_EQ(f[0], c.action);
    EXPECT_EQ(f[3], 0x15);
    EXPECT_EQ(Le16(f, 4), c.volumeDevHandle) << int(c.action);
    EXPECT_EQ(f[6], c.diskNumber) << int(c.action);
    EXPECT_EQ(Le32(f, 16), 0x11223344u);
    EXPECT_EQ(dataOut_[0], std::vector<uint8_t>(out, out + 8));
    EXPECT_EQ(actionData[0], 0xA0);
    EXPECT_EQ(actionData[23], 0xA0 + 23);
    EXPECT_EQ(card().log().back().timeoutSeconds, 60u);
  }
  // A handle of the wrong kind for the action is not found.
  EXPECT_EQ(QmxRaidActionRequest(&adapter_, 1), kLibBadHandle);
  EXPECT_EQ(QmxRaidActionRequest(&volume_, 30), kLibBadHandle);
  EXPECT_EQ(QmxRaidActionRequest(&volume_, 2), kLibBadHandle);
}

TEST_F(RaidActions, ActionOutsideTheTableSendsNothing) {
  Intercept();
  for (uint8_t action : {0, 4, 9, 16, 36, 128, 255}) EXPECT_EQ(QmxRaidActionRequest(&volume_, action), kLibRaidActionUnsupported);
  EXPECT_TRUE(frames_.empty());
}

TEST_F(RaidActions, RefusedActionAnswers770AndCopiesNothing) {
  Intercept(0x0008);
  uint8_t actionData[24] = {};
  EXPECT_EQ(QmxRaidAction(&volume_, 1, 0, 0, AddressOf(actionData), nullptr), kLibRaidActionFailed);
  EXPECT_EQ(actionData[0], 0);
  IocStatusInfo status{};
  QmxGetLastStatus(&status);
  EXPECT_EQ(status.iocStatus, 0x0008u);
}

TEST_F(RaidActions, CardMarkerGoesWithTheCardsConfigurationChanges) {
  Intercept();
  LibHandle disk = disk_->header.handle;
  struct Case {
    const char* name;
    uint32_t flags;
    uint32_t isCard;
    uint8_t action;
    LibHandle handle;
    uint32_t marker;
  } cases[] = {
      {"delete on the card", kCardFlags, 1, 3, volume_, 0x57},
      {"create on the card", kCardFlags, 1, 2, adapter_, 0x57},
      {"hot spare on the card", kCardFlags, 1, 29, adapter_, 0x57},
      {"hot spare deleted on the card", kCardFlags, 1, 30, disk, 0x57},
      {"progress on the card", kCardFlags, 1, 1, volume_, 0},
      {"delete on another adapter", kCardFlags, 0, 3, volume_, 0},
      {"delete without the card family", 0x80000000, 1, 3, volume_, 0},
  };
  for (const Case& c : cases) {
    frames_.clear();
    context()->discoveryFlags = c.flags;
    FirstAdapterRecord()->isCard = c.isCard;
    EXPECT_EQ(QmxRaidActionRequest(&c.handle, c.action), kLibOk) << c.name;
    ASSERT_EQ(frames_.size(), 1u);
    EXPECT_EQ(Le32(frames_[0], 12), c.marker) << c.name;
  }
}

TEST_F(RaidActions, DeleteVolumeSendsItsOptionAndDropsTheObjects) {
  Intercept();
  LibHandle member = disk_->header.handle;
  EXPECT_EQ(QmxDeleteVolume(&volume_, 5), kLibOk);
  // The progress query of its information, then the delete with bit 0 set.
  ASSERT_EQ(frames_.size(), 2u);
  EXPECT_EQ(frames_[1][0], 3);
  EXPECT_EQ(Le32(frames_[1], 16), 1u);
  uint32_t count = 9;
  EXPECT_EQ(QmxCountVolumes(&adapter_, &count), kLibOk);
  EXPECT_EQ(count, 0u);
  PhysDiskInfo info{};
  uint32_t size = sizeof(info);
  EXPECT_EQ(QmxGetMemberDiskInfo(&member, 0, nullptr, 0, &info, &size), kLibBadHandle);
  EXPECT_EQ(QmxDeleteVolume(&volume_, 0), kLibBadHandle);
}

TEST_F(RaidActions, FunctionsModesAndActivation) {
  Intercept();
  struct Case {
    bool start;
    uint32_t function, mode;
    LibStatus status;
    uint32_t word;
  } cases[] = {
      {true, 1, 1, kLibOk, 0x0000},  {true, 3, 2, kLibOk, 0x0102},  {false, 2, 3, kLibOk, 0x0001},
      {false, 3, 4, kLibOk, 0x0102}, {false, 1, 1, kLibRaidActionUnsupported, 0},
      {true, 1, 3, kLibRaidActionUnsupported, 0}, {true, 0, 1, kLibRaidActionUnsupported, 0},
      {false, 4, 3, kLibRaidActionUnsupported, 0},
  };
  for (const Case& c : cases) {
    frames_.clear();
    LibStatus status = c.start ? QmxStartRaidFunction(&volume_, c.function, c.mode, nullptr, nullptr)
                               : QmxStopRaidFunction(&volume_, c.function, c.mode);
    EXPECT_EQ(status, c.status) << c.function << " " << c.mode;
    // The volume information is read first (its progress query).
    ASSERT_EQ(frames_.size(), c.status == kLibOk ? 2u : 1u);
    EXPECT_EQ(frames_[0][0], 1);
    if (c.status != kLibOk) continue;
    EXPECT_EQ(frames_[1][0], c.start ? 33 : 34);
    EXPECT_EQ(Le32(frames_[1], 16), c.word);
  }

  // An active volume is not activated.
  frames_.clear();
  EXPECT_EQ(QmxActivateVolume(&volume_), kLibVolumeNotInactive);
  ASSERT_EQ(frames_.size(), 1u);
  EXPECT_EQ(frames_[0][0], 1);
}

TEST_F(RaidActions, InactiveVolumeIsActivated) {
  emu::HostModel host = CardFile("default");
  host.FirstAdapter()->raid.volumes.front().statusFlags = 0x4;  // inactive, not enabled
  StartScannedCard(host);
  LibHandle volume = FirstAdapterRecord()->volumes->header.handle;
  // An inactive volume sits at bus 0, target 0 and no device is its target.
  EXPECT_EQ(FirstAdapterRecord()->volumes->header.location[1], 0u);
  for (DeviceRecord* d = FirstAdapterRecord()->devices; d != nullptr; d = d->next) {
    EXPECT_EQ(DeviceVolumeHandle(d), 0u);
  }
  EXPECT_EQ(QmxActivateVolume(&volume), kLibOk);
  EXPECT_EQ(Commands(0x15).back()->frame[0], 17);
}

TEST_F(RaidActions, HotSpareForARaid0VolumeIsRefused) {
  emu::HostModel host = CardFile("default");
  StartScannedCard(host);
  // Make the target of the volume look like a free disk of the adapter.
  DeviceRecord* device = FirstAdapterRecord()->devices;
  ConfigProblemList problems{72, 0, {}};
  EXPECT_EQ(QmxCreateHotSpare(&device->header.handle, &problems, 1), kLibFailure);
  ASSERT_EQ(problems.count, 1u);
  EXPECT_EQ(problems.problems[0].code, 19u);
  for (const emu::LoggedCall* call : Commands(0x15)) EXPECT_NE(call->frame[0], 29);

  // Without volumes: problem 18.
  LibHandle volume = FirstAdapterRecord()->volumes->header.handle;
  ASSERT_EQ(QmxDeleteVolume(&volume, 0), kLibOk);
  ASSERT_EQ(QmxRefreshAdapter(&FirstAdapterRecord()->header.handle), kLibOk);
  ConfigProblemList none{72, 0, {}};
  EXPECT_EQ(QmxCreateHotSpare(&FirstAdapterRecord()->devices->header.handle, &none, 1), kLibCreateProblems);
  ASSERT_EQ(none.count, 1u);
  EXPECT_EQ(none.problems[0].code, 18u);
}

}  // namespace
}  // namespace ctltest
