// The table of open files: user files, sysfs attributes and the like are
// opened through the platform port and addressed by small integer handles,
// the index of their slot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "os/port.h"

inline constexpr uint32_t kFileSlotCount = 64;
inline constexpr uint32_t kInvalidFileHandle = 0xFFFFFFFF;

struct FileSlot {
  uint32_t handle = kInvalidFileHandle;  // the slot's index once it was used
  std::unique_ptr<os::File> stream;      // null while the slot is free
  bool writeFailed = false;              // a write since the open fell short
};

extern FileSlot FileSlots[kFileSlotCount];

// The slot whose handle equals the given one, or null.
FileSlot* FindFileSlot(uint32_t handle);

// Opens path with a standard-library mode ("r", "rb", "w", "wb", "wb+") in
// the lowest free slot and stores the file's size (its low 32 bits; 0 for a
// file truncated by the mode) in *size. kInvalidFileHandle when every slot is
// in use, the open fails or the file's status cannot be read.
uint32_t FileOpen(const char* path, const char* mode, uint32_t* size);

// Closes the file and frees its slot; a handle without a file is ignored.
void FileClose(uint32_t handle);

// True when path exists and is a regular file.
bool IsRegularFile(const char* path);

// The whole size of a regular file (not cut to 32 bits, as FileOpen's is);
// false when path is no regular file or its status cannot be read.
bool RegularFileSize(const char* path, uint64_t* size);

// Reads length bytes from the start of the file: 0 all read, 1 fewer read,
// 2 no open file under the handle.
uint32_t FileReadAll(uint32_t handle, uint32_t length, void* buffer);

// Writes length bytes at the current position: 1 when all were written, 0
// otherwise or when the handle has no open file.
uint32_t FileWrite(uint32_t handle, uint32_t length, const void* buffer);

// Flushes the file: true when that and every write since the open wrote
// all their bytes. A full disk often shows only here, as the writes before
// went into the stream's buffer.
bool FileWrittenWhole(uint32_t handle);

// One line of at most size - 1 characters, the line break kept and the text
// terminated; null at the end of the file or when the handle has no file.
char* FileReadLine(char* buffer, int size, uint32_t handle);

// Gives the file at `from` the name `to` (replacing a file of that name);
// takes the file at path away. True when done.
bool FileRename(const char* from, const char* to);
bool FileRemove(const char* path);
