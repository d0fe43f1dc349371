#include "app/health/smart_attributes.h"

namespace {

struct AttributeName {
  uint8_t id;
  const char* name;
};

constexpr char kVendorSpecific[] = "Vendor Specific";

constexpr AttributeName kSataNames[] = {
    {1, "Bytes Read"},
    {5, "Retired Block Count"},
    {9, "Power-On Hours"},
    {12, "Device Power Cycle Count"},
    {13, "Soft Read Error Rate"},
    {100, "Gigabytes Erased"},
    {170, "Reserved (over-provisioned) Blocks"},
    {171, "Program Fail Count"},
    {172, "Erase Fail Count 1"},
    {174, "Unexpected Power Loss Count"},
    {177, "Wear Range Delta"},
    {181, "Program Fail Count"},
    {182, "Erase Fail Count 2"},
    {184, "I/O Error Detection Code Rate"},
    {187, "Uncorrectable PARIX Errors"},
    {194, "Current Temperature"},
    {195, "Uncorrectable ECC Errors"},
    {196, "Reallocation Count"},
    {198, "Uncorrectable PARIX Errors"},
    {199, "SATA R-Errors (CRC) Error Count"},
    {201, "Uncorrectable Soft Read Error Rate"},
    {204, "Soft ECC Correction Rate"},
    {230, "Drive Life Protection Status"},
    {231, "SSD Life Left"},
    {232, "Available Reserved Space"},
    {241, "Total Writes From Host"},
    {242, "Total Reads To Host"},
    {245, "Maximum Lifetime Temperature"},
};

constexpr AttributeName kSasNames[] = {
    {1, "Raw Read Error Rate"},
    {2, "Reallocated Block Count"},
    {3, "Power-On Hours"},
    {4, "Accumulated Start-Stop Cycles"},
    {5, "ECC Rate"},
    {6, "Unused Reserved Block Count"},
    {7, "Total Uncorrected(Write) Errors"},
    {8, "Erase Fail Count"},
    {9, "Current Temperature"},
    {10, "Uncorrectable Error Count"},
    {11, "ERROR Primitive Count"},
    {12, "Drive Life Protection Status"},
    {13, "SSD Life Left"},
    {15, "Total Writes From Host"},
    {16, "Total Writes From Host"},
    {17, "Total Reads To Host"},
    {18, "Total Reads To Host"},
    {19, "Maximum Lifetime Temperature"},
    {20, "Gigabytes Erased"},
};

template <size_t N>
const char* Find(const AttributeName (&table)[N], uint8_t id) {
  for (const AttributeName& row : table) {
    if (row.id == id) return row.name;
  }
  return kVendorSpecific;
}

}  // namespace

const char* GetSataSmartAttrName(uint8_t id) { return Find(kSataNames, id); }
const char* GetSasSmartAttrName(uint8_t id) { return Find(kSasNames, id); }
