// The card file's vocabulary of the devices and the RAID state: the keys of
// the [module SLOT], [volume DEVHANDLE] and [disk NUMBER] sections, each
// with how it is written and read, shared by the writer and the reader.
// The writer writes every key (the sense conditions only while armed), so
// the text is canonical.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "emu/host/host_model.h"

namespace emu::card_file {

template <typename T>
struct DeviceKey {
  const char* key;
  // The value as written; empty optional-like text "" means: not written.
  std::function<std::string(const T&)> write;
  // Reads a value; false with *problem on a bad one.
  std::function<bool(T&, const std::string& value, std::string* problem)> read;
  bool repeatable = false;
};

const std::vector<DeviceKey<ModuleModel>>& ModuleKeys();
// The keys of a module's command set (emu/card_file/card_file_module_keys.cpp): its
// SMART table, knobs, security and the images it keeps. Written only when
// they differ from a new module's.
void AddModuleCommandKeys(std::vector<DeviceKey<ModuleModel>>* keys);
// A module key that may be given more than once (its lines append).
bool RepeatableModuleKey(const std::string& key);
const std::vector<DeviceKey<VolumeModel>>& VolumeKeys();
const std::vector<DeviceKey<PhysDiskModel>>& DiskKeys();

// Writes the [module], [raid], [volume] and [disk] sections of an adapter.
void WriteDevices(std::string* out, const AdapterModel& adapter);

}  // namespace emu::card_file
