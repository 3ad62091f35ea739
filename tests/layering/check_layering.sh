#!/bin/sh
# Fails when a layer includes what it must not know of, and prints every
# offending line as file:line: text. Each layer may include only the layers
# beneath it:
#   core/          nothing but core/
#   wiredata/      core/; no Qt
#   job/           core/, wiredata/; no Qt, nothing of the window's form
#   form/          core/, job/ (the form opens and saves jobs); no Qt
#   tools/batch/   core/, job/: it computes as a job does, without a form; no Qt
#   ledger/        core/, job/: the quotation register keeps issues; no Qt
#   tools/register/ core/, job/, ledger/; no Qt
#   tools/replay/  core/, form/, job/; no Qt but in its window target
#                  (window_replay_target.*), which drives ui/
# and the system's file calls (<unistd.h>, <fcntl.h>, <sys/…>) are
# job/platform_files.cpp's alone among core/, form/, job/, wiredata/ and the
# batch, so those build with any C++20 compiler.
# Usage: check_layering.sh <source root>
set -eu
root=${1:?usage: check_layering.sh <source root>}
cd "$root"
for layer in core form job wiredata ledger tools/batch tools/register tools/replay; do
  [ -d "$layer" ] || { echo "check_layering: no $layer/ under $root" >&2; exit 2; }
done

# An include directive of any spelling: #include "x/..." or <x/...>.
include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
status=0
# offences <folder> <pattern after the include> <reason> [file names to leave out]
# (without the last, the name "/", which no file has, leaves nothing out)
offences() {
  layer=$1 pattern=$2 reason=$3 besides=${4:-}
  found=$(find "$layer" -type f \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) \
            ! -name "${besides:-/}" -exec grep -nHE "$include$pattern" {} + || true)
  if [ -n "$found" ]; then
    echo "$found" | sed "s|\$|   <- $reason|"
    status=1
  fi
}
qt='<Q'
offences core '["<](form|ui|app|tools|job|wiredata)/' "core/ speaks only of coils"
offences core "$qt" "core/ knows nothing of Qt"
offences form '["<](ui|app|tools|wiredata)/' "form/ knows nothing of the window's toolkit or the tools"
offences form "$qt" "form/ knows nothing of Qt"
offences job '["<](form|ui|app|tools)/' "job/ lies beneath the window's form and the tools"
offences job "$qt" "job/ knows nothing of Qt"
offences wiredata '["<](form|ui|app|tools|job)/' "wiredata/ holds tables of wire, nothing of the window"
offences wiredata "$qt" "wiredata/ knows nothing of Qt"
offences tools/batch '["<](form|ui|app|wiredata|tools/replay)/' "the batch computes as a job does, without a form"
offences tools/batch "$qt" "the batch knows nothing of Qt"
offences ledger '["<](form|ui|app|tools|wiredata)/' "the register keeps issues, it knows no window nor tool"
offences ledger "$qt" "the register knows nothing of Qt"
offences tools/register '["<](form|ui|app|wiredata|tools/batch|tools/replay)/' "the register's command reads the register alone"
offences tools/register "$qt" "the register's command knows nothing of Qt"
offences tools/replay '["<](app|wiredata|tools/batch)/' "the replay drives the form or the window, nothing else"
offences tools/replay '["<]ui/' "only the replay's window target knows the window" 'window_replay_target.*'
offences tools/replay "$qt" "only the replay's window target knows Qt" 'window_replay_target.*'
system='<(unistd|fcntl)\.h>|<sys/'
for layer in core form wiredata ledger tools/batch tools/register; do
  offences "$layer" "$system" "the system's file calls are job/platform_files.cpp's"
done
offences job "$system" "the system's file calls are job/platform_files.cpp's" 'platform_files.cpp'
exit $status
