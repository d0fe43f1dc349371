#include <cstdio>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/discovery/discovery.h"
#include "ctl/frames/driver_ioctls.h"
#include "ctl/frames/ioc_info_block.h"
#include "ctl/ioc/ioc_requests.h"
#include "ctl/objects/object_tree.h"
#include "os/port.h"

void CopyIocInformation(AdapterInfoBlock* info, const uint8_t* block) {
  info->adapterType = GetLe32(block, ioc_info_block::kAdapterType);
  info->portNumber = GetLe32(block, ioc_info_block::kReportedPort);
  info->pciDeviceId = GetLe32(block, ioc_info_block::kPciDeviceId);
  info->hardwareRevision = GetLe32(block, ioc_info_block::kHardwareRevision);
  info->subsystemDeviceId = GetLe32(block, ioc_info_block::kSubsystemDeviceId);
  info->subsystemVendorId = GetLe32(block, ioc_info_block::kSubsystemVendorId);
  info->reservedWord = GetLe32(block, ioc_info_block::kReservedWord);
  info->biosVersion = GetLe32(block, ioc_info_block::kBiosVersion);
  // The driver's text is meant to be terminated; keep the copy terminated
  // whatever it sent.
  std::memcpy(info->driverVersion, block + ioc_info_block::kDriverVersion, sizeof(info->driverVersion));
  info->driverVersion[sizeof(info->driverVersion) - 1] = '\0';
  info->scsiId = Get8(block, ioc_info_block::kScsiId);
  info->pciLocation = GetLe32(block, ioc_info_block::kPciLocation);
  // The listings and the sysfs lookups name the card by domain, bus and
  // device, so the domain is kept beside the location.
  info->pciSegment = GetLe32(block, ioc_info_block::kPciSegment);
}

namespace {

constexpr uint16_t kVendorQvsa = 0x1590;
constexpr uint16_t kVendorDefault = 0x1000;

void ProbeNode(LibContext* context, uint32_t nodeIndex, int descriptor) {
  os::Port& port = os::ActivePort();
  uint32_t flags = context->discoveryFlags;
  for (uint32_t ioc = 0; ioc <= kLastIocNumber; ++ioc) {
    uint8_t block[ioc_info_block::kSize] = {};
    PutLe32(block, ioc_info_block::kIocNumber, ioc);
    PutLe32(block, ioc_info_block::kMaxDataSize, ioc_info_block::kSize);
    if (port.Ioctl(descriptor, kIoctlIocInfo, block) != 0) continue;
    uint32_t deviceId = GetLe32(block, ioc_info_block::kPciDeviceId);
    if (!PassesDeviceIdFilter(flags, deviceId)) continue;
    const char* chipName = ChipName(deviceId);

    AdapterRecord* adapter = nullptr;
    if (AddAdapterRecord(context, &adapter) != kLibOk) continue;
    AssignObjectHandle(context, &adapter->header, kKindWordAdapter, ioc, 0, 0, 0);
    AdapterInfoBlock* info = &adapter->info;
    std::snprintf(info->hostName, sizeof(info->hostName), "SAS Host %d", static_cast<int>(ioc));
    std::snprintf(info->chipName, sizeof(info->chipName), "%s", chipName);
    info->adapterHandle = adapter->header.handle;
    CopyIocInformation(info, block);
    info->firmwareVersion = GetLe32(block, ioc_info_block::kFirmwareVersion);
    adapter->deviceId = static_cast<uint16_t>(deviceId);
    adapter->subsystemVendorId = static_cast<uint16_t>(info->subsystemVendorId);
    adapter->subsystemDeviceId = static_cast<uint16_t>(info->subsystemDeviceId);
    adapter->vendorId = (flags & kDiscoverQvsaFamily) ? kVendorQvsa : kVendorDefault;
    adapter->pciLocation = info->pciLocation;
    std::snprintf(adapter->nodePath, sizeof(adapter->nodePath), "%s", ControlNodePath(nodeIndex));
    adapter->isCard = deviceId == kCardDeviceId;

    uint32_t factsSize = sizeof(adapter->iocFacts);
    if (SendIocFactsRequest(context, &adapter->header.handle, adapter->iocFacts, &factsSize, nullptr) !=
        kLibOk) {
      continue;  // kept, without facts and not marked valid
    }
    adapter->infoValid = 1;
    adapter->devices = nullptr;
    uint32_t raidCapable = 0;
    IsRaidCapable(context, &adapter->header.handle, &raidCapable);
    adapter->raidCapable = raidCapable;
    info->raidCapable = raidCapable;
    adapter->secondGeneration = IsSecondGenerationChip(deviceId);
  }
}

}  // namespace

LibStatus DiscoverAdapters(LibContext* context) {
  if (context->adapterCount != 0 || context->adapterList != nullptr) return kLibOk;
  context->adapterCount = 0;
  context->adapterList = nullptr;
  context->handleCounter = 1;
  LibStatus status = kLibFailure;

  os::Port& port = os::ActivePort();
  for (uint32_t node = 0; node < kControlNodeCount; ++node) {
    if (!ControlNodeSearched(node, context->discoveryFlags)) continue;
    int descriptor = port.OpenNode(ControlNodePath(node), os::NodeAccess::kReadWrite);
    if (descriptor < 0) continue;
    ProbeNode(context, node, descriptor);
    port.CloseNode(descriptor);
  }
  if (context->discoveryFlags & kDiscoverCardFamily) status = FilterCardAdapters(context);
  for (AdapterRecord* a = context->adapterList; a != nullptr; a = a->next) {
    LibHandle handle = a->header.handle;
    status = RefreshAdapter(context, &handle);
  }
  return status;
}
