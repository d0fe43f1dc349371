// The messages that address one device: SATA passthrough, RAID SCSI
// passthrough, the enclosure slot and its identify indication, SMP
// passthrough, SAS IO unit control and task management. Each controller
// function is answered by a hand-made handler that keeps the frames.
#include <cstring>

#include "ctl/devices/device_senders.h"
#include "ctl/devices/scsi_io.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

// A handler that records each frame and answers with a reply the test shapes.
struct Recorder {
  std::vector<std::vector<uint8_t>> frames;
  std::vector<std::vector<uint8_t>> dataOut;
  std::vector<uint32_t> dataInSizes;
  std::function<void(const std::vector<uint8_t>& frame, std::vector<uint8_t>* reply, std::vector<uint8_t>* dataIn)>
      shape;
  uint32_t replyBytes = 48;

  emu::FunctionHandler Handler() {
    return emu::FunctionHandler{4, [this](emu::CommandRequest& request, emu::CommandAnswer& answer) {
                                  frames.push_back(request.frame);
                                  dataOut.push_back(request.dataOut);
                                  dataInSizes.push_back(request.dataInSize);
                                  answer.reply = emu::NewReply(request, replyBytes);
                                  if (shape) shape(request.frame, &answer.reply, &answer.dataIn);
                                }};
  }
};

class DeviceFrames : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
    device_ = AddDevice(adapter_, 0x0021);
    volume_ = AddVolume(adapter_, 0x0140);
    disk_ = AddMember(volume_, 0x0031, 7);
  }

  void Register(uint8_t function, Recorder* recorder) { card().RegisterFunction(function, recorder->Handler()); }

  LibHandle adapter_ = 0;
  DeviceRecord* device_ = nullptr;
  VolumeRecord* volume_ = nullptr;
  PhysDiskRecord* disk_ = nullptr;
};

SataPassthroughRequest SataRequest(LibHandle target) {
  SataPassthroughRequest request{};
  request.size = 416;
  request.deviceHandle = target;
  request.dataPhase = 1;
  request.read = 1;
  request.pio = 1;
  request.timeout = 100;
  for (int i = 0; i < 20; ++i) request.commandFis[i] = static_cast<uint8_t>(0x27 + i);
  return request;
}

TEST_F(DeviceFrames, SataPassthroughFrameAndAnswer) {
  Recorder sata;
  sata.shape = [](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>* dataIn) {
    (*reply)[13] = 0x02;
    for (int i = 0; i < 20; ++i) (*reply)[20 + i] = static_cast<uint8_t>(0x34 + i);
    PutLe32(reply, 40, 0x00000123);
    PutLe32(reply, 44, 508);
    dataIn->assign(512, 0xAB);
  };
  Register(0x1C, &sata);
  uint8_t in[512] = {};
  uint8_t out[512] = {};
  SataPassthroughRequest request = SataRequest(disk_->header.handle);
  request.dataOutLength = 512;
  request.dataOut = AddressOf(out);
  request.dataInLength = 16;
  request.dataIn = AddressOf(in);
  EXPECT_EQ(QmxSataPassthrough(&adapter_, &request), kLibOk);
  ASSERT_EQ(sata.frames.size(), 1u);
  const std::vector<uint8_t>& f = sata.frames[0];
  ASSERT_EQ(f.size(), 48u);
  EXPECT_EQ(Le16(f, 0), 0x0031);  // the physical disk's DevHandle
  EXPECT_EQ(f[3], 0x1C);
  EXPECT_EQ(Le16(f, 4), 0x0011);
  EXPECT_EQ(f[7], 0);
  EXPECT_EQ(Le32(f, 24), 512u);  // the larger of the two lengths
  for (int i = 0; i < 20; ++i) EXPECT_EQ(f[28 + i], 0x27 + i);
  EXPECT_EQ(card().log().back().timeoutSeconds, 100u);
  EXPECT_EQ(sata.dataInSizes[0], 16u);
  EXPECT_EQ(sata.dataOut[0].size(), 512u);
  // What came back.
  EXPECT_EQ(request.sasStatus, 0x02);
  EXPECT_EQ(request.statusControl, 0x123u);
  EXPECT_EQ(request.dataOutLength, 508u);
  EXPECT_EQ(request.statusFis[2], 0x36);
  EXPECT_EQ(request.status.size, 16u);
  EXPECT_EQ(in[15], 0xAB);

  // A device handle uses the device's DevHandle.
  request = SataRequest(device_->header.handle);
  EXPECT_EQ(QmxSataPassthrough(&adapter_, &request), kLibOk);
  EXPECT_EQ(Le16(sata.frames.back(), 0), 0x0021);
}

TEST_F(DeviceFrames, SataPassthroughFlagsFromTheRecordWords) {
  Recorder sata;
  Register(0x1C, &sata);
  struct Case {
    uint32_t diagnostic, dma, pio, dataPhase, write, read;
    uint16_t flags;
  } cases[] = {
      {0, 0, 1, 1, 0, 1, 0x0011}, {0, 1, 0, 1, 1, 0, 0x0022}, {1, 0, 0, 0, 0, 0, 0x0104},
      {0, 0, 0, 0, 1, 1, 0x0004},  // no data phase: the direction words are ignored
      {1, 1, 1, 1, 1, 1, 0x0133},
  };
  for (const Case& c : cases) {
    SataPassthroughRequest request = SataRequest(device_->header.handle);
    request.executeDiagnostic = c.diagnostic;
    request.dma = c.dma;
    request.pio = c.pio;
    request.dataPhase = c.dataPhase;
    request.write = c.write;
    request.read = c.read;
    EXPECT_EQ(SataPassthrough(context(), &adapter_, &request), kLibOk);
    EXPECT_EQ(Le16(sata.frames.back(), 4), c.flags) << std::hex << c.flags;
  }
}

TEST_F(DeviceFrames, SataPassthroughRefusalsSendNothing) {
  Recorder sata;
  Register(0x1C, &sata);
  for (uint32_t size : {415u, 417u, 0u}) {
    SataPassthroughRequest request = SataRequest(device_->header.handle);
    request.size = size;
    SataPassthroughRequest before = request;
    EXPECT_EQ(QmxSataPassthrough(&adapter_, &request), kLibWrongRecordSize) << size;
    EXPECT_EQ(std::memcmp(&before, &request, sizeof(request)), 0);
  }
  for (LibHandle unknown : {0x08000099u, 0x02000099u, 0x10000001u}) {
    SataPassthroughRequest request = SataRequest(unknown);
    EXPECT_EQ(QmxSataPassthrough(&adapter_, &request), kLibBadHandle) << std::hex << unknown;
  }
  EXPECT_TRUE(sata.frames.empty());
  EXPECT_EQ(card().CountCalls(kCommandRequest), 0u);
}

TEST_F(DeviceFrames, SataPassthroughHandsBackTheStatusQuadOfAFailedRequest) {
  Recorder sata;
  sata.shape = [](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
    emu::SetReplyStatus(reply, 0x0047, 0x31120000);
  };
  Register(0x1C, &sata);
  uint8_t out[9] = {};
  SataPassthroughRequest request = SataRequest(device_->header.handle);
  request.dataOutLength = 9;
  request.dataOut = AddressOf(out);
  // The reply's IOCStatus is the caller's to judge.
  EXPECT_EQ(QmxSataPassthrough(&adapter_, &request), kLibOk);
  EXPECT_EQ(request.status.iocStatus, 0x0047u);
  EXPECT_EQ(request.status.iocLogInfo, 0x31120000u);
  EXPECT_EQ(request.status.validBits, 3u);

  card().FailIoctl(kCommandRequest, 5);
  request = SataRequest(device_->header.handle);
  request.dataOutLength = 9;
  request.dataOut = AddressOf(out);
  request.status.iocStatus = 0x77;
  EXPECT_EQ(QmxSataPassthrough(&adapter_, &request), kLibIoctlFailed);
  EXPECT_EQ(request.status.size, 16u);
  EXPECT_EQ(request.status.iocStatus, 0u);
  EXPECT_EQ(request.dataOutLength, 9u);  // nothing else is copied back
}

TEST_F(DeviceFrames, RaidScsiPassthroughResultAndReturnedFields) {
  Recorder raid;
  uint16_t answerStatus = 0x0045;
  raid.shape = [&answerStatus](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
    emu::SetReplyStatus(reply, answerStatus, 0x1234);
    (*reply)[12] = 0x02;
  };
  Register(0x16, &raid);
  LibHandle disk = disk_->header.handle;
  uint8_t data[8] = {};
  ScsiPassthroughRequest request{};
  request.size = 344;
  request.cdbLength = 10;
  request.cdb[0] = 0x25;
  request.direction = kScsiDataIn;
  request.dataLength = sizeof(data);
  request.dataBuffer = AddressOf(data);
  request.iocStatus = 0x7777;
  EXPECT_EQ(RaidDiskScsiPassthrough(context(), &disk, &request), kLibOk);
  ASSERT_EQ(raid.frames.size(), 1u);
  const std::vector<uint8_t>& f = raid.frames[0];
  ASSERT_EQ(f.size(), 96u);
  EXPECT_EQ(Le16(f, 0), 0x0031);
  EXPECT_EQ(f[3], 0x16);
  EXPECT_EQ(f[52], 0);  // no LUN byte
  EXPECT_EQ(Le32(f, 60), 0x02000000u);
  EXPECT_EQ(f[64], 0x25);
  EXPECT_EQ(request.iocStatus, 0x8045);  // as received
  EXPECT_EQ(request.iocLogInfo, 0x1234u);
  EXPECT_EQ(request.scsiStatus, 0x02);

  // 0x48 fails and leaves the record's IOCStatus as it was.
  answerStatus = 0x0048;
  request.iocStatus = 0x7777;
  request.scsiStatus = 0;
  EXPECT_EQ(RaidDiskScsiPassthrough(context(), &disk, &request), kLibFailure);
  EXPECT_EQ(request.iocStatus, 0x7777);
  EXPECT_EQ(request.scsiStatus, 0);

  // Direction out without data still says write.
  answerStatus = 0;
  request.direction = kScsiDataOut;
  request.dataLength = 0;
  EXPECT_EQ(RaidDiskScsiPassthrough(context(), &disk, &request), kLibOk);
  EXPECT_EQ(Le32(raid.frames.back(), 60), 0x01000000u);

  // The second generation returns the SCSI status only.
  FirstAdapterRecord()->secondGeneration = 1;
  answerStatus = 0x0045;
  request.iocStatus = 0x7777;
  EXPECT_EQ(RaidDiskScsiPassthrough(context(), &disk, &request), kLibOk);
  EXPECT_EQ(raid.frames.back()[3], 0x16);
  EXPECT_EQ(request.iocStatus, 0x7777);
  EXPECT_EQ(request.scsiStatus, 0x02);
}

TEST_F(DeviceFrames, ScsiStatusIsTakenOnlyFromAWholeReplyOfThePassthrough) {
  Recorder raid;
  raid.shape = [](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
    (*reply)[3] = 0x00;  // not the passthrough's reply
    (*reply)[12] = 0x02;
  };
  Register(0x16, &raid);
  LibHandle disk = disk_->header.handle;
  ScsiPassthroughRequest request{};
  request.size = 344;
  request.cdbLength = 6;
  EXPECT_EQ(RaidDiskScsiPassthrough(context(), &disk, &request), kLibOk);
  EXPECT_EQ(request.scsiStatus, 0);
  // The retry sends physical-disk commands this way.
  EXPECT_EQ(ScsiCommandRetry(context(), &disk, &request), kLibOk);
  EXPECT_EQ(raid.frames.size(), 2u);
}

TEST_F(DeviceFrames, RetryDecidesOnTheAttemptItJustMade) {
  // CHECK CONDITION, then a refused passthrough that carries no SCSI status:
  // the earlier attempt's status must not ask for a third.
  Recorder raid;
  raid.shape = [&raid](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
    if (raid.frames.size() == 1) {
      (*reply)[12] = 0x02;
    } else {
      emu::SetReplyStatus(reply, 0x0048);
    }
  };
  Register(0x16, &raid);
  LibHandle disk = disk_->header.handle;
  ScsiPassthroughRequest request{};
  request.size = 344;
  request.cdbLength = 6;
  EXPECT_EQ(ScsiCommandRetry(context(), &disk, &request), kLibFailure);
  EXPECT_EQ(raid.frames.size(), 2u);
  EXPECT_EQ(request.scsiStatus, 0);
}

class EnclosureSlot : public DeviceFrames {
 protected:
  void SetUp() override {
    DeviceFrames::SetUp();
    SetPage(15, 0, 0x12, 0x0021, SasDevicePage(0x0021, 5, 0x0003));
    SetPage(15, 0, 0x12, 0x0031, SasDevicePage(0x0031, 6, 0x0003));
    sep_.replyBytes = 32;
    sep_.shape = [this](const std::vector<uint8_t>& frame, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
      if (refuse_) emu::SetReplyStatus(reply, 0x0022);
      if (frame[4] == 1) {
        PutLe32(reply, 20, slotStatus_);
      } else {
        slotStatus_ = Le32(frame, 12);
      }
    };
    Register(0x18, &sep_);
  }

  // (action, status written) of each SEP frame.
  std::vector<std::pair<int, uint32_t>> Actions() const {
    std::vector<std::pair<int, uint32_t>> actions;
    for (const auto& f : sep_.frames) actions.emplace_back(f[4], f[4] == 0 ? Le32(f, 12) : 0);
    return actions;
  }

  Recorder sep_;
  uint32_t slotStatus_ = 0x00000081;
  bool refuse_ = false;
};

TEST_F(EnclosureSlot, IdentifyOnThenOffWritesBackWhatWasRead) {
  LibHandle device = device_->header.handle;
  EXPECT_EQ(QmxLocateDevice(&device, 1), kLibOk);
  EXPECT_EQ(slotStatus_, 0x00020081u);
  EXPECT_EQ(QmxLocateDevice(&device, 0), kLibOk);
  EXPECT_EQ(slotStatus_, 0x00000081u);
  using A = std::vector<std::pair<int, uint32_t>>;
  EXPECT_EQ(Actions(), (A{{1, 0}, {0, 0x00020081}, {0, 0x00000081}}));
  const std::vector<uint8_t>& f = sep_.frames[0];
  ASSERT_EQ(f.size(), 32u);
  EXPECT_EQ(Le16(f, 0), 0);
  EXPECT_EQ(f[3], 0x18);
  EXPECT_EQ(f[5], 1);
  EXPECT_EQ(Le16(f, 28), 5);       // slot from SAS device page 0
  EXPECT_EQ(Le16(f, 30), 0x0003);  // enclosure handle from it

  // A physical disk keeps the same state in its information.
  sep_.frames.clear();
  LibHandle disk = disk_->header.handle;
  EXPECT_EQ(SetSlotIdentify(context(), &disk, 1), kLibOk);
  EXPECT_EQ(Le32(std::vector<uint8_t>(disk_->info.bytes, disk_->info.bytes + 616), 424), 1u);
  EXPECT_EQ(SetSlotIdentify(context(), &disk, 0), kLibOk);
  EXPECT_EQ(Le16(sep_.frames[0], 28), 6);
  EXPECT_EQ(slotStatus_, 0x00000081u);
}

TEST_F(EnclosureSlot, OffWithoutOnWritesOnlyAStatusItRead) {
  slotStatus_ = 0x00020011;  // identify switched on by someone else
  LibHandle device = device_->header.handle;
  EXPECT_EQ(QmxLocateDevice(&device, 0), kLibOk);
  using A = std::vector<std::pair<int, uint32_t>>;
  EXPECT_EQ(Actions(), (A{{1, 0}, {0, 0x00000011}}));
}

TEST_F(EnclosureSlot, RefusedReadFailsAndWritesNothing) {
  refuse_ = true;
  LibHandle device = device_->header.handle;
  uint32_t status = 0xAAAA;
  EXPECT_EQ(ReadSlotStatus(context(), &device, &status), kLibFailure);
  EXPECT_EQ(status, 0xAAAAu);
  EXPECT_EQ(QmxLocateDevice(&device, 1), kLibFailure);
  EXPECT_EQ(QmxLocateDevice(&device, 0), kLibFailure);
  using A = std::vector<std::pair<int, uint32_t>>;
  EXPECT_EQ(Actions(), (A{{1, 0}, {1, 0}, {1, 0}}));
  EXPECT_EQ(device_->identifyActive, 0u);
  // Unknown or wrong-kind handles send nothing.
  for (LibHandle bad : {0x02000099u, 0x08000099u, 0x10000001u}) EXPECT_EQ(QmxLocateDevice(&bad, 1), kLibBadHandle);
  EXPECT_EQ(QmxLocateDevice(nullptr, 1), kLibBadHandle);
  EXPECT_EQ(sep_.frames.size(), 3u);
}

TEST_F(DeviceFrames, SmpPassthroughLengthsAndAnswer) {
  Recorder smp;
  smp.replyBytes = 28;
  smp.shape = [](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>* dataIn) {
    PutLe16(reply, 4, 56);
    (*reply)[13] = 0x01;
    dataIn->assign(56, 0x41);
  };
  Register(0x1A, &smp);
  auto request = std::make_unique<SmpPassthroughRequest>();
  *request = SmpPassthroughRequest{};
  request->size = 2096;
  request->requestLength = 12;
  request->sasAddress = 0x5000C50012345678ull;
  request->responseSize = 1032;
  for (int i = 0; i < 12; ++i) request->request[i] = static_cast<uint8_t>(0x40 + i);
  EXPECT_EQ(QmxSmpPassthrough(&adapter_, request.get()), kLibOk);
  ASSERT_EQ(smp.frames.size(), 1u);
  const std::vector<uint8_t>& f = smp.frames[0];
  ASSERT_EQ(f.size(), 32u);
  EXPECT_EQ(f[0], 0);
  EXPECT_EQ(f[1], 0xFF);
  EXPECT_EQ(f[3], 0x1A);
  EXPECT_EQ(Le32(f, 16), 0x12345678u);
  EXPECT_EQ(Le32(f, 20), 0x5000C500u);
  EXPECT_EQ(smp.dataOut[0], (std::vector<uint8_t>{0x40, 0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}));  // no CRC
  EXPECT_EQ(smp.dataInSizes[0], 1032u);
  EXPECT_EQ(request->responseSize, 56);
  EXPECT_EQ(request->sasStatus, 0x01);
  EXPECT_EQ(request->response[55], 0x41);
  EXPECT_EQ(request->status.size, 16u);

  struct Case {
    uint32_t size;
    uint16_t requestLength;
    uint16_t responseSize;
    LibStatus status;
  } refused[] = {
      {2095, 12, 100, kLibWrongRecordSize}, {2096, 3, 100, kLibBadParameter}, {2096, 0, 100, kLibBadParameter},
      {2096, 1029, 100, kLibBadParameter},  {2096, 12, 1033, kLibBadParameter},
  };
  for (const Case& c : refused) {
    request->size = c.size;
    request->requestLength = c.requestLength;
    request->responseSize = c.responseSize;
    EXPECT_EQ(QmxSmpPassthrough(&adapter_, request.get()), c.status) << c.requestLength << " " << c.responseSize;
  }
  EXPECT_EQ(smp.frames.size(), 1u);
  // The extremes are allowed: only the CRC, and whole areas.
  request->size = 2096;
  request->requestLength = 4;
  request->responseSize = 0;
  EXPECT_EQ(QmxSmpPassthrough(&adapter_, request.get()), kLibOk);
  EXPECT_TRUE(smp.dataOut.back().empty());
  request->requestLength = 1028;
  request->responseSize = 1032;
  EXPECT_EQ(QmxSmpPassthrough(&adapter_, request.get()), kLibOk);
  EXPECT_EQ(smp.dataOut.back().size(), 1024u);
}

TEST_F(DeviceFrames, SasIoUnitControlByOperationGroup) {
  Recorder control;
  control.replyBytes = 20;
  control.shape = [](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
    emu::SetReplyStatus(reply, 0x0001, 0x55);
  };
  Register(0x1B, &control);
  LibHandle device = device_->header.handle;
  struct Case {
    uint8_t operation;
    bool withDevice;
    LibStatus status;
    uint16_t devHandle;
    uint8_t phy;
  } cases[] = {
      {2, true, kLibOk, 0, 0},      {11, false, kLibOk, 0, 0},   {13, true, kLibOk, 0x0021, 0},
      {16, true, kLibOk, 0x0021, 0}, {17, false, kLibBadHandle, 0, 0}, {6, false, kLibOk, 0, 4},
      {8, true, kLibOk, 0, 4},       {0x90, false, kLibOk, 0, 0},  {0x80, false, kLibOk, 0, 0},
      {1, false, kLibBadParameter, 0, 0}, {0, false, kLibBadParameter, 0, 0},
      {20, false, kLibBadParameter, 0, 0}, {127, false, kLibBadParameter, 0, 0},
  };
  for (const Case& c : cases) {
    size_t before = control.frames.size();
    IocStatusInfo status{};
    EXPECT_EQ(QmxSasIoUnitControl(&adapter_, c.withDevice ? &device : nullptr, c.operation, 4, &status), c.status)
        << int(c.operation);
    if (c.status != kLibOk) {
      EXPECT_EQ(control.frames.size(), before) << int(c.operation);
      continue;
    }
    const std::vector<uint8_t>& f = control.frames.back();
    ASSERT_EQ(f.size(), 44u);
    EXPECT_EQ(f[0], c.operation);
    EXPECT_EQ(f[3], 0x1B);
    EXPECT_EQ(Le16(f, 4), c.devHandle) << int(c.operation);
    EXPECT_EQ(f[14], c.phy) << int(c.operation);
    EXPECT_EQ(status.iocStatus, 1u);
  }
  LibHandle unknown = 0x02000099;
  EXPECT_EQ(QmxSasIoUnitControl(&adapter_, &unknown, 2, 0, nullptr), kLibBadHandle);
  LibHandle noAdapter = 0x01000099;
  EXPECT_EQ(QmxSasIoUnitControl(&noAdapter, nullptr, 2, 0, nullptr), kLibAdapterNotFound);
}

TEST_F(DeviceFrames, TaskManagementByTaskType) {
  Recorder task;
  task.replyBytes = 28;
  task.shape = [](const std::vector<uint8_t>&, std::vector<uint8_t>* reply, std::vector<uint8_t>*) {
    (*reply)[4] = 0x05;
    PutLe32(reply, 20, 3);
  };
  Register(0x01, &task);
  device_->bus = 0;
  device_->target = 6;
  LibHandle device = device_->header.handle;
  uint8_t response = 0;
  uint32_t terminated = 0;
  IocStatusInfo status{};
  EXPECT_EQ(QmxTaskManagement(&adapter_, 0, 2, &device, 1, 0x80, &response, &terminated, &status), kLibOk);
  const std::vector<uint8_t>& f = task.frames.back();
  ASSERT_EQ(f.size(), 52u);
  EXPECT_EQ(Le16(f, 0), 0x0021);
  EXPECT_EQ(f[3], 0x01);
  EXPECT_EQ(f[5], 1);
  EXPECT_EQ(f[7], 0x80);
  EXPECT_EQ(f[13], 2);
  EXPECT_EQ(response, 0x05);
  EXPECT_EQ(terminated, 3u);
  EXPECT_EQ(status.size, 16u);

  // A target reset carries no LUN; the device is found by bus 0, target and LUN.
  EXPECT_EQ(QmxTaskManagement(&adapter_, 6, 0, nullptr, 3, 0, nullptr, nullptr, nullptr), kLibOk);
  EXPECT_EQ(Le16(task.frames.back(), 0), 0x0021);
  EXPECT_EQ(task.frames.back()[13], 0);
  for (uint8_t refused : {0, 4, 11, 200}) {
    EXPECT_EQ(QmxTaskManagement(&adapter_, 0, 0, &device, refused, 0, nullptr, nullptr, nullptr),
              kLibTaskTypeRefused)
        << int(refused);
  }
  EXPECT_EQ(QmxTaskManagement(&adapter_, 9, 0, nullptr, 1, 0, nullptr, nullptr, nullptr), kLibNoDeviceAtAddress);
  EXPECT_EQ(task.frames.size(), 2u);
}

}  // namespace
}  // namespace ctltest
