#!/bin/sh
# Without a usable display, or with a platform plugin that fails, kelvane
# says why in one line on stderr, prints nothing on stdout and exits with
# status 1; it never aborts.
# Usage: start_failure_test.sh <kelvane>
set -u
kelvane=${1:?usage: start_failure_test.sh <kelvane>}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
cases=0

# One case per row: environment | what the line must say.
while IFS='|' read -r environment expected; do
  cases=$((cases + 1))
  # shellcheck disable=SC2086
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $environment "$kelvane" \
    >"$tmp/out" 2>"$tmp/err" </dev/null
  status=$?
  lines=$(wc -l <"$tmp/err")
  problem=""
  [ "$status" -eq 1 ] || problem="exit status $status"
  [ -s "$tmp/out" ] && problem="$problem; stdout not empty"
  [ "$lines" -eq 1 ] || problem="$problem; $lines lines on stderr"
  grep -qF "kelvane: ウィンドウを開けません。$expected" "$tmp/err" || problem="$problem; not the expected cause"
  if [ -n "$problem" ]; then
    failures=$((failures + 1))
    echo "FAIL [$environment]: ${problem#; }"
    sed 's/^/  stderr: /' "$tmp/err"
  else
    echo "ok [$environment]: $(cat "$tmp/err")"
  fi
done <<'ROWS'
QT_QPA_PLATFORM=xcb|ディスプレイに接続できません（DISPLAY が設定されていません）。Qt の画面プラグイン「xcb」を読み込めません。
QT_QPA_PLATFORM=xcb DISPLAY=:59999|ディスプレイ :59999 に接続できません。
DISPLAY=|ディスプレイに接続できません（DISPLAY が設定されていません）。
QT_QPA_PLATFORM=nonexistent|Qt の画面プラグイン「nonexistent」がありません。使える画面プラグインは 
ROWS
echo "$((cases - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
