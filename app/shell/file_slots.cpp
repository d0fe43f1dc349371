#include "app/shell/file_slots.h"

FileSlot FileSlots[kFileSlotCount];

namespace {

os::File* OpenStream(uint32_t handle) {
  FileSlot* slot = FindFileSlot(handle);
  return slot == nullptr ? nullptr : slot->stream.get();
}

}  // namespace

FileSlot* FindFileSlot(uint32_t handle) {
  for (FileSlot& slot : FileSlots) {
    if (slot.handle == handle) return &slot;
  }
  return nullptr;
}

uint32_t FileOpen(const char* path, const char* mode, uint32_t* size) {
  uint32_t index = 0;
  while (index < kFileSlotCount && FileSlots[index].stream != nullptr) ++index;
  if (index == kFileSlotCount) return kInvalidFileHandle;
  os::Port& port = os::ActivePort();
  std::unique_ptr<os::File> stream = port.OpenFile(path, mode);
  if (stream == nullptr) return kInvalidFileHandle;
  os::PathStatus status;
  if (!port.Stat(path, &status)) return kInvalidFileHandle;  // the stream closes here
  FileSlot& slot = FileSlots[index];
  slot.handle = index;
  slot.stream = std::move(stream);
  slot.writeFailed = false;
  if (size != nullptr) *size = static_cast<uint32_t>(status.size);
  return index;
}

void FileClose(uint32_t handle) {
  FileSlot* slot = FindFileSlot(handle);
  if (slot != nullptr) slot->stream.reset();
}

bool IsRegularFile(const char* path) {
  os::PathStatus status;
  return os::ActivePort().Stat(path, &status) && status.isRegular;
}

bool RegularFileSize(const char* path, uint64_t* size) {
  os::PathStatus status;
  if (!os::ActivePort().Stat(path, &status) || !status.isRegular) return false;
  *size = status.size;
  return true;
}

uint32_t FileReadAll(uint32_t handle, uint32_t length, void* buffer) {
  os::File* stream = OpenStream(handle);
  if (stream == nullptr) return 2;
  if (!stream->Rewind()) return 1;
  return stream->Read(buffer, length) == length ? 0 : 1;
}

uint32_t FileWrite(uint32_t handle, uint32_t length, const void* buffer) {
  FileSlot* slot = FindFileSlot(handle);
  if (slot == nullptr || slot->stream == nullptr) return 0;
  if (slot->stream->Write(buffer, length) == length) return 1;
  slot->writeFailed = true;
  return 0;
}

bool FileWrittenWhole(uint32_t handle) {
  FileSlot* slot = FindFileSlot(handle);
  if (slot == nullptr || slot->stream == nullptr) return false;
  bool flushed = slot->stream->Flush();
  return flushed && !slot->writeFailed;
}

char* FileReadLine(char* buffer, int size, uint32_t handle) {
  os::File* stream = OpenStream(handle);
  if (stream == nullptr || buffer == nullptr || size <= 0) return nullptr;
  return stream->ReadLine(buffer, size);
}

bool FileRename(const char* from, const char* to) { return os::ActivePort().RenameFile(from, to); }

bool FileRemove(const char* path) { return os::ActivePort().RemoveFile(path); }
