// Runs tessvarc-emu (or tessvarc) as a process a number of times and reports
// what one run costs: CPU time, peak resident memory, and the driver requests
// it sent, by kind, read from the emulator's trace (configuration page
// requests also by action: 0 header, 1 read current, 6 read NVRAM, ...).
// With --files each run starts in a new empty working folder (and a folder
// "logs" in it), and the files the first run wrote there are counted.
// The first run also reports, from the emulator's virtual clock
// (TESSVARC_EMU_CLOCK), how long the program waited (its sleeps and polls)
// and how long the driver was busy inside requests (hard resets). With
// --card every run starts from a copy of the card file, so that a command
// that changes the card is measured on the same card each time.
//
//   process_bench [--runs N] [--card FILE] [--files] PROGRAM ARGS...
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunCost {
  double cpuSeconds = 0;
  long peakKilobytes = 0;
  int exitStatus = 0;
};

RunCost RunOnce(const std::vector<std::string>& argv, const std::string& trace, const std::string& card,
                const std::string& folder = "", const std::string& clock = "") {
  pid_t pid = fork();
  if (pid == 0) {
    if (!folder.empty() && chdir(folder.c_str()) != 0) _exit(127);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (!trace.empty()) setenv("TESSVARC_EMU_TRACE", trace.c_str(), 1);
    if (!card.empty()) setenv("TESSVARC_EMU_CARD", card.c_str(), 1);
    if (!clock.empty()) setenv("TESSVARC_EMU_CLOCK", clock.c_str(), 1);
    if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "r", stdin)) _exit(127);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  struct rusage usage {};
  wait4(pid, &status, 0, &usage);
  RunCost cost;
  cost.cpuSeconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
                    (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
  cost.peakKilobytes = usage.ru_maxrss;
  cost.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return cost;
}

// "ioctl 0xC0484C14 node ioc=0 fn=0x04 ..." -> "COMMAND fn=0x04".
std::string KindOf(const std::string& line) {
  std::istringstream in(line);
  std::string word, code, node;
  in >> word >> code >> node;
  static const std::map<std::string, std::string> names = {
      {"0xC05C4C11", "IOC information"}, {"0xC0484C14", "COMMAND"}, {"0xC00C4C18", "hard reset"},
      {"0xC0184C1F", "bus/target mapping"}};
  auto found = names.find(code);
  std::string kind = found != names.end() ? found->second : code;
  if (kind == "COMMAND") {
    std::string field;
    bool config = false;
    while (in >> field) {
      if (field.rfind("fn=", 0) == 0) {
        kind += " function " + field.substr(3);
        config = field == "fn=0x04";
      } else if (config && field.rfind("frame=", 0) == 0 && field.size() >= 8) {
        kind += " action " + std::to_string(std::stoi(field.substr(6, 2), nullptr, 16));
      }
    }
  }
  return kind;
}

// The virtual clock's figures of one run: "waits N", "waited-microseconds N", ...
std::map<std::string, uint64_t> ReadClock(const std::string& path) {
  std::map<std::string, uint64_t> figures;
  std::ifstream in(path);
  std::string name;
  uint64_t value = 0;
  while (in >> name >> value) figures[name] = value;
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 50;
  std::string card;
  bool files = false;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string option = argv[i];
    if (option == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
    else if (option == "--card" && i + 1 < argc) card = argv[++i];
    else if (option == "--files") files = true;
  }
  if (i >= argc) {
    std::fprintf(stderr, "usage: process_bench [--runs N] [--card FILE] [--files] PROGRAM ARGS...\n");
    return 2;
  }
  std::vector<std::string> command(argv + i, argv + argc);

  char traceTemplate[] = "/tmp/tessvarc-bench-XXXXXX";
  int fd = mkstemp(traceTemplate);
  if (fd >= 0) close(fd);
  std::string trace = traceTemplate;
  std::remove(trace.c_str());
  std::string clock = trace + ".clock";
  namespace fs = std::filesystem;
  // A copy of the card file for one run, or none when the default card runs.
  const std::string cardCopy = card.empty() ? "" : trace + ".card";
  auto freshCard = [&]() -> std::string {
    if (card.empty()) return "";
    fs::copy_file(card, cardCopy, fs::copy_options::overwrite_existing);
    return cardCopy;
  };
  // A fresh working folder for a run, or none.
  auto freshFolder = [&]() -> std::string {
    if (!files) return "";
    char folderTemplate[] = "/tmp/tessvarc-bench-run-XXXXXX";
    if (mkdtemp(folderTemplate) == nullptr) return "";
    fs::create_directory(fs::path(folderTemplate) / "logs");
    return folderTemplate;
  };
  std::string folder = freshFolder();
  RunCost first = RunOnce(command, trace, freshCard(), folder, clock);
  std::map<std::string, uint64_t> virtualClock = ReadClock(clock);
  std::remove(clock.c_str());
  uintmax_t bytesWritten = 0;
  int filesWritten = 0;
  if (!folder.empty()) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file()) continue;
      bytesWritten += entry.file_size();
      ++filesWritten;
    }
    fs::remove_all(folder);
  }

  std::map<std::string, int> kinds;
  int total = 0;
  std::ifstream in(trace);
  for (std::string line; std::getline(in, line);) {
    ++kinds[KindOf(line)];
    ++total;
  }
  std::remove(trace.c_str());

  double cpu = 0;
  long peak = 0;
  for (int r = 0; r < runs; ++r) {
    std::string runFolder = freshFolder();
    RunCost cost = RunOnce(command, "", freshCard(), runFolder);
    if (!runFolder.empty()) fs::remove_all(runFolder);
    cpu += cost.cpuSeconds;
    if (cost.peakKilobytes > peak) peak = cost.peakKilobytes;
  }

  std::printf("command:");
  for (const std::string& a : command) std::printf(" %s", a.c_str());
  std::printf("\nexit status: %d\n", first.exitStatus);
  std::printf("ioctls per run: %d\n", total);
  for (const auto& [kind, count] : kinds) std::printf("  %-32s %d\n", kind.c_str(), count);
  if (files) std::printf("files written: %d, %ju bytes\n", filesWritten, bytesWritten);
  if (!virtualClock.empty()) {
    std::printf("virtual seconds waited: %.3f (%ju waits)\n", virtualClock["waited-microseconds"] / 1e6,
                static_cast<uintmax_t>(virtualClock["waits"]));
    std::printf("virtual seconds in requests: %.3f\n", virtualClock["busy-microseconds"] / 1e6);
  }
  std::printf("CPU time per run: %.3f ms (mean of %d runs)\n", runs ? cpu * 1000 / runs : 0.0, runs);
  std::printf("peak resident memory: %ld KiB\n", peak);
  if (!cardCopy.empty()) std::remove(cardCopy.c_str());
  return 0;
}
