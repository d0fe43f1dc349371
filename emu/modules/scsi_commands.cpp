// The SCSI command set of the card's targets. A module answers as a SAS
// controller's SCSI/ATA translation presents a SATA disk (vendor "ATA",
// product and revision from the ATA model and firmware, the serial number
// in the vendor-specific bytes 36-55); a module that speaks SAS names its
// maker and answers LOG SENSE; a volume answers with the controller's own
// vendor and product text. Later commands are added to the table at the
// end (the ones that take data live in scsi_write_commands.cpp).
#include <algorithm>

#include "emu/modules/scsi_identity.h"
#include "emu/modules/scsi_layouts.h"
#include "emu/modules/scsi_log_pages.h"
#include "emu/modules/scsi_target.h"

namespace emu {
namespace {

using Bytes = std::vector<uint8_t>;

void PutBe(Bytes* v, size_t at, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) {
    if (at + i < v->size()) (*v)[at + i] = static_cast<uint8_t>(value >> (8 * (width - 1 - i)));
  }
}

uint32_t GetBe(const Bytes& v, size_t at, int width) {
  uint32_t value = 0;
  for (int i = 0; i < width; ++i) value = (value << 8) | (at + i < v.size() ? v[at + i] : 0);
  return value;
}

void PutText(Bytes* v, size_t at, const std::string& text) {
  for (size_t i = 0; i < text.size() && at + i < v->size(); ++i) (*v)[at + i] = static_cast<uint8_t>(text[i]);
}

ScsiOutcome Good(Bytes data = {}) { return ScsiOutcome{kScsiGood, std::move(data), 0, {}}; }
ScsiOutcome Check(const SenseCode& code) { return ScsiOutcome{kScsiCheckCondition, {}, 0, code}; }

// The CDB size an opcode's group needs (0: a group this target does not know).
uint32_t CdbSize(uint8_t opcode) {
  switch (opcode >> 5) {
    case 0: return 6;
    case 1:
    case 2: return 10;
    case 4: return 16;
    case 5: return 12;
    default: return 0;
  }
}

uint64_t LastLba(const ScsiTarget& t) {
  if (t.module != nullptr) return t.module->maxSectors == 0 ? 0 : t.module->maxSectors - 1;
  return t.volume->maxLba;
}

uint32_t BlockLength(const ScsiTarget& t) { return t.module != nullptr ? t.module->blockLength : 512; }

std::string Serial(const ScsiTarget& t) {
  return t.module != nullptr ? Padded(t.module->serial, 20) : VolumeSerial(*t.volume);
}

Bytes StandardInquiry(const ScsiTarget& t) {
  namespace q = scsi::inquiry;
  Bytes data(q::kStandardBytes, 0);
  data[q::kVersion] = t.module != nullptr ? kModuleScsiVersion : kVolumeScsiVersion;
  data[q::kResponseFormat] = 0x02;
  data[q::kAdditionalLength] = static_cast<uint8_t>(q::kStandardBytes - 5);
  data[q::kFlags7] = 0x02;
  if (t.module != nullptr) {
    PutText(&data, q::kVendor, Padded(ModuleVendor(*t.module), 8));
    PutText(&data, q::kProduct, ModuleProduct(*t.module));
    PutText(&data, q::kRevision, ModuleRevision(*t.module));
    PutText(&data, q::kVendorSerial, Padded(t.module->serial, q::kVendorSerialBytes));
    data[q::kVendorFlags] = 0x00;
  } else {
    PutText(&data, q::kVendor, Padded(kVolumeVendor, 8));
    PutText(&data, q::kProduct, Padded(kVolumeProduct, 16));
    PutText(&data, q::kRevision, Padded(kVolumeRevision, 4));
  }
  return data;
}

Bytes VpdPage(uint8_t code, Bytes body) {
  Bytes page(scsi::vpd::kData, 0);
  page[scsi::vpd::kPageCode] = code;
  PutBe(&page, scsi::vpd::kPageLength, body.size(), 2);
  page.insert(page.end(), body.begin(), body.end());
  return page;
}

Bytes Designator(uint8_t codeSet, uint8_t type, const Bytes& value) {
  Bytes d(scsi::vpd::kDescHeaderBytes + value.size(), 0);
  d[scsi::vpd::kDescCodeSet] = codeSet;
  d[scsi::vpd::kDescType] = type;  // association 0: the logical unit
  d[scsi::vpd::kDescLength] = static_cast<uint8_t>(value.size());
  std::copy(value.begin(), value.end(), d.begin() + scsi::vpd::kDescHeaderBytes);
  return d;
}

// A T10 vendor identification first, then the NAA name: the module's world
// wide name (NAA 5, 8 bytes), the volume's WWID (NAA 6, 16 bytes).
Bytes DeviceIdPage(const ScsiTarget& t) {
  std::string vendorId;
  Bytes naa;
  if (t.module != nullptr) {
    vendorId = Padded(ModuleVendor(*t.module), 8) + Padded(t.module->model, 40) + Padded(t.module->serial, 20);
    naa.assign(8, 0);
    PutBe(&naa, 0, t.module->wwn, 8);
  } else {
    vendorId = Padded(kVolumeVendor, 8) + Padded(kVolumeProduct, 16) + VolumeSerial(*t.volume);
    naa.assign(16, 0);
    PutBe(&naa, 0, t.volume->wwid, 8);
    for (size_t i = 0; i < 8 && 16 + i < t.volume->guid.size(); ++i) naa[8 + i] = t.volume->guid[16 + i];
  }
  Bytes body = Designator(2, scsi::vpd::kTypeT10Vendor, Bytes(vendorId.begin(), vendorId.end()));
  Bytes name = Designator(1, scsi::vpd::kTypeNaa, naa);
  body.insert(body.end(), name.begin(), name.end());
  return VpdPage(scsi::vpd::kDeviceId, body);
}

Bytes BlockCharacteristicsPage(const ScsiTarget& t) {
  Bytes page = VpdPage(scsi::vpd::kBlockCharacteristics, Bytes(scsi::vpd::kB1Length, 0));
  PutBe(&page, scsi::vpd::kRotationRate, 1, 2);                       // non-rotating
  page[scsi::vpd::kFormFactor] = t.module != nullptr ? 0x05 : 0x00;  // less than 1.8 inch
  return page;
}

ScsiOutcome Inquiry(ScsiTarget& t, const Bytes& cdb, const Bytes&) {
  namespace q = scsi::inquiry;
  uint32_t allocation = GetBe(cdb, q::kAllocation, 2);
  bool evpd = (cdb[q::kEvpd] & 0x01) != 0;
  uint8_t code = cdb[q::kPageCode];
  Bytes data;
  if (!t.lunZero) {
    data.assign(36, 0);
    data[q::kPeripheral] = q::kNoLun;
  } else if (!evpd) {
    if (code != 0) return Check(kInvalidFieldInCdb);
    data = StandardInquiry(t);
  } else {
    switch (code) {
      case scsi::vpd::kSupportedPages:
        data = VpdPage(code, {scsi::vpd::kSupportedPages, scsi::vpd::kUnitSerial, scsi::vpd::kDeviceId,
                              scsi::vpd::kBlockCharacteristics});
        break;
      case scsi::vpd::kUnitSerial: {
        std::string serial = Serial(t);
        data = VpdPage(code, Bytes(serial.begin(), serial.end()));
        break;
      }
      case scsi::vpd::kDeviceId: data = DeviceIdPage(t); break;
      case scsi::vpd::kBlockCharacteristics: data = BlockCharacteristicsPage(t); break;
      default: return Check(kInvalidFieldInCdb);
    }
  }
  if (data.size() > allocation) data.resize(allocation);
  return Good(std::move(data));
}

ScsiOutcome ReadCapacity10(ScsiTarget& t, const Bytes&, const Bytes&) {
  Bytes data(scsi::capacity::k10Bytes, 0);
  uint64_t last = LastLba(t);
  PutBe(&data, 0, last > 0xFFFFFFFEull ? 0xFFFFFFFFull : last, 4);
  PutBe(&data, 4, BlockLength(t), 4);
  return Good(std::move(data));
}

ScsiOutcome ServiceActionIn16(ScsiTarget& t, const Bytes& cdb, const Bytes&) {
  if ((cdb[1] & 0x1F) != scsi::kReadCapacity16Action) return Check(kInvalidFieldInCdb);
  Bytes data(scsi::capacity::k16Bytes, 0);
  PutBe(&data, 0, LastLba(t), 8);
  PutBe(&data, 8, BlockLength(t), 4);
  uint32_t allocation = GetBe(cdb, scsi::capacity::k16Allocation, 4);
  if (data.size() > allocation) data.resize(allocation);
  return Good(std::move(data));
}

// Reports the pending UNIT ATTENTION once: it clears after its last report.
SenseCode TakeUnitAttention(TargetSense* sense) {
  SenseCode code = sense->unitAttentionCode;
  if (--sense->unitAttentionTimes <= 0) {
    sense->unitAttention = false;
    sense->unitAttentionTimes = TargetSense{}.unitAttentionTimes;
    sense->unitAttentionGood = false;
    sense->unitAttentionCode = TargetSense{}.unitAttentionCode;
  }
  return code;
}

ScsiOutcome TestUnitReady(ScsiTarget&, const Bytes&, const Bytes&) { return Good(); }

// REQUEST SENSE hands over a pending unit attention as its data (and so
// clears it); otherwise "no sense".
ScsiOutcome RequestSense(ScsiTarget& t, const Bytes& cdb, const Bytes&) {
  TargetSense& sense = t.sense();
  SenseCode code;
  if (sense.unitAttention) code = TakeUnitAttention(&sense);
  Bytes data = BuildSense(code, (cdb[1] & 0x01) != 0 && sense.descriptorFormat);
  if (data.size() > cdb[4]) data.resize(cdb[4]);
  return Good(std::move(data));
}

// LOG SENSE, answered by a module that speaks SAS; a SATA module's
// translation layer keeps no log pages.
ScsiOutcome LogSense(ScsiTarget& t, const Bytes& cdb, const Bytes&) {
  namespace l = scsi::log_sense;
  if (t.module == nullptr || !ModuleIsSas(*t.module)) return Check(kInvalidOpcode);
  Bytes page;
  if (cdb[l::kSubpage] != 0 || !SasLogPage(*t.module, cdb[l::kPageControl] & l::kPageCodeMask, &page)) {
    return Check(kInvalidFieldInCdb);
  }
  uint32_t allocation = GetBe(cdb, l::kAllocation, 2);
  if (page.size() > allocation) page.resize(allocation);
  return Good(std::move(page));
}

struct Command {
  uint8_t opcode;
  bool reportsUnitAttention;
  ScsiOutcome (*run)(ScsiTarget&, const Bytes& cdb, const Bytes& dataOut);
};

constexpr Command kCommands[] = {
    {scsi::kTestUnitReady, true, TestUnitReady},
    {scsi::kRequestSense, false, RequestSense},
    {scsi::kInquiry, false, Inquiry},
    {scsi::kReadCapacity10, true, ReadCapacity10},
    {scsi::kServiceActionIn16, true, ServiceActionIn16},
    {scsi::kLogSense, true, LogSense},
    {scsi::kWriteBuffer, true, WriteBuffer},
    {scsi::kFormatUnit, true, FormatUnit},
};

}  // namespace

std::vector<uint8_t> BuildSense(const SenseCode& code, bool descriptorFormat) {
  if (descriptorFormat) {
    Bytes sense(scsi::sense::kDescriptorBytes, 0);
    sense[0] = scsi::sense::kDescriptor;
    sense[1] = code.key & 0x0F;
    sense[2] = code.asc;
    sense[3] = code.ascq;
    return sense;
  }
  Bytes sense(scsi::sense::kFixedBytes, 0);
  sense[0] = scsi::sense::kFixed;
  sense[2] = code.key & 0x0F;
  sense[7] = static_cast<uint8_t>(scsi::sense::kFixedBytes - 8);
  sense[12] = code.asc;
  sense[13] = code.ascq;
  return sense;
}

ScsiOutcome ExecuteScsi(ScsiTarget& target, const std::vector<uint8_t>& cdb,
                        const std::vector<uint8_t>& dataOut) {
  TargetSense& sense = target.sense();
  const bool armedForThis =
      sense.checkConditionOpcode < 0 || (!cdb.empty() && cdb[0] == sense.checkConditionOpcode);
  if (sense.checkConditionTimes != 0 && armedForThis) {
    SenseCode code = sense.checkCondition;
    if (sense.checkConditionTimes > 0 && --sense.checkConditionTimes == 0) {
      sense.checkCondition = {};
      sense.checkConditionOpcode = -1;
    }
    return Check(code);
  }
  const Command* command = nullptr;
  for (const Command& c : kCommands) {
    if (!cdb.empty() && c.opcode == cdb[0]) command = &c;
  }
  if (command != nullptr && command->reportsUnitAttention && sense.unitAttention) {
    bool good = sense.unitAttentionGood;
    SenseCode code = TakeUnitAttention(&sense);
    if (!good) return Check(code);
    ScsiOutcome outcome = Good();
    outcome.sense = code;
    outcome.withSense = true;
    return outcome;
  }
  if (command == nullptr) return Check(kInvalidOpcode);
  if (cdb.size() < CdbSize(cdb[0])) return Check(kInvalidFieldInCdb);
  if (!target.lunZero && cdb[0] != scsi::kInquiry) return Check(kLunNotSupported);
  return command->run(target, cdb, dataOut);
}

}  // namespace emu
