#include "os/posix_port.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace os {
namespace {

class StdioFile : public File {
 public:
  explicit StdioFile(std::FILE* stream) : stream_(stream) {}
  ~StdioFile() override { std::fclose(stream_); }
  size_t Read(void* buffer, size_t length) override { return std::fread(buffer, 1, length, stream_); }
  size_t Write(const void* buffer, size_t length) override { return std::fwrite(buffer, 1, length, stream_); }
  bool Rewind() override { return std::fseek(stream_, 0, SEEK_SET) == 0; }
  char* ReadLine(char* buffer, int size) override { return std::fgets(buffer, size, stream_); }
  bool Flush() override { return std::fflush(stream_) == 0; }

 private:
  std::FILE* stream_;
};

// The notification signal only wakes the program; it has nothing to do.
void OnNotification(int) {}

void FillStatus(const struct stat& st, PathStatus* status) {
  status->isRegular = S_ISREG(st.st_mode);
  status->isDirectory = S_ISDIR(st.st_mode);
  status->isSymlink = S_ISLNK(st.st_mode);
  status->size = static_cast<uint64_t>(st.st_size);
}

}  // namespace

int PosixPort::OpenNode(const char* path, NodeAccess access) {
  int fd = ::open(path, access == NodeAccess::kReadWrite ? O_RDWR : O_RDONLY);
  if (fd < 0) lastError_ = errno;
  return fd;
}

void PosixPort::CloseNode(int descriptor) { ::close(descriptor); }

bool PosixPort::IgnoreNotificationSignal() {
  struct sigaction action = {};
  action.sa_handler = OnNotification;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  if (::sigaction(SIGIO, &action, nullptr) != 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

bool PosixPort::OwnDescriptor(int descriptor) {
  if (::fcntl(descriptor, F_SETOWN, ::getpid()) < 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

bool PosixPort::SetAsyncMode(int descriptor) {
  int flags = ::fcntl(descriptor, F_GETFL);
  if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags | O_ASYNC) < 0) {
    lastError_ = errno;
    return false;
  }
  return true;
}

int PosixPort::Ioctl(int descriptor, uint32_t request, void* block) {
  int rc = ::ioctl(descriptor, static_cast<unsigned long>(request), block);
  if (rc < 0) {
    lastError_ = errno;
    return -1;
  }
  return 0;
}

bool PosixPort::Stat(const char* path, PathStatus* status) {
  struct stat st {};
  if (::stat(path, &st) != 0) return false;
  FillStatus(st, status);
  return true;
}

bool PosixPort::Lstat(const char* path, PathStatus* status) {
  struct stat st {};
  if (::lstat(path, &st) != 0) return false;
  FillStatus(st, status);
  return true;
}

bool PosixPort::ListDirectory(const char* path, std::vector<std::string>* names) {
  DIR* dir = ::opendir(path);
  if (dir == nullptr) return false;
  names->clear();
  while (struct dirent* entry = ::readdir(dir)) names->emplace_back(entry->d_name);
  ::closedir(dir);
  return true;
}

std::unique_ptr<File> PosixPort::OpenFile(const char* path, const char* mode) {
  std::FILE* stream = std::fopen(path, mode);
  if (stream == nullptr) return nullptr;
  return std::make_unique<StdioFile>(stream);
}

bool PosixPort::RenameFile(const char* from, const char* to) {
  if (from == nullptr || to == nullptr) return false;
  return std::rename(from, to) == 0;
}

bool PosixPort::RemoveFile(const char* path) { return path != nullptr && std::remove(path) == 0; }

int64_t PosixPort::Time() { return static_cast<int64_t>(std::time(nullptr)); }

bool PosixPort::LocalTime(int64_t seconds, std::tm* out) {
  std::time_t t = static_cast<std::time_t>(seconds);
  return ::localtime_r(&t, out) != nullptr;
}

void PosixPort::Sleep(uint32_t seconds) { ::sleep(seconds); }

void PosixPort::Usleep(uint32_t microseconds) { ::usleep(microseconds); }

int PosixPort::ReadChar() { return std::getchar(); }

void PosixPort::WriteOut(const char* text, size_t length) {
  bool written = std::fwrite(text, 1, length, stdout) == length;
  bool flushed = std::fflush(stdout) == 0;
  if (!written || !flushed) outputFailed_ = true;
}

void PosixPort::WriteError(const char* text, size_t length) {
  std::fwrite(text, 1, length, stderr);
  std::fflush(stderr);
}

}  // namespace os
