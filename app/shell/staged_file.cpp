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
  if (handle_ == kInvalidFileHandle) staging_.clear();
  return handle_ != kInvalidFileHandle;
}

bool StagedFile::Write(const void* data, uint32_t length) {
  if (handle_ == kInvalidFileHandle) return false;
  return FileWrite(handle_, length, data) == 1;
}

bool StagedFile::Close() {
  if (handle_ == kInvalidFileHandle) return !staging_.empty();
  // Closing flushes what the stream still holds: a full disk shows there.
  FileSlot* slot = FindFileSlot(handle_);
  bool flushed = slot != nullptr && slot->stream != nullptr && slot->stream->Flush();
  FileClose(handle_);
  handle_ = kInvalidFileHandle;
  if (!flushed) Discard();
  return flushed;
}

bool StagedFile::Commit() {
  if (!Close()) return false;
  if (!FileRename(staging_.c_str(), name_.c_str())) {
    Discard();
    return false;
  }
  staging_.clear();
  return true;
}

void StagedFile::Discard() {
  if (handle_ != kInvalidFileHandle) {
    FileClose(handle_);
    handle_ = kInvalidFileHandle;
  }
  if (staging_.empty()) return;
  FileRemove(staging_.c_str());
  staging_.clear();
}
