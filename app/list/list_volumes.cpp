// The volume section of -list: each RAID volume of the card, its state,
// size and members.
#include <cstdint>

#include "app/card/config_page_layouts.h"
#include "app/card/whole_page.h"
#include "app/shell/console.h"
#include "app/shell/json_writer.h"
#include "app/list/list_layouts.h"
#include "app/list/list_sections.h"
#include "app/list/list_texts.h"
#include "app/shell/memory_strings.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "cardlib/libzk.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/pages/manufacturing_pages.h"
#include "ctl/base/byte_order.h"
#include "ctl/facade/qmx.h"

namespace {

constexpr uint32_t kRaidTypeRaid0 = 0;
// Blocks of 512 bytes in a MiB.
constexpr uint32_t kBlocksPerMbShift = 11;

struct VolumeSummary {
  uint16_t devHandle = 0;
  bool inactive = false;
  const char* state = "";
  const char* level = "";
  int64_t sizeMb = 0;
  bool page0Read = false;
  uint16_t blockSize = 0;
  int64_t blocks = 0;
  int64_t capacity = 0;
  uint32_t memberCount = 0;
  const uint32_t* memberSlots = nullptr;
};

// The block size from the volume's RAID volume page 0; false when the page
// cannot be read or is too short for it.
bool ReadVolumeBlockSize(uint32_t vx, uint16_t devHandle, uint16_t* blockSize) {
  PageCopy page;
  PageId id{kPageTypeRaidVolume, 0, 0, kPageAddressForm1 | devHandle};
  if (!ReadWholePage(vx, id, kReadCurrent, &page).ok() || !page.Holds(raid_volume_page0::kBlockSize, 2)) {
    return false;
  }
  *blockSize = GetLe16(page.data(), raid_volume_page0::kBlockSize);
  return true;
}

VolumeSummary Summarize(uint32_t vx, const VolumeMemberTable& table) {
  const uint8_t* v = table.volume.bytes;
  VolumeSummary s;
  s.devHandle = GetLe16(v, volume_info::kDevHandle);
  s.inactive = GetLe32(v, volume_info::kVolumeInactive) != 0;
  s.state = VolumeStateText(GetLe32(v, volume_info::kVolumeState));
  s.level = GetLe32(v, volume_info::kRaidType) == kRaidTypeRaid0 ? "RAID0" : "Unknown";
  uint64_t blocks = GetLe64(v, volume_info::kMaxLba) + 1;
  s.sizeMb = static_cast<int64_t>(blocks >> kBlocksPerMbShift);
  s.page0Read = ReadVolumeBlockSize(vx, s.devHandle, &s.blockSize);
  if (s.page0Read) {
    s.blocks = static_cast<int64_t>(blocks);
    s.capacity = static_cast<int64_t>(blocks * s.blockSize);
  }
  // The table holds one slot per module slot of the card at most.
  uint32_t members = Get8(v, volume_info::kMemberCount);
  s.memberCount = members < kCardModuleSlots ? members : kCardModuleSlots;
  s.memberSlots = table.memberSlot;
  return s;
}

void PrintVolumeText(const VolumeSummary& s) {
  ConsolePrint("  Volume ID                               : %d\n", s.devHandle);
  ConsolePrint("  Status of Volume                        : %s%s\n", s.inactive ? "Inactive, " : "", s.state);
  ConsolePrint("  RAID level                              : %s\n", s.level);
  ConsolePrint("  Size (in MB)                            : %lld\n", static_cast<long long>(s.sizeMb));
  if (s.page0Read) {
    ConsolePrint("  Block Size                              : %d\n", s.blockSize);
    ConsolePrint("  Number of Blocks                        : %lld\n", static_cast<long long>(s.blocks));
    ConsolePrint("  Capacity (in bytes)                     : %lld\n", static_cast<long long>(s.capacity));
  }
  ConsolePrint("  Physical SSDs                     ");
  for (uint32_t i = 0; i < s.memberCount; ++i) {
    ConsolePrint("\n  Physical SSD [%d] SSD Slot#              : %d", static_cast<int>(i),
                 static_cast<int>(s.memberSlots[i]));
  }
  ConsolePrint("\n\n");
}

void WriteVolumeJson(JsonWriter* json, const VolumeSummary& s) {
  char status[48];
  FormatString(status, sizeof status, "%s%s", s.inactive ? "Inactive," : "", s.state);
  json->BeginObject("volume");
  json->QuotedUnsigned("volumeID", s.devHandle);
  json->String("status", status);
  json->String("level", s.level);
  json->Signed("sizeMB", s.sizeMb);
  json->QuotedUnsigned("blkSize", s.blockSize);
  json->QuotedUnsigned("numBlocks", static_cast<uint64_t>(s.blocks));
  json->QuotedUnsigned("capacity", static_cast<uint64_t>(s.capacity));
  json->BeginArray("diskSlot");
  for (uint32_t i = 0; i < s.memberCount; ++i) json->Unsigned(nullptr, s.memberSlots[i]);
  json->EndArray();
  json->EndObject();
}

}  // namespace

int PrintVolumeInfo(JsonWriter* json) {
  bool text = json == nullptr;
  if (text) ConsolePrint("%sVolume Information\n%s", kListRule, kListRule);
  uint32_t vx = 0;
  if (LibZKGetVXHandle(SelectedController - 1, &vx) != 0) {
    ConsoleDiagnostic("\n%s: Failed getting controller information.\n", kUtilityTitle);
    return text ? 1 : kListJsonCardFailed;
  }
  LibHandle adapter = vx;
  uint32_t count = 0;
  if (QmxCountVolumes(&adapter, &count) != kLibOk) {
    ConsoleDiagnostic("%s: Corvexium is not in a proper state.\n", kUtilityTitle);
    return text ? 1 : kListJsonVolumeCountFailed;
  }
  int result = 0;
  int code = 0;
  VolumeMemberTable table;
  for (uint32_t index = 0; index < count; ++index) {
    MemSet(&table, 0, sizeof table);
    uint32_t read = GetVolumeMemberTable(vx, index, &table);
    result = static_cast<int>(read);
    if (read != 0) {
      // An unreadable volume is left out; the listing goes on.
      code = kListJsonVolumeUnreadable;
      continue;
    }
    VolumeSummary s = Summarize(vx, table);
    if (text) {
      PrintVolumeText(s);
    } else {
      WriteVolumeJson(json, s);
    }
  }
  return text ? result : code;
}
