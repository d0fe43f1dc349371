// The flashing of a checked package: its entries in package order, the
// controller firmware last (its download resets the controller), and the
// report of what went in.
#include <vector>

#include "app/flash/flash_controller_image.h"
#include "app/package/flash_package.h"
#include "app/package/flash_package_layout.h"
#include "app/package/update_pkg.h"
#include "app/shell/console.h"
#include "app/shell/program_state.h"
#include "app/shell/utility_names.h"
#include "ctl/base/byte_order.h"

namespace {

struct EntryPlace {
  uint8_t type;
  uint32_t offset;
  uint32_t size;
};

// Entry `index` when the package holds its record and its data, else false.
bool PlaceOf(const uint8_t* package, uint32_t size, uint32_t index, EntryPlace* place) {
  if (package == nullptr || size < flash_pkg_header::kSize ||
      index >= Get8(package, flash_pkg_header::kEntryCount) || FlashPkgEntryOffset(index + 1) > size) {
    return false;
  }
  const uint8_t* record = package + FlashPkgEntryOffset(index);
  place->type = Get8(record, flash_pkg_entry::kImageType);
  place->offset = GetLe32(record, flash_pkg_entry::kOffset);
  place->size = GetLe32(record, flash_pkg_entry::kSize);
  return uint64_t{place->offset} + place->size <= size;
}

uint32_t EntryFailed(uint8_t type) {
  ConsolePrint("\n");
  ConsolePrint("%s: Failed to flash image. Type: 0x%x\n", kUtilityTitle, type);
  return 1;
}

// What became of one entry, for the report after a failure.
enum class Outcome { kNotFlashed, kWritten, kFailed, kIgnored };

const char* OutcomeText(Outcome outcome) {
  switch (outcome) {
    case Outcome::kWritten: return "written";
    case Outcome::kFailed: return "failed";
    case Outcome::kIgnored: return "ignored";
    case Outcome::kNotFlashed: break;
  }
  return "not flashed";
}

void ReportEntries(const uint8_t* package, const std::vector<Outcome>& outcomes) {
  for (uint32_t i = 0; i < outcomes.size(); ++i) {
    uint8_t type = Get8(package + FlashPkgEntryOffset(i), flash_pkg_entry::kImageType);
    ConsolePrint("\t\tPackage entry %u, type 0x%x: %s.\n", i, type, OutcomeText(outcomes[i]));
  }
}

}  // namespace

uint32_t FlashPkgEntry(uint32_t index, uint8_t* package, uint32_t size, PkgKeptFirmware* kept) {
  EntryPlace place{};
  if (!PlaceOf(package, size, index, &place)) return EntryFailed(0);
  uint8_t* data = package + place.offset;
  uint32_t result = 1;
  switch (place.type) {
    case kPkgImageFirmware:
      kept->image = data;
      kept->size = place.size;
      result = 0;
      break;
    case kPkgImageBios:
    case kPkgImageUefi:
    case kPkgImageBiosOther:
      result = FlashControllerImage(SelectedController - 1, kFlashModeBios, data, place.size, 0, 0);
      break;
    case kPkgImageSsdFirmware:
      result = FlashPkgSsdFirmware(data, place.size);
      break;
    case kPkgImageIgnored:
      result = 0;
      break;
    default:
      break;
  }
  return result == 0 ? 0 : EntryFailed(place.type);
}

uint32_t UpdateFlashPkg(uint8_t* package, uint32_t size) {
  if (ValidateFlashPkg(package, size) != 0) return 1;
  if (CheckPkgOemAndBoardName(package, size) == 0) return 1;
  ConsolePrint("\t\tPlease wait. Package update is in progress.");

  uint32_t count = Get8(package, flash_pkg_header::kEntryCount);
  std::vector<Outcome> outcomes(count, Outcome::kNotFlashed);
  PkgKeptFirmware kept;
  uint32_t firmwareEntry = count;
  bool entriesDone = true;
  for (uint32_t i = 0; i < count; ++i) {
    uint8_t type = Get8(package + FlashPkgEntryOffset(i), flash_pkg_entry::kImageType);
    if (FlashPkgEntry(i, package, size, &kept) != 0) {
      // The later entries are left as they are on the card.
      outcomes[i] = Outcome::kFailed;
      entriesDone = false;
      break;
    }
    if (type == kPkgImageFirmware) {
      firmwareEntry = i;
    } else {
      outcomes[i] = type == kPkgImageIgnored ? Outcome::kIgnored : Outcome::kWritten;
    }
  }
  ConsolePrint("\t\tIsFlashPkgSuccess: %s", entriesDone ? "SUCCESS" : "FAILED \n\n");

  // The firmware goes in also after a failed entry, as long as its entry
  // was reached; an image that was never kept is not sent.
  uint32_t firmwareResult = 1;
  if (kept.image != nullptr) {
    firmwareResult = FlashControllerImage(SelectedController - 1, kFlashModeFirmware, kept.image, kept.size, 0, 0);
    outcomes[firmwareEntry] = firmwareResult == 0 ? Outcome::kWritten : Outcome::kFailed;
  } else {
    ConsolePrint("\t\tController firmware not flashed.\n\n");
  }

  if (entriesDone && firmwareResult == 0) {
    ConsolePrint("\n%s: Corvexium package updated successfully.\n", kUtilityTitle);
    return 0;
  }
  if (entriesDone) {
    ConsolePrint("\n%s: Failed to flash image. Type: 0x%x\n", kUtilityTitle, kPkgImageFirmware);
  } else {
    bool anyWritten = false;
    for (Outcome outcome : outcomes) anyWritten = anyWritten || outcome == Outcome::kWritten;
    // A failed entry fails the command whatever the firmware did.
    if (anyWritten) {
      ConsolePrint("\n%s: Corvexium package update is partially successful.\n", kUtilityTitle);
    } else {
      ConsolePrint("\n%s: Corvexium package update failed.\n", kUtilityTitle);
    }
  }
  ReportEntries(package, outcomes);
  return 1;
}
