#include "app/shell/whole_file.h"

#include <utility>

#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/utility_names.h"

namespace {

// The file opened for the read, closed on every way out.
class OpenedFile {
 public:
  OpenedFile(const char* name, const char* mode, uint32_t* size)
      : handle_(IsRegularFile(name) ? FileOpen(name, mode, size) : kInvalidFileHandle) {}
  ~OpenedFile() { FileClose(handle_); }
  OpenedFile(const OpenedFile&) = delete;
  OpenedFile& operator=(const OpenedFile&) = delete;
  bool open() const { return handle_ != kInvalidFileHandle; }
  uint32_t handle() const { return handle_; }

 private:
  uint32_t handle_;
};

}  // namespace

bool ReadWholeFile(const char* name, const WholeFileOptions& options, WholeFile* file) {
  *file = WholeFile{};
  uint32_t size = 0;
  OpenedFile opened(name, options.terminated ? "r" : "rb", &size);
  if (!opened.open()) {
    ConsolePrint("\n%s: File doesn't exists or not a regular file. Name: %s.\n", kUtilityTitle, name);
    return false;
  }
  // The size the open gives is cut to 32 bits: a file beyond them would be
  // read as its first few bytes (or as empty), so it is refused as too
  // large to hold.
  uint64_t wholeSize = 0;
  if (RegularFileSize(name, &wholeSize) && wholeSize > UINT32_MAX) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return false;
  }
  if (size == 0 && options.emptyRefusal != nullptr) {
    ConsolePrint(options.emptyRefusal, kUtilityTitle, name);
    return false;
  }
  if (size == 0 && !options.terminated) return true;  // no bytes to hold
  // The NUL needs a byte beyond the file's: a file of the largest size
  // cannot have one (its room would wrap round to nothing).
  const bool fits = !options.terminated || size != UINT32_MAX;
  AppBuffer bytes = fits ? AppBuffer(static_cast<size_t>(size) + (options.terminated ? 1 : 0)) : AppBuffer();
  if (!bytes) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return false;
  }
  if (size != 0 && FileReadAll(opened.handle(), size, bytes.get()) != 0) {
    if (options.readFailure != nullptr) ConsolePrint(options.readFailure, kUtilityTitle, name);
    return false;
  }
  file->bytes = std::move(bytes);
  file->size = size;
  return true;
}
