// The health counters of a SAS module from its LOG SENSE pages.
#include "cardlib/board/health_logs.h"
#include "cardlib/layouts/log_pages.h"
#include "cardlib/scsi/log_sense.h"
#include "ctl/base/byte_order.h"

namespace {

// Where the next entry goes.
struct EntryWriter {
  SasSmartRecord* record;
  uint32_t count;

  void Add(uint8_t attribute, uint32_t value) {
    if (count >= kSasSmartEntries) return;
    record->entry[count].attribute = attribute;
    record->entry[count].value = value;
    ++count;
  }
};

struct CodeAttribute {
  uint16_t code;
  uint8_t attribute;
};

// Informational-exception parameter codes and the attributes they become.
constexpr CodeAttribute kPage2fAttributes[] = {
    {1, 1}, {5, 2}, {9, 3}, {13, 5}, {32, 14}, {177, 13}, {180, 6}, {182, 8}, {194, 9}, {195, 10}, {233, 20},
};

uint32_t ReadInformationalExceptions(uint32_t device, EntryWriter* out) {
  using namespace log_page_2f;
  uint8_t page[kAllocation];
  if (ReadLogSensePage(device, kCode, page, kAllocation) != 0) return 1;
  for (uint32_t p = 0; p < kParameterCount; ++p) {
    const uint8_t* parameter = page + kParameters + p * kParameterSize;
    uint16_t code = GetBe16(parameter, kParameterCode);
    for (const CodeAttribute& known : kPage2fAttributes) {
      if (known.code == code) out->Add(known.attribute, GetBe32(parameter, kParameterValue));
    }
  }
  out->Add(kStoredValueAttribute, GetLe32(page, kStoredValue));
  return 0;
}

uint32_t ReadStartStopCycles(uint32_t device, EntryWriter* out) {
  using namespace log_page_0e;
  uint8_t page[kAllocation];
  if (ReadLogSensePage(device, kCode, page, kAllocation) != 0) return 1;
  out->Add(kAttribute, GetBe32(page, kValue));
  return 0;
}

uint32_t ReadGeneralStatistics(uint32_t device, EntryWriter* out) {
  using namespace log_page_19;
  uint8_t page[kAllocation];
  if (ReadLogSensePage(device, kCode, page, kAllocation) != 0) return 1;
  for (const Counter& counter : kCounters) out->Add(counter.attribute, GetBe32(page, counter.offset));
  return 0;
}

// The page's first parameter with code 6 among count parameters, if any.
uint32_t ReadCodeSixParameter(uint32_t device, uint8_t pageCode, uint16_t allocation, uint32_t count,
                              uint8_t attribute, EntryWriter* out) {
  using namespace log_page_search;
  uint8_t page[log_page_36::kAllocation] = {};
  if (ReadLogSensePage(device, pageCode, page, allocation) != 0) return 1;
  for (uint32_t p = 0; p < count; ++p) {
    const uint8_t* parameter = page + kParameters + p * kParameterSize;
    if (GetBe16(parameter, kParameterCode) == kWantedCode) {
      out->Add(attribute, GetBe32(parameter, kParameterValue));
      break;
    }
  }
  return 0;
}

static_assert(log_page_02::kAllocation <= log_page_36::kAllocation);

}  // namespace

uint32_t CollectSSDHealthData(uint32_t deviceHandle, SasSmartRecord* record) {
  if (record == nullptr) return 1;
  EntryWriter out{record, 0};
  if (ReadInformationalExceptions(deviceHandle, &out) != 0) return 1;
  if (ReadStartStopCycles(deviceHandle, &out) != 0) return 1;
  if (ReadGeneralStatistics(deviceHandle, &out) != 0) return 1;
  if (ReadCodeSixParameter(deviceHandle, log_page_36::kCode, log_page_36::kAllocation, log_page_36::kParameterCount,
                           log_page_36::kAttribute, &out) != 0) {
    return 1;
  }
  return ReadCodeSixParameter(deviceHandle, log_page_02::kCode, log_page_02::kAllocation,
                              log_page_02::kParameterCount, log_page_02::kAttribute, &out);
}
