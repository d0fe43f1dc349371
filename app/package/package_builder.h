// Writing a flash package from the images a manifest names: the header and
// entry table, the image files read into place, the checksum, and the file
// written under a temporary name, read back and checked before it gets its
// final name.
#pragma once

#include <cstdint>

#include "app/package/package_declaration.h"
#include "app/shell/app_buffer.h"

// The header and the entry table of the package (FlashPkgEntryOffset of the
// entry count bytes): signatures, newest header version, the manifest's
// fields, each image's offset right after the one before it (the first
// right after the table), checksum 0, zero everywhere else.
void EncodePkgHeaderAndTable(const PkgSpec& spec, uint8_t* out);

// The size of the whole package, or 0 when it does not fit the format's
// 32-bit sizes.
uint32_t PkgTotalSize(const PkgSpec& spec);

// The whole package in memory: header, table, every image file read again
// into its place, and the checksum. False after the message: memory, an
// image that cannot be opened or read, or whose size is no longer the one
// the manifest's reading found (nothing may stay a hole in the package).
bool AssemblePackage(const PkgSpec& spec, AppBuffer* package);

// Writes the package to the output file through a temporary file, reads
// that back and checks its size, its checksum and the format's checks of
// the file alone, and only then gives it the output name. False after the
// message; no output file (and no temporary one) is then left, and a file
// the output name had is untouched.
bool WritePackageFile(const char* path, const uint8_t* package, uint32_t size);
