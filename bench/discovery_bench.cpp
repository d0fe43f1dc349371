// Start-up discovery of the controller library against the emulated card,
// in process: the requests one discovery sends, by kind (driver ioctl, QMX
// function, CONFIG by page and action), and the CPU time it costs.
//
//   discovery_bench [--runs N] [CARD-FILE]
//
// Without a card file the default card runs.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "ctl/facade/qmx.h"
#include "emu/host/emulator.h"

namespace {

constexpr uint32_t kCardFlags = 0xA0000000;

std::string Hex(uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%0*X", digits, value);
  return text;
}

const char* ConfigActionName(uint8_t action) {
  switch (action) {
    case 0: return "header";
    case 1: return "read current";
    case 5: return "read default";
    case 6: return "read NVRAM";
    default: return "write";
  }
}

// What one logged ioctl was.
std::string KindOf(const emu::LoggedCall& call) {
  switch (call.request) {
    case 0xC05C4C11: return "ioctl IOC information";
    case 0xC0184C1F: return "ioctl bus/target mapping";
    case 0xC00C4C18: return "ioctl hard reset";
    case 0xC0484C14: break;
    default: return "ioctl " + Hex(call.request, 8);
  }
  std::string kind = "COMMAND function " + Hex(call.function, 2);
  if (call.function == 0x04 && call.frame.size() >= 28) {
    uint8_t type = call.frame[23] & 0x0F;
    kind += " CONFIG type " + std::to_string(type);
    if (type == 15) kind += " ext " + Hex(call.frame[6], 2);
    kind += " page " + std::to_string(call.frame[22]) + " " + ConfigActionName(call.frame[0]);
  } else if ((call.function == 0x00 || call.function == 0x16) && call.frame.size() >= 65) {
    kind += " SCSI " + Hex(call.frame[64], 2);
    if (call.frame[64] == 0x12 && (call.frame[65] & 1)) kind += " VPD " + Hex(call.frame[66], 2);
  } else if (call.function == 0x15 && !call.frame.empty()) {
    kind += " RAID ACTION " + std::to_string(call.frame[0]);
  }
  return kind;
}

bool LoadHost(const char* path, emu::HostModel* host) {
  if (path == nullptr) {
    *host = emu::DefaultHost();
    return true;
  }
  std::ifstream in(path);
  if (!in) return false;
  std::stringstream text;
  text << in.rdbuf();
  std::string file = path;
  std::string folder = file.find('/') == std::string::npos ? "." : file.substr(0, file.rfind('/'));
  std::string error;
  if (!emu::ParseHostFile(text.str(), folder, host, &error)) {
    std::fprintf(stderr, "discovery_bench: %s: %s\n", path, error.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 200;
  const char* card = nullptr;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    if (argument == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else {
      card = argv[i];
    }
  }
  emu::HostModel host;
  if (!LoadHost(card, &host)) return 1;

  // One discovery with its requests recorded.
  emu::Emulator& first = emu::Install(host);
  uint32_t adapters = 0;
  QmxLibOpen();
  LibStatus status = QmxDiscoverAdapters(&adapters, kCardFlags);
  std::map<std::string, int> kinds;
  for (const emu::LoggedCall& call : first.log()) ++kinds[KindOf(call)];
  size_t total = first.log().size();

  // Then the CPU time of many, each on a fresh card and library context.
  double cpu = 0;
  for (int r = 0; r < runs; ++r) {
    emu::Install(host);
    QmxLibOpen();
    std::clock_t start = std::clock();
    QmxDiscoverAdapters(&adapters, kCardFlags);
    cpu += static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  }

  std::printf("card: %s\n", card != nullptr ? card : "(default)");
  std::printf("discovery status: %u, adapters: %u\n", status, adapters);
  std::printf("requests per discovery: %zu\n", total);
  for (const auto& [kind, count] : kinds) std::printf("  %-64s %d\n", kind.c_str(), count);
  std::printf("CPU time per discovery: %.3f ms (mean of %d)\n", runs ? cpu * 1000 / runs : 0.0, runs);
  return 0;
}
