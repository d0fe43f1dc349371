#include "ctl/discovery/discovery.h"

namespace {

struct ChipEntry {
  uint32_t deviceId;
  const char* name;
};

constexpr ChipEntry kChipNames[] = {
    {0x45, "CHIPFA"},     {0x47, "CHIPFB"},     {0x64, "CHIPBB_1"},   {0x65, "CHIPBB_2"},
    {0x6E, "CHIPCB_3"},   {0x70, "CHIPAA"},     {0x72, "CHIPAB"},     {0x74, "CHIPBA_1"},
    {0x76, "CHIPBA_2"},   {0x77, "CHIPBA_3"},   {0x7E, "TRIXEL4400"}, {0x80, "CHIPCA_1"},
    {0x81, "CHIPCA_2"},   {0x82, "CHIPCA_3"},   {0x83, "CHIPCA_4"},   {0x84, "CHIPCA_5"},
    {0x85, "CHIPCA_6"},   {0x86, "CHIPCB_1"},   {0x87, "CHIPCB_2"},   {0x90, "CHIPEA_1"},
    {0x91, "CHIPEA_2"},   {0x92, "CHIPEA_3"},   {0x93, "CHIPEA_4"},   {0x94, "CHIPEA_5"},
    {0x95, "CHIPEA_6"},   {0x96, "CHIPDA"},     {0x97, "CHIPDB"},
};

}  // namespace

const char* ChipName(uint32_t deviceId) {
  for (const ChipEntry& entry : kChipNames) {
    if (entry.deviceId == deviceId) return entry.name;
  }
  return "Unknown";
}

bool IsSecondGenerationChip(uint32_t deviceId) {
  return deviceId >= kSecondGenerationFirst && deviceId <= kSecondGenerationLast;
}

bool IsQmx2FamilyChip(uint32_t id) {
  switch (id) {
    case 0x64: case 0x65: case 0x6E: case 0x70: case 0x74: case 0x76: case 0x77: return true;
    default: return id >= kChipCaFirst && id <= kChipCaLast;
  }
}
