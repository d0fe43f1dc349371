// Volume creation, the checks that decide whether a request or a hot spare
// can be served, and the controller's compatibility check.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/objects/object_records.h"
#include "ctl/raid/raid_records.h"

// Checks the request and, in commit mode without problems, creates the
// volume: 0; 768 problems listed; 65 a member in use; 769 unknown volume
// type; 20 problem list full; 17 problem list too small; 21 a request whose
// size word is not 288; 18 a member count outside 1-10; other statuses.
LibStatus CreateVolume(LibContext* context, const LibHandle* adapter, LibHandle* newVolume,
                       CreateVolumeRequest* request);
// 768 when added (and for a null list); 17 size below 72; 20 when 8 are listed.
LibStatus AddConfigProblem(LibContext* context, ConfigProblemList* list, uint32_t code, uint32_t value);
// A size the members allow, in the rounded form users are shown.
LibStatus RoundVolumeSize(LibContext* context, uint64_t size, uint64_t* rounded);
// RAID ACTION 2 with the creation data, then the new volume's objects. A
// size of 0 asks for the largest volume; 18 when member 0's block length is
// 0 (a disk that was never identified).
LibStatus SendCreateVolume(LibContext* context, const LibHandle* adapter, LibHandle* newVolume,
                           const CreateVolumeRequest* request, uint64_t size);
// RAID ACTION 35 for the source alone (reportSource) or against a candidate.
LibStatus RaidCompatibilityCheck(LibContext* context, const LibHandle* adapter, const RaidCompatibilityQuery* query,
                                 RaidCompatibilityResult* result);
// Whether the disk (device or physical disk) can serve the volume as hot
// spare: 0 with *fits 1, or 768 (or 1) with the problems listed.
LibStatus HotSpareFitsVolume(LibContext* context, const LibHandle* disk, const VolumeRecord* volume,
                             ConfigProblemList* problems, uint32_t* fits);
// The adapter's hot spares; with selector 0 only those of pool 1.
LibStatus CountPoolHotSpares(LibContext* context, const LibHandle* adapter, uint32_t selector, uint32_t* count);
// What a member (device or physical disk) can give a volume, in bytes.
LibStatus MemberUsableSize(LibContext* context, const LibHandle* member, uint64_t* size);
// 4096 when the controller supports 4K sectors and they are not turned off,
// else 512.
LibStatus GetAdapterSectorSize(LibContext* context, const LibHandle* adapter, uint32_t* sectorSize);
