// SCSI commands to a device: the SCSI IO frame, the result rule, retries and
// the library data buffer.
#include <cstring>

#include "ctl/devices/scsi_io.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

// What the emulated device answers to each SCSI IO message, in turn (the
// last one repeats).
struct DeviceAnswer {
  uint16_t iocStatus = 0;
  uint8_t scsiStatus = 0;
  std::vector<uint8_t> sense;
  std::vector<uint8_t> dataIn;
};

class ScsiIo : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
    DeviceRecord* device = AddDevice(adapter_, 0x0009);
    device->lun = 3;
    device_ = device->header.handle;
    card().RegisterFunction(0x00, emu::FunctionHandler{96, [this](emu::CommandRequest& request,
                                                                  emu::CommandAnswer& answer) {
                              frames_.push_back(request.frame);
                              dataOut_.push_back(request.dataOut);
                              size_t turn = std::min(frames_.size() - 1, answers_.size() - 1);
                              const DeviceAnswer& a = answers_[turn];
                              answer.reply = emu::NewReply(request, 48);
                              emu::SetReplyStatus(&answer.reply, a.iocStatus);
                              answer.reply[12] = a.scsiStatus;
                              answer.sense = a.sense;
                              answer.dataIn = a.dataIn;
                            }});
    answers_ = {DeviceAnswer{}};
  }

  ScsiPassthroughRequest Inquiry(uint8_t* buffer, uint32_t length) {
    ScsiPassthroughRequest request{};
    request.size = 344;
    request.cdbLength = 6;
    uint8_t cdb[6] = {0x12, 0, 0, 0, static_cast<uint8_t>(length), 0};
    std::memcpy(request.cdb, cdb, sizeof(cdb));
    request.direction = kScsiDataIn;
    request.dataLength = length;
    request.dataBuffer = AddressOf(buffer);
    return request;
  }

  static std::vector<uint8_t> FixedSense(uint8_t key) {
    std::vector<uint8_t> sense(18);
    sense[0] = 0x70;
    sense[2] = key;
    sense[7] = 10;
    return sense;
  }

  LibHandle adapter_ = 0;
  LibHandle device_ = 0;
  std::vector<DeviceAnswer> answers_;
  std::vector<std::vector<uint8_t>> frames_;
  std::vector<std::vector<uint8_t>> dataOut_;
};

TEST_F(ScsiIo, FrameLayout) {
  uint8_t data[36] = {};
  ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
  request.timeout = 20;
  EXPECT_EQ(SendScsiIo(context(), &device_, &request), kLibOk);
  ASSERT_EQ(frames_.size(), 1u);
  const std::vector<uint8_t>& f = frames_[0];
  ASSERT_EQ(f.size(), 96u);
  EXPECT_EQ(Le16(f, 0), 0x0009);
  EXPECT_EQ(f[3], 0x00);
  EXPECT_EQ(Le32(f, 12), static_cast<uint32_t>(AddressOf(request.sense)));
  EXPECT_EQ(f[18], 252);
  EXPECT_EQ(f[20], 24);
  EXPECT_EQ(Le32(f, 28), 36u);
  EXPECT_EQ(Le16(f, 36), 6);
  EXPECT_EQ(f[52], 3);
  EXPECT_EQ(Le32(f, 60), 0x02000000u);
  EXPECT_EQ(std::vector<uint8_t>(f.begin() + 64, f.begin() + 70),
            (std::vector<uint8_t>{0x12, 0, 0, 0, 36, 0}));
  const emu::LoggedCall& call = card().log().back();
  EXPECT_EQ(call.dataInSize, 36u);
  EXPECT_EQ(call.dataOutSize, 0u);
  EXPECT_EQ(call.maxSenseBytes, 252u);
  EXPECT_EQ(call.maxReplyBytes, 48u);
  EXPECT_EQ(call.timeoutSeconds, 20u);
}

TEST_F(ScsiIo, ControlWordByDirection) {
  uint8_t data[8] = {};
  struct Case {
    uint32_t direction;
    uint32_t length;
    uint32_t control;
  } cases[] = {{kScsiDataIn, 8, 0x02000000}, {kScsiDataOut, 8, 0x01000000}, {kScsiDataIn, 0, 0},
               {kScsiDataOut, 0, 0}};
  for (const Case& c : cases) {
    frames_.clear();
    ScsiPassthroughRequest request = Inquiry(data, c.length);
    request.direction = c.direction;
    EXPECT_EQ(SendScsiIo(context(), &device_, &request), kLibOk);
    ASSERT_EQ(frames_.size(), 1u);
    EXPECT_EQ(Le32(frames_[0], 60), c.control) << c.direction << " " << c.length;
  }
}

TEST_F(ScsiIo, ResultByIocStatus) {
  struct Case {
    uint16_t iocStatus;
    LibStatus result;
  } cases[] = {{0x0000, kLibOk}, {0x0044, kLibOk}, {0x0045, kLibOk}, {0x8045, kLibOk},
               {0x0048, kLibFailure}, {0x0004, kLibFailure}};
  for (const Case& c : cases) {
    answers_ = {DeviceAnswer{c.iocStatus, 0, {}, {}}};
    uint8_t data[8] = {};
    ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
    EXPECT_EQ(SendScsiIo(context(), &device_, &request), c.result) << std::hex << c.iocStatus;
    // The caller sees the IOCStatus as received.
    EXPECT_EQ(request.iocStatus, c.iocStatus);
  }
}

TEST_F(ScsiIo, RetriesOnCheckConditionAndUnitAttention) {
  std::vector<uint8_t> descriptorSense(8);
  descriptorSense[0] = 0x72;
  descriptorSense[1] = 0x06;
  struct Case {
    const char* name;
    std::vector<DeviceAnswer> answers;
    size_t sends;
    uint8_t finalScsiStatus;
  } cases[] = {
      {"check condition, illegal request", {DeviceAnswer{0, 2, FixedSense(5), {}}}, 3, 2},
      {"unit attention, then good", {DeviceAnswer{0, 2, FixedSense(6), {}}, DeviceAnswer{}}, 2, 0},
      {"descriptor-format unit attention with check condition",
       {DeviceAnswer{0, 2, descriptorSense, {}}, DeviceAnswer{}}, 2, 0},
      // A UNIT ATTENTION is tried again whatever the status it came with.
      {"unit attention sense with good status", {DeviceAnswer{0, 0, descriptorSense, {}}, DeviceAnswer{}}, 2, 0},
      {"fixed-format unit attention with good status every time", {DeviceAnswer{0, 0, FixedSense(6), {}}}, 3, 0},
      {"good at once", {DeviceAnswer{}}, 1, 0},
      {"medium error without check condition", {DeviceAnswer{0, 0, FixedSense(3), {}}}, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    answers_ = c.answers;
    frames_.clear();
    uint8_t data[8] = {};
    ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
    ScsiCommandRetry(context(), &device_, &request);
    EXPECT_EQ(frames_.size(), c.sends);
    EXPECT_EQ(request.scsiStatus, c.finalScsiStatus);
  }
}

TEST_F(ScsiIo, SenseOfAnEarlierCommandDoesNotCauseARetry) {
  uint8_t data[8] = {};
  ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
  std::vector<uint8_t> old = FixedSense(6);
  std::memcpy(request.sense, old.data(), old.size());
  EXPECT_EQ(ScsiCommandRetry(context(), &device_, &request), kLibOk);
  EXPECT_EQ(frames_.size(), 1u);
  EXPECT_EQ(request.sense[0], 0);
}

TEST_F(ScsiIo, RefusedWithoutSending) {
  uint8_t data[8] = {};
  struct Case {
    const char* name;
    LibHandle handle;
    uint8_t cdbLength;
    LibStatus status;
  } cases[] = {
      {"CDB longer than the frame's field", 0, 33, kLibBadParameter},
      {"adapter handle", 0x01000001, 6, kLibBadHandle},
      {"volume handle", 0x10000001, 6, kLibBadHandle},
      {"unknown device", 0x02000077, 6, kLibBadHandle},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
    request.cdbLength = c.cdbLength;
    LibHandle handle = c.handle != 0 ? c.handle : device_;
    EXPECT_EQ(QmxScsiPassthrough(&handle, &request), c.status);
  }
  ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
  EXPECT_EQ(QmxScsiPassthrough(nullptr, &request), kLibBadHandle);
  EXPECT_TRUE(frames_.empty());
  EXPECT_EQ(card().CountCalls(kCommandRequest), 0u);
}

TEST_F(ScsiIo, ThirtyTwoByteCdbIsSentWhole) {
  uint8_t data[8] = {};
  ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
  request.cdbLength = 32;
  for (int i = 0; i < 32; ++i) request.cdb[i] = static_cast<uint8_t>(0xA0 + i);
  EXPECT_EQ(QmxScsiPassthrough(&device_, &request), kLibOk);
  ASSERT_EQ(frames_.size(), 1u);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(frames_[0][64 + i], 0xA0 + i) << i;
}

TEST_F(ScsiIo, PassthroughMovesDataThroughALibraryBuffer) {
  std::vector<uint8_t> answer(16);
  for (size_t i = 0; i < answer.size(); ++i) answer[i] = static_cast<uint8_t>(0x40 + i);
  answers_ = {DeviceAnswer{0, 0, {}, answer}};
  uint8_t in[16] = {};
  ScsiPassthroughRequest read = Inquiry(in, sizeof(in));
  EXPECT_EQ(QmxScsiPassthrough(&device_, &read), kLibOk);
  EXPECT_EQ(std::vector<uint8_t>(in, in + 16), answer);
  EXPECT_EQ(read.dataBuffer, AddressOf(in));  // the caller's pointer is back

  uint8_t out[4] = {9, 8, 7, 6};
  ScsiPassthroughRequest write = Inquiry(out, sizeof(out));
  write.direction = kScsiDataOut;
  EXPECT_EQ(QmxScsiPassthrough(&device_, &write), kLibOk);
  EXPECT_EQ(dataOut_.back(), (std::vector<uint8_t>{9, 8, 7, 6}));

  // Data to send may sit in read-only memory: nothing is written back to it.
  static const uint8_t kReadOnly[4] = {1, 2, 3, 4};
  ScsiPassthroughRequest fromConstant = Inquiry(const_cast<uint8_t*>(kReadOnly), sizeof(kReadOnly));
  fromConstant.direction = kScsiDataOut;
  EXPECT_EQ(QmxScsiPassthrough(&device_, &fromConstant), kLibOk);
  EXPECT_EQ(dataOut_.back(), (std::vector<uint8_t>{1, 2, 3, 4}));

  // A failed command leaves the caller's buffer as it was.
  answers_ = {DeviceAnswer{0x0048, 0, {}, answer}};
  uint8_t untouched[16] = {};
  ScsiPassthroughRequest failed = Inquiry(untouched, sizeof(untouched));
  EXPECT_EQ(QmxScsiPassthrough(&device_, &failed), kLibFailure);
  EXPECT_EQ(std::vector<uint8_t>(untouched, untouched + 16), std::vector<uint8_t>(16));

  ScsiPassthroughRequest noBuffer = Inquiry(nullptr, 8);
  EXPECT_EQ(QmxScsiPassthrough(&device_, &noBuffer), kLibBadParameter);
}

TEST_F(ScsiIo, SecondGenerationFramesPassNoTimeoutAndOnlyTheScsiStatus) {
  FirstAdapterRecord()->secondGeneration = 1;
  answers_ = {DeviceAnswer{0x0045, 0x08, {}, {}}};
  uint8_t data[8] = {};
  ScsiPassthroughRequest request = Inquiry(data, sizeof(data));
  request.timeout = 30;
  request.iocStatus = 0x1234;
  EXPECT_EQ(SendScsiIo(context(), &device_, &request), kLibOk);
  ASSERT_EQ(frames_.size(), 1u);
  EXPECT_EQ(frames_[0][3], 0x00);
  EXPECT_EQ(Le16(frames_[0], 0), 0x0009);
  EXPECT_EQ(card().log().back().timeoutSeconds, 10u);
  EXPECT_EQ(request.scsiStatus, 0x08);
  EXPECT_EQ(request.iocStatus, 0x1234);  // not returned by this generation
}

}  // namespace
}  // namespace ctltest
