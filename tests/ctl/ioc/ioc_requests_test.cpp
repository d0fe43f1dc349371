// IOC FACTS, PORT FACTS, the toolbox tools and the message-version gate.
#include <cerrno>
#include <cstring>

#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

class IocRequests : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
  }
  LibHandle adapter_ = 0;
};

TEST_F(IocRequests, IocFactsCopiesAtMostTheReply) {
  emu::AdapterModel* model = card().model().FirstAdapter();
  struct Case {
    uint32_t size;
    uint32_t copied;
  } cases[] = {{32, 32}, {64, 64}, {100, 64}, {0, 0}};
  for (const Case& c : cases) {
    uint8_t reply[100];
    std::memset(reply, 0xEE, sizeof(reply));
    uint32_t size = c.size;
    IocStatusInfo status{1, 1, 1, 1};
    EXPECT_EQ(QmxGetIocFacts(&adapter_, reply, &size, &status), kLibOk);
    EXPECT_EQ(size, c.copied);
    if (c.copied >= 2) {
      EXPECT_EQ(reply[0] | (reply[1] << 8), model->messageVersion);
    }
    if (c.copied < sizeof(reply)) {
      EXPECT_EQ(reply[c.copied], 0xEE) << c.size;
    }
    EXPECT_EQ(status.size, 16u);
    EXPECT_EQ(status.validBits, 0u);
  }
  const emu::LoggedCall& call = card().log().back();
  EXPECT_EQ(call.frame.size(), 12u);
  EXPECT_EQ(call.frame[3], 0x03);
  EXPECT_EQ(call.maxReplyBytes, 64u);
}

TEST_F(IocRequests, IocFactsFailureSetsTheSizeToZero) {
  card().FailIoctl(kCommandRequest, EIO, 1);
  uint8_t reply[64];
  uint32_t size = 64;
  EXPECT_EQ(QmxGetIocFacts(&adapter_, reply, &size, nullptr), kLibIoctlFailed);
  EXPECT_EQ(size, 0u);
}

TEST_F(IocRequests, PortFacts) {
  uint8_t reply[40];
  std::memset(reply, 0xEE, sizeof(reply));
  uint32_t size = sizeof(reply);
  EXPECT_EQ(QmxGetPortFacts(&adapter_, 0, reply, &size, nullptr), kLibOk);
  EXPECT_EQ(size, 28u);
  EXPECT_EQ(reply[3], 0x05);  // the reply's function
  EXPECT_EQ(reply[28], 0xEE);
  const emu::LoggedCall& call = card().log().back();
  EXPECT_EQ(call.frame.size(), 12u);
  EXPECT_EQ(call.frame[3], 0x05);
  EXPECT_EQ(call.frame[6], 0);
  size = sizeof(reply);
  QmxGetPortFacts(&adapter_, 7, reply, &size, nullptr);
  EXPECT_EQ(card().log().back().frame[6], 7);
}

TEST_F(IocRequests, ToolboxCleanAcceptsOnlyTheOneFlagsWord) {
  for (uint32_t flags : {0u, 0x10000000u, 0x20000001u, 0xFFFFFFFFu}) {
    EXPECT_EQ(QmxToolboxClean(&adapter_, flags, nullptr, nullptr), kLibNotSupported) << std::hex << flags;
  }
  EXPECT_EQ(card().CountFunction(0x17), 0u);

  uint8_t reply[20];
  std::memset(reply, 0xEE, sizeof(reply));
  IocStatusInfo status{};
  EXPECT_EQ(QmxToolboxClean(&adapter_, 0x20000000, reply, &status), kLibOk);
  const emu::LoggedCall& call = card().log().back();
  ASSERT_EQ(call.frame.size(), 16u);
  EXPECT_EQ(call.frame[0], 0);
  EXPECT_EQ(call.frame[3], 0x17);
  EXPECT_EQ(Le32(call.frame, 12), 0x20000000u);
  EXPECT_EQ(call.timeoutSeconds, 512u);
  EXPECT_EQ(call.maxReplyBytes, 20u);
  EXPECT_EQ(reply[3], 0x17);
  EXPECT_EQ(status.size, 16u);
  EXPECT_EQ(card().runtime("/dev/qmx2ctl_cx", 0).toolboxCleans, 1u);
}

TEST_F(IocRequests, ToolboxCleanHandsBackReplyAndStatusOfAFailedClean) {
  card().AnswerFunction(0x17, 0x8004, 0x0BAD, 1);
  uint8_t reply[20] = {};
  IocStatusInfo status{};
  EXPECT_EQ(QmxToolboxClean(&adapter_, 0x20000000, reply, &status), kLibOk);
  EXPECT_EQ(reply[14] | (reply[15] << 8), 0x8004);
  EXPECT_EQ(status.validBits, 3u);
  EXPECT_EQ(status.iocStatus, 0x0004u);
  EXPECT_EQ(status.iocLogInfo, 0x0BADu);
}

TEST_F(IocRequests, IstwiTransmitsAndReceives) {
  card().model().FirstAdapter()->twoWire[2] = {0x11, 0x22, 0x33, 0x44, 0x55, 0x66};
  uint8_t transmit[2] = {0x00, 0x02};
  uint8_t receive[4] = {};
  IstwiRecord record{};
  record.deviceIndex = 2;
  record.action = 1;
  record.transmitLength = sizeof(transmit);
  record.receiveLength = sizeof(receive);
  record.transmitBuffer = AddressOf(transmit);
  record.receiveBuffer = AddressOf(receive);
  uint8_t reply[28];
  std::memset(reply, 0xEE, sizeof(reply));
  EXPECT_EQ(QmxToolboxIstwi(&adapter_, &record, reply), kLibOk);
  const emu::LoggedCall& call = card().log().back();
  EXPECT_EQ(call.frame[0], 3);
  EXPECT_EQ(call.frame[3], 0x17);
  EXPECT_EQ(call.frame[20], 2);
  EXPECT_EQ(call.frame[21], 1);
  EXPECT_EQ(Le16(call.frame, 24), 2);
  EXPECT_EQ(Le16(call.frame, 26), 4);
  EXPECT_EQ(call.dataOut, (std::vector<uint8_t>{0x00, 0x02}));
  EXPECT_EQ(call.dataInSize, 4u);
  EXPECT_EQ(call.timeoutSeconds, 512u);
  EXPECT_EQ(call.maxReplyBytes, 28u);
  EXPECT_EQ(reply[3], 0x17);
  EXPECT_NE(std::vector<uint8_t>(receive, receive + 4), std::vector<uint8_t>(4));

  IstwiRecord missing = record;
  missing.receiveBuffer = 0;
  EXPECT_EQ(QmxToolboxIstwi(&adapter_, &missing, nullptr), kLibBadParameter);
  EXPECT_EQ(QmxToolboxIstwi(&adapter_, nullptr, nullptr), kLibBadParameter);
}

TEST_F(IocRequests, OldMessageVersionRefusesFirmwareAndToolboxRequests) {
  Start(emu::DefaultHost());
  card().model().FirstAdapter()->messageVersion = 0x0105;
  ASSERT_EQ(Discover(), kLibOk);
  LibHandle adapter = FirstAdapterRecord()->header.handle;
  card().ClearLog();
  uint8_t piece[16] = {};
  uint8_t reply[24];
  uint32_t replySize = sizeof(reply);
  IstwiRecord record{};
  EXPECT_EQ(QmxFirmwareDownload(&adapter, piece, sizeof(piece), 0, 1, 1, reply, &replySize, nullptr),
            kLibMessageVersionTooLow);
  EXPECT_EQ(QmxFirmwareUpload(&adapter, piece, sizeof(piece), 0, 1, reply, &replySize, nullptr),
            kLibMessageVersionTooLow);
  EXPECT_EQ(QmxToolboxClean(&adapter, 0x20000000, reply, nullptr), kLibMessageVersionTooLow);
  EXPECT_EQ(QmxToolboxIstwi(&adapter, &record, reply), kLibMessageVersionTooLow);
  EXPECT_TRUE(card().log().empty());
}

}  // namespace
}  // namespace ctltest
