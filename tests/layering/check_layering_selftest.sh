#!/bin/sh
# The layering check passes a clean tree and names each forbidden include in
# a tree that has one.
# Usage: check_layering_selftest.sh <check_layering.sh>
set -eu
check=${1:?usage: check_layering_selftest.sh <check_layering.sh>}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$tmp/clean/core" "$tmp/clean/form"
printf '#include <vector>\n#include "core/coil.h"\n' >"$tmp/clean/core/coil.cpp"
printf '#include "core/coil.h"\n#include "form/box.h"\n' >"$tmp/clean/form/box.h"
sh "$check" "$tmp/clean" >/dev/null || fail "a clean tree is refused"

# One forbidden include per row: file, its text.
while IFS='|' read -r file text; do
  rm -rf "$tmp/bad" && cp -r "$tmp/clean" "$tmp/bad"
  mkdir -p "$(dirname "$tmp/bad/$file")"
  printf '%s\n' "$text" >>"$tmp/bad/$file"
  if out=$(sh "$check" "$tmp/bad"); then fail "$file with $text passes"; fi
  case $out in *"$file:"*) ;; *) fail "$file with $text is not named: $out" ;; esac
done <<'ROWS'
core/coil.cpp|#include "form/box.h"
core/coil.cpp|#include "ui/main_window.h"
core/sub/deep.h|  #  include <tools/replay.h>
core/coil.cpp|#include "job/job.h"
form/box.h|#include <QString>
form/box.cpp|#include <QtCore/QList>
form/box.cpp|#include "ui/fonts.h"
form/box.cpp|#include "tools/replay.h"
ROWS
echo "layering check: 1 clean tree passed, 8 forbidden includes found"
