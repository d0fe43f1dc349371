// The package manifest: a text that declares a flash package, read with the
// TextTokenizer (keywords compared case-sensitively, each followed by its
// value), strictly in this order:
//
//   PACKAGE_TYPE 0x07  PACKAGE_VERSION 0x0E020600  PACKAGE_FLAGS 0x0  PACKAGE_IMAGES 0x02
//   IMAGE_START_TAG 0xFFFFFFFF  IMAGE_TYPE 0x01  IMAGE_UNIQUEID 0x0  IMAGE_VERSION 0x1
//   IMAGE_FILEPATH fw.bin  IMAGE_END_TAG 0xFFFFFFFF
//   IMAGE_START_TAG 0xFFFFFFFF  ...  IMAGE_END_TAG 0xFFFFFFFF
//
// Numbers are two prefix characters (normally "0x") and up to 16
// hexadecimal digits.
#pragma once

#include <cstddef>

#include "app/package/package_declaration.h"

// Reads the manifest text (length bytes, or up to its first NUL) into
// *spec; manifestPath names it in the messages. Every image file it names
// must be a regular file that opens; its size is recorded. True when the
// header and exactly the declared number of image sections are complete;
// otherwise false after the message of the first fault (a word out of order,
// a missing or invalid value, an image file that does not open, a word too
// long for the tokenizer, fewer or more sections than declared, images that
// do not fit one package).
bool ReadPkgManifest(const char* text, size_t length, const char* manifestPath, PkgSpec* spec);
