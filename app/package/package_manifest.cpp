#include "app/package/package_manifest.h"

#include <cstdint>

#include "app/package/flash_package_layout.h"
#include "app/shell/console.h"
#include "app/shell/file_slots.h"
#include "app/shell/hex_number.h"
#include "app/shell/memory_strings.h"
#include "app/shell/text_tokenizer.h"
#include "app/shell/utility_names.h"

namespace {

constexpr size_t kNumberPrefixLength = 2;         // "0x"
constexpr uint64_t kSectionTagValue = 0xFFFFFFFF;  // IMAGE_START_TAG and IMAGE_END_TAG

constexpr char kPackageImages[] = "PACKAGE_IMAGES";
constexpr char kImageStartTag[] = "IMAGE_START_TAG";

// The two messages of a value that is not a number: the header's and the
// image sections' own words.
constexpr char kHeaderNotNumber[] = "%s: \"%s\" tag value is not valid %s\n";
constexpr char kSectionNotNumber[] = "%s: \"%s\" tag value is not valid type %s\n";

class ManifestReader {
 public:
  ManifestReader(const char* text, size_t length, const char* manifestPath, PkgSpec* spec)
      : words_(text, length), path_(manifestPath), spec_(spec) {}

  bool Run() { return ReadHeader() && ReadSections(); }

 private:
  // PACKAGE_TYPE, PACKAGE_VERSION, PACKAGE_FLAGS and PACKAGE_IMAGES, each
  // with its number. A manifest that ends before PACKAGE_IMAGES has its
  // value declares no package.
  bool ReadHeader() {
    uint64_t type = 0;
    if (!HeaderNumber("PACKAGE_TYPE", &type)) return false;
    if (type < 1 || type > flash_pkg_header::kHighestPackageType) {
      ConsolePrint("%s: Invalid Package Type %llu\n", kUtilityTitle, static_cast<unsigned long long>(type));
      return false;
    }
    uint64_t version = 0;
    uint64_t flags = 0;
    uint64_t images = 0;
    if (!HeaderNumber("PACKAGE_VERSION", &version) || !HeaderNumber("PACKAGE_FLAGS", &flags) ||
        !HeaderNumber(kPackageImages, &images)) {
      return false;
    }
    spec_->packageType = static_cast<uint8_t>(type);
    spec_->packageVersion = static_cast<uint32_t>(version);
    spec_->flags = static_cast<uint32_t>(flags);
    spec_->declaredImages = static_cast<uint8_t>(images);  // the header holds its low byte
    offset_ = FlashPkgEntryOffset(spec_->declaredImages);
    return true;
  }

  bool HeaderNumber(const char* keyword, uint64_t* value) {
    if (NextToken() != TokenResult::kToken || !StrEqual(words_.token(), keyword)) {
      ConsolePrint("%s: Error parsing package manifest file %s.\n", kUtilityTitle, path_);
      return false;
    }
    return Value(keyword) && Number(keyword, kHeaderNotNumber, value);
  }

  // The declared number of sections, then nothing more. A manifest that
  // ends inside a section leaves it uncounted.
  bool ReadSections() {
    uint32_t counted = 0;
    while (counted < spec_->declaredImages) {
      PkgImageSpec image;
      Section section = ReadSection(&image);
      if (section == Section::kRefused) return false;
      if (section == Section::kEnded) break;
      spec_->images.push_back(image);
      ++counted;
    }
    if (counted != spec_->declaredImages) {
      ConsolePrint(
          "%s: The number of image sections found(%u) in the package manifest file %s is not equal to the tag "
          "value \"%s\"=%u.\n",
          kUtilityTitle, counted, path_, kPackageImages, static_cast<uint32_t>(spec_->declaredImages));
      return false;
    }
    return NothingAfterTheSections();
  }

  enum class Section { kComplete, kEnded, kRefused };
  enum class Field { kTag, kType, kUniqueId, kVersion, kPath };
  struct SectionWord {
    const char* keyword;
    Field field;
  };

  // One section: each keyword of the table in its order, with its value.
  // kEnded when the text ends before a keyword.
  Section ReadSection(PkgImageSpec* image) {
    static constexpr SectionWord kWords[] = {
        {kImageStartTag, Field::kTag},          {"IMAGE_TYPE", Field::kType},
        {"IMAGE_UNIQUEID", Field::kUniqueId},   {"IMAGE_VERSION", Field::kVersion},
        {"IMAGE_FILEPATH", Field::kPath},       {"IMAGE_END_TAG", Field::kTag},
    };
    for (const SectionWord& word : kWords) {
      TokenResult result = NextToken();
      if (result == TokenResult::kEnd) return Section::kEnded;
      if (result != TokenResult::kToken || !StrEqual(words_.token(), word.keyword)) {
        SectionError();
        return Section::kRefused;
      }
      if (!Value(word.keyword) || !TakeValue(word, image)) return Section::kRefused;
    }
    return Section::kComplete;
  }

  bool TakeValue(const SectionWord& word, PkgImageSpec* image) {
    if (word.field == Field::kPath) return MeasureImage(image);
    uint64_t value = 0;
    if (!Number(word.keyword, kSectionNotNumber, &value)) return false;
    switch (word.field) {
      case Field::kTag:
        return value == kSectionTagValue || NotValid(word.keyword, value);
      case Field::kType:
        if (value < kPkgImageFirmware || value > kPkgImageIgnored) return NotValid(word.keyword, value);
        image->type = static_cast<uint8_t>(value);
        return true;
      case Field::kUniqueId:
        image->uniqueId = value;
        return true;
      case Field::kVersion:
        image->version = value;
        return true;
      case Field::kPath:
        break;
    }
    return false;
  }

  bool NotValid(const char* keyword, uint64_t value) {
    ConsolePrint("%s: \"%s\" tag value is not valid %llu\n", kUtilityTitle, keyword,
                 static_cast<unsigned long long>(value));
    return false;
  }

  bool SectionError() {
    ConsolePrint("%s: Error parsing image section of package manifest file %s.\n", kUtilityTitle, path_);
    return false;
  }

  // After the declared sections the manifest ends: a further section would
  // be left out of the package, any other word is out of order.
  bool NothingAfterTheSections() {
    TokenResult result = NextToken();
    if (result == TokenResult::kEnd) return true;
    if (result == TokenResult::kToken && StrEqual(words_.token(), kImageStartTag)) {
      ConsolePrint("%s: The package manifest file %s has more image sections than the tag value \"%s\"=%u.\n",
                   kUtilityTitle, path_, kPackageImages, static_cast<uint32_t>(spec_->declaredImages));
      return false;
    }
    return SectionError();
  }

  // The value word of the keyword.
  bool Value(const char* keyword) {
    TokenResult result = NextToken();
    if (result == TokenResult::kEnd) {
      ConsolePrint("%s: Error parsing \"%s\" tag value.\n", kUtilityTitle, keyword);
      return false;
    }
    if (result == TokenResult::kTooLong) {
      // A path cut to the tokenizer's room would name another file.
      ConsolePrint("%s: \"%s\" tag value is longer than %u characters (%u between double quotes).\n", kUtilityTitle,
                   keyword, static_cast<uint32_t>(TextTokenizer::kMaxTokenLength),
                   static_cast<uint32_t>(TextTokenizer::kMaxQuotedLength));
      return false;
    }
    return true;
  }

  // The value word as a number: its prefix skipped, the rest hexadecimal.
  bool Number(const char* keyword, const char* notNumberFormat, uint64_t* value) {
    const char* token = words_.token();
    uint32_t low = 0;
    uint32_t high = 0;
    if (words_.tokenLength() < kNumberPrefixLength || !ParseHexNumber(token + kNumberPrefixLength, &low, &high)) {
      ConsolePrint(notNumberFormat, kUtilityTitle, keyword, token);
      return false;
    }
    *value = (uint64_t{high} << 32) | low;
    return true;
  }

  // The image file must open; its size goes into the package right after
  // the images before it, all inside the format's 32-bit offsets.
  bool MeasureImage(PkgImageSpec* image) {
    image->path = words_.token();
    const char* path = image->path.c_str();
    uint32_t ignored = 0;
    uint64_t size = 0;
    uint32_t handle = IsRegularFile(path) ? FileOpen(path, "rb", &ignored) : kInvalidFileHandle;
    bool opened = handle != kInvalidFileHandle && RegularFileSize(path, &size);
    FileClose(handle);
    if (!opened) {
      ConsolePrint("%s: Failed to open file %s\n", kUtilityTitle, path);
      return false;
    }
    if (size > UINT32_MAX - offset_) {
      ConsolePrint("%s: Image file %s does not fit in the package: a package holds at most %u bytes.\n",
                   kUtilityTitle, path, static_cast<uint32_t>(UINT32_MAX));
      return false;
    }
    image->size = static_cast<uint32_t>(size);
    offset_ += size;
    return true;
  }

  TokenResult NextToken() { return words_.NextToken(); }

  TextTokenizer words_;
  const char* path_;
  PkgSpec* spec_;
  uint64_t offset_ = 0;  // where the next image's data starts
};

}  // namespace

bool ReadPkgManifest(const char* text, size_t length, const char* manifestPath, PkgSpec* spec) {
  *spec = PkgSpec();
  ManifestReader reader(text, length, manifestPath, spec);
  if (reader.Run()) return true;
  *spec = PkgSpec();
  return false;
}
