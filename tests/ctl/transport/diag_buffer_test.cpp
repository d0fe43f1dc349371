// Diagnostic buffers: the driver ioctls and how their errors read.
#include <cerrno>

#include "tests/ctl/ctl_test_support.h"

namespace ctltest {
namespace {

constexpr uint32_t kRegister = 0xC0784C1A;
constexpr uint32_t kRelease = 0xC0104C1B;
constexpr uint32_t kUnregister = 0xC0104C1C;
constexpr uint32_t kQuery = 0xC07C4C1D;
constexpr uint32_t kRead = 0xC0204C1E;

class DiagBuffers : public CardTest {
 protected:
  void SetUp() override {
    CardTest::SetUp();
    adapter_ = StartDefaultCard();
  }
  LibHandle adapter_ = 0;
};

TEST_F(DiagBuffers, RegisterChecksTheSizeBeforeAnyIoctl) {
  for (uint32_t size : {0u, 4096u, 16384u, 16386u, 16387u}) {
    EXPECT_EQ(QmxDiagBufferRegister(&adapter_, 2, 0, size, 0, nullptr), kLibDiagNoMemory) << size;
  }
  EXPECT_EQ(card().CountCalls(kRegister), 0u);
}

TEST_F(DiagBuffers, RegisterQueryReadReleaseUnregister) {
  std::vector<uint8_t> product(92);
  for (size_t i = 0; i < product.size(); ++i) product[i] = static_cast<uint8_t>(i);
  ASSERT_EQ(QmxDiagBufferRegister(&adapter_, 0, 1, 16388, 0x5A, product.data()), kLibOk);
  const emu::LoggedCall& reg = card().log().back();
  ASSERT_EQ(reg.request, kRegister);
  EXPECT_EQ(Le32(reg.block, 8), 108u + 15u);  // maximum data size: the body's length + 15
  EXPECT_EQ(reg.block[12], 1);                // second type
  EXPECT_EQ(reg.block[13], 0);                // buffer type
  EXPECT_EQ(Le32(reg.block, 16), 0x5Au);
  EXPECT_EQ(std::vector<uint8_t>(reg.block.begin() + 20, reg.block.begin() + 112), product);
  EXPECT_EQ(Le32(reg.block, 112), 16388u);
  EXPECT_EQ(Le32(reg.block, 116), 0xABCDEF00u);

  uint16_t appFlags = 0xFFFF;
  uint32_t total = 0;
  ASSERT_EQ(QmxDiagBufferQuery(&adapter_, 0, &appFlags, &total), kLibOk);
  EXPECT_EQ(total, 16388u);
  EXPECT_EQ(Le32(card().log().back().block, 120), 0xABCDEF00u);

  std::vector<uint8_t> content(16388);
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<uint8_t>(i * 7);
  card().model().FirstAdapter()->diagnosticData[0] = content;
  std::vector<uint8_t> read(16388);
  uint32_t length = static_cast<uint32_t>(read.size());
  ASSERT_EQ(QmxDiagBufferRead(&adapter_, 0, &length, read.data()), kLibOk);
  EXPECT_EQ(read, content);

  EXPECT_EQ(QmxDiagBufferRelease(&adapter_, 0), kLibOk);
  EXPECT_EQ(Le32(card().log().back().block, 12), 0xABCDEF00u);
  EXPECT_EQ(QmxDiagBufferUnregister(&adapter_, 0), kLibOk);
  EXPECT_EQ(card().log().back().request, kUnregister);
}

TEST_F(DiagBuffers, ReadGoesInPiecesOf64KiB) {
  ASSERT_EQ(QmxDiagBufferRegister(&adapter_, 1, 0, 70000, 0, nullptr), kLibOk);
  std::vector<uint8_t> content(70000);
  for (size_t i = 0; i < content.size(); ++i) content[i] = static_cast<uint8_t>(i ^ (i >> 8));
  card().model().FirstAdapter()->diagnosticData[1] = content;
  card().ClearLog();
  std::vector<uint8_t> read(70000);
  uint32_t length = 70000;
  ASSERT_EQ(QmxDiagBufferRead(&adapter_, 1, &length, read.data()), kLibOk);
  EXPECT_EQ(read, content);
  ASSERT_EQ(card().CountCalls(kRead), 2u);
  const std::vector<uint8_t>& first = card().log()[0].block;
  const std::vector<uint8_t>& second = card().log()[1].block;
  EXPECT_EQ(Le32(first, 16), 0u);
  EXPECT_EQ(Le32(first, 20), 65536u);
  EXPECT_EQ(Le32(first, 24), 0xABCDEF01u);
  EXPECT_EQ(Le32(second, 16), 65536u);
  EXPECT_EQ(Le32(second, 20), 70000u - 65536u);
}

TEST_F(DiagBuffers, ReadWithoutABufferOrLength) {
  uint8_t buffer[4];
  uint32_t zero = 0;
  uint32_t four = 4;
  EXPECT_EQ(QmxDiagBufferRead(&adapter_, 1, &zero, buffer), kLibDiagNoMemory);
  EXPECT_EQ(QmxDiagBufferRead(&adapter_, 1, &four, nullptr), kLibDiagNoMemory);
  EXPECT_EQ(card().CountCalls(kRead), 0u);
}

TEST_F(DiagBuffers, DriverErrorsMapByOperation) {
  struct Case {
    uint32_t request;
    int error;
    LibStatus status;
  } cases[] = {
      {kRegister, EFAULT, kLibDiagBadAddress}, {kRelease, EFAULT, kLibDiagRefused},
      {kQuery, EFAULT, kLibIoctlFailed},       {kUnregister, EFAULT, kLibIoctlFailed},
      {kRead, EFAULT, kLibIoctlFailed},        {kRegister, EPERM, kLibDiagRefused},
      {kQuery, EPERM, kLibDiagRefused},        {kRegister, ENOMEM, kLibDiagNoMemory},
      {kRelease, EINVAL, kLibDiagNoMemory},    {kRegister, EIO, kLibIoctlFailed},
      {kUnregister, ENODEV, kLibIoctlFailed},
  };
  for (const Case& c : cases) {
    card().FailIoctl(c.request, c.error, 1);
    LibStatus status = kLibOk;
    uint8_t buffer[16];
    uint32_t length = sizeof(buffer);
    switch (c.request) {
      case kRegister: status = QmxDiagBufferRegister(&adapter_, 3, 0, 16388, 0, nullptr); break;
      case kRelease: status = QmxDiagBufferRelease(&adapter_, 3); break;
      case kQuery: status = QmxDiagBufferQuery(&adapter_, 3, nullptr, nullptr); break;
      case kUnregister: status = QmxDiagBufferUnregister(&adapter_, 3); break;
      case kRead: status = QmxDiagBufferRead(&adapter_, 3, &length, buffer); break;
    }
    EXPECT_EQ(status, c.status) << std::hex << c.request << " errno " << std::dec << c.error;
    card().ClearFaults();
  }
}

TEST_F(DiagBuffers, NodeThatCannotBeOpened) {
  card().model().nodes.clear();
  EXPECT_EQ(QmxDiagBufferRelease(&adapter_, 2), kLibNodeOpenFailed);
  LibHandle missing = 0x01000077;
  EXPECT_EQ(QmxDiagBufferRelease(&missing, 2), kLibAdapterNotFound);
}

}  // namespace
}  // namespace ctltest
