// The one status code set of the controller library (and, in part, of the
// card library): every library function answers one of these.
#pragma once

#include <cstdint>

using LibStatus = uint32_t;

enum : LibStatus {
  kLibOk = 0,
  kLibFailure = 1,
  kLibNoMemory = 16,
  kLibBufferTooSmall = 17,       // also: size query answered
  kLibBadParameter = 18,
  kLibProblemListFull = 20,
  kLibWrongRecordSize = 21,
  kLibNotSupported = 23,
  kLibNodeOpenFailed = 32,
  kLibEventQueueEmpty = 33,
  kLibBadHandle = 48,
  kLibNoDeviceAtAddress = 49,
  kLibAdapterIndexRange = 50,
  kLibIoctlFailed = 52,
  kLibAdapterNotFound = 54,
  kLibMemberInUse = 65,
  kLibRaidActionUnsupported = 80,
  kLibMessageVersionTooLow = 96,
  kLibTaskTypeRefused = 112,
  kLibConfigInvalidAction = 256,
  kLibConfigInvalidType = 257,
  kLibPageNotPresent = 258,
  kLibSasDeviceForm = 259,
  kLibCreateProblems = 768,
  kLibVolumeTypeRefused = 769,
  kLibRaidActionFailed = 770,
  kLibVolumeNotInactive = 771,
  kLibDiagNoMemory = 1280,
  kLibDiagRefused = 1281,
  kLibDiagBadAddress = 1282,
};
