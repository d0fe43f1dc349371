// Writes the card file: the host, each node with its adapters (all their
// settings, its modules and RAID state, then the pages and images that
// differ from what a card of those settings has when new), the faults, and the virtual files that differ from
// the default tree. The output is canonical, so that parsing and writing it
// again gives the same text.
#include "emu/card_file/card_file_devices.h"
#include "emu/card_file/card_file_schema.h"
#include "emu/host/host_model.h"
#include "emu/card_file/text_codec.h"

namespace emu {
namespace {

using namespace card_file;

void HexLines(std::string* out, const char* key, const std::vector<uint8_t>& bytes, size_t perLine) {
  for (size_t at = 0; at < bytes.size(); at += perLine) {
    size_t n = std::min(perLine, bytes.size() - at);
    *out += std::string(key) + " = " + text::Hex(bytes.data() + at, n) + "\n";
  }
}

std::string PageSection(const PageKey& key) {
  std::string s = "[page " + std::to_string(key.type) + " " + std::to_string(key.number);
  if (key.extType != 0 || key.identity != 0) s += " " + text::HexNumber(key.extType, 2);
  if (key.identity != 0) s += " " + text::HexNumber(key.identity, 4);
  return s + "]\n";
}

void WritePages(std::string* out, const AdapterModel& adapter) {
  std::map<PageKey, ConfigPage> defaults = DefaultPages(adapter);
  for (const auto& [key, page] : defaults) {
    if (adapter.pages.count(key) == 0) *out += "\n" + PageSection(key) + "absent = yes\n";
  }
  for (const auto& [key, page] : adapter.pages) {
    auto d = defaults.find(key);
    if (d != defaults.end() && d->second == page) continue;
    *out += "\n" + PageSection(key);
    if (page.current == page.defaults && page.current == page.nvram) {
      HexLines(out, "data", page.current, kPageBytesPerLine);
      if (page.current.empty()) *out += "data =\n";
    } else {
      HexLines(out, "current", page.current, kPageBytesPerLine);
      HexLines(out, "default", page.defaults, kPageBytesPerLine);
      HexLines(out, "nvram", page.nvram, kPageBytesPerLine);
    }
  }
}

void WriteImages(std::string* out, const AdapterModel& adapter) {
  std::map<uint8_t, FlashImage> defaults = DefaultImages(adapter);
  for (const auto& [type, image] : defaults) {
    if (adapter.images.count(type) == 0) {
      *out += "\n[image " + std::to_string(type) + "]\nabsent = yes\n";
    }
  }
  for (const auto& [type, image] : adapter.images) {
    auto d = defaults.find(type);
    if (d != defaults.end() && d->second == image) continue;
    *out += "\n[image " + std::to_string(type) + "]\n";
    if (!image.file.empty()) {
      *out += "file = " + QuoteText(image.file) + "\n";
    } else if (image.bytes.empty()) {
      *out += "data =\n";
    } else {
      HexLines(out, "data", image.bytes, kImageBytesPerLine);
    }
  }
}

void WriteStores(std::string* out, const char* section,
                 const std::map<uint8_t, std::vector<uint8_t>>& stores) {
  for (const auto& [index, bytes] : stores) {
    *out += "\n[" + std::string(section) + " " + std::to_string(index) + "]\n";
    if (bytes.empty()) *out += "data =\n";
    HexLines(out, "data", bytes, kPageBytesPerLine);
  }
}

void WriteAdapter(std::string* out, const AdapterModel& a) {
  *out += "\n[adapter " + std::to_string(a.ioc) + "]\n";
  for (const NumberSetting& s : NumberSettings()) {
    uint64_t v = s.get(a);
    *out += std::string(s.key) + " = " +
            (s.hexDigits == 0 ? std::to_string(v) : text::HexNumber(v, s.hexDigits)) + "\n";
  }
  for (const TextSetting& s : TextSettings()) {
    *out += std::string(s.key) + " = " + QuoteText(a.*s.member) + "\n";
  }
  for (const ListSetting& s : ListSettings()) {
    std::string values;
    for (uint64_t v : s.get(a)) values += (values.empty() ? "" : " ") + std::to_string(v);
    *out += std::string(s.key) + " =" + (values.empty() ? "" : " " + values) + "\n";
  }
  for (const BusTargetEntry& e : a.busTargets) {
    *out += "map = " + text::HexNumber(e.devHandle, 4) + " " + std::to_string(e.bus) + " " +
            std::to_string(e.target) + "\n";
  }
  WriteDevices(out, a);
  WritePages(out, a);
  WriteImages(out, a);
  WriteStores(out, "twowire", a.twoWire);
  WriteStores(out, "diagnostic", a.diagnosticData);
}

void WriteFault(std::string* out, const Fault& f) {
  *out += "\n[fault]\nkind = " + std::string(FaultKindName(f.kind)) + "\n";
  switch (f.kind) {
    case FaultKind::kIoctlError:
      *out += "request = " + text::HexNumber(f.request, 8) + "\n";
      *out += "errno = " + std::to_string(f.errorNumber) + "\n";
      break;
    case FaultKind::kAnswer:
      *out += "ioc-status = " + text::HexNumber(f.iocStatus, 4) + "\n";
      *out += "log-info = " + text::HexNumber(f.logInfo, 8) + "\n";
      break;
    case FaultKind::kPageCut:
    case FaultKind::kReplyCut:
      *out += "bytes = " + std::to_string(f.bytes) + "\n";
      break;
    case FaultKind::kPageMissing:
    case FaultKind::kModuleAbort:
    case FaultKind::kReadBackDiffers:
      break;
  }
  if (f.function >= 0) *out += "function = " + text::HexNumber(static_cast<uint32_t>(f.function), 2) + "\n";
  if (f.pageType >= 0) *out += "page-type = " + std::to_string(f.pageType) + "\n";
  if (f.pageNumber >= 0) *out += "page-number = " + std::to_string(f.pageNumber) + "\n";
  if (f.extType >= 0) *out += "ext-type = " + text::HexNumber(static_cast<uint32_t>(f.extType), 2) + "\n";
  if (f.action >= 0) *out += "action = " + std::to_string(f.action) + "\n";
  if (f.ioc >= 0) *out += "ioc = " + std::to_string(f.ioc) + "\n";
  *out += "times = " + std::to_string(f.times) + "\n";
  if (f.skip > 0) *out += "skip = " + std::to_string(f.skip) + "\n";
}

// Generated entries are made again when the file is read, so only what a
// test or a card file changed is written: the generated paths taken out,
// then the entries of their own (those that say what the generated entry
// would say are left out too).
void WriteFiles(std::string* out, const HostModel& host) {
  VirtualFiles defaults = DefaultVirtualFiles(host);
  for (const std::string& path : host.files.absent) {
    if (defaults.Find(path) != nullptr && !host.files.Suppressed(path.substr(0, path.rfind('/')))) {
      *out += "\n[absent " + path + "]\n";
    }
  }
  for (const auto& [path, entry] : host.files.entries) {
    if (entry.generated) continue;
    const VirtualEntry* d = defaults.Find(path);
    if (d != nullptr && d->kind == entry.kind && d->data == entry.data) continue;
    switch (entry.kind) {
      case VirtualEntry::Kind::kDirectory:
        *out += "\n[dir " + path + "]\n";
        break;
      case VirtualEntry::Kind::kSymlink:
        *out += "\n[link " + path + "]\ntarget = " + QuoteText(entry.data) + "\n";
        break;
      case VirtualEntry::Kind::kFile: {
        *out += "\n[file " + path + "]\n";
        if (entry.data.empty()) *out += "text = \"\"\n";
        size_t at = 0;
        while (at < entry.data.size()) {
          size_t end = entry.data.find('\n', at);
          end = end == std::string::npos ? entry.data.size() : end + 1;
          *out += "text = \"" + text::Escape(entry.data.substr(at, end - at)) + "\"\n";
          at = end;
        }
        break;
      }
    }
  }
}

}  // namespace

std::string FormatHostFile(const HostModel& model) {
  std::string out = "# Emulated Corvexium card file (tessvarc-emu); the format is in emu/README.md.\n";
  out += "\n[host]\nstart-time = " + std::to_string(model.startTime) + "\n";
  for (const NodeModel& node : model.nodes) {
    out += "\n[node " + node.path + "]\n";
    for (const AdapterModel& adapter : node.adapters) WriteAdapter(&out, adapter);
  }
  for (const Fault& fault : model.faults) WriteFault(&out, fault);
  WriteFiles(&out, model);
  return out;
}

}  // namespace emu
