#include "ctl/devices/scsi_identify.h"

#include <algorithm>
#include <cstring>

#include "ctl/base/byte_order.h"
#include "ctl/devices/device_info.h"
#include "ctl/devices/device_senders.h"
#include "ctl/frames/scsi_commands.h"
#include "ctl/devices/scsi_io.h"

namespace {

ScsiPassthroughRequest DataInCommand(uint8_t cdbLength, uint8_t* buffer, uint32_t length) {
  ScsiPassthroughRequest request{};
  request.size = kScsiPassthroughSize;
  request.cdbLength = cdbLength;
  request.direction = kScsiDataIn;
  request.dataLength = length;
  request.dataBuffer = AddressOf(buffer);
  return request;
}

LibStatus InquiryVpd(LibContext* context, const LibHandle* object, uint8_t pageCode, uint8_t* data) {
  ScsiPassthroughRequest request = DataInCommand(6, data, scsi_cdb::kInquiryLength);
  request.cdb[0] = scsi_cdb::kInquiry;
  request.cdb[1] = scsi_cdb::kInquiryEvpd;
  request.cdb[scsi_cdb::kInquiryPageCode] = pageCode;
  request.cdb[scsi_cdb::kInquiryAllocation] = scsi_cdb::kInquiryLength;
  return IdentificationCommand(context, object, &request);
}

}  // namespace

LibStatus IdentificationCommand(LibContext* context, const LibHandle* object, ScsiPassthroughRequest* request) {
  LibStatus status = ScsiCommandRetry(context, object, request);
  if (status == kLibOk && request->scsiStatus != 0) status = kLibFailure;
  return status;
}

LibStatus InquiryStandard(LibContext* context, const LibHandle* object, uint8_t* data) {
  ScsiPassthroughRequest request = DataInCommand(6, data, scsi_cdb::kInquiryLength);
  request.cdb[0] = scsi_cdb::kInquiry;
  request.cdb[scsi_cdb::kInquiryAllocation] = scsi_cdb::kInquiryLength;
  return IdentificationCommand(context, object, &request);
}

LibStatus ReadDiskCapacity(LibContext* context, const LibHandle* object, DiskCapacity* capacity) {
  uint8_t short_answer[scsi_cdb::kReadCapacity10Length] = {};
  ScsiPassthroughRequest request = DataInCommand(10, short_answer, sizeof(short_answer));
  request.cdb[0] = scsi_cdb::kReadCapacity10;
  LibStatus status = IdentificationCommand(context, object, &request);
  if (status != kLibOk) return status;
  uint32_t lastLba = GetBe32(short_answer, read_capacity10::kLastLba);
  if (lastLba != read_capacity10::kLbaTooLarge) {
    capacity->lastLba = lastLba;
    capacity->blockLength = GetBe32(short_answer, read_capacity10::kBlockLength);
    return kLibOk;
  }
  uint8_t long_answer[scsi_cdb::kReadCapacity16Length] = {};
  request = DataInCommand(16, long_answer, sizeof(long_answer));
  request.cdb[0] = scsi_cdb::kServiceActionIn16;
  request.cdb[1] = scsi_cdb::kReadCapacity16Action;
  request.cdb[scsi_cdb::kReadCapacity16Allocation] = scsi_cdb::kReadCapacity16Length;
  status = IdentificationCommand(context, object, &request);
  if (status != kLibOk) return status;
  capacity->lastLba = GetBe64(long_answer, read_capacity16::kLastLba);
  capacity->blockLength = GetBe32(long_answer, read_capacity16::kBlockLength);
  return kLibOk;
}

LibStatus ReadBlockCharacteristics(LibContext* context, const LibHandle* object, BlockCharacteristics* out) {
  uint8_t list[scsi_cdb::kInquiryLength] = {};
  LibStatus status = InquiryVpd(context, object, vpd_page::kSupportedPages, list);
  if (status != kLibOk) return status;
  // The page length is the device's word: the list ends with the buffer.
  size_t end = std::min<size_t>(vpd_page::kBody + list[vpd_page::kPageLength + 1], sizeof(list));
  bool listed = std::find(list + vpd_page::kBody, list + end, vpd_page::kBlockCharacteristics) != list + end;
  if (!listed) return kLibOk;
  uint8_t page[scsi_cdb::kInquiryLength] = {};
  status = InquiryVpd(context, object, vpd_page::kBlockCharacteristics, page);
  if (status != kLibOk) return status;
  out->present = true;
  out->rotationRate = GetBe16(page, vpd_page::kRotationRate);
  out->formFactor = page[vpd_page::kFormFactor] & 0x0F;
  return kLibOk;
}

void StoreCapacity(uint8_t* part, const DiskCapacity& capacity) {
  PutLe64(part, device_part::kLastLba, capacity.lastLba);
  PutLe32(part, device_part::kBlockLength, capacity.blockLength);
  PutLe64(part, device_part::kCapacity, capacity.Bytes());
}

void StoreBlockCharacteristics(uint8_t* part, const BlockCharacteristics& c) {
  if (!c.present) return;
  PutLe16(part, device_part::kRotationRate, c.rotationRate);
  if (c.rotationRate == vpd_page::kNonRotating) PutLe32(part, device_part::kNonRotating, 1);
  Put8(part, device_part::kFormFactor, c.formFactor);
}

void StoreIdentifier(uint8_t* part, const uint8_t* identifier, uint32_t length, uint8_t codeSet) {
  uint32_t kept = std::min<uint32_t>(length, device_part::kIdentifierSize);
  std::memcpy(part + device_part::kIdentifier, identifier, kept);
  PutLe32(part, device_part::kIdentifierLength, kept);
  Put8(part, device_part::kIdentifierType, codeSet);
}

void ReadAndStoreIdentifier(LibContext* context, const LibHandle* object, uint8_t* part) {
  ScsiPassthroughRequest scratch{};
  uint8_t* identifier = nullptr;
  uint32_t length = 0;
  uint8_t codeSet = 0;
  if (ReadDeviceIdVpd(context, object, &scratch, &identifier, &length, &codeSet) == kLibOk && length != 0) {
    StoreIdentifier(part, identifier, length, codeSet);
  }
  QmxFree(context, identifier);
}
