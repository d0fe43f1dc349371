#!/usr/bin/env bash
# The layers include one way. The product is built as
#   os < ctl < cardlib < app < programs
# and a source of each folder includes its own layer and those below it,
# never one above. The emulated card (emu/) and the test folders are no part
# of the product: nothing of the product includes them, except the program
# entries bound to the emulator (programs/tessvarc_emu*.cpp). emu/ itself
# rests on the OS port alone. Every source counts, headers (the layout
# headers too) as well as .cpp files. An include that climbs out of its
# folder ("../") is refused: it would hide which folder it reaches.
#   check_layers.sh SOURCE_TREE
set -uo pipefail
cd "$1" || exit 2

# The tree's own folders: an include naming one of these is checked.
tree_folders=" os ctl cardlib app programs emu tests fuzz bench "

# The folders a source may include, by its path.
allowed_for() {
  case "$1" in
    os/*) echo "os" ;;
    ctl/*) echo "os ctl" ;;
    cardlib/*) echo "os ctl cardlib" ;;
    app/*) echo "os ctl cardlib app" ;;
    programs/tessvarc_emu*) echo "os ctl cardlib app programs emu" ;;
    programs/*) echo "os ctl cardlib app programs" ;;
    emu/*) echo "os emu" ;;
  esac
}

include_line='^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]([^">]*)[">]'
sources=$(find os ctl cardlib app programs emu -type f \
            \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' -o -name '*.inc' \) 2>/dev/null | sort)
status=0
for file in $sources; do
  allowed=" $(allowed_for "$file") "
  number=0
  while IFS= read -r line || [ -n "$line" ]; do
    number=$((number + 1))
    [[ "$line" =~ $include_line ]] || continue
    target="${BASH_REMATCH[1]}"
    folder="${target%%/*}"
    problem=""
    if [[ "$target" == ../* || "$target" == */../* ]]; then
      problem="an include that climbs out of its folder"
    elif [[ "$target" == */* && "$tree_folders" == *" $folder "* && "$allowed" != *" $folder "* ]]; then
      problem="it may include only from:${allowed% }"
    fi
    if [ -n "$problem" ]; then
      echo "$file:$number: $line  ($problem)"
      status=1
    fi
  done < "$file"
done
if [ "$status" != 0 ]; then
  echo "layering violations: a lower layer, or the product, includes what it must not"
fi
exit $status
