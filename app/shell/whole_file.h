// A command's whole file read at once into an owned buffer: the file must be
// there and be a regular file, its bytes are read from the start, and the
// buffer is freed with the holder on every way out. The commands differ only
// in the options.
#pragma once

#include <cstdint>

#include "app/shell/app_buffer.h"

struct WholeFileOptions {
  // Null: an empty file reads as no bytes (no buffer, size 0), for the
  // command's own checks to refuse. Otherwise the message that refuses an
  // empty file before anything is allocated (a format taking the utility's
  // title, then the file name).
  const char* emptyRefusal = nullptr;
  // A NUL after the bytes, so that the file can be read as one string; the
  // file is then opened as text.
  bool terminated = false;
  // The message when the file's bytes cannot all be read (the title, then
  // the name); null: the command stops without one.
  const char* readFailure = nullptr;
};

struct WholeFile {
  AppBuffer bytes;    // size bytes, then the NUL when asked for
  uint32_t size = 0;  // the file's bytes, the NUL not counted
};

// Reads the named file whole into *file. False, *file then empty, after
// "\n%s: File doesn't exists or not a regular file. Name: %s.\n", the empty
// file's refusal, "\n%s: Insufficient memory.\n" (also for a file of more
// than 4294967295 bytes, which no buffer here can hold) or the read failure.
bool ReadWholeFile(const char* name, const WholeFileOptions& options, WholeFile* file);
