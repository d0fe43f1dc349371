// Erasing the controller's persistent configuration region around a
// firmware download, keeping the card's identity: manufacturing pages 0
// and 1 are read before the erase and written back after it.
#pragma once

#include <cstdint>

#include "ctl/base/lib_types.h"

// The clean flags that erase the persistent configuration region.
inline constexpr uint32_t kCleanPersistentConfig = 0x20000000;
// Bytes of the toolbox clean reply.
inline constexpr uint32_t kToolboxCleanReplySize = 20;

// One toolbox clean request with the flags; the 20-byte reply (reply may be
// null) and the request's status (status may be null) are copied out.
// Answers the library's status.
LibStatus ToolboxClean(uint32_t adapter, uint32_t flags, uint8_t* reply, IocStatusInfo* status);

// ToolboxClean, answered 1 when the library, the request's status and the
// reply's IOCStatus all say success, else 0. The status outputs (either may
// be null) get the reply's IOCStatus and IOCLogInfo.
uint32_t EraseConfigRegion(uint32_t adapter, uint32_t flags, uint16_t* iocStatus, uint32_t* iocLogInfo);

// For the controller in SelectedController: unless skipRestore, reads
// manufacturing pages 0 and 1 (a failed read ends with 1 before anything is
// written); erases the persistent configuration region; downloads the
// firmware image (DownloadFwImage) when the erase went through; then writes
// both pages back, also after a failed erase or download. 0 when the erase,
// the download and both write-backs succeeded, else 1: the card's identity
// is never lost silently.
uint32_t EraseConfigAndFlash(const uint8_t* image, uint32_t size, uint32_t skipRestore);
