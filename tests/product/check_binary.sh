#!/usr/bin/env bash
# The shipped program links the C++ standard library only (and, in the
# sanitizer build, the sanitizer runtimes) and holds no emulator code.
set -euo pipefail
binary="$1"
status=0
allowed='^(libstdc\+\+\.so\.6|libm\.so\.6|libgcc_s\.so\.1|libc\.so\.6|ld-linux.*|libasan\.so\..*|libubsan\.so\..*)$'
while read -r lib; do
  if ! [[ "$lib" =~ $allowed ]]; then
    echo "unexpected library: $lib"
    status=1
  fi
done < <(readelf -d "$binary" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
if nm -C "$binary" | grep -E ' emu::' >/dev/null; then
  echo "emulator code linked into $binary:"
  nm -C "$binary" | grep -E ' emu::' | head -5
  status=1
fi
exit $status
