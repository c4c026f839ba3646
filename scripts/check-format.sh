#!/usr/bin/env bash
# Checks that C++ sources follow .clang-format: the files given, or every
# tracked .cpp and .h file. Prints each file that differs and exits 1 when
# any does. Needs clang-format (Debian package clang-format, see setup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files '*.cpp' '*.h')
fi

bad=0
for f in "${files[@]}"; do
  if ! clang-format --style=file --dry-run --Werror "$f" >/dev/null 2>&1; then
    echo "not formatted: $f"
    bad=1
  fi
done
if [ "$bad" -ne 0 ]; then
  echo "check-format: run clang-format -i on the files above" >&2
fi
exit "$bad"
