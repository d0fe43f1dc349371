// The device identification VPD page: reading it, and choosing the one
// identifier the library keeps for a disk.
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/devices/device_senders.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/devices/scsi_identify.h"

namespace {

constexpr uint8_t kAssociationMask = 0x30;
constexpr uint8_t kTypeMask = 0x0F;

}  // namespace

void ParseDeviceIdPage(LibContext* context, const uint8_t* page, uint32_t bufferLength, uint8_t** identifier,
                       uint32_t* length, uint8_t* codeSet) {
  if (identifier != nullptr) *identifier = nullptr;
  if (length != nullptr) *length = 0;
  if (codeSet != nullptr) *codeSet = 0;
  if (page == nullptr || bufferLength < vpd_page::kBody) return;
  uint32_t pageEnd = vpd_page::kBody + GetBe16(page, vpd_page::kPageLength);
  if (pageEnd > bufferLength) return;

  // The first choice is an NAA-class designator, then one of the classes
  // with bit 1 set, then with bit 0 set; only the logical unit's count.
  const uint8_t* choice[3] = {nullptr, nullptr, nullptr};
  uint32_t at = vpd_page::kBody;
  while (at < pageEnd && choice[0] == nullptr) {
    if (at + designator::kHeaderSize > bufferLength) break;
    const uint8_t* d = page + at;
    uint32_t next = at + designator::kHeaderSize + d[designator::kLength];
    if (next > bufferLength) break;
    if ((d[designator::kTypeByte] & kAssociationMask) == 0) {
      uint8_t type = d[designator::kTypeByte] & kTypeMask;
      if ((type & 0x3) == 0x3) {
        choice[0] = d;
      } else if (type & 0x1) {
        choice[2] = d;
      } else if (type & 0x2) {
        choice[1] = d;
      }
    }
    at = next;
  }
  const uint8_t* chosen = choice[0] != nullptr ? choice[0] : choice[1] != nullptr ? choice[1] : choice[2];
  if (chosen == nullptr) return;
  uint32_t size = chosen[designator::kLength];
  if (size > designator::kMaxKept || identifier == nullptr || length == nullptr) return;
  if (codeSet != nullptr) *codeSet = chosen[designator::kCodeSet] & 0x0F;
  auto* copy = static_cast<uint8_t*>(QmxAlloc(context, 1, size));
  if (copy == nullptr) return;
  std::memcpy(copy, chosen + designator::kHeaderSize, size);
  *identifier = copy;
  *length = size;
}

LibStatus ReadDeviceIdVpd(LibContext* context, const LibHandle* object, ScsiPassthroughRequest* scratch,
                          uint8_t** identifier, uint32_t* length, uint8_t* codeSet) {
  if (object == nullptr || scratch == nullptr || identifier == nullptr || length == nullptr ||
      codeSet == nullptr) {
    return kLibOk;
  }
  uint8_t page[scsi_cdb::kInquiryLength] = {};
  std::memset(scratch, 0, sizeof(*scratch));
  scratch->size = kScsiPassthroughSize;
  scratch->cdbLength = 6;
  scratch->cdb[0] = scsi_cdb::kInquiry;
  scratch->cdb[1] = scsi_cdb::kInquiryEvpd;
  scratch->cdb[scsi_cdb::kInquiryPageCode] = vpd_page::kDeviceIdentification;
  scratch->cdb[scsi_cdb::kInquiryAllocation] = scsi_cdb::kInquiryLength;
  scratch->direction = kScsiDataIn;
  scratch->dataLength = sizeof(page);
  scratch->dataBuffer = AddressOf(page);
  LibStatus status = IdentificationCommand(context, object, scratch);
  scratch->dataBuffer = 0;
  if (status != kLibOk) return status;
  ParseDeviceIdPage(context, page, sizeof(page), identifier, length, codeSet);
  return kLibOk;
}
