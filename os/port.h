// The one narrow port through which the program reaches the platform: the
// driver's control nodes, the files and directories it reads or writes, the
// clock, its sleeps and the standard streams. The shipped program binds the
// POSIX implementation; the emulated card binds its own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace os {

// What stat/lstat tell about a path.
struct PathStatus {
  bool isRegular = false;
  bool isDirectory = false;
  bool isSymlink = false;
  uint64_t size = 0;
};

// An open file stream (user files, sysfs attributes, /proc files).
class File {
 public:
  virtual ~File() = default;
  // Bytes read or written; fewer than asked at the end or on an error.
  virtual size_t Read(void* buffer, size_t length) = 0;
  virtual size_t Write(const void* buffer, size_t length) = 0;
  // Moves to the start of the file; false when that fails.
  virtual bool Rewind() = 0;
  // One line of at most size - 1 characters, the line break kept and the
  // text terminated (fgets); null at the end of the file.
  virtual char* ReadLine(char* buffer, int size) = 0;
  virtual bool Flush() = 0;
};

enum class NodeAccess { kReadWrite, kReadOnly };

class Port {
 public:
  virtual ~Port() = default;

  // Driver control nodes: a descriptor or -1; ioctl answers 0 or -1. After a
  // failed call LastErrorNumber() holds the error number (errno).
  virtual int OpenNode(const char* path, NodeAccess access) = 0;
  virtual void CloseNode(int descriptor) = 0;
  virtual int Ioctl(int descriptor, uint32_t request, void* block) = 0;
  virtual int LastErrorNumber() const = 0;

  // Notification when a node has news: a handler for the notification
  // signal (SIGIO) that does nothing and lets interrupted calls restart, the
  // process as the descriptor's owner, and the descriptor in asynchronous
  // mode. No other signal's handling is touched. Each answers false with
  // LastErrorNumber() set when it fails.
  virtual bool IgnoreNotificationSignal() = 0;
  virtual bool OwnDescriptor(int descriptor) = 0;
  virtual bool SetAsyncMode(int descriptor) = 0;

  // Paths and directories. ListDirectory gives every entry readdir gives,
  // "." and ".." included, in directory order.
  virtual bool Stat(const char* path, PathStatus* status) = 0;
  virtual bool Lstat(const char* path, PathStatus* status) = 0;
  virtual bool ListDirectory(const char* path, std::vector<std::string>* names) = 0;

  // Files, with the standard library's modes ("r", "rb", "w", "wb", "wb+", "a+").
  virtual std::unique_ptr<File> OpenFile(const char* path, const char* mode) = 0;
  // Gives a file a new name in place of whatever had it (rename), or takes
  // a file away (remove); false when that fails.
  virtual bool RenameFile(const char* from, const char* to) = 0;
  virtual bool RemoveFile(const char* path) = 0;

  // Clock and waits.
  virtual int64_t Time() = 0;
  virtual bool LocalTime(int64_t seconds, std::tm* out) = 0;
  virtual void Sleep(uint32_t seconds) = 0;
  virtual void Usleep(uint32_t microseconds) = 0;

  // Standard streams. ReadChar answers -1 at the end of input; writes are
  // flushed before they return.
  virtual int ReadChar() = 0;
  virtual void WriteOut(const char* text, size_t length) = 0;
  virtual void WriteError(const char* text, size_t length) = 0;
  // Whether any write to standard output so far was cut short or could not
  // be flushed (a full disk): what the user was told did not all arrive.
  virtual bool OutputFailed() const = 0;
};

// The port this program is bound to (chosen at link time).
Port& ActivePort();

}  // namespace os
