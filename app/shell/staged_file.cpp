#include "app/shell/staged_file.h"

#include "app/shell/file_slots.h"

namespace {
constexpr char kStagingSuffix[] = ".part";
}  // namespace

StagedFile::~StagedFile() { Discard(); }

bool StagedFile::Open(const char* name, const char* mode) {
  Discard();
  if (name == nullptr || name[0] == '\0') return false;
  name_ = name;
  staging_ = name_ + kStagingSuffix;
  uint32_t size = 0;
  handle_ = FileOpen(staging_.c_str(), mode, &size);
  return handle_ != kInvalidFileHandle;
}

bool StagedFile::Write(const void* data, uint32_t length) {
  if (handle_ == kInvalidFileHandle) return false;
  return FileWrite(handle_, length, data) == 1;
}

bool StagedFile::Commit() {
  if (handle_ == kInvalidFileHandle) return false;
  // Closing flushes what the stream still holds: a full disk shows there.
  FileSlot* slot = FindFileSlot(handle_);
  bool flushed = slot != nullptr && slot->stream != nullptr && slot->stream->Flush();
  FileClose(handle_);
  handle_ = kInvalidFileHandle;
  if (!flushed || !FileRename(staging_.c_str(), name_.c_str())) {
    FileRemove(staging_.c_str());
    return false;
  }
  staging_.clear();
  return true;
}

void StagedFile::Discard() {
  if (handle_ == kInvalidFileHandle) return;
  FileClose(handle_);
  handle_ = kInvalidFileHandle;
  FileRemove(staging_.c_str());
  staging_.clear();
}
