// Hand-built driver blocks and QMX frames for the emulator's tests. The
// offsets here are written out from the interface, independent of the
// emulator's own constants, so that a wrong constant on either side fails.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "os/port.h"

namespace rawtest {

inline void Put16(std::vector<uint8_t>& v, size_t at, uint16_t x) {
  v[at] = static_cast<uint8_t>(x);
  v[at + 1] = static_cast<uint8_t>(x >> 8);
}
inline void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
inline void Put64(std::vector<uint8_t>& v, size_t at, uint64_t x) {
  for (int i = 0; i < 8; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}
inline uint16_t Get16(const std::vector<uint8_t>& v, size_t at) {
  return static_cast<uint16_t>(v.at(at) | (v.at(at + 1) << 8));
}
inline uint32_t Get32(const std::vector<uint8_t>& v, size_t at) {
  return static_cast<uint32_t>(Get16(v, at)) | (static_cast<uint32_t>(Get16(v, at + 2)) << 16);
}
inline uint64_t Get64(const std::vector<uint8_t>& v, size_t at) {
  return static_cast<uint64_t>(Get32(v, at)) | (static_cast<uint64_t>(Get32(v, at + 4)) << 32);
}
inline uint64_t Address(const void* p) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(p)); }

constexpr uint32_t kIocInfo = 0xC05C4C11;
constexpr uint32_t kCommand = 0xC0484C14;
constexpr uint32_t kHardReset = 0xC00C4C18;
constexpr uint32_t kDiagRegister = 0xC0784C1A;
constexpr uint32_t kDiagRelease = 0xC0104C1B;
constexpr uint32_t kDiagUnregister = 0xC0104C1C;
constexpr uint32_t kDiagQuery = 0xC07C4C1D;
constexpr uint32_t kDiagRead = 0xC0204C1E;
constexpr uint32_t kBusTargetMap = 0xC0184C1F;
constexpr size_t kGuard = 16;
constexpr uint8_t kGuardByte = 0xEE;

// One COMMAND as the library would describe it.
struct Message {
  uint32_t ioc = 0;
  std::vector<uint8_t> frame;
  std::vector<uint8_t> dataOut;
  uint32_t replyRoom = 64;
  uint32_t dataInRoom = 0;
  uint32_t senseRoom = 0;
  uint32_t timeout = 10;
};

struct Sent {
  int rc = 0;
  int error = 0;
  std::vector<uint8_t> reply;   // the reply room as the call left it (unwritten bytes are 0xEE)
  std::vector<uint8_t> dataIn;
  std::vector<uint8_t> sense;
  bool guardsIntact = true;     // nothing was written past any room
  uint16_t status() const { return reply.size() >= 16 ? Get16(reply, 14) : 0xFFFF; }
  uint32_t logInfo() const { return reply.size() >= 20 ? Get32(reply, 16) : 0; }
};

inline Sent SendCommand(os::Port& port, int fd, const Message& m) {
  std::vector<uint8_t> block(72 + m.frame.size(), 0);
  std::vector<uint8_t> reply(m.replyRoom + kGuard, kGuardByte);
  std::vector<uint8_t> dataIn(m.dataInRoom + kGuard, kGuardByte);
  std::vector<uint8_t> sense(m.senseRoom + kGuard, kGuardByte);
  std::vector<uint8_t> dataOut = m.dataOut;
  Put32(block, 0, m.ioc);
  Put32(block, 8, 72);
  Put32(block, 12, m.timeout);
  Put64(block, 16, Address(reply.data()));
  if (m.dataInRoom != 0) Put64(block, 24, Address(dataIn.data()));
  if (!dataOut.empty()) Put64(block, 32, Address(dataOut.data()));
  if (m.senseRoom != 0) Put64(block, 40, Address(sense.data()));
  Put32(block, 48, m.replyRoom);
  Put32(block, 52, m.dataInRoom);
  Put32(block, 56, static_cast<uint32_t>(dataOut.size()));
  Put32(block, 60, m.senseRoom);
  Put32(block, 64, static_cast<uint32_t>(m.frame.size() / 4));
  if (!m.frame.empty()) std::memcpy(block.data() + 68, m.frame.data(), m.frame.size());
  Sent sent;
  sent.rc = port.Ioctl(fd, kCommand, block.data());
  sent.error = sent.rc == 0 ? 0 : port.LastErrorNumber();
  auto split = [&](std::vector<uint8_t>& buffer, uint32_t room, std::vector<uint8_t>* out) {
    for (size_t i = room; i < buffer.size(); ++i) sent.guardsIntact &= buffer[i] == kGuardByte;
    out->assign(buffer.begin(), buffer.begin() + room);
  };
  split(reply, m.replyRoom, &sent.reply);
  split(dataIn, m.dataInRoom, &sent.dataIn);
  split(sense, m.senseRoom, &sent.sense);
  return sent;
}

inline std::vector<uint8_t> Frame(size_t bytes, uint8_t function) {
  std::vector<uint8_t> frame(bytes, 0);
  frame[3] = function;
  return frame;
}

// A CONFIG frame: 28 bytes, header at 20 (version, length, number, type), address at 24.
inline std::vector<uint8_t> ConfigFrame(uint8_t action, uint8_t type, uint8_t number,
                                        uint8_t extType = 0, uint16_t extLength = 0,
                                        uint8_t length = 0, uint32_t address = 0) {
  std::vector<uint8_t> frame = Frame(28, 0x04);
  frame[0] = action;
  Put16(frame, 4, extLength);
  frame[6] = extType;
  frame[21] = length;
  frame[22] = number;
  frame[23] = type;
  Put32(frame, 24, address);
  return frame;
}

// The two-step read a library does: header, then the page at the announced size.
struct PageRead {
  uint16_t headerStatus = 0xFFFF;
  uint16_t readStatus = 0xFFFF;
  uint32_t announcedBytes = 0;
  std::vector<uint8_t> headerReply;
  std::vector<uint8_t> bytes;
};

inline PageRead ReadPage(os::Port& port, int fd, uint8_t type, uint8_t number, uint8_t extType = 0,
                         uint32_t address = 0, uint8_t action = 1) {
  PageRead r;
  Message header;
  header.frame = ConfigFrame(0, type, number, extType, 0, 0, address);
  header.replyRoom = 24;
  Sent h = SendCommand(port, fd, header);
  r.headerReply = h.reply;
  r.headerStatus = h.status();
  if (h.rc != 0 || r.headerStatus != 0) return r;
  uint8_t length = h.reply[21];
  uint16_t extLength = Get16(h.reply, 4);
  r.announcedBytes = 4u * (type == 15 ? extLength : length);
  Message read;
  read.frame = ConfigFrame(action, type, number, extType, extLength, length, address);
  read.replyRoom = 24;
  read.dataInRoom = r.announcedBytes;
  Sent d = SendCommand(port, fd, read);
  r.readStatus = d.status();
  r.bytes = d.dataIn;
  return r;
}

// Header step, then a write of `bytes` with the given action (2 current, 3 default, 4 NVRAM).
inline uint16_t WritePage(os::Port& port, int fd, uint8_t type, uint8_t number,
                          const std::vector<uint8_t>& bytes, uint8_t action, uint8_t extType = 0) {
  Message header;
  header.frame = ConfigFrame(0, type, number, extType);
  header.replyRoom = 24;
  Sent h = SendCommand(port, fd, header);
  if (h.status() != 0) return h.status();
  Message write;
  write.frame = ConfigFrame(action, type, number, extType, Get16(h.reply, 4), h.reply[21]);
  write.replyRoom = 24;
  write.dataOut = bytes;
  return SendCommand(port, fd, write).status();
}

}  // namespace rawtest
