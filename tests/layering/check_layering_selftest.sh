#!/bin/sh
# The layering check passes a clean tree and names each forbidden include in
# a tree that has one.
# Usage: check_layering_selftest.sh <check_layering.sh>
set -eu
check=${1:?usage: check_layering_selftest.sh <check_layering.sh>}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A clean tree: each layer with what it may include.
clean="$tmp/clean"
while IFS='|' read -r file text; do
  mkdir -p "$(dirname "$clean/$file")"
  printf '%s\n' "$text" >>"$clean/$file"
done <<'ROWS'
core/coil.cpp|#include <vector>
core/coil.cpp|#include "core/coil.h"
form/box.h|#include "core/coil.h"
form/box.h|#include "form/box.h"
form/form_job.h|#include "job/job.h"
job/job.cpp|#include "core/coil.h"
job/job.cpp|#include <nlohmann/json.hpp>
wiredata/wire_tables.cpp|#include "core/materials.h"
tools/batch/batch.cpp|#include "job/job.h"
tools/batch/batch.cpp|#include "tools/batch/batch_csv.h"
ledger/register.cpp|#include "job/issue_record.h"
tools/register/register_main.cpp|#include "ledger/register.h"
tools/replay/replay.cpp|#include "form/form_job.h"
tools/replay/replay_main.cpp|#include "tools/replay/window_replay_target.h"
tools/replay/window_replay_target.cpp|#include <QLineEdit>
tools/replay/window_replay_target.cpp|#include "ui/main_window.h"
job/platform_files.cpp|#include <unistd.h>
job/platform_files.cpp|#include <sys/stat.h>
ROWS
sh "$check" "$clean" >/dev/null || fail "a clean tree is refused: $(sh "$check" "$clean")"

# One forbidden include per row: file, its text.
rows=0
while IFS='|' read -r file text; do
  rm -rf "$tmp/bad" && cp -r "$clean" "$tmp/bad"
  mkdir -p "$(dirname "$tmp/bad/$file")"
  printf '%s\n' "$text" >>"$tmp/bad/$file"
  if out=$(sh "$check" "$tmp/bad"); then fail "$file with $text passes"; fi
  case $out in *"$file:"*) ;; *) fail "$file with $text is not named: $out" ;; esac
  rows=$((rows + 1))
done <<'ROWS'
core/coil.cpp|#include "form/box.h"
core/coil.cpp|#include "ui/main_window.h"
core/sub/deep.h|  #  include <tools/replay/replay.h>
core/coil.cpp|#include "job/job.h"
core/coil.cpp|#include <QtGlobal>
form/box.h|#include <QString>
form/box.cpp|#include <QtCore/QList>
form/box.cpp|#include "ui/fonts.h"
form/box.cpp|#include "tools/replay/replay.h"
job/job.cpp|#include "form/form1.h"
job/shown_coil.h|#include <form/boxes.h>
job/job.cpp|#include <QFile>
job/job.cpp|#include "ui/job_files.h"
job/job.cpp|#include "tools/batch/batch.h"
wiredata/wire_tables.cpp|#include "form/form1.h"
wiredata/wire_tables.cpp|#include <QString>
tools/batch/batch.cpp|#include <QFile>
tools/batch/batch_main.cpp|#include "ui/job_files.h"
tools/batch/batch.cpp|#include "tools/replay/replay.h"
tools/batch/batch.h|#include "form/form1.h"
tools/replay/replay.cpp|#include <QApplication>
tools/replay/replay.h|#include "ui/main_window.h"
tools/replay/replay_main.cpp|#include "app/command_line.h"
tools/replay/window_replay_target.cpp|#include "tools/batch/batch.h"
job/output_file.cpp|#include <fcntl.h>
tools/batch/batch_main.cpp|#include <unistd.h>
core/coil.cpp|#include <sys/stat.h>
ledger/register.cpp|#include "form/form1.h"
ledger/register.cpp|#include <QSqlDatabase>
tools/register/register_main.cpp|#include "tools/batch/batch.h"
ROWS
echo "layering check: 1 clean tree passed, $rows forbidden includes found"
