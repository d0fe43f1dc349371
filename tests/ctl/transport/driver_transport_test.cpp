// The request block, the COMMAND ioctl, the status capture and the driver
// ioctls that carry no message.
#include <cerrno>
#include <cstring>

#include "ctl/transport/driver_transport.h"
#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class Transport : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
  }

  // An IOC FACTS request in a block of the caller's making.
  QmxRequestBlock FactsBlock(uint32_t replyLength) {
    QmxRequestBlock block{};
    block.size = 112;
    block.adapterHandle = adapter_;
    block.magic = 0x392A8C9F;
    block.requestLength = sizeof(frame_);
    block.requestFrame = AddressOf(frame_);
    block.replyLength = replyLength;
    block.reply = AddressOf(reply_);
    return block;
  }

  uint8_t frame_[12] = {0, 0, 0, 0x03};
  uint8_t reply_[64] = {};
  LibHandle adapter_ = 0;
};

TEST_F(Transport, BlockBelow112BytesIsRefusedWithoutAnIoctl) {
  QmxRequestBlock block = FactsBlock(64);
  block.size = 111;
  block.status = IocStatusInfo{99, 99, 99, 99};
  context()->lastStatus = IocStatusInfo{16, 1, 0x22, 0};
  EXPECT_EQ(QmxIssueRequest(&block), kLibBufferTooSmall);
  EXPECT_EQ(card().CountCalls(kCommandRequest), 0u);
  EXPECT_EQ(block.status.size, 16u);
  EXPECT_EQ(block.status.validBits, 0u);
  EXPECT_EQ(block.status.iocStatus, 0u);
  EXPECT_EQ(context()->lastStatus.size, 0u);
  EXPECT_EQ(context()->lastStatus.iocStatus, 0u);
}

TEST_F(Transport, StatusCaptureRule) {
  struct Case {
    const char* name;
    uint16_t answer;
    uint32_t logInfo;
    uint32_t replyLength;
    uint32_t magic;
    uint32_t validBits;
    uint32_t iocStatus;
    uint32_t iocLogInfo;
  } cases[] = {
      {"log info flagged, 20-byte reply", 0x8022, 0x31120101, 20, 0x392A8C9F, 3, 0x0022, 0x31120101},
      {"status without log info", 0x0004, 0, 64, 0x392A8C9F, 1, 0x0004, 0},
      {"reply of 19 bytes carries no status", 0x8022, 0x1234, 19, 0x392A8C9F, 0, 0, 0},
      {"wrong magic: no capture", 0x8022, 0x1234, 64, 0x12345678, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    card().AnswerFunction(0x03, c.answer, c.logInfo, 1);
    QmxRequestBlock block = FactsBlock(c.replyLength);
    block.magic = c.magic;
    EXPECT_EQ(QmxIssueRequest(&block), kLibOk);
    EXPECT_EQ(block.status.size, 16u);
    EXPECT_EQ(block.status.validBits, c.validBits);
    EXPECT_EQ(block.status.iocStatus, c.iocStatus);
    EXPECT_EQ(block.status.iocLogInfo, c.iocLogInfo);
    IocStatusInfo last{};
    EXPECT_EQ(QmxGetLastStatus(&last), kLibOk);
    EXPECT_EQ(last.size, c.validBits != 0 ? 16u : 0u);
    EXPECT_EQ(last.validBits, c.validBits);
    EXPECT_EQ(last.iocStatus, c.iocStatus);
    EXPECT_EQ(last.iocLogInfo, c.iocLogInfo);
  }
}

TEST_F(Transport, ReplyWithStatusZeroLeavesTheContextStatusAllZero) {
  context()->lastStatus = IocStatusInfo{16, 3, 0x22, 7};
  QmxRequestBlock block = FactsBlock(64);
  EXPECT_EQ(QmxIssueRequest(&block), kLibOk);
  IocStatusInfo zero{};
  EXPECT_EQ(std::memcmp(&context()->lastStatus, &zero, sizeof(zero)), 0);
  EXPECT_EQ(block.status.size, 16u);
  EXPECT_EQ(block.status.validBits, 0u);
  // The reply did arrive.
  EXPECT_EQ(Le16(std::vector<uint8_t>(reply_, reply_ + 64), 0), card().model().FirstAdapter()->messageVersion);
}

TEST_F(Transport, CommandBlockAsTheDriverSeesIt) {
  uint8_t frame[28] = {0, 0, 0, 0x04};  // a CONFIG header request for IO unit page 1
  frame[23] = 0;
  frame[22] = 1;
  uint8_t out[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  uint8_t reply[24] = {};
  QmxRequestBlock block{};
  block.size = 112;
  block.adapterHandle = adapter_;
  block.magic = 0x392A8C9F;
  block.requestLength = sizeof(frame);
  block.requestFrame = AddressOf(frame);
  block.dataOutLength = sizeof(out);
  block.dataOut = AddressOf(out);
  block.replyLength = sizeof(reply);
  block.reply = AddressOf(reply);
  EXPECT_EQ(QmxIssueRequest(&block), kLibOk);
  ASSERT_EQ(card().log().size(), 1u);
  const emu::LoggedCall& call = card().log().back();
  EXPECT_EQ(call.node, "/dev/qmx2ctl_cx");
  EXPECT_EQ(call.request, kCommandRequest);
  EXPECT_EQ(call.ioc, 0u);
  EXPECT_EQ(Le32(call.block, 8), 72u);             // maximum data size
  EXPECT_EQ(call.timeoutSeconds, 10u);             // 0 means 10
  EXPECT_EQ(call.maxReplyBytes, 24u);
  EXPECT_EQ(call.dataOutSize, 8u);
  EXPECT_EQ(call.dataInSize, 0u);
  EXPECT_EQ(call.maxSenseBytes, 0u);
  EXPECT_EQ(Le32(call.block, 64), 7u);             // scatter-gather offset in words
  EXPECT_EQ(call.frame, std::vector<uint8_t>(frame, frame + sizeof(frame)));
  EXPECT_EQ(call.dataOut, std::vector<uint8_t>(out, out + sizeof(out)));
  EXPECT_EQ(Le32(call.block, 24), 0u);             // no data-in address without a data-in length
  EXPECT_EQ(Le32(call.block, 40), 0u);             // nor a sense address
}

TEST_F(Transport, TimeoutIsPassedThrough) {
  QmxRequestBlock block = FactsBlock(64);
  block.timeout = 33;
  EXPECT_EQ(QmxIssueRequest(&block), kLibOk);
  EXPECT_EQ(card().log().back().timeoutSeconds, 33u);
}

TEST_F(Transport, FailuresBeforeAReply) {
  {
    SCOPED_TRACE("ioctl fails");
    card().FailIoctl(kCommandRequest, EIO, 1);
    QmxRequestBlock block = FactsBlock(64);
    EXPECT_EQ(QmxIssueRequest(&block), kLibIoctlFailed);
    EXPECT_EQ(block.status.size, 16u);
    EXPECT_EQ(block.status.validBits, 0u);
  }
  {
    SCOPED_TRACE("unknown adapter");
    QmxRequestBlock block = FactsBlock(64);
    block.adapterHandle = 0x01000077;
    EXPECT_EQ(QmxIssueRequest(&block), kLibAdapterNotFound);
    block.adapterHandle = 0x02000001;
    EXPECT_EQ(QmxIssueRequest(&block), kLibBadHandle);
  }
  {
    SCOPED_TRACE("frame missing");
    QmxRequestBlock block = FactsBlock(64);
    block.requestFrame = 0;
    EXPECT_EQ(QmxIssueRequest(&block), kLibBadParameter);
  }
  {
    SCOPED_TRACE("node gone");
    card().model().nodes.clear();
    QmxRequestBlock block = FactsBlock(64);
    EXPECT_EQ(QmxIssueRequest(&block), kLibNodeOpenFailed);
  }
  EXPECT_EQ(QmxIssueRequest(nullptr), kLibBadParameter);
}

TEST_F(Transport, HardReset) {
  EXPECT_EQ(QmxResetAdapter(&adapter_), kLibOk);
  EXPECT_EQ(card().HardResets(), 1u);
  ASSERT_EQ(card().CountCalls(kHardResetRequest), 1u);
  EXPECT_EQ(card().log().back().ioc, 0u);
  card().FailIoctl(kHardResetRequest, EIO, 1);
  EXPECT_EQ(QmxResetAdapter(&adapter_), 0xFFFFFFFFu);
  // A handle that names no adapter record gets the lookup's status, and no
  // reset reaches the driver.
  LibHandle missing = 0x01000077;
  EXPECT_EQ(QmxResetAdapter(&missing), kLibAdapterNotFound);
  LibHandle notAnAdapter = 0x02000001;
  EXPECT_EQ(QmxResetAdapter(&notAnAdapter), kLibBadHandle);
  EXPECT_EQ(card().CountCalls(kHardResetRequest), 2u);
  EXPECT_EQ(QmxResetAdapterAlt(&adapter_, 0, 0), kLibFailure);
  EXPECT_EQ(card().HardResets(), 1u);
}

TEST_F(Transport, BusTargetMapping) {
  card().model().FirstAdapter()->busTargets.push_back(emu::BusTargetEntry{0x0009, 0, 4});
  uint32_t bus = 0, target = 0;
  uint16_t devHandle = 0x0009;
  EXPECT_EQ(QmxDevHandleToBusTarget(&adapter_, &devHandle, &bus, &target), kLibOk);
  EXPECT_EQ(bus, 0u);
  EXPECT_EQ(target, 4u);
  ASSERT_EQ(card().CountCalls(kMapRequest), 1u);
  EXPECT_EQ(Le32(card().log().back().block, 8), 24u);

  uint16_t found = 0;
  EXPECT_EQ(QmxBusTargetToDevHandle(&adapter_, &found, 0, 4), kLibOk);
  EXPECT_EQ(found, 0x0009);

  // Both sides given, or neither: nothing to ask.
  uint32_t b = 0, t = 0;
  uint16_t h = 9;
  EXPECT_EQ(MapBusTargetHandle(context(), &adapter_, &b, &t, &h), kLibBadParameter);
  b = t = 0xFFFFFFFF;
  h = 0xFFFF;
  EXPECT_EQ(MapBusTargetHandle(context(), &adapter_, &b, &t, &h), kLibBadParameter);
  EXPECT_EQ(card().CountCalls(kMapRequest), 2u);

  // Nothing mapped there: the driver's refusal, and both outputs unknown.
  devHandle = 0x0077;
  bus = target = 5;
  EXPECT_EQ(QmxDevHandleToBusTarget(&adapter_, &devHandle, &bus, &target), kLibIoctlFailed);
  EXPECT_EQ(bus, 0xFFFFFFFFu);
  EXPECT_EQ(target, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace ctltest
