#!/bin/sh
# Runs a validator of the freedesktop.org formats on one file:
#   validate.sh <tool> <args...> <file>
# Exits 77 (skipped) when the tool is not installed, so a machine without
# desktop-file-utils or appstream still runs the rest of the tests.
tool=$1
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "skipped: $tool is not installed"
  exit 77
fi
exec "$@"
