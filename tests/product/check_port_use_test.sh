#!/usr/bin/env bash
# check_port_use.sh passes a small tree whose only platform calls are in
# os/ and in the emulator-bound program entry, and whose other sources hold
# what merely looks like them (member calls, declarations, comments, texts),
# and refuses the same tree with any one direct platform call added.
#   check_port_use_test.sh CHECK_PORT_USE_SCRIPT
set -uo pipefail
source "$(dirname "$0")/source_check_cases.sh"

clean_tree() {
  local tree="$1"
  # The port and the emulator's program entry may call the platform.
  put "$tree" os/posix_port.cpp '#include <unistd.h>'
  put "$tree" os/posix_port.cpp 'int PosixPort::OpenNode(const char* p) { return ::open(p, O_RDWR); }'
  put "$tree" programs/tessvarc_emu_main.cpp '#include <fstream>'
  put "$tree" programs/tessvarc_emu_main.cpp 'std::FILE* probe = std::fopen(path, "rb");'
  put "$tree" programs/tessvarc_main.cpp 'int main(int argc, char** argv) { return TessvarcMain(argc, argv); }'
  # What only looks like a platform call.
  local shell=app/shell/console.cpp
  put "$tree" "$shell" '#include <cstdio>'
  put "$tree" "$shell" '#include <algorithm>'
  put "$tree" "$shell" 'int n = std::snprintf(text, sizeof text, "%u", value);'
  put "$tree" "$shell" 'std::unique_ptr<os::File> file = port.OpenFile(name, "rb");'
  put "$tree" "$shell" 'size_t got = file->Read(buffer, length); file->Write(buffer, got);'
  put "$tree" "$shell" 'stream.write(buffer, 4); reader->read(buffer, 4); handle.close();'
  put "$tree" "$shell" 'LibStatus status = Transport::open(context); Clock::time(now);'
  put "$tree" "$shell" 'int64_t now = port.Time(); port.Sleep(1); port.RenameFile(a, b);'
  put "$tree" "$shell" 'bool open() const { return handle_ != kInvalidFileHandle; }'
  put "$tree" "$shell" 'uint32_t read(uint8_t* into, uint32_t length);'
  put "$tree" "$shell" 'static int* write(int value);'
  put "$tree" "$shell" 'names.erase(std::remove_if(names.begin(), names.end(), Hidden), names.end());'
  put "$tree" "$shell" 'uint32_t timeout(uint32_t seconds); bool IsOpen(); runtime(node, ioc);'
  put "$tree" "$shell" 'auto wait = std::chrono::milliseconds(5);'
  put "$tree" "$shell" '// A page that cannot be read (the file is gone) is not written (fwrite).'
  put "$tree" "$shell" '/* exit(1) was the old way; sleep(5) too */'
  put "$tree" "$shell" 'ConsolePrint("cannot open (the file) or write (it) at time(0)\n");'
  put "$tree" "$shell" "char quote = '\"'; bool found = FindFile(name);"
  put "$tree" ctl/frames/ioc_frames.h 'inline constexpr uint32_t kStdoutLikeName = 1;  // stdout'
}

# file | a line that calls the platform without the port
violations=(
  'ctl/base/context.cpp|#include <unistd.h>'
  'ctl/base/context.cpp|#include <sys/mman.h>'
  'cardlib/entry/entry.cpp|#include <ctime>'
  'cardlib/entry/entry.cpp|#include <time.h>'
  'app/shell/console.cpp|#include <csignal>'
  'app/shell/console.cpp|#include <signal.h>'
  'app/shell/console.cpp|#  include <fstream>'
  'app/shell/console.cpp|#include <thread>'
  'app/shell/console.cpp|std::FILE* out = nullptr;'
  'app/shell/console.cpp|FILE* out = nullptr;'
  'app/shell/console.cpp|std::fputs(text, stdout);'
  'app/shell/console.cpp|std::ofstream out(name);'
  'app/shell/console.cpp|std::cerr << text;'
  'app/shell/console.cpp|auto now = std::chrono::steady_clock::now();'
  'app/shell/console.cpp|std::this_thread::sleep_for(wait);'
  'app/shell/console.cpp|auto t = std::time(nullptr);'
  'app/shell/console.cpp|std::exit(1);'
  'app/shell/console.cpp|std::rename(a, b);'
  'app/shell/console.cpp|std::remove(name);'
  'app/shell/console.cpp|if (std::getenv("HOME") == nullptr) return;'
  'ctl/transport/driver_transport.cpp|int fd = ::open(path, 2);'
  'ctl/transport/driver_transport.cpp|if (failed) exit(1);'
  'ctl/transport/driver_transport.cpp|return read(fd, buffer, 4);'
  'ctl/transport/driver_transport.cpp|else close(fd);'
  'programs/tessvarc_main.cpp|std::signal(SIGINT, OnInterrupt);'
  'ctl/frames/ioc_frames.h|inline int Now() { return time(nullptr); }'
)
# Each of these as a free call: n = NAME(a, b);
calls=(open close read write time nanosleep readlink rename remove unlink exit fread fwrite fclose fseek ftell
       clock_gettime gettimeofday signal sigaction kill fcntl mmap getpid ioctl usleep sleep opendir readdir
       fopen fgets getchar localtime localtime_r stat lstat printf puts fflush system getenv)
for name in "${calls[@]}"; do violations+=("app/shell/console.cpp|n = $name(a, b);"); done

check_clean_and_violations "$1"
