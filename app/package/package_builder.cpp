#include "app/package/package_builder.h"

#include "app/package/flash_package.h"
#include "app/package/flash_package_layout.h"
#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/memory_strings.h"
#include "app/shell/staged_file.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"

namespace {

// Reads the image file whole into its place. Its size must still be the one
// the manifest's reading recorded: the offsets of every later image and the
// checksum were laid out for it.
bool ReadImageInto(const PkgImageSpec& image, uint8_t* place) {
  uint32_t size = 0;
  uint32_t handle =
      IsRegularFile(image.path.c_str()) ? FileOpen(image.path.c_str(), "rb", &size) : kInvalidFileHandle;
  if (handle == kInvalidFileHandle) {
    ConsolePrint("%s: Failed to open file %s\n", kUtilityTitle, image.path.c_str());
    return false;
  }
  bool read = size == image.size && FileReadAll(handle, image.size, place) == 0;
  FileClose(handle);
  if (!read) {
    ConsolePrint("%s: Error reading image file %s.\n", kUtilityTitle, image.path.c_str());
    return false;
  }
  return true;
}

// Reads the file at path whole, expecting `size` bytes; false after the
// output file's message.
bool ReadBack(const char* path, const char* shownName, uint32_t size, AppBuffer* bytes) {
  uint32_t fileSize = 0;
  uint32_t handle = FileOpen(path, "rb", &fileSize);
  if (handle == kInvalidFileHandle) {
    ConsolePrint("%s: Error opening package output file %s.\n", kUtilityTitle, shownName);
    return false;
  }
  bool good = true;
  if (fileSize != size) {
    ConsolePrint("%s: Package output file size is %u and not %u.\n", kUtilityTitle, fileSize, size);
    good = false;
  } else {
    *bytes = AppBuffer(size);
    if (!*bytes) {
      ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
      good = false;
    } else if (FileReadAll(handle, size, bytes->get()) != 0) {
      ConsolePrint("%s: Error reading package output file %s.\n", kUtilityTitle, shownName);
      good = false;
    }
  }
  FileClose(handle);
  return good;
}

}  // namespace

void EncodePkgHeaderAndTable(const PkgSpec& spec, uint8_t* out) {
  namespace h = flash_pkg_header;
  namespace e = flash_pkg_entry;
  const uint32_t count = static_cast<uint32_t>(spec.images.size());
  MemSet(out, 0, FlashPkgEntryOffset(count));
  PutLe32(out, h::kSignature0, h::kSignature0Value);
  PutLe32(out, h::kSignature1, h::kSignature1Value);
  Put8(out, h::kPackageType, spec.packageType);
  PutLe32(out, h::kPackageVersion, spec.packageVersion);
  PutLe32(out, h::kFlags, spec.flags);
  PutLe32(out, h::kHeaderVersion, h::kNewestHeaderVersion);
  Put8(out, h::kEntryCount, static_cast<uint8_t>(count));
  uint32_t offset = static_cast<uint32_t>(FlashPkgEntryOffset(count));
  for (uint32_t i = 0; i < count; ++i) {
    const PkgImageSpec& image = spec.images[i];
    uint8_t* entry = out + FlashPkgEntryOffset(i);
    Put8(entry, e::kImageType, image.type);
    PutLe32(entry, e::kOffset, offset);
    offset += image.size;
    PutLe32(entry, e::kSize, image.size);
    PutLe64(entry, e::kVersion, image.version);
    PutLe64(entry, e::kUniqueId, image.uniqueId);
  }
}

uint32_t PkgTotalSize(const PkgSpec& spec) {
  uint64_t total = FlashPkgEntryOffset(static_cast<uint32_t>(spec.images.size()));
  for (const PkgImageSpec& image : spec.images) total += image.size;
  return total > UINT32_MAX ? 0 : static_cast<uint32_t>(total);
}

bool AssemblePackage(const PkgSpec& spec, AppBuffer* package) {
  const uint32_t total = PkgTotalSize(spec);
  if (total != 0 && spec.images.size() <= UINT8_MAX) *package = AppBuffer(total);
  if (!*package) {
    ConsolePrint("\n%s: Insufficient memory.\n", kUtilityTitle);
    return false;
  }
  uint8_t* bytes = package->get();
  EncodePkgHeaderAndTable(spec, bytes);
  uint32_t offset = static_cast<uint32_t>(FlashPkgEntryOffset(static_cast<uint32_t>(spec.images.size())));
  for (const PkgImageSpec& image : spec.images) {
    if (!ReadImageInto(image, bytes + offset)) {
      *package = AppBuffer();
      return false;
    }
    offset += image.size;
  }
  PutLe32(bytes, flash_pkg_header::kChecksum, ComputeFlashPkgChecksum(bytes, total));
  return true;
}

bool WritePackageFile(const char* path, const uint8_t* package, uint32_t size) {
  ConsolePrint("%s: Writing combined image to output file %s.\n", kUtilityTitle, path);
  StagedFile file;
  if (!file.Open(path, "wb")) {
    ConsolePrint("%s: Error creating package output file %s.\n", kUtilityTitle, path);
    return false;
  }
  if (!file.Write(package, size) || !file.Close()) {
    ConsolePrint("%s: Error writing data to package output file %s.\n", kUtilityTitle, path);
    return false;
  }
  ConsolePrint("%s: Output Package File generated.\n", kUtilityTitle);
  ConsolePrint("%s: Validating generated output package file.\n", kUtilityTitle);
  AppBuffer written;
  if (!ReadBack(file.StagingName(), path, size, &written)) return false;
  uint32_t stored = GetLe32(written.get(), flash_pkg_header::kChecksum);
  uint32_t sum = ComputeFlashPkgChecksum(written.get(), size);
  if (sum != stored) {
    ConsolePrint("%s: Package checksum 0x%x does not match  0x%x\n", kUtilityTitle, sum, stored);
    return false;
  }
  if (!MemEqual(written.get(), package, size)) {
    ConsolePrint("%s: Package output file %s does not hold the package that was written.\n", kUtilityTitle, path);
    return false;
  }
  // What every reader checks of the file alone (its message printed).
  if (CheckFlashPkgFile(written.get(), size) != 0) return false;
  if (!file.Commit()) {
    ConsolePrint("%s: Error creating package output file %s.\n", kUtilityTitle, path);
    return false;
  }
  ConsolePrint("%s: Validated generated package successfully.\n", kUtilityTitle);
  return true;
}
