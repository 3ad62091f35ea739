#!/bin/sh
# Installs the build tree into a fresh prefix and checks that every file a
# desktop user needs landed where the menus and software centres look, and,
# when appstream is installed, that the AppStream data finds its desktop
# entry and icon there:
#   check_install.sh <cmake> <build dir> <relative path>...
set -eu
cmake=$1
build=$2
shift 2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
status=0
for path in "$@"; do
  if [ -f "$prefix/$path" ]; then
    echo "installed: $path"
  else
    echo "missing: $path"
    status=1
  fi
done
if command -v appstreamcli >/dev/null 2>&1; then
  appstreamcli validate-tree --no-net "$prefix" || status=1
else
  echo "not checked: appstreamcli is not installed"
fi
exit $status
