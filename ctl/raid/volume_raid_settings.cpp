// A volume's RAID settings: its state and status flags from RAID volume
// page 0, and its progress from the volume indicator action.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/config_pages/config_pages.h"
#include "ctl/frames/config_frame.h"
#include "ctl/frames/raid_action_frame.h"
#include "ctl/objects/object_tree.h"
#include "ctl/pages/raid_volume_pages.h"
#include "ctl/raid/raid_actions.h"
#include "ctl/raid/raid_scan.h"

namespace {

struct StatusBoolean {
  size_t infoOffset;
  uint32_t flag;
};

constexpr StatusBoolean kStatusBooleans[] = {
    {volume_info::kScrubInProgress, raid_volume_page0::kStatusScrubInProgress},
    {volume_info::kConsistencyCheckInProgress, raid_volume_page0::kStatusConsistencyCheckInProgress},
    {volume_info::kExpansionInProgress, raid_volume_page0::kStatusExpansionInProgress},
    {volume_info::kBackgroundInitInProgress, raid_volume_page0::kStatusBackgroundInitInProgress},
    {volume_info::kBadBlockTableFull, raid_volume_page0::kStatusBadBlockTableFull},
    {volume_info::kAdjacentMirror, raid_volume_page0::kStatusAdjacentMirror},
    {volume_info::kVolumeInactive, raid_volume_page0::kStatusInactive},
    {volume_info::kResyncInProgress, raid_volume_page0::kStatusResyncInProgress},
    {volume_info::kQuiesced, raid_volume_page0::kStatusQuiesced},
    {volume_info::kEnabled, raid_volume_page0::kStatusEnabled},
    {volume_info::kResyncPending, raid_volume_page0::kStatusResyncPending},
    {volume_info::kBackgroundInitPending, raid_volume_page0::kStatusBackgroundInitPending},
    {volume_info::kMakeConsistentPending, raid_volume_page0::kStatusMakeConsistentPending},
    {volume_info::kUserCheckPending, raid_volume_page0::kStatusUserCheckPending},
    {volume_info::kMakeConsistentInProgress, raid_volume_page0::kStatusMakeConsistentInProgress},
    {volume_info::kExpansionAllowed, raid_volume_page0::kStatusExpansionAllowed},
    {volume_info::kBackgroundInitComplete, raid_volume_page0::kStatusBackgroundInitComplete},
    {volume_info::kNotConsistent, raid_volume_page0::kStatusNotConsistent},
};

}  // namespace

LibStatus GetVolumeRaidSettings(LibContext* context, const LibHandle* volume, uint8_t* out, uint32_t size) {
  if (out == nullptr || size < kVolumeRaidSettingsSize) return kLibBufferTooSmall;
  VolumeRecord* v = nullptr;
  AdapterRecord* a = nullptr;
  LibStatus status = FindVolume(context, volume, &v, &a);
  if (status != kLibOk) return status;
  LibHandle adapter = a->header.handle;
  uint8_t page[raid_volume_page0::kHeadSize] = {};
  uint32_t pageSize = sizeof(page);
  status = ConfigPageReadCore(context, &adapter, kPageAddressForm1 | v->devHandle, kPageTypeRaidVolume, 0, 0,
                              kReadCurrent, page, &pageSize);
  if (status != kLibOk) return status;

  uint8_t progress[raid_action_reply::kActionDataSize] = {};
  status = SendRaidActionRequest(context, volume, kRaidActionIndicator, 0, progress, nullptr, nullptr);
  if (status != kLibOk) return status;

  uint8_t settings[kVolumeRaidSettingsSize] = {};
  auto at = [&settings](size_t infoOffset) { return settings + (infoOffset - volume_info::kRaidSettings); };
  PutLe32(at(volume_info::kVolumeState), 0, Get8(page, raid_volume_page0::kVolumeState));
  uint32_t flags = GetLe32(page, raid_volume_page0::kStatusFlags);
  for (const StatusBoolean& b : kStatusBooleans) PutLe32(at(b.infoOffset), 0, (flags & b.flag) ? 1 : 0);
  PutLe32(at(volume_info::kOffsetMirror), 0, (flags & raid_volume_page0::kStatusAdjacentMirror) ? 0 : 1);
  PutLe64(at(volume_info::kTotalBlocks), 0, GetLe64(progress, indicator_data::kTotalBlocks));
  PutLe64(at(volume_info::kBlocksRemaining), 0, GetLe64(progress, indicator_data::kBlocksRemaining));
  std::memcpy(out, settings, sizeof(settings));
  return kLibOk;
}
