// Messages addressed to the controller itself: facts, firmware transfer,
// toolbox tools, diagnostic buffers and the option-ROM version.
//
// Reply convention: a sender given a reply buffer and a reply size copies at
// most *size bytes of the reply (never more than the reply holds) and sets
// *size to what it copied; *size becomes 0 when the request failed. A
// sender given a status pointer copies the block's IocStatusInfo there.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ctl/base/context.h"
#include "ctl/ioc/ioc_records.h"

LibStatus SendIocFactsRequest(LibContext* context, const LibHandle* adapter, void* reply,
                              uint32_t* size, IocStatusInfo* status);
LibStatus SendPortFactsRequest(LibContext* context, const LibHandle* adapter, uint8_t port, void* reply,
                               uint32_t* size, IocStatusInfo* status);

// One piece of an image; the caller does the chunking. 96 when the
// adapter's message version is below 0x0200 (nothing is sent).
LibStatus FirmwareDownload(LibContext* context, const LibHandle* adapter, const void* piece,
                           uint32_t pieceSize, uint32_t imageOffset, uint8_t imageType, uint32_t last,
                           void* reply, uint32_t* replySize, IocStatusInfo* status);
LibStatus FirmwareUpload(LibContext* context, const LibHandle* adapter, void* piece, uint32_t pieceSize,
                         uint32_t imageOffset, uint8_t imageType, void* reply, uint32_t* replySize,
                         IocStatusInfo* status);
// The same for adapters with second-generation frames.
LibStatus FirmwareDownloadGen2(LibContext* context, const LibHandle* adapter, const void* piece,
                               uint32_t pieceSize, uint32_t imageOffset, uint8_t imageType,
                               uint32_t last, void* reply, uint32_t* replySize, IocStatusInfo* status);
LibStatus FirmwareUploadGen2(LibContext* context, const LibHandle* adapter, void* piece,
                             uint32_t pieceSize, uint32_t imageOffset, uint8_t imageType, void* reply,
                             uint32_t* replySize, IocStatusInfo* status);

// Toolbox clean (flags must be 0x20000000, else 23); the 20-byte reply and
// the status are copied out whatever the outcome of the message.
LibStatus ToolboxClean(LibContext* context, const LibHandle* adapter, uint32_t flags, void* reply,
                       IocStatusInfo* status);
// Two-wire bus access; the 28-byte reply is copied out after the message.
LibStatus ToolboxIstwiRead(LibContext* context, const LibHandle* adapter, IstwiRecord* record, void* reply);

// Diagnostic buffers; the unique id is 0xABCDEF00 OR the buffer type.
LibStatus DiagBufferRegister(LibContext* context, const LibHandle* adapter, uint8_t bufferType,
                             uint8_t secondType, uint32_t size, uint32_t diagFlags,
                             const uint8_t* productData);
LibStatus DiagBufferQuery(LibContext* context, const LibHandle* adapter, uint8_t bufferType,
                          uint16_t* appFlags, uint32_t* totalSize);
LibStatus DiagBufferUnregister(LibContext* context, const LibHandle* adapter, uint8_t bufferType);
LibStatus DiagBufferRelease(LibContext* context, const LibHandle* adapter, uint8_t bufferType);
// Reads *length bytes in pieces of at most 64 KiB into buffer.
LibStatus DiagBufferRead(LibContext* context, const LibHandle* adapter, uint8_t bufferType,
                         uint32_t* length, void* buffer);

// Uploads the adapter's option-ROM image and reads its version: 0, 1, or 16.
LibStatus ReadRomVersion(LibContext* context, const LibHandle* adapter, uint32_t* version);
// The version word of a PCI expansion ROM image of length bytes whose first
// image is x86 code; 0 when it is not, or when a field lies outside the image.
uint32_t RomImageVersion(const uint8_t* image, size_t length);
