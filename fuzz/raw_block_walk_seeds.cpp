// Seeds of raw_block_walk_fuzz: the emulated module's answers for pages in
// each kind of block (system, invalid, user, re-mapped), in the target's
// layout: conversion reply, PE table, mapping table.
#include <cstdio>
#include <string>
#include <vector>

#include "emu/host/emulator.h"
#include "emu/modules/raw_flash.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::string dir = argv[1];
  emu::ModuleModel module;
  int n = 0;
  for (uint32_t page : {0x00000000u, 0x00040000u, 0x00050000u, 0x00200000u, 0x00100000u, 0x00110000u, 0x3FFFFFFFu}) {
    std::vector<uint8_t> bytes = emu::RawPageAddressOf(page);
    const uint16_t rblock = static_cast<uint16_t>(bytes[16] | bytes[17] << 8);
    emu::RawBlockModel block = emu::RawBlockOf(module, rblock);
    std::vector<uint8_t> pe(512, 0);
    pe[2] = block.mapping;
    pe[3] = block.type;
    bytes.insert(bytes.end(), pe.begin(), pe.end());
    for (uint32_t entry = 0; entry < 512; ++entry) {
      uint16_t value = entry >= 256 ? 0xFFFF : block.mapping > 1 ? block.replacement : rblock;
      bytes.push_back(static_cast<uint8_t>(value));
      bytes.push_back(static_cast<uint8_t>(value >> 8));
    }
    std::FILE* file = std::fopen((dir + "/seed" + std::to_string(n++)).c_str(), "wb");
    if (file == nullptr) return 1;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }
  return 0;
}
