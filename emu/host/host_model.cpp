#include "emu/host/host_model.h"

#include <iterator>

namespace emu {
namespace {

std::string ParentOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos || slash == 0) return "/";
  return path.substr(0, slash);
}

// Joins a link target to the folder of the link; ".." and "." are folded.
std::string JoinLink(const std::string& linkPath, const std::string& target) {
  std::string joined = target.starts_with("/") ? target : ParentOf(linkPath) + "/" + target;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= joined.size()) {
    size_t end = joined.find('/', start);
    if (end == std::string::npos) end = joined.size();
    std::string part = joined.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& part : parts) out += "/" + part;
  return out.empty() ? "/" : out;
}

}  // namespace

bool IsKnownNodePath(const std::string& path) {
  return path == kNodeQmx2Cx || path == kNodeQmx2 || path == kNodeQvsa || path == kNodeQmx3;
}

ConfigPage* AdapterModel::FindPage(uint8_t type, uint8_t number, uint8_t extType,
                                   uint32_t identity) {
  auto it = pages.find(PageKey{type, number, extType, identity});
  return it == pages.end() ? nullptr : &it->second;
}

const ConfigPage* AdapterModel::FindPage(uint8_t type, uint8_t number, uint8_t extType,
                                         uint32_t identity) const {
  auto it = pages.find(PageKey{type, number, extType, identity});
  return it == pages.end() ? nullptr : &it->second;
}

void AdapterModel::SetPage(const PageKey& key, const std::vector<uint8_t>& bytes) {
  pages[key] = ConfigPage{bytes, bytes, bytes};
}

uint32_t AdapterModel::PciLocation() const {
  return (static_cast<uint32_t>(pciDevice) & 0x1F) | ((static_cast<uint32_t>(pciFunction) & 7) << 5) |
         (pciBus << 8);
}

AdapterModel* NodeModel::FindAdapter(uint32_t ioc) {
  for (AdapterModel& adapter : adapters) {
    if (adapter.ioc == ioc) return &adapter;
  }
  return nullptr;
}

NodeModel* HostModel::FindNode(const std::string& path) {
  for (NodeModel& node : nodes) {
    if (node.path == path) return &node;
  }
  return nullptr;
}

const NodeModel* HostModel::FindNode(const std::string& path) const {
  for (const NodeModel& node : nodes) {
    if (node.path == path) return &node;
  }
  return nullptr;
}

AdapterModel* HostModel::FindAdapter(const std::string& path, uint32_t ioc) {
  NodeModel* node = FindNode(path);
  return node == nullptr ? nullptr : node->FindAdapter(ioc);
}

AdapterModel* HostModel::FirstAdapter() {
  for (NodeModel& node : nodes) {
    if (!node.adapters.empty()) return &node.adapters.front();
  }
  return nullptr;
}

void VirtualFiles::AddDirectory(const std::string& path) {
  if (path.empty() || path == "/") return;
  AddDirectory(ParentOf(path));
  VirtualEntry& entry = entries[path];
  if (entry.kind == VirtualEntry::Kind::kDirectory) return;  // a folder that is there stays, generated or not
  entry = VirtualEntry{VirtualEntry::Kind::kDirectory, "", false};
}

void VirtualFiles::AddFile(const std::string& path, std::string contents) {
  AddDirectory(ParentOf(path));
  entries[path] = VirtualEntry{VirtualEntry::Kind::kFile, std::move(contents), false};
}

void VirtualFiles::AddSymlink(const std::string& path, const std::string& target) {
  AddDirectory(ParentOf(path));
  entries[path] = VirtualEntry{VirtualEntry::Kind::kSymlink, target, false};
}

bool VirtualFiles::Remove(const std::string& path) {
  auto it = entries.find(path);
  if (it == entries.end()) return false;
  bool generated = false;
  const std::string prefix = path + "/";
  do {
    generated |= it->second.generated;
    it = entries.erase(it);
  } while (it != entries.end() && it->first.starts_with(prefix));
  if (generated) absent.insert(path);
  return true;
}

bool VirtualFiles::Suppressed(const std::string& path) const {
  for (std::string p = path; !p.empty() && p != "/"; p = ParentOf(p)) {
    if (absent.count(p) != 0) return true;
  }
  return false;
}

void VirtualFiles::Regenerate(const VirtualFiles& fresh) {
  // Generated entries that changed, or that are no longer made: the deepest
  // first, so that a folder goes only once nothing is left in it (a folder
  // still holding entries of a test's own stays, as the test's).
  for (auto it = entries.end(); it != entries.begin();) {
    --it;
    if (!it->second.generated) continue;
    const VirtualEntry* made = fresh.Find(it->first);
    if (made != nullptr) {
      it->second = *made;
      continue;
    }
    auto next = std::next(it);
    if (next != entries.end() && next->first.starts_with(it->first + "/")) {
      it->second.generated = false;
      continue;
    }
    it = entries.erase(it);
  }
  // New ones, parents before children (map order), where nothing is in the
  // way and no folder above was taken out.
  for (const auto& [path, made] : fresh.entries) {
    if (entries.count(path) != 0 || Suppressed(path)) continue;
    std::string parent = ParentOf(path);
    if (parent != "/" && entries.count(parent) == 0) continue;
    entries[path] = made;
  }
}

const VirtualEntry* VirtualFiles::Find(const std::string& path) const {
  auto it = entries.find(path);
  return it == entries.end() ? nullptr : &it->second;
}

VirtualEntry* VirtualFiles::Find(const std::string& path) {
  auto it = entries.find(path);
  return it == entries.end() ? nullptr : &it->second;
}

const VirtualEntry* VirtualFiles::Resolve(const std::string& path, std::string* resolved) const {
  // Folders on the way may be links too (sysfs is full of them): resolve
  // component by component.
  std::string current;
  size_t start = 1;
  int hops = 0;
  std::string rest = path;
  if (!rest.starts_with("/")) return nullptr;
  while (true) {
    size_t end = rest.find('/', start);
    std::string part = rest.substr(start, end == std::string::npos ? std::string::npos : end - start);
    std::string remaining = end == std::string::npos ? "" : rest.substr(end);
    if (!part.empty()) {
      current += "/" + part;
      const VirtualEntry* entry = Find(current);
      if (entry == nullptr) return nullptr;
      if (entry->kind == VirtualEntry::Kind::kSymlink) {
        if (++hops > 16) return nullptr;
        rest = JoinLink(current, entry->data) + remaining;
        current.clear();
        start = 1;
        continue;
      }
      if (!remaining.empty() && entry->kind != VirtualEntry::Kind::kDirectory) return nullptr;
    }
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (current.empty()) return nullptr;
  if (resolved != nullptr) *resolved = current;
  return Find(current);
}

bool VirtualFiles::List(const std::string& path, std::vector<std::string>* names) const {
  std::string folder;
  const VirtualEntry* entry = Resolve(path, &folder);
  if (entry == nullptr || entry->kind != VirtualEntry::Kind::kDirectory) return false;
  names->clear();
  const std::string prefix = folder + "/";
  for (auto it = entries.lower_bound(prefix); it != entries.end() && it->first.starts_with(prefix);
       ++it) {
    std::string name = it->first.substr(prefix.size());
    if (name.find('/') == std::string::npos) names->push_back(name);
  }
  return true;
}

}  // namespace emu
