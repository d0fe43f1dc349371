// Runs tessvarc-emu (or tessvarc) as a process a number of times and reports
// what one run costs: CPU time, peak resident memory, and the driver requests
// it sent, by kind, read from the emulator's trace.
//
//   process_bench [--runs N] [--card FILE] PROGRAM ARGS...
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
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

RunCost RunOnce(const std::vector<std::string>& argv, const std::string& trace, const std::string& card) {
  pid_t pid = fork();
  if (pid == 0) {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    if (!trace.empty()) setenv("TESSVARC_EMU_TRACE", trace.c_str(), 1);
    if (!card.empty()) setenv("TESSVARC_EMU_CARD", card.c_str(), 1);
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
    while (in >> field) {
      if (field.rfind("fn=", 0) == 0) kind += " function " + field.substr(3);
    }
  }
  return kind;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 50;
  std::string card;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string option = argv[i];
    if (option == "--runs" && i + 1 < argc) runs = std::atoi(argv[++i]);
    else if (option == "--card" && i + 1 < argc) card = argv[++i];
  }
  if (i >= argc) {
    std::fprintf(stderr, "usage: process_bench [--runs N] [--card FILE] PROGRAM ARGS...\n");
    return 2;
  }
  std::vector<std::string> command(argv + i, argv + argc);

  char traceTemplate[] = "/tmp/tessvarc-bench-XXXXXX";
  int fd = mkstemp(traceTemplate);
  if (fd >= 0) close(fd);
  std::string trace = traceTemplate;
  std::remove(trace.c_str());
  RunCost first = RunOnce(command, trace, card);

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
    RunCost cost = RunOnce(command, "", card);
    cpu += cost.cpuSeconds;
    if (cost.peakKilobytes > peak) peak = cost.peakKilobytes;
  }

  std::printf("command:");
  for (const std::string& a : command) std::printf(" %s", a.c_str());
  std::printf("\nexit status: %d\n", first.exitStatus);
  std::printf("ioctls per run: %d\n", total);
  for (const auto& [kind, count] : kinds) std::printf("  %-32s %d\n", kind.c_str(), count);
  std::printf("CPU time per run: %.3f ms (mean of %d runs)\n", runs ? cpu * 1000 / runs : 0.0, runs);
  std::printf("peak resident memory: %ld KiB\n", peak);
  return 0;
}
