# Shared by the tests of the source checks: each test defines clean_tree
# (a small tree the check must pass) and the array violations (rows
# "FILE|LINE", each a line that breaks the rule once added to FILE), then
# calls check_clean_and_violations. Sourced, not run.
#   check_clean_and_violations CHECK_SCRIPT

put() {  # put TREE FILE LINE: appends the line to the file, creating it
  mkdir -p "$(dirname "$1/$2")"
  printf '%s\n' "$3" >> "$1/$2"
}

# The clean tree passes; each row added to it alone makes the check fail
# and name the file. The status is the test's result.
check_clean_and_violations() {
  local check="$1" work output status failures=0
  work=$(mktemp -d)
  clean_tree "$work/clean"
  if ! output=$("$check" "$work/clean" 2>&1); then
    echo "FAIL: the clean tree was refused:"
    echo "$output"
    failures=$((failures + 1))
  fi
  local row file line tree
  for row in "${violations[@]}"; do
    file="${row%%|*}"
    line="${row#*|}"
    tree="$work/case"
    rm -rf "$tree"
    clean_tree "$tree"
    put "$tree" "$file" "$line"
    output=$("$check" "$tree" 2>&1)
    status=$?
    if [ "$status" != 1 ] || [[ "$output" != *"$file:"* ]]; then
      echo "FAIL: $file with '$line' answered $status:"
      echo "$output"
      failures=$((failures + 1))
    fi
  done
  rm -rf "$work"
  echo "${#violations[@]} violations and the clean tree checked, $failures failed"
  [ "$failures" = 0 ]
}
