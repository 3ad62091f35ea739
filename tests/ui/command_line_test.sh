#!/bin/sh
# kelvane --report and --export-csv from the outside: outputs written without
# a display, the CSV byte for byte as the job layer makes it, the sheet's text
# readable from the PDF; a job or an output that fails is one line on stderr
# and status 1, bad usage status 2, and nothing is written either way.
# Usage: command_line_test.sh <kelvane> <kelvane_expected_csv>
set -u
kelvane=${1:?usage: command_line_test.sh <kelvane> <expected_csv>}
expected_csv=${2:?usage: command_line_test.sh <kelvane> <expected_csv>}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

job() {  # job <file> <former> <bare diameter>
  cat >"$1" <<JSON
{"format": "kelvane-job", "formatVersion": 1,
 "job": {"customer": "株式会社サンプル電機", "quotationNumber": "Q2026-118"},
 "former": "$2", "material": "copper",
 "inputs": {"bareDiameter": "$3", "finishedDiameter": "0.21", "turns": "40", "leadLength": "10",
            "referenceThickness": "0.8", "innerDiameter": "10", "sideA": "2", "sideB": "2",
            "cornerR1": "0.3", "cornerR2": "0.3", "fanRadius": "50", "fanAngle": "60",
            "fanWideWidth": "60", "tension": "60"}}
JSON
}
job "$tmp/coil.kelvane" fan 0.2
job "$tmp/refused.kelvane" round 0
sed 's/"formatVersion": 1/"formatVersion": 9/' "$tmp/coil.kelvane" >"$tmp/newer.kelvane"
echo 'not a job' >"$tmp/notes.kelvane"
"$expected_csv" "$tmp/coil.kelvane" >"$tmp/expected.csv" || fail "expected_csv could not make the CSV"

# Both outputs at once, with neither a display nor a platform named.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  "$kelvane" --report "$tmp/sheet.pdf" --export-csv "$tmp/out.csv" "$tmp/coil.kelvane" \
  >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] || fail "outputs: exit status $status: $(cat "$tmp/err")"
[ ! -s "$tmp/out" ] && [ ! -s "$tmp/err" ] || fail "outputs: printed something: $(cat "$tmp/out" "$tmp/err")"
cmp -s "$tmp/out.csv" "$tmp/expected.csv" || fail "the CSV is not the job layer's, byte for byte"
if command -v pdftotext >/dev/null; then
  pdftotext -enc UTF-8 "$tmp/sheet.pdf" "$tmp/sheet.txt" || fail "pdftotext cannot read the sheet"
  # The job's fields and both values of the weight row, as the CSV has them.
  weight=$(grep '^重量,' "$tmp/expected.csv" | cut -d, -f2,3 | tr ',' ' ')
  for value in 株式会社サンプル電機 Q2026-118 $weight; do
    grep -qF -- "$value" "$tmp/sheet.txt" || fail "the sheet's text lacks $value"
  done
else
  echo "pdftotext not installed: the sheet's text is not checked"
fi

# One row per failing call: expected status | what the line says | arguments.
# Each writes nothing: the outputs named out.* must not appear.
while IFS='|' read -r expected says arguments; do
  rm -f "$tmp"/out.* "$tmp/out" "$tmp/err"
  # shellcheck disable=SC2086
  eval "set -- $arguments"
  "$kelvane" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
  problem=""
  [ "$status" -eq "$expected" ] || problem="exit status $status"
  [ -s "$tmp/out" ] && problem="$problem; stdout not empty"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || problem="$problem; not one line on stderr"
  grep -qF -- "$says" "$tmp/err" || problem="$problem; the line does not say: $says"
  ls "$tmp"/out.* >/dev/null 2>&1 && problem="$problem; an output was written"
  if [ -n "$problem" ]; then
    fail "[$arguments]: ${problem#; }"
    sed 's/^/  stderr: /' "$tmp/err"
  fi
done <<ROWS
1|「gone.kelvane」を開けません。読み込めません（ファイルがありません）。|--export-csv "$tmp/out.csv" "$tmp/gone.kelvane"
1|「notes.kelvane」を開けません。|--report "$tmp/out.pdf" "$tmp/notes.kelvane"
1|「newer.kelvane」を開けません。新しい形式（版 9）|--export-csv "$tmp/out.csv" "$tmp/newer.kelvane"
1|「refused.kelvane」は計算できません。素線径(d)を入力してください|--report "$tmp/out.pdf" --export-csv "$tmp/out.csv" "$tmp/refused.kelvane"
1|「out.csv」を保存できません（保存先のフォルダーがありません）。|--export-csv "$tmp/none/out.csv" "$tmp/coil.kelvane"
2|--report と --export-csv には案件ファイルが要ります。|--report "$tmp/out.pdf"
2|開く案件ファイルは一つだけ指定してください。|--export-csv "$tmp/out.csv" "$tmp/coil.kelvane" "$tmp/coil.kelvane"
2|--export-csv には書き出すファイルの名前が要ります。|--export-csv "" "$tmp/coil.kelvane"
2|Missing value after '--report'|--report
ROWS
[ ! -e "$tmp/none" ] || fail "a folder was made for an output"

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
[ "$failures" -eq 0 ]
