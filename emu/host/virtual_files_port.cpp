// Paths: /proc and /sys are served from the model's virtual tree, the
// control nodes under /dev exist exactly when the model has them, and every
// other path is the real file system's (os::PosixPort).
#include <cstring>

#include "emu/host/emulator.h"

namespace emu {
namespace {

bool Under(const std::string& path, const char* root) {
  size_t n = std::strlen(root);
  return path.compare(0, n, root) == 0 && (path.size() == n || path[n] == '/');
}

bool IsVirtual(const std::string& path) { return Under(path, "/proc") || Under(path, "/sys"); }

void Describe(const VirtualEntry& entry, os::PathStatus* status) {
  *status = os::PathStatus{};
  status->isRegular = entry.kind == VirtualEntry::Kind::kFile;
  status->isDirectory = entry.kind == VirtualEntry::Kind::kDirectory;
  status->isSymlink = entry.kind == VirtualEntry::Kind::kSymlink;
  status->size = entry.kind == VirtualEntry::Kind::kFile ? entry.data.size() : 0;
}

// An open virtual file. Reads see the entry's contents as they are now;
// writes change them and are noted in the emulator's list of virtual writes.
class VirtualFile : public os::File {
 public:
  VirtualFile(Emulator& emulator, std::string path, bool read, bool write, bool append)
      : emulator_(emulator), path_(std::move(path)), read_(read), write_(write), append_(append) {}

  size_t Read(void* buffer, size_t length) override {
    std::string* data = Data();
    if (!read_ || data == nullptr || position_ >= data->size()) return 0;
    size_t n = std::min(length, data->size() - position_);
    std::memcpy(buffer, data->data() + position_, n);
    position_ += n;
    return n;
  }

  size_t Write(const void* buffer, size_t length) override {
    std::string* data = Data();
    if (!write_ || data == nullptr) return 0;
    if (append_) position_ = data->size();
    emulator_.model().files.Find(path_)->generated = false;  // written: no longer the state's
    if (data->size() < position_ + length) data->resize(position_ + length, '\0');
    data->replace(position_, length, static_cast<const char*>(buffer), length);
    position_ += length;
    emulator_.NoteVirtualWrite(path_, std::string(static_cast<const char*>(buffer), length));
    return length;
  }

  bool Rewind() override {
    position_ = 0;
    return true;
  }

  char* ReadLine(char* buffer, int size) override {
    std::string* data = Data();
    if (size <= 0 || !read_ || data == nullptr) return nullptr;
    if (size == 1) {
      buffer[0] = '\0';
      return buffer;
    }
    if (position_ >= data->size()) return nullptr;
    int n = 0;
    while (n < size - 1 && position_ < data->size()) {
      char c = (*data)[position_++];
      buffer[n++] = c;
      if (c == '\n') break;
    }
    buffer[n] = '\0';
    return buffer;
  }

  bool Flush() override { return true; }

 private:
  std::string* Data() {
    VirtualEntry* entry = emulator_.model().files.Find(path_);
    return entry != nullptr && entry->kind == VirtualEntry::Kind::kFile ? &entry->data : nullptr;
  }

  Emulator& emulator_;
  std::string path_;
  bool read_, write_, append_;
  size_t position_ = 0;
};

}  // namespace

bool Emulator::Stat(const char* path, os::PathStatus* status) {
  if (path == nullptr) return false;
  std::string p = path;
  // A control node is there exactly when the machine has it (a character device).
  if (IsKnownNodePath(p) || model_.FindNode(p) != nullptr) {
    if (model_.FindNode(p) == nullptr) return false;
    *status = os::PathStatus{};
    return true;
  }
  if (!IsVirtual(p)) return posix_.Stat(path, status);
  SyncVirtualFiles();
  const VirtualEntry* entry = model_.files.Resolve(p);
  if (entry == nullptr) return false;
  Describe(*entry, status);
  return true;
}

bool Emulator::Lstat(const char* path, os::PathStatus* status) {
  if (path == nullptr) return false;
  std::string p = path;
  if (IsKnownNodePath(p) || model_.FindNode(p) != nullptr) {
    if (model_.FindNode(p) == nullptr) return false;
    *status = os::PathStatus{};
    return true;
  }
  if (!IsVirtual(p)) return posix_.Lstat(path, status);
  SyncVirtualFiles();
  // The folders on the way are followed, the last name is not.
  size_t slash = p.rfind('/');
  std::string folder = slash == 0 ? "/" : p.substr(0, slash);
  std::string resolved = folder;
  if (folder != "/" && IsVirtual(folder) && model_.files.Resolve(folder, &resolved) == nullptr) {
    return false;
  }
  const VirtualEntry* entry = model_.files.Find((resolved == "/" ? "" : resolved) + p.substr(slash));
  if (entry == nullptr) return false;
  Describe(*entry, status);
  return true;
}

bool Emulator::ListDirectory(const char* path, std::vector<std::string>* names) {
  if (path == nullptr) return false;
  if (!IsVirtual(path)) return posix_.ListDirectory(path, names);
  SyncVirtualFiles();
  std::vector<std::string> inside;
  if (!model_.files.List(path, &inside)) return false;
  names->clear();
  names->push_back(".");
  names->push_back("..");
  names->insert(names->end(), inside.begin(), inside.end());
  return true;
}

std::unique_ptr<os::File> Emulator::OpenFile(const char* path, const char* mode) {
  if (path == nullptr || mode == nullptr) return nullptr;
  if (!IsVirtual(path)) return posix_.OpenFile(path, mode);
  SyncVirtualFiles();
  std::string resolved;
  const VirtualEntry* entry = model_.files.Resolve(path, &resolved);
  // The kernel's trees cannot be given new files.
  if (entry == nullptr || entry->kind != VirtualEntry::Kind::kFile) return nullptr;
  bool plus = std::strchr(mode, '+') != nullptr;
  bool read = mode[0] == 'r' || plus;
  bool write = mode[0] == 'w' || mode[0] == 'a' || plus;
  bool append = mode[0] == 'a';
  if (mode[0] != 'r' && mode[0] != 'w' && mode[0] != 'a') return nullptr;
  if (mode[0] == 'w') {
    VirtualEntry* written = model_.files.Find(resolved);
    written->data.clear();
    written->generated = false;
  }
  return std::make_unique<VirtualFile>(*this, resolved, read, write, append);
}

// The kernel's trees take no new names and lose no files.
bool Emulator::RenameFile(const char* from, const char* to) {
  if (from == nullptr || to == nullptr || IsVirtual(from) || IsVirtual(to)) return false;
  return posix_.RenameFile(from, to);
}

bool Emulator::RemoveFile(const char* path) {
  if (path == nullptr || IsVirtual(path)) return false;
  return posix_.RemoveFile(path);
}

}  // namespace emu
