// DOWNLOAD MICROCODE: the whole image in one command (subcommand 0x07,
// download and save, or 0x01, download for immediate use), its size in
// sectors in the count with LBA low as bits 8-15. The module keeps the
// image (in the card file) and, when the image names a revision — the eight
// characters after the tag "ZK-FWREV" — reports that revision from then on;
// an image without the tag is stored and leaves the revision alone. A
// module armed with download-refusals aborts the download and keeps its
// image and revision.
#include <algorithm>
#include <string>

#include "emu/modules/ata_command_set.h"
#include "emu/modules/ata_layouts.h"

namespace emu {
namespace {

constexpr uint8_t kDownloadTemporary = 0x01;
constexpr uint8_t kDownloadAndSave = 0x07;

std::string RevisionIn(const std::vector<uint8_t>& image) {
  const char* tag = ata::kRevisionTag;
  auto found = std::search(image.begin(), image.end(), tag, tag + ata::kRevisionTagBytes);
  if (found == image.end() ||
      static_cast<size_t>(image.end() - found) < ata::kRevisionTagBytes + ata::kRevisionBytes) {
    return "";
  }
  std::string revision(found + ata::kRevisionTagBytes, found + ata::kRevisionTagBytes + ata::kRevisionBytes);
  for (char ch : revision) {
    if (ch < 0x20 || ch > 0x7E) return "";
  }
  return revision;
}

}  // namespace

void KeepFirmwareImage(ModuleModel& module, ModuleRuntime& runtime, MicrocodeDownload download) {
  download.revision = RevisionIn(download.image);
  module.firmwareImage = download.image;
  if (!download.revision.empty()) module.firmware = download.revision;
  runtime.downloads.push_back(std::move(download));
}

AtaAnswer DownloadMicrocode(AtaContext& c) {
  uint8_t mode = static_cast<uint8_t>(c.fis.features);
  uint32_t sectors = c.fis.count & 0xFF;
  sectors |= static_cast<uint32_t>(c.fis.Byte(0)) << 8;
  if ((mode != kDownloadTemporary && mode != kDownloadAndSave) || sectors == 0) return Aborted();
  if (TakeRefusal(&c.module.downloadRefusals)) return Aborted();
  MicrocodeDownload download;
  download.mode = mode;
  if (!c.TakeSectors(sectors, &download.image)) return Aborted();
  KeepFirmwareImage(c.module, c.runtime, std::move(download));
  AtaAnswer answer;
  answer.bytesOut = sectors * ata::kSectorBytes;
  return answer;
}

}  // namespace emu
