// The road to the controller: the driver's control node and its ioctls.
// No descriptor is kept between calls: each ioctl opens the adapter's node,
// issues one request and closes the node again.
#pragma once

#include <cstdint>

#include "ctl/base/context.h"

// Opens the node the adapter was found on, read-write: 0, 48/54, or 32.
LibStatus OpenAdapterNode(LibContext* context, const LibHandle* adapter, int* descriptor);
// Open, one ioctl on the block, close: 0, the open's status, or 52.
LibStatus AdapterIoctl(LibContext* context, const LibHandle* adapter, void* block, uint32_t request);
// One COMMAND ioctl for the block (17 when its size is below 112).
LibStatus IssueDriverCommand(LibContext* context, QmxRequestBlock* block);
// IssueDriverCommand, then the reply's IOCStatus and IOCLogInfo captured in
// the block and the context. A non-zero IOCStatus is not itself a failure.
LibStatus IssueRequest(LibContext* context, QmxRequestBlock* block);
// The hard-reset ioctl: its own result (0, or all ones), or the open's status.
LibStatus HardResetAdapter(LibContext* context, const LibHandle* adapter);
// The alternative reset is not supported: always 1.
LibStatus ResetAdapterStub(LibContext* context, const LibHandle* adapter, uint32_t argument1,
                           uint32_t argument2);
// Fills the unknown side: bus and target (both 0xFFFFFFFF on entry) for a
// DevHandle, or the DevHandle (0xFFFF on entry) for a bus and target; 18
// when neither or both sides are given.
LibStatus MapBusTargetHandle(LibContext* context, const LibHandle* adapter, uint32_t* bus,
                             uint32_t* target, uint16_t* devHandle);
// One diagnostic-buffer ioctl (operation 1 register, 2 unregister, 3 query,
// 4 read, 5 release) carrying length bytes of data, copied back on success.
LibStatus DiagBufferIoctl(LibContext* context, const LibHandle* adapter, uint32_t operation,
                          void* data, uint32_t length);

// Fills the common part of a request block.
void PrepareRequestBlock(QmxRequestBlock* block, LibHandle adapter);
