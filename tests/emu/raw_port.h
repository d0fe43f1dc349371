// Hand-built driver blocks and QMX frames for the emulator's tests. The
// offsets here are written out from the interface, independent of the
// emulator's own constants, so that a wrong constant on either side fails.
#pragma once

#include <algorithm>
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

// --- device functions, with the offsets written out from the interface ---

// SCSI IO (0x00) or RAID SCSI passthrough (0x16): 96 bytes; DevHandle at 0,
// sense buffer length at 18, data length at 28, IO flags (CDB length) at 36,
// LUN at 52, control at 60 (0x02000000 read), CDB at 64.
inline Message ScsiCommand(uint16_t devHandle, std::vector<uint8_t> cdb, uint32_t dataIn,
                           uint8_t function = 0x00, uint32_t senseRoom = 252) {
  Message m;
  m.frame = Frame(96, function);
  Put16(m.frame, 0, devHandle);
  m.frame[18] = static_cast<uint8_t>(senseRoom > 255 ? 255 : senseRoom);
  m.frame[20] = 24;
  Put32(m.frame, 28, dataIn);
  Put16(m.frame, 36, static_cast<uint16_t>(cdb.size()));
  Put32(m.frame, 60, dataIn != 0 || function == 0x16 ? 0x02000000 : 0);
  std::memcpy(m.frame.data() + 64, cdb.data(), cdb.size());
  m.replyRoom = 48;
  m.dataInRoom = dataIn;
  m.senseRoom = senseRoom;
  return m;
}
inline std::vector<uint8_t> Inquiry(uint8_t page = 0, bool evpd = false, uint16_t allocation = 255) {
  return {0x12, static_cast<uint8_t>(evpd ? 1 : 0), page, static_cast<uint8_t>(allocation >> 8),
          static_cast<uint8_t>(allocation), 0};
}
inline std::vector<uint8_t> ReadCapacity10() { return {0x25, 0, 0, 0, 0, 0, 0, 0, 0, 0}; }
inline std::vector<uint8_t> ReadCapacity16() {
  return {0x9E, 0x10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 32, 0, 0};
}
inline uint32_t Be32(const std::vector<uint8_t>& v, size_t at) {
  return (static_cast<uint32_t>(v.at(at)) << 24) | (static_cast<uint32_t>(v.at(at + 1)) << 16) |
         (static_cast<uint32_t>(v.at(at + 2)) << 8) | v.at(at + 3);
}
inline uint64_t Be64(const std::vector<uint8_t>& v, size_t at) {
  return (static_cast<uint64_t>(Be32(v, at)) << 32) | Be32(v, at + 4);
}

// RAID ACTION (0x15): 20 bytes; action at 0, volume DevHandle at 4, disk
// number at 6, the library word at 12, action data word at 16; reply 64.
inline Message RaidAction(uint8_t action, uint16_t volume = 0, uint8_t disk = 0,
                          uint32_t actionWord = 0, std::vector<uint8_t> data = {},
                          uint32_t libraryWord = 0) {
  Message m;
  m.frame = Frame(20, 0x15);
  m.frame[0] = action;
  Put16(m.frame, 4, volume);
  m.frame[6] = disk;
  Put32(m.frame, 12, libraryWord);
  Put32(m.frame, 16, actionWord);
  m.dataOut = std::move(data);
  m.replyRoom = 64;
  m.timeout = 60;
  return m;
}
// Creation data: count 0, type 1, flags u32 at 4, settings at 8, maximum LBA
// u64 at 16, stripe at 24, name 28..43, member i at 44 + 4i (RAID set, map,
// DevHandle).
inline std::vector<uint8_t> CreationData(uint8_t type, const std::vector<uint16_t>& members,
                                         uint64_t maxLba = 0, uint32_t flags = 0x80000002,
                                         uint32_t stripe = 0, const char* name = "") {
  std::vector<uint8_t> d(44 + 4 * members.size(), 0);
  d[0] = static_cast<uint8_t>(members.size());
  d[1] = type;
  Put32(d, 4, flags);
  Put64(d, 16, maxLba);
  Put32(d, 24, stripe);
  for (size_t i = 0; i < 16 && name[i] != '\0'; ++i) d[28 + i] = static_cast<uint8_t>(name[i]);
  for (size_t i = 0; i < members.size(); ++i) {
    d[44 + 4 * i + 1] = static_cast<uint8_t>(i);
    Put16(d, 44 + 4 * i + 2, members[i]);
  }
  return d;
}

// SEP (0x18): 32 bytes; action 4 (1 read, 0 write), flags 5, slot status u32
// at 12, slot u16 at 28, enclosure u16 at 30; reply 32, slot status at 20.
inline Message Sep(uint8_t action, uint16_t slot, uint16_t enclosure = 1, uint32_t status = 0,
                   uint8_t flags = 1, uint16_t devHandle = 0) {
  Message m;
  m.frame = Frame(32, 0x18);
  Put16(m.frame, 0, devHandle);
  m.frame[4] = action;
  m.frame[5] = flags;
  Put32(m.frame, 12, status);
  Put16(m.frame, 28, slot);
  Put16(m.frame, 30, enclosure);
  m.replyRoom = 32;
  return m;
}

// SMP passthrough (0x1A): 32 bytes, SAS address u64 at 16; reply 28 with the
// response length u16 at 4 and the SAS status at 13.
inline Message Smp(uint64_t address, std::vector<uint8_t> request, uint32_t responseRoom = 1032) {
  Message m;
  m.frame = Frame(32, 0x1A);
  m.frame[1] = 0xFF;
  Put64(m.frame, 16, address);
  m.dataOut = std::move(request);
  m.dataInRoom = responseRoom;
  m.replyRoom = 28;
  return m;
}

// SAS IO unit control (0x1B): 44 bytes; operation 0, DevHandle u16 at 4,
// phy at 14; reply 20 (a vendor operation's value u16 at 12).
inline Message IoUnitControl(uint8_t operation, uint16_t devHandle = 0, uint8_t phy = 0) {
  Message m;
  m.frame = Frame(44, 0x1B);
  m.frame[0] = operation;
  Put16(m.frame, 4, devHandle);
  m.frame[14] = phy;
  m.replyRoom = 20;
  return m;
}

// Task management (0x01): 52 bytes; DevHandle 0, task type 5, message flags
// 7, LUN 12..19; reply 28: response code 4, termination count u32 at 20.
inline Message TaskManagement(uint16_t devHandle, uint8_t type, uint8_t lun = 0) {
  Message m;
  m.frame = Frame(52, 0x01);
  Put16(m.frame, 0, devHandle);
  m.frame[5] = type;
  m.frame[13] = lun;
  m.replyRoom = 28;
  return m;
}

// SATA passthrough (0x1C): 48 bytes; DevHandle 0, flags u16 at 4, data
// length u32 at 24, register FIS at 28; reply 48: SAS status 13, status FIS
// at 20, status/control u32 at 40, transfer count u32 at 44.
inline Message SataCommand(uint16_t devHandle, uint8_t command, uint8_t features = 0,
                           uint32_t dataIn = 512) {
  Message m;
  m.frame = Frame(48, 0x1C);
  Put16(m.frame, 0, devHandle);
  Put16(m.frame, 4, 0x0011);  // PIO, read
  Put32(m.frame, 24, dataIn);
  m.frame[28] = 0x27;
  m.frame[29] = 0x80;
  m.frame[30] = command;
  m.frame[31] = features;
  m.replyRoom = 48;
  m.dataInRoom = dataIn;
  return m;
}

// A register FIS host to device: type 0x27 at 0, 0x80 (command) at 1,
// command 2, features 3 (bits 8-15 at 11), LBA bits 0-23 at 4-6 and 24-47
// at 8-10, device 7, count u16 at 12.
struct Fis {
  uint8_t command = 0;
  uint16_t features = 0;
  uint64_t lba = 0;
  uint8_t device = 0;
  uint16_t count = 0;
};

// The SATA passthrough of one FIS: flags 0x0010 (PIO) with 0x0001 for data
// in or 0x0002 for data out; the data length the larger of both.
inline Message Ata(uint16_t devHandle, const Fis& f, uint32_t dataIn = 0, std::vector<uint8_t> dataOut = {}) {
  Message m;
  m.frame = Frame(48, 0x1C);
  Put16(m.frame, 0, devHandle);
  uint16_t flags = 0x0010;
  if (dataIn != 0) flags |= 0x0001;
  if (!dataOut.empty()) flags |= 0x0002;
  Put16(m.frame, 4, flags);
  Put32(m.frame, 24, std::max<uint32_t>(dataIn, static_cast<uint32_t>(dataOut.size())));
  m.frame[28] = 0x27;
  m.frame[29] = 0x80;
  m.frame[30] = f.command;
  m.frame[31] = static_cast<uint8_t>(f.features);
  m.frame[39] = static_cast<uint8_t>(f.features >> 8);
  for (int i = 0; i < 3; ++i) {
    m.frame[32 + i] = static_cast<uint8_t>(f.lba >> (8 * i));
    m.frame[36 + i] = static_cast<uint8_t>(f.lba >> (8 * (i + 3)));
  }
  m.frame[35] = f.device;
  Put16(m.frame, 40, f.count);
  m.replyRoom = 48;
  m.dataInRoom = dataIn;
  m.dataOut = std::move(dataOut);
  return m;
}

// SMART (0xB0) with the signature 0x4F/0xC2 in LBA mid and high.
inline Fis SmartFis(uint8_t feature, uint8_t lbaLow = 0, uint16_t count = 0, uint8_t device = 0) {
  return Fis{0xB0, feature, static_cast<uint64_t>(lbaLow) | 0x4F00 | 0xC20000, device, count};
}

}  // namespace rawtest
