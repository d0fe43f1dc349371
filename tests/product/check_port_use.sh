#!/usr/bin/env bash
# Only the platform port calls the operating system: no other source of the
# product includes the system headers of ioctl, files, directories or time,
# or calls the C library's I/O, sleep and clock functions directly.
set -uo pipefail
cd "$1"
pattern='#include <(sys/ioctl\.h|sys/stat\.h|dirent\.h|fcntl\.h|unistd\.h|signal\.h)>|\b(ioctl|usleep|sleep|opendir|readdir|fopen|fgets|getchar|localtime|localtime_r|stat|lstat|printf|puts|fflush|system|getenv)\(|std::(printf|puts|fopen|time|getenv)\b|\bstd(in|out|err)\b'
hits=$(grep -rn -E "$pattern" --include="*.cpp" --include="*.h" ctl cardlib app 2>/dev/null | grep -v -E '^\S+:[0-9]+:\s*//')
if [ -n "$hits" ]; then
  echo "direct platform calls outside os/:"
  echo "$hits"
  exit 1
fi
exit 0
