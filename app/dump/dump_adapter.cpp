#include "app/dump/dump_adapter.h"

#include "app/card/device_protocol.h"
#include "app/dump/config_page_dump.h"
#include "app/dump/hex_block.h"
#include "app/dump/module_dump.h"
#include "app/images/flash_version.h"
#include "app/images/image_transfer.h"
#include "app/images/option_rom_layout.h"
#include "app/images/rom_image_version.h"
#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/memory_strings.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/frames/message_reply.h"

namespace {

// PORT FACTS is asked for the controller's first port: the card has one.
constexpr uint8_t kFirstPort = 0;

// The dump file, closed whatever way the dump ends.
class DumpFile {
 public:
  explicit DumpFile(const char* name) {
    uint32_t size = 0;
    handle_ = FileOpen(name, "w", &size);
  }
  ~DumpFile() { FileClose(handle_); }
  DumpFile(const DumpFile&) = delete;
  DumpFile& operator=(const DumpFile&) = delete;
  bool open() const { return handle_ != kInvalidFileHandle; }
  uint32_t handle() const { return handle_; }
  bool WrittenWhole() const { return FileWrittenWhole(handle_); }

 private:
  uint32_t handle_ = kInvalidFileHandle;
};

void Line(uint32_t file, const char* format, uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  char text[96] = {};
  FormatString(text, sizeof text, format, a, b, c, d);
  DumpText(file, text);
}

void DumpVersions(uint32_t file, uint32_t vx, const CardInfo& info) {
  // The firmware version word, written most significant byte first.
  const uint8_t* firmware = info.iocFacts + ioc_facts_reply::kFirmwareVersion;
  Line(file, "\nFirmware Version : %02d.%02d.%02d.%02d\n", firmware[3], firmware[2], firmware[1], firmware[0]);
  uint32_t version = 0;
  if (GetFlashBiosVersion(vx, &version, kImageTypeBiosRegion, option_rom::kCodeTypeLegacy) == 1 && version != kNoRomVersion) {
    Line(file, "Legacy BIOS Version : %02d.%02d.%02d.%02d\n", version >> 24, (version >> 16) & 0xFF,
         (version >> 8) & 0xFF, version & 0xFF);
  } else {
    DumpText(file, "Legacy BIOS Version : N/A\n");
  }
  version = 0;
  if (GetFlashBiosVersion(vx, &version, kImageTypeBiosRegion, option_rom::kCodeTypeUefi) == 1 && version != kNoRomVersion) {
    Line(file, "UEFI BSD Version : %02d.%02d.%02d.%02d\n", (version >> 13) & 0x7, (version >> 8) & 0x1F,
         (version >> 4) & 0xF, version & 0xF);
  } else {
    DumpText(file, "UEFI BSD Version : N/A\n");
  }
}

void DumpFacts(uint32_t file, uint32_t vx, const CardInfo& info) {
  uint32_t factsLength = 4u * info.iocFacts[ioc_facts_reply::kMessageLength];
  DumpHexBlock(file, info.iocFacts, ClampHexLength(factsLength, sizeof info.iocFacts),
               "IOCFactsReply");
  LibHandle adapter = vx;
  uint8_t reply[port_facts_reply::kSize] = {};
  uint32_t size = sizeof reply;
  IocStatusInfo status{};
  // A controller that does not answer PORT FACTS still has its pages dumped.
  if (QmxGetPortFacts(&adapter, kFirstPort, reply, &size, &status) == kLibOk) {
    uint32_t got = size < sizeof reply ? size : static_cast<uint32_t>(sizeof reply);
    DumpHexBlock(file, reply, ClampHexLength(4u * reply[message_reply::kMessageLength], got), "PortFactsReply");
  }
  uint16_t iocStatus = 0;
  uint32_t iocLogInfo = 0;
  PageDumpTarget target{file, vx, &iocStatus, &iocLogInfo, IocFactsMaxDevHandle(info.iocFacts, sizeof info.iocFacts)};
  uint32_t capabilities = GetLe32(info.iocFacts, ioc_facts_reply::kIocCapabilities);
  DumpAllConfigPages(target, (capabilities & ioc_facts_reply::kCapabilityIntegratedRaid) != 0);
}

}  // namespace

uint32_t DumpAdapter(uint32_t adapterIndex, const char* fileName) {
  DumpFile file(fileName);
  if (!file.open()) {
    ConsolePrint("\n%s: Error opening a file. Name: %s.\n", kUtilityTitle, fileName);
    return 1;
  }
  CardInfo info{};
  bool cardRead = GetCardInfo(adapterIndex, &info) == 0;
  uint32_t vx = 0;
  if (cardRead) {
    vx = info.adapterInfo.adapterHandle;
  } else {
    LibZKGetVXHandle(adapterIndex, &vx);
  }

  uint32_t handles[kCardModuleSlots];
  uint32_t protocols[kCardModuleSlots] = {};
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    handles[slot] = kNoModuleHandle;
    LibZKGetSSDHandle(vx, slot, &handles[slot]);
    if (handles[slot] != kNoModuleHandle && GetDeviceProtocol(slot, &protocols[slot]) != 0) return 1;
  }

  DumpVersions(file.handle(), vx, info);
  if (cardRead) DumpFacts(file.handle(), vx, info);

  uint32_t count = 0;
  uint32_t status = LibZKCountSSDs(vx, &count);
  if (status != 0) return status;
  for (uint32_t slot = 0; slot < kCardModuleSlots; ++slot) {
    uint32_t ssd = handles[slot];
    if (ssd == kNoModuleHandle) continue;
    if (protocols[slot] == kProtocolSata) {
      DumpAtaIdentify(vx, ssd, file.handle());
      DumpSataSmart(vx, ssd, file.handle());
    } else if (protocols[slot] == kProtocolSas) {
      DumpSasModule(ssd, file.handle());
    } else {
      ConsolePrint("Unknown Drive found: Protocol Type %d\n", protocols[slot]);
    }
  }
  // The sections above go on past a failed write, as they do past a failed
  // read; a dump that is not all in the file still fails.
  if (!file.WrittenWhole()) {
    ConsolePrint("\n%s: Error writing a file. Name: %s.\n", kUtilityTitle, fileName);
    return 1;
  }
  return 0;
}
