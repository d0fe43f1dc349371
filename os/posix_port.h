// The POSIX implementation of the platform port.
#pragma once

#include "os/port.h"

namespace os {

class PosixPort : public Port {
 public:
  int OpenNode(const char* path, NodeAccess access) override;
  void CloseNode(int descriptor) override;
  int Ioctl(int descriptor, uint32_t request, void* block) override;
  int LastErrorNumber() const override { return lastError_; }
  bool IgnoreNotificationSignal() override;
  bool OwnDescriptor(int descriptor) override;
  bool SetAsyncMode(int descriptor) override;

  bool Stat(const char* path, PathStatus* status) override;
  bool Lstat(const char* path, PathStatus* status) override;
  bool ListDirectory(const char* path, std::vector<std::string>* names) override;
  std::unique_ptr<File> OpenFile(const char* path, const char* mode) override;
  bool RenameFile(const char* from, const char* to) override;
  bool RemoveFile(const char* path) override;

  int64_t Time() override;
  bool LocalTime(int64_t seconds, std::tm* out) override;
  void Sleep(uint32_t seconds) override;
  void Usleep(uint32_t microseconds) override;

  int ReadChar() override;
  void WriteOut(const char* text, size_t length) override;
  void WriteError(const char* text, size_t length) override;
  bool OutputFailed() const override { return outputFailed_; }

 private:
  int lastError_ = 0;
  bool outputFailed_ = false;
};

}  // namespace os
