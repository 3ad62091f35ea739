#!/bin/sh
# Formats each manual page as lintian does and fails on any warning of man or
# groff: check_man.sh <page>... Exits 77 (skipped) without man-db.
set -u
if ! command -v man >/dev/null 2>&1; then
  echo "skipped: man is not installed"
  exit 77
fi
status=0
for page in "$@"; do
  warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
             man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$page:"
    echo "$warnings"
    status=1
  else
    echo "ok: $page"
  fi
done
exit $status
