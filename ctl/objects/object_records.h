// The records of the object tree: adapters, and under each adapter its
// devices, its RAID volumes (each with its member disks) and its hot spares.
// Every record begins with the object header; lists are singly linked in
// creation order. Records are allocated zero-filled with QmxAlloc.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/devices/device_info.h"
#include "ctl/base/lib_types.h"
#include "ctl/frames/ioc_frames.h"
#include "ctl/pages/raid_phys_disk_page0.h"
#include "ctl/raid/raid_records.h"

struct ObjectHeader {
  LibHandle handle;
  LibHandle handleCopy;
  uint32_t kind;          // stored with bits 0 and 8 cleared, then bit 0 set
  uint32_t location[3];   // adapters and devices: IOC number, 0, 0
  uint8_t locationByte;
};

inline constexpr uint32_t kNodePathSize = 32;

struct DeviceRecord {
  ObjectHeader header;
  uint32_t peripheralType;  // INQUIRY byte 0 AND 31; 31 unknown, 29 a volume's target
  uint32_t bus;
  uint32_t target;
  uint8_t lun;
  uint32_t identified;
  DeviceInfoBlock info;
  uint32_t identifyActive;
  uint32_t savedSlotStatus;
  void* attachedBuffer;     // freed with the record
  DeviceRecord* next;
};

// A RAID member or hot spare. Its DevHandle, disk number, member map and
// RAID set number live in the RAID summary of its own PhysDiskInfo (and the
// DevHandle also in devHandle); its bus and target words there are the
// disk's own location.
struct PhysDiskRecord {
  ObjectHeader header;
  uint16_t devHandle;
  uint8_t page0[raid_phys_disk_page0::kSize];  // the disk's RAID physical disk page 0
  PhysDiskInfo info;
  PhysDiskRecord* next;
};

struct VolumeRecord {
  ObjectHeader header;
  uint16_t devHandle;
  uint8_t raidType;       // RAID volume page 0 byte 7
  uint8_t hotSparePool;   // RAID volume page 0 byte 14
  PhysDiskRecord* members;
  VolumeRecord* next;
};

// Event bookkeeping of one adapter.
struct RecordQueueNode;
struct AdapterEventState {
  uint8_t typeMask[16];
  uint32_t lastSequence;           // of the last event record queued
  RecordQueueNode* eventQueue;     // oldest first
  uint16_t lastLogSequence;        // of the last event-log entry queued
  RecordQueueNode* eventLogQueue;  // oldest first
};

struct AdapterRecord {
  ObjectHeader header;
  uint16_t vendorId;
  uint16_t deviceId;
  uint16_t subsystemVendorId;
  uint16_t subsystemDeviceId;
  uint32_t pciLocation;
  char nodePath[kNodePathSize];     // the control node the adapter answered on
  uint8_t iocFacts[ioc_facts_reply::kSize];
  DeviceRecord* devices;
  VolumeRecord* volumes;
  PhysDiskRecord* hotSpares;
  uint32_t infoValid;
  AdapterInfoBlock info;
  AdapterEventState events;
  uint32_t raidCapable;
  uint32_t secondGeneration;
  uint32_t isCard;
  AdapterRecord* next;
};

inline uint32_t IocNumber(const AdapterRecord* adapter) { return adapter->header.location[0]; }
