#!/bin/sh
# Builds a MIME database from the package's MIME file alone and checks that
# update-mime-database took it without a complaint, that *.kelvane names the
# job type, and that the desktop entry offers to open that type:
#   check_mime.sh <mime xml> <desktop entry>
# Exits 77 (skipped) without shared-mime-info.
set -eu
xml=$1
desktop=$2
if ! command -v update-mime-database >/dev/null 2>&1; then
  echo "skipped: update-mime-database is not installed"
  exit 77
fi
type=application/x-kelvane-job
base=$(mktemp -d)
trap 'rm -rf "$base"' EXIT
db=$base/mime
mkdir -p "$db/packages"
cp "$xml" "$db/packages/"
# The database is searched there, so the tool has nothing to say about that.
XDG_DATA_DIRS=$base update-mime-database "$db" 2>"$base/complaints"
status=0
if [ -s "$base/complaints" ]; then
  cat "$base/complaints"
  status=1
fi
if [ ! -f "$db/$type.xml" ]; then
  echo "missing: $type in the database"
  status=1
fi
if ! grep -q ":$type:\*\.kelvane$" "$db/globs2"; then
  echo "missing: the glob *.kelvane for $type"
  status=1
fi
if ! grep -q "^MimeType=.*$type;" "$desktop"; then
  echo "missing: $type in the MimeType= of $desktop"
  status=1
fi
if ! grep -q '^Exec=.*%[fFuU]' "$desktop"; then
  echo "missing: a file field code (%f) in the Exec= of $desktop"
  status=1
fi
[ $status -eq 0 ] && echo "ok: $type, *.kelvane, MimeType= and %f"
exit $status
