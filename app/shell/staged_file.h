// A file written under a temporary name beside its final one ("<name>.part"
// in the same directory) and given its final name only when every byte was
// written: a run that fails half-way leaves no file that looks complete.
#pragma once

#include <cstdint>
#include <string>

class StagedFile {
 public:
  StagedFile() = default;
  ~StagedFile();  // a file not committed is closed and taken away
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Opens the temporary file with the standard-library mode; false when it
  // cannot be created.
  bool Open(const char* name, const char* mode);
  // Writes length bytes; false when not all were written.
  bool Write(const void* data, uint32_t length);
  // Closes the file and keeps it under its temporary name (StagingName), so
  // that it can be read back before Commit; false (and no file) when not
  // every byte reached it.
  bool Close();
  // Closes the file if it is open and gives it its final name; false (and
  // no file) when the bytes or the name cannot be given.
  bool Commit();
  // Closes the file and takes it away.
  void Discard();

  const char* StagingName() const { return staging_.c_str(); }

 private:
  std::string name_;
  std::string staging_;
  uint32_t handle_ = 0xFFFFFFFF;
};
