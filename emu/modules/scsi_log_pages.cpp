// Log pages of a SAS module (big-endian, as SCSI data is): the supported
// pages (0x00), the write error counters (0x02: three 8-byte parameters,
// code 6 the uncorrected errors), the start-stop cycle counter (0x0E:
// accumulated cycles at byte 36), the statistics and performance page
// (0x19: blocks received as a u64 at 24, transmitted at 32), the vendor
// informational exceptions page (0x2F: the most recent temperature at byte
// 10, the lifetime maximum at 12, then 17 parameters of 24 bytes from 16,
// code at +0 and value at +8) and the error statistics (0x36: 27
// parameters of 8 bytes from 4, code 6 the error primitives).
#include "emu/modules/scsi_log_pages.h"

#include "emu/modules/scsi_layouts.h"
#include "emu/modules/smart_attributes.h"

namespace emu {
namespace {

using Bytes = std::vector<uint8_t>;

void PutBe(Bytes* v, size_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) (*v)[at + i] = static_cast<uint8_t>(value >> (8 * (width - 1 - i)));
}

Bytes NewLogPage(uint8_t code, size_t bytes) {
  Bytes page(bytes, 0);
  page[0] = code;
  PutBe(&page, scsi::log_sense::kPageLength, bytes - scsi::log_sense::kHeaderBytes, 2);
  return page;
}

// A parameter header: code, control byte (binary list, disable update off), length.
void Parameter(Bytes* page, size_t at, uint16_t code, uint8_t length) {
  PutBe(page, at, code, 2);
  (*page)[at + 2] = 0x03;
  (*page)[at + 3] = length;
}

struct Counters {
  uint32_t lifeLeft, temperature, maxTemperature, hours, retired, reserved, eraseFails, uncorrectable,
      writeErrors, primitives, cycles, gigabytesErased, amplification;
  uint64_t written, read;
};

Counters Read(const ModuleModel& m) {
  auto raw = [&](uint8_t id) -> uint64_t {
    const SmartAttribute* a = FindSmartAttribute(m, id);
    return a == nullptr ? 0 : a->raw;
  };
  auto normalized = [&](uint8_t id) -> uint32_t {
    const SmartAttribute* a = FindSmartAttribute(m, id);
    return a == nullptr ? 0 : a->normalized;
  };
  Counters c{};
  c.lifeLeft = normalized(kSmartLifeLeft);
  c.temperature = normalized(kSmartTemperature);
  c.maxTemperature = static_cast<uint8_t>(raw(kSmartTemperature) >> 16);
  c.hours = static_cast<uint32_t>(raw(kSmartPowerOnHours));
  c.retired = static_cast<uint32_t>(raw(kSmartRetiredBlocks));
  c.reserved = static_cast<uint32_t>(raw(kSmartReservedBlocks));
  c.eraseFails = static_cast<uint32_t>(raw(182));
  c.uncorrectable = static_cast<uint32_t>(raw(kSmartUncorrectableEcc) >> 32);
  c.writeErrors = static_cast<uint32_t>(raw(kSmartUncorrectable));
  c.primitives = static_cast<uint32_t>(raw(kSmartCrcErrors));
  c.cycles = static_cast<uint32_t>(raw(kSmartPowerCycles));
  c.gigabytesErased = static_cast<uint32_t>(raw(kSmartGigabytesErased));
  uint64_t host = raw(kSmartHostWrites) & 0xFFFFFFFF;
  c.amplification = host == 0 ? 100 : static_cast<uint32_t>((raw(kSmartNandWrites) & 0xFFFFFFFF) * 100 / host);
  c.written = (raw(kSmartTotalHostWrites) & 0xFFFFFFFF) * 2097152;  // GiB in 512-byte blocks
  c.read = (raw(kSmartTotalHostReads) & 0xFFFFFFFF) * 2097152;
  return c;
}

Bytes InformationalExceptions(const Counters& c) {
  constexpr size_t kFirst = 16, kBytes = 24, kCount = 17;
  Bytes page = NewLogPage(0x2F, kFirst + kCount * kBytes);
  Parameter(&page, 4, 0x0000, 8);
  page[10] = static_cast<uint8_t>(c.temperature);
  page[11] = 70;                                      // trip point
  page[12] = static_cast<uint8_t>(c.maxTemperature);  // the lifetime maximum, one byte
  const struct {
    uint16_t code;
    uint32_t value;
  } params[kCount] = {
      {1, 0},                    {5, c.retired},     {9, c.hours},       {13, 0},
      {32, c.amplification},     {177, c.lifeLeft},  {180, c.reserved},  {182, c.eraseFails},
      {194, c.temperature},      {195, c.uncorrectable}, {233, c.gigabytesErased},
      {2, 0},                    {170, 0},           {171, 0},           {200, 0},
      {240, 0},                  {250, 0},
  };
  for (size_t i = 0; i < kCount; ++i) {
    size_t at = kFirst + i * kBytes;
    Parameter(&page, at, params[i].code, kBytes - 4);
    PutBe(&page, at + 8, params[i].value, 4);
  }
  return page;
}

Bytes StartStopCycles(const Counters& c) {
  Bytes page = NewLogPage(0x0E, 40);
  Parameter(&page, 4, 0x0001, 6);   // date of manufacture: year and week
  for (int i = 0; i < 6; ++i) page[8 + i] = static_cast<uint8_t>("202414"[i]);
  Parameter(&page, 14, 0x0002, 6);  // accounting date
  for (int i = 0; i < 6; ++i) page[18 + i] = ' ';
  Parameter(&page, 24, 0x0003, 4);  // cycles over the lifetime
  PutBe(&page, 28, 50000, 4);
  Parameter(&page, 32, 0x0004, 4);  // accumulated start-stop cycles
  PutBe(&page, 36, c.cycles, 4);
  return page;
}

Bytes Statistics(const Counters& c) {
  Bytes page = NewLogPage(0x19, 164);
  Parameter(&page, 4, 0x0001, 64);
  PutBe(&page, 8, c.read / 64, 8);      // read commands
  PutBe(&page, 16, c.written / 64, 8);  // write commands
  PutBe(&page, 24, c.written, 8);       // blocks received
  PutBe(&page, 32, c.read, 8);          // blocks transmitted
  Parameter(&page, 72, 0x0002, 8);      // idle time
  Parameter(&page, 84, 0x0003, 8);      // time interval
  PutBe(&page, 88, 1, 4);
  PutBe(&page, 92, 1000, 4);
  return page;
}

Bytes ParameterList(uint8_t code, size_t count, uint32_t codeSixValue) {
  Bytes page = NewLogPage(code, 4 + 8 * count);
  for (size_t i = 0; i < count; ++i) {
    size_t at = 4 + 8 * i;
    uint16_t parameter = static_cast<uint16_t>(i < 3 && code == 0x02 ? (i == 0 ? 0 : i == 1 ? 3 : 6) : i);
    Parameter(&page, at, parameter, 4);
    PutBe(&page, at + 4, parameter == 6 ? codeSixValue : 0, 4);
  }
  return page;
}

}  // namespace

bool SasLogPage(const ModuleModel& m, uint8_t code, Bytes* page) {
  Counters c = Read(m);
  switch (code) {
    case 0x00: {
      const uint8_t pages[] = {0x00, 0x02, 0x0E, 0x19, 0x2F, 0x36};
      *page = NewLogPage(0x00, 4 + sizeof pages);
      for (size_t i = 0; i < sizeof pages; ++i) (*page)[4 + i] = pages[i];
      return true;
    }
    case 0x02: *page = ParameterList(0x02, 3, c.writeErrors); return true;
    case 0x0E: *page = StartStopCycles(c); return true;
    case 0x19: *page = Statistics(c); return true;
    case 0x2F: *page = InformationalExceptions(c); return true;
    case 0x36: *page = ParameterList(0x36, 27, c.primitives); return true;
    default: return false;
  }
}

}  // namespace emu
