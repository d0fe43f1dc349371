// Reads the card file (format in emu/README.md). Each adapter starts from the
// default Corvexium's settings; its keys change them; then the pages and
// images a card of those settings has when new are generated and the page
// and image sections of the file are laid over them.
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "emu/card_file/card_file_devices.h"
#include "emu/card_file/card_file_schema.h"
#include "emu/raid/device_rules.h"
#include "emu/host/host_model.h"
#include "emu/card_file/text_codec.h"

namespace emu {
namespace {

using namespace card_file;

struct PageOverride {
  int line = 0;
  bool absent = false;
  bool hasData = false, hasCurrent = false, hasDefault = false, hasNvram = false;
  std::vector<uint8_t> data, current, defaults, nvram;
};

struct ImageOverride {
  int line = 0;
  bool absent = false;
  bool hasData = false;
  std::vector<uint8_t> data;
  std::string file;
};

struct FileOp {
  enum class Kind { kAbsent, kDir, kFile, kLink } kind;
  std::string path;
  std::string data;
};

enum class Section { kNone, kHost, kNode, kAdapter, kPage, kImage, kTwoWire, kDiagnostic, kFault,
                     kFile, kDir, kLink, kAbsent, kModule, kRaid, kVolume, kDisk };

// Where a device section was given, and which keys a volume left to be computed.
struct DeviceSection {
  int line = 0;
  bool maxLba = false, wwid = false, guid = false;
};

class Parser {
 public:
  Parser(std::string baseDirectory) : base_(std::move(baseDirectory)) {}

  bool Run(const std::string& text, HostModel* out, std::string* error) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
      ++lineNumber_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::string trimmed = Trim(line);
      if (trimmed.empty() || trimmed[0] == '#') continue;
      bool ok = trimmed[0] == '[' ? StartSection(trimmed) : KeyLine(trimmed);
      if (!ok) {
        *error = "line " + std::to_string(errorLine_ != 0 ? errorLine_ : lineNumber_) + ": " + problem_;
        return false;
      }
    }
    if (!FinishSection() || !FinishAdapter()) {
      *error = "line " + std::to_string(errorLine_ != 0 ? errorLine_ : lineNumber_) + ": " + problem_;
      return false;
    }
    host_.files = DefaultVirtualFiles(host_);
    for (const FileOp& op : fileOps_) {
      switch (op.kind) {
        case FileOp::Kind::kAbsent: host_.files.Remove(op.path); break;
        case FileOp::Kind::kDir: host_.files.AddDirectory(op.path); break;
        case FileOp::Kind::kFile: host_.files.AddFile(op.path, op.data); break;
        case FileOp::Kind::kLink: host_.files.AddSymlink(op.path, op.data); break;
      }
    }
    *out = std::move(host_);
    return true;
  }

 private:
  static std::string Trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t");
    return s.substr(a, b - a + 1);
  }

  bool Fail(std::string message) {
    problem_ = std::move(message);
    return false;
  }

  bool Number(const std::string& text, uint64_t max, uint64_t* out, const std::string& what) {
    if (text::ParseUnsigned(text, max, out)) return true;
    return Fail("bad " + what + " \"" + text + "\"");
  }

  // --- sections ---

  bool StartSection(const std::string& line) {
    if (line.back() != ']') return Fail("a section line must end with ]");
    std::istringstream words(line.substr(1, line.size() - 2));
    std::vector<std::string> args;
    for (std::string w; words >> w;) args.push_back(w);
    if (args.empty()) return Fail("empty section name");
    const std::string name = args[0];
    args.erase(args.begin());
    if (!FinishSection()) return false;
    seenKeys_.clear();
    sectionLine_ = lineNumber_;
    bool adapterPart = name == "page" || name == "image" || name == "twowire" || name == "diagnostic" ||
                       name == "module" || name == "raid" || name == "volume" || name == "disk";
    if (!adapterPart && !FinishAdapter()) return false;

    if (name == "host") {
      if (!args.empty()) return Fail("[host] takes no arguments");
      section_ = Section::kHost;
      return true;
    }
    if (name == "node") {
      if (args.size() != 1) return Fail("[node] takes the node's path");
      if (!IsKnownNodePath(args[0])) return Fail("unknown control node \"" + args[0] + "\"");
      if (host_.FindNode(args[0]) != nullptr) return Fail("node " + args[0] + " given twice");
      host_.nodes.push_back(NodeModel{args[0], {}});
      section_ = Section::kNode;
      return true;
    }
    if (name == "adapter") {
      if (host_.nodes.empty()) return Fail("[adapter] before any [node]");
      uint64_t ioc;
      if (args.size() != 1) return Fail("[adapter] takes the IOC number");
      if (!Number(args[0], 254, &ioc, "IOC number")) return false;
      if (host_.nodes.back().FindAdapter(static_cast<uint32_t>(ioc)) != nullptr) {
        return Fail("adapter " + args[0] + " given twice on " + host_.nodes.back().path);
      }
      adapter_ = DefaultCorvexium(static_cast<uint32_t>(ioc));
      adapter_.pages.clear();
      adapter_.images.clear();
      adapter_.modules.clear();
      adapter_.raid = RaidModel{};
      inAdapter_ = true;
      pageOverrides_.clear();
      imageOverrides_.clear();
      modulesGiven_ = raidGiven_ = false;
      moduleSections_.clear();
      volumeSections_.clear();
      diskSections_.clear();
      section_ = Section::kAdapter;
      return true;
    }
    if (adapterPart) {
      if (!inAdapter_) return Fail("[" + name + "] outside an adapter");
      return AdapterPart(name, args);
    }
    if (name == "fault") {
      if (!args.empty()) return Fail("[fault] takes no arguments");
      host_.faults.push_back(Fault{});
      faultHasKind_ = false;
      section_ = Section::kFault;
      return true;
    }
    if (name == "file" || name == "dir" || name == "link" || name == "absent") {
      if (args.size() != 1) return Fail("[" + name + "] takes one path");
      const std::string& p = args[0];
      bool virtualPath = (p.starts_with("/proc/") || p.starts_with("/sys/")) && p.back() != '/';
      if (!virtualPath) return Fail("virtual files live under /proc or /sys: \"" + p + "\"");
      FileOp op;
      op.path = p;
      if (name == "file") op.kind = FileOp::Kind::kFile, section_ = Section::kFile;
      if (name == "dir") op.kind = FileOp::Kind::kDir, section_ = Section::kDir;
      if (name == "link") op.kind = FileOp::Kind::kLink, section_ = Section::kLink;
      if (name == "absent") op.kind = FileOp::Kind::kAbsent, section_ = Section::kAbsent;
      fileOps_.push_back(op);
      return true;
    }
    return Fail("unknown section [" + name + "]");
  }

  bool DevicePart(const std::string& name, const std::vector<std::string>& args) {
    uint64_t n = 0;
    if (name == "raid") {
      if (!args.empty()) return Fail("[raid] takes no arguments");
      if (raidSection_) return Fail("[raid] given twice");
      raidSection_ = raidGiven_ = true;
      section_ = Section::kRaid;
      return true;
    }
    if (args.size() != 1) return Fail("[" + name + "] takes one number");
    if (name == "module") {
      if (!Number(args[0], kSlotCount - 1, &n, "module slot")) return false;
      if (adapter_.FindModule(static_cast<uint8_t>(n)) != nullptr) return Fail("module " + args[0] + " given twice");
      uint16_t handle = static_cast<uint16_t>(kFirstModuleHandle + adapter_.modules.size());
      adapter_.modules.push_back(DefaultModule(adapter_, static_cast<uint8_t>(n), handle));
      moduleSections_.push_back(DeviceSection{lineNumber_});
      modulesGiven_ = true;
      section_ = Section::kModule;
      return true;
    }
    raidGiven_ = true;
    if (name == "volume") {
      if (!Number(args[0], 0xFFFE, &n, "volume DevHandle")) return false;
      if (adapter_.raid.FindVolume(static_cast<uint16_t>(n)) != nullptr) {
        return Fail("volume " + args[0] + " given twice");
      }
      VolumeModel volume;
      volume.devHandle = static_cast<uint16_t>(n);
      adapter_.raid.volumes.push_back(volume);
      volumeSections_.push_back(DeviceSection{lineNumber_});
      section_ = Section::kVolume;
      return true;
    }
    if (!Number(args[0], 254, &n, "disk number")) return false;
    if (adapter_.raid.FindDisk(static_cast<uint8_t>(n)) != nullptr) return Fail("disk " + args[0] + " given twice");
    PhysDiskModel disk;
    disk.number = static_cast<uint8_t>(n);
    adapter_.raid.disks.push_back(disk);
    diskSections_.push_back(DeviceSection{lineNumber_});
    section_ = Section::kDisk;
    return true;
  }

  bool AdapterPart(const std::string& name, const std::vector<std::string>& args) {
    if (name == "module" || name == "raid" || name == "volume" || name == "disk") return DevicePart(name, args);
    if (name == "page") {
      if (args.size() < 2 || args.size() > 4) return Fail("[page] takes type, number, [ext type, [identity]]");
      uint64_t type, number, ext = 0, identity = 0;
      if (!Number(args[0], 15, &type, "page type") || !Number(args[1], 255, &number, "page number") ||
          (args.size() > 2 && !Number(args[2], 255, &ext, "extended page type")) ||
          (args.size() > 3 && !Number(args[3], 0xFFFFFFFFu, &identity, "page identity"))) {
        return false;
      }
      if ((type == kPageExtended) != (ext != 0)) {
        return Fail("an extended page type goes with page type 15, and only with it");
      }
      pageKey_ = PageKey{static_cast<uint8_t>(type), static_cast<uint8_t>(number),
                         static_cast<uint8_t>(ext), static_cast<uint32_t>(identity)};
      if (pageOverrides_.count(pageKey_) != 0) return Fail("page given twice");
      pageOverrides_[pageKey_].line = lineNumber_;
      section_ = Section::kPage;
      return true;
    }
    uint64_t index;
    if (args.size() != 1) return Fail("[" + name + "] takes one number");
    if (!Number(args[0], 255, &index, name + " number")) return false;
    storeIndex_ = static_cast<uint8_t>(index);
    if (name == "image") {
      if (index == 0) return Fail("image type 0 does not exist");
      if (imageOverrides_.count(storeIndex_) != 0) return Fail("image given twice");
      imageOverrides_[storeIndex_].line = lineNumber_;
      section_ = Section::kImage;
      return true;
    }
    auto& stores = name == "twowire" ? adapter_.twoWire : adapter_.diagnosticData;
    if (stores.count(storeIndex_) != 0) return Fail("[" + name + " " + args[0] + "] given twice");
    stores[storeIndex_];
    section_ = name == "twowire" ? Section::kTwoWire : Section::kDiagnostic;
    return true;
  }

  // A section that needs a key it was not given.
  bool FinishSection() {
    if (section_ == Section::kFault && !faultHasKind_) {
      errorLine_ = sectionLine_;
      return Fail("[fault] needs a kind");
    }
    if (section_ == Section::kFault && host_.faults.back().action >= 0 && host_.faults.back().pageType < 0) {
      errorLine_ = sectionLine_;
      return Fail("[fault] action names a CONFIG action: it needs a page-type");
    }
    return true;
  }

  bool FinishAdapter() {
    if (!inAdapter_) return true;
    inAdapter_ = false;
    AdapterModel& a = adapter_;
    a.pages = DefaultPages(a);
    for (auto& [key, o] : pageOverrides_) {
      errorLine_ = o.line;
      if (o.absent) {
        if (o.hasData || o.hasCurrent || o.hasDefault || o.hasNvram) {
          return Fail("page " + Describe(key) + " is absent and has data");
        }
        a.pages.erase(key);
        continue;
      }
      ConfigPage page;
      if (o.hasData) {
        if (o.hasCurrent || o.hasDefault || o.hasNvram) {
          return Fail("page " + Describe(key) + " has data and separate copies");
        }
        page = ConfigPage{o.data, o.data, o.data};
      } else if (o.hasCurrent && o.hasDefault && o.hasNvram) {
        page = ConfigPage{o.current, o.defaults, o.nvram};
      } else {
        return Fail("page " + Describe(key) + " needs data, or current, default and nvram");
      }
      size_t n = page.current.size();
      bool extended = key.type == kPageExtended;
      if (page.defaults.size() != n || page.nvram.size() != n) {
        return Fail("page " + Describe(key) + " copies differ in length");
      }
      if (n % 4 != 0 || n < (extended ? 8u : 4u) || n > (extended ? kMaxExtPageBytes : kMaxPageBytes)) {
        return Fail("page " + Describe(key) + " has a length of " + std::to_string(n) +
                    " bytes; pages are whole words, with their header");
      }
      a.pages[key] = std::move(page);
    }
    a.images = DefaultImages(a);
    for (auto& [type, o] : imageOverrides_) {
      errorLine_ = o.line;
      if (o.absent) {
        if (o.hasData || !o.file.empty()) return Fail("image " + std::to_string(type) + " is absent and has data");
        a.images.erase(type);
        continue;
      }
      if (o.hasData == !o.file.empty()) {
        return Fail("image " + std::to_string(type) + " needs either data or a file");
      }
      FlashImage image;
      if (o.hasData) {
        image.bytes = std::move(o.data);
      } else {
        std::string path = o.file.starts_with("/") || base_.empty() ? o.file : base_ + "/" + o.file;
        std::ifstream in(path, std::ios::binary);
        if (!in) return Fail("image file \"" + path + "\" cannot be read");
        image.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        image.file = o.file;
      }
      a.images[type] = std::move(image);
    }
    if (!FinishDevices(a)) return false;
    errorLine_ = 0;
    host_.nodes.back().adapters.push_back(std::move(a));
    return true;
  }

  // The modules and the RAID state: the file's, checked against each other,
  // or the defaults of a card of these settings.
  bool FinishDevices(AdapterModel& a) {
    raidSection_ = false;
    if (!modulesGiven_) a.modules = DefaultModules(a);
    for (size_t i = 0; i < a.modules.size(); ++i) {
      const ModuleModel& m = a.modules[i];
      errorLine_ = modulesGiven_ ? moduleSections_[i].line : sectionLine_;
      for (size_t j = 0; j < i; ++j) {
        if (a.modules[j].devHandle == m.devHandle) return Fail("module " + std::to_string(m.slot) + ": DevHandle taken by module " + std::to_string(a.modules[j].slot));
      }
      if (m.maxSectors > m.nativeSectors) return Fail("module " + std::to_string(m.slot) + ": max-sectors above native-sectors");
      if (!m.configImage.empty() && m.configImage.size() != kConfigImageBytes) {
        return Fail("module " + std::to_string(m.slot) + ": config-image is " + std::to_string(m.configImage.size()) +
                    " bytes, not " + std::to_string(kConfigImageBytes));
      }
      if (!m.formatSettings.empty() && m.formatSettings.size() != kFormatSettingsBytes) {
        return Fail("module " + std::to_string(m.slot) + ": format-settings is " +
                    std::to_string(m.formatSettings.size()) + " bytes, not " + std::to_string(kFormatSettingsBytes));
      }
    }
    std::sort(a.modules.begin(), a.modules.end(),
              [](const ModuleModel& x, const ModuleModel& y) { return x.slot < y.slot; });
    if (!raidGiven_) {
      a.raid = DefaultRaid(a);
      return true;
    }
    RaidModel& raid = a.raid;
    for (size_t i = 0; i < raid.disks.size(); ++i) {
      const PhysDiskModel& d = raid.disks[i];
      errorLine_ = diskSections_[i].line;
      if (a.FindModule(d.slot) == nullptr) return Fail("disk " + std::to_string(d.number) + ": no module in slot " + std::to_string(d.slot));
      for (size_t j = 0; j < i; ++j) {
        if (raid.disks[j].slot == d.slot) return Fail("disk " + std::to_string(d.number) + ": slot " + std::to_string(d.slot) + " is disk " + std::to_string(raid.disks[j].number) + " already");
      }
    }
    std::set<uint8_t> used;
    for (size_t i = 0; i < raid.volumes.size(); ++i) {
      VolumeModel& v = raid.volumes[i];
      const DeviceSection& at = volumeSections_[i];
      errorLine_ = at.line;
      std::string name = "volume " + text::HexNumber(v.devHandle, 4);
      if (a.FindModuleByHandle(v.devHandle) != nullptr) return Fail(name + ": DevHandle taken by a module");
      std::vector<const ModuleModel*> members;
      for (const VolumeMember& m : v.members) {
        const PhysDiskModel* d = raid.FindDisk(m.disk);
        if (d == nullptr) return Fail(name + ": member disk " + std::to_string(m.disk) + " has no [disk] section");
        if (!used.insert(m.disk).second) return Fail(name + ": disk " + std::to_string(m.disk) + " is a member twice");
        members.push_back(a.FindModule(d->slot));
      }
      if (!at.maxLba) v.maxLba = LargestVolumeMaxLba(a, v.type, members);
      if (!at.wwid) v.wwid = VolumeWwid(a, v.devHandle);
      if (!at.guid) v.guid = VolumeGuid(a, v.devHandle);
    }
    return true;
  }

  template <typename T>
  bool DeviceKeyLine(const std::vector<card_file::DeviceKey<T>>& keys, T& target, const std::string& key,
                     const std::string& value, const char* section) {
    for (const card_file::DeviceKey<T>& k : keys) {
      if (key != k.key) continue;
      std::string problem;
      if (!k.read(target, value, &problem)) return Fail(problem);
      if (section_ == Section::kVolume) {
        DeviceSection& at = volumeSections_.back();
        at.maxLba |= key == "max-lba";
        at.wwid |= key == "wwid";
        at.guid |= key == "guid";
      }
      return true;
    }
    return Fail("unknown key " + key + " in [" + section + "]");
  }

  static std::string Describe(const PageKey& key) {
    return std::to_string(key.type) + "/" + std::to_string(key.number) +
           (key.type == kPageExtended ? "/" + text::HexNumber(key.extType, 2) : "");
  }

  // --- keys ---

  bool KeyLine(const std::string& line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return Fail("expected key = value");
    std::string key = Trim(line.substr(0, eq));
    std::string raw = Trim(line.substr(eq + 1));
    std::string value = raw;
    if (!raw.empty() && raw[0] == '"') {
      if (raw.size() < 2 || raw.back() != '"' || !text::Unescape(raw.substr(1, raw.size() - 2), &value)) {
        return Fail("bad quoted value for " + key);
      }
    }
    bool repeatable = key == "data" || key == "current" || key == "default" || key == "nvram" ||
                      key == "text" || key == "map" || (key == "member" && section_ == Section::kVolume) ||
                      (section_ == Section::kModule && card_file::RepeatableModuleKey(key));
    if (!repeatable && !seenKeys_.insert(key).second) return Fail("key " + key + " given twice");
    switch (section_) {
      case Section::kNone: return Fail("key before any section");
      case Section::kHost: return HostKey(key, value);
      case Section::kAdapter: return AdapterKey(key, value);
      case Section::kPage: return PageKeyLine(key, value);
      case Section::kImage: return ImageKey(key, value);
      case Section::kTwoWire:
      case Section::kDiagnostic: {
        if (key != "data") return Fail("unknown key " + key);
        auto& stores = section_ == Section::kTwoWire ? adapter_.twoWire : adapter_.diagnosticData;
        return text::AppendHex(value, &stores[storeIndex_]) || Fail("bad hex data");
      }
      case Section::kFault: return FaultKey(key, value);
      case Section::kFile:
        if (key != "text") return Fail("unknown key " + key);
        fileOps_.back().data += value;
        return true;
      case Section::kLink:
        if (key != "target") return Fail("unknown key " + key);
        fileOps_.back().data = value;
        return !value.empty() || Fail("empty link target");
      case Section::kModule: return DeviceKeyLine(card_file::ModuleKeys(), adapter_.modules.back(), key, value, "module");
      case Section::kVolume: return DeviceKeyLine(card_file::VolumeKeys(), adapter_.raid.volumes.back(), key, value, "volume");
      case Section::kDisk: return DeviceKeyLine(card_file::DiskKeys(), adapter_.raid.disks.back(), key, value, "disk");
      case Section::kNode:
      case Section::kDir:
      case Section::kAbsent:
      case Section::kRaid:
        return Fail("unknown key " + key);
    }
    return Fail("unknown key " + key);
  }

  bool HostKey(const std::string& key, const std::string& value) {
    if (key != "start-time") return Fail("unknown key " + key + " in [host]");
    int64_t v;
    if (!text::ParseSigned(value, INT64_MIN / 2, INT64_MAX / 2, &v)) return Fail("bad start-time");
    host_.startTime = v;
    return true;
  }

  bool AdapterKey(const std::string& key, const std::string& value) {
    for (const NumberSetting& s : NumberSettings()) {
      if (key != s.key) continue;
      uint64_t v;
      if (!Number(value, s.max, &v, key)) return false;
      s.set(adapter_, v);
      return true;
    }
    for (const TextSetting& s : TextSettings()) {
      if (key != s.key) continue;
      if (value.size() > s.maxLength) {
        return Fail(key + " is longer than " + std::to_string(s.maxLength) + " characters");
      }
      adapter_.*s.member = value;
      return true;
    }
    for (const ListSetting& s : ListSettings()) {
      if (key != s.key) continue;
      std::istringstream words(value);
      std::vector<uint64_t> values;
      for (std::string w; words >> w;) {
        uint64_t v;
        if (!Number(w, s.maxValue, &v, key)) return false;
        values.push_back(v);
      }
      if (values.size() > s.maxCount) return Fail(key + " takes at most " + std::to_string(s.maxCount) + " numbers");
      s.set(adapter_, values);
      return true;
    }
    if (key == "map") {
      std::istringstream words(value);
      std::string h, b, t, extra;
      uint64_t handle, bus, target;
      if (!(words >> h >> b >> t) || (words >> extra)) return Fail("map takes DevHandle, bus and target");
      if (!Number(h, 0xFFFE, &handle, "DevHandle") || !Number(b, 0xFFFFFFFEu, &bus, "bus") ||
          !Number(t, 0xFFFFFFFEu, &target, "target")) {
        return false;
      }
      adapter_.busTargets.push_back(BusTargetEntry{static_cast<uint16_t>(handle),
                                                   static_cast<uint32_t>(bus),
                                                   static_cast<uint32_t>(target)});
      return true;
    }
    return Fail("unknown key " + key + " in [adapter]");
  }

  bool Yes(const std::string& key, const std::string& value) {
    return value == "yes" || Fail(key + " takes yes");
  }

  bool PageKeyLine(const std::string& key, const std::string& value) {
    PageOverride& o = pageOverrides_[pageKey_];
    if (key == "absent") return Yes(key, value) && (o.absent = true);
    std::vector<uint8_t>* into = nullptr;
    if (key == "data") into = &o.data, o.hasData = true;
    if (key == "current") into = &o.current, o.hasCurrent = true;
    if (key == "default") into = &o.defaults, o.hasDefault = true;
    if (key == "nvram") into = &o.nvram, o.hasNvram = true;
    if (into == nullptr) return Fail("unknown key " + key + " in [page]");
    return text::AppendHex(value, into) || Fail("bad hex data");
  }

  bool ImageKey(const std::string& key, const std::string& value) {
    ImageOverride& o = imageOverrides_[storeIndex_];
    if (key == "absent") return Yes(key, value) && (o.absent = true);
    if (key == "file") {
      o.file = value;
      return !value.empty() || Fail("empty image file name");
    }
    if (key != "data") return Fail("unknown key " + key + " in [image]");
    o.hasData = true;
    return text::AppendHex(value, &o.data) || Fail("bad hex data");
  }

  bool FaultKey(const std::string& key, const std::string& value) {
    Fault& f = host_.faults.back();
    uint64_t v;
    int64_t s;
    if (key == "kind") {
      faultHasKind_ = FaultKindFromName(value, &f.kind);
      return faultHasKind_ || Fail("unknown fault kind \"" + value + "\"");
    }
    if (key == "request") return Number(value, 0xFFFFFFFFu, &v, key) && (f.request = static_cast<uint32_t>(v), true);
    if (key == "function") return Number(value, 0xFF, &v, key) && (f.function = static_cast<int>(v), true);
    if (key == "errno") return Number(value, 4095, &v, key) && (f.errorNumber = static_cast<int>(v), true);
    if (key == "ioc-status") return Number(value, 0xFFFF, &v, key) && (f.iocStatus = static_cast<uint16_t>(v), true);
    if (key == "log-info") return Number(value, 0xFFFFFFFFu, &v, key) && (f.logInfo = static_cast<uint32_t>(v), true);
    if (key == "page-type") return Number(value, 15, &v, key) && (f.pageType = static_cast<int>(v), true);
    if (key == "page-number") return Number(value, 255, &v, key) && (f.pageNumber = static_cast<int>(v), true);
    if (key == "ext-type") return Number(value, 255, &v, key) && (f.extType = static_cast<int>(v), true);
    if (key == "bytes") return Number(value, 0xFFFFFFFFu, &v, key) && (f.bytes = static_cast<uint32_t>(v), true);
    if (key == "action") return Number(value, 6, &v, key) && (f.action = static_cast<int>(v), true);
    if (key == "ioc") return Number(value, 254, &v, key) && (f.ioc = static_cast<int>(v), true);
    if (key == "times") {
      if (!text::ParseSigned(value, -1, 1000000000, &s) || s == 0) return Fail("times is -1 or a count");
      f.times = static_cast<int>(s);
      return true;
    }
    if (key == "skip") return Number(value, 1000000000, &v, key) && (f.skip = static_cast<int>(v), true);
    return Fail("unknown key " + key + " in [fault]");
  }

  std::string base_;
  HostModel host_;
  int lineNumber_ = 0;
  int sectionLine_ = 0;
  int errorLine_ = 0;
  std::string problem_;
  Section section_ = Section::kNone;
  std::set<std::string> seenKeys_;
  bool inAdapter_ = false;
  AdapterModel adapter_;
  std::map<PageKey, PageOverride> pageOverrides_;
  std::map<uint8_t, ImageOverride> imageOverrides_;
  PageKey pageKey_;
  uint8_t storeIndex_ = 0;
  bool modulesGiven_ = false, raidGiven_ = false, raidSection_ = false;
  std::vector<DeviceSection> moduleSections_, volumeSections_, diskSections_;
  bool faultHasKind_ = false;
  std::vector<FileOp> fileOps_;
};

}  // namespace

bool ParseHostFile(const std::string& text, const std::string& baseDirectory, HostModel* out,
                   std::string* error) {
  Parser parser(baseDirectory);
  HostModel model;
  std::string problem;
  if (!parser.Run(text, &model, &problem)) {
    if (error != nullptr) *error = problem;
    return false;
  }
  *out = std::move(model);
  return true;
}

bool ParseHostFile(const std::string& text, HostModel* out, std::string* error) {
  return ParseHostFile(text, "", out, error);
}

}  // namespace emu
