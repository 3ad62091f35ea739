#!/bin/sh
# The package carries the browser page where one has been built (make web):
# installed under share/kelvane/web as built, still asking nothing of the
# network. Skipped (77) where no page has been built.
#   check_web_page.sh <cmake> <build dir> <built page>
set -eu
cmake=$1
build=$2
page=$3
if [ ! -f "$page" ]; then
  echo "not checked: no page at $page (make web builds it)"
  exit 77
fi
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
installed="$prefix/share/kelvane/web/kelvane.html"
if [ ! -f "$installed" ]; then
  echo "missing: share/kelvane/web/kelvane.html"
  exit 1
fi
cmp "$page" "$installed"
grep -q "connect-src 'none'" "$installed" || { echo "the page's policy allows connections"; exit 1; }
echo "installed: share/kelvane/web/kelvane.html ($(wc -c <"$installed") bytes)"
