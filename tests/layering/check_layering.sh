#!/bin/sh
# Fails when a layer includes what it must not know of: core/ nothing of
# form/, ui/, tools/ or job/; form/ nothing of Qt, ui/ or tools/. Prints
# every offending line as file:line: text.
# Usage: check_layering.sh <source root>
set -eu
root=${1:?usage: check_layering.sh <source root>}
cd "$root"
for layer in core form; do
  [ -d "$layer" ] || { echo "check_layering: no $layer/ under $root" >&2; exit 2; }
done

# An include directive of any spelling: #include "x/..." or <x/...>.
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
status=0
offences() {
  layer=$1 pattern=$2 reason=$3
  found=$(find "$layer" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) \
            -exec grep -nHE "$include$pattern" {} + || true)
  if [ -n "$found" ]; then
    echo "$found" | sed "s|\$|   <- $reason|"
    status=1
  fi
}
offences core '["<](form|ui|tools|job|wiredata)/' "core/ speaks only of coils"
offences form '["<](ui|tools)/' "form/ knows nothing of the window's toolkit"
offences form '<Q' "form/ knows nothing of Qt"
exit $status
