#!/bin/sh
# kelvane --report, --export-csv and --quotation from the outside: outputs
# written without a display, the CSV byte for byte as the job layer makes it,
# the sheet's text readable from the PDF, the 見積書 issued into a register of
# the test's own; a job or an output that fails is one line on stderr and
# status 1, bad usage status 2, and nothing is written either way.
# Usage: command_line_test.sh <kelvane> <kelvane_expected_csv>
set -u
kelvane=${1:?usage: command_line_test.sh <kelvane> <expected_csv>}
expected_csv=${2:?usage: command_line_test.sh <kelvane> <expected_csv>}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
# Issues go into a register of the test's own, never the user's.
export KELVANE_REGISTER="$tmp/register.sqlite3"
# 発行日 and 有効期限 as the 見積書 prints them, for an issue of today.
today=$(date +%Y年%-m月%-d日)
in30days=$(date -d '+30 days' +%Y年%-m月%-d日)

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
# A job of version 2 with its own terms and the customer's quotation fields.
sed -e 's/"formatVersion": 1/"formatVersion": 2/' \
    -e 's/"quotationNumber": "Q2026-118"}/"quotationNumber": "Q2026-118", "subject": "試作コイル", "revision": 2, "issuedOn": "2026-12-01"}/' \
    -e 's/^            "fanWideWidth": "60", "tension": "60"}}$/            "fanWideWidth": "60", "tension": "60"},\
 "quotationTerms": {"wireYenPerKg": 2000, "lossPercent": 5, "windingRpm": 800, "handlingMinutes": 1.5,\
   "setupMinutes": 20, "labourYenPerHour": 3600, "overheadPercent": 12, "profitPercent": 18,\
   "parts": [{"name": "ボビン", "yenPerPiece": 35}], "quantities": [250, 5000]}}/' \
    "$tmp/coil.kelvane" >"$tmp/priced.kelvane"
# Issuing rewrites the job with its new 版: the jobs below are made from this.
cp "$tmp/priced.kelvane" "$tmp/pristine.kelvane"
job "$tmp/refused.kelvane" round 0
sed 's/"formatVersion": 1/"formatVersion": 9/' "$tmp/coil.kelvane" >"$tmp/newer.kelvane"
echo 'not a job' >"$tmp/notes.kelvane"
"$expected_csv" "$tmp/coil.kelvane" "2000-01-01 00:00" >"$tmp/expected.csv" ||
  fail "expected_csv could not make the CSV"
# A CSV is compared without its 作成日時, the minute it was made.
undated() { sed '/^作成日時,/d' "$1"; }
undated "$tmp/expected.csv" >"$tmp/expected.undated"
same_csv() { undated "$1" | cmp -s - "$tmp/expected.undated"; }

# Both outputs at once, with neither a display nor a platform named.
before=$(date '+%Y-%m-%d %H:%M')
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  "$kelvane" --report "$tmp/sheet.pdf" --export-csv "$tmp/out.csv" "$tmp/coil.kelvane" \
  >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] || fail "outputs: exit status $status: $(cat "$tmp/err")"
[ ! -s "$tmp/out" ] && [ ! -s "$tmp/err" ] || fail "outputs: printed something: $(cat "$tmp/out" "$tmp/err")"
after=$(date '+%Y-%m-%d %H:%M')
same_csv "$tmp/out.csv" || fail "the CSV is not the job layer's, byte for byte"
created=$(sed -n 's/^作成日時,\(.*\),,\r$/\1/p' "$tmp/out.csv")
[ "$created" = "$before" ] || [ "$created" = "$after" ] ||
  fail "作成日時 is not the local time of the export: [$created], now $after"
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

# The customer's quotation, priced from the price list of a configuration
# folder of the test's own (none: the built-in list), with nobody's
# company settings.
export XDG_CONFIG_HOME="$tmp/config"
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \
  "$kelvane" --quotation "$tmp/quotation.pdf" "$tmp/coil.kelvane" >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] || fail "quotation: exit status $status: $(cat "$tmp/err")"
[ ! -s "$tmp/out" ] && [ ! -s "$tmp/err" ] || fail "quotation: printed something: $(cat "$tmp/out" "$tmp/err")"
if command -v pdftotext >/dev/null; then
  pdftotext -enc UTF-8 -layout "$tmp/quotation.pdf" "$tmp/quotation.txt" ||
    fail "pdftotext cannot read the quotation"
  grep -q '株式会社サンプル電機 *御中' "$tmp/quotation.txt" || fail "the quotation lacks 「… 御中」"
  grep -qF 'Q2026-118（第1版）' "$tmp/quotation.txt" || fail "the quotation lacks its number and 版"
  # The amount at the top is the first lot's 合計, in grouped digits and 円.
  total=$(sed -n 's/.*御見積金額（税込） *\([0-9,]*円\).*/\1/p' "$tmp/quotation.txt")
  [ -n "$total" ] || fail "the quotation lacks its amount"
  grep -q "合計 *$total" "$tmp/quotation.txt" || fail "the quotation's 合計 is not its amount $total"
fi
# A job with its own terms: its CSV's quotation rows as the job layer makes
# them, and the PDF's figures those of the CSV; the 版 after the job's own,
# issued today, and kept in the job file's history.
"$kelvane" --quotation "$tmp/priced.pdf" --export-csv "$tmp/priced.csv" "$tmp/priced.kelvane" \
  2>"$tmp/err" || fail "a priced job: $(cat "$tmp/err")"
"$expected_csv" "$tmp/priced.kelvane" "2000-01-01 00:00" >"$tmp/priced.expected"
undated "$tmp/priced.expected" >"$tmp/priced.undated"
undated "$tmp/priced.csv" | cmp -s - "$tmp/priced.undated" ||
  fail "the priced job's CSV is not the job layer's, byte for byte"
grep -q '^単価,' "$tmp/priced.csv" || fail "the priced job's CSV has no 単価"
if command -v pdftotext >/dev/null; then
  pdftotext -enc UTF-8 -layout "$tmp/priced.pdf" "$tmp/priced.txt"
  grep -qF 'Q2026-118（第3版）' "$tmp/priced.txt" || fail "the priced quotation lacks its 版"
  grep -qF "$today" "$tmp/priced.txt" || fail "the priced quotation lacks its 発行日"
  for row in 単価 金額 合計; do
    for value in $(grep "^$row," "$tmp/priced.csv" | cut -d, -f2- | sed 's/^"\(.*\)",,円.*/\1/; s/,,円.*//'); do
      grep -qF -- "$value円" "$tmp/priced.txt" || fail "the priced quotation lacks $row $value円"
    done
  done
fi
grep -q '"revision": 3,' "$tmp/priced.kelvane" && grep -q '"issues": \[' "$tmp/priced.kelvane" ||
  fail "the issued job does not keep its 版 and history"
# The same job again is the same 版 printed again, recorded nowhere; a 見本
# is no issue at all, and leaves the job as it is.
cp "$tmp/priced.kelvane" "$tmp/issued.kelvane"
"$kelvane" --quotation "$tmp/again.pdf" "$tmp/priced.kelvane" 2>"$tmp/err" ||
  fail "issued again: $(cat "$tmp/err")"
"$kelvane" --draft --quotation "$tmp/draft.pdf" "$tmp/priced.kelvane" 2>"$tmp/err" ||
  fail "a draft: $(cat "$tmp/err")"
cmp -s "$tmp/priced.kelvane" "$tmp/issued.kelvane" || fail "a reprint or a draft changed the job"
if command -v pdftotext >/dev/null; then
  pdftotext -enc UTF-8 "$tmp/again.pdf" - | grep -qF 'Q2026-118（第3版・再発行）' ||
    fail "issued again: not 第3版・再発行"
  pdftotext -enc UTF-8 "$tmp/draft.pdf" - | grep -qF 'Q2026-118（見本）' || fail "a draft: not 見本"
fi
# Both PDFs made as on a Japanese desktop, where fontconfig prefers other
# faces: their text reads back exactly as the page shows it, the numbers,
# the dates and every figure of the CSV, and 見 as 見, never as its radical.
sed -e 's/"Q2026-118",/"Q2026-0412", "partNumber": "SD-B036",/' \
    -e 's/"issuedOn": "2026-12-01"/"issuedOn": "2026-04-12"/' "$tmp/pristine.kelvane" >"$tmp/ja.kelvane"
sh "$(dirname "$0")/in_japanese_locale.sh" "$kelvane" --quotation "$tmp/ja-quotation.pdf" \
  --report "$tmp/ja-sheet.pdf" --export-csv "$tmp/ja.csv" "$tmp/ja.kelvane" >"$tmp/out" 2>"$tmp/err" ||
  fail "in Japanese: $(cat "$tmp/err")"
if command -v pdftotext >/dev/null; then
  # Runs of blanks, ideographic ones too, as one space, as in the CSV's rows.
  squeezed() { pdftotext -enc UTF-8 -layout "$1" - | sed 's/　/ /g' | tr -s ' '; }
  squeezed "$tmp/ja-quotation.pdf" >"$tmp/ja-quotation.txt"
  squeezed "$tmp/ja-sheet.pdf" >"$tmp/ja-sheet.txt"
  total=$(sed -n 's/^合計,"\(.*\)",,円.*/\1/p' "$tmp/ja.csv")
  for value in '見 積 書' '見積番号 Q2026-0412（第3版）' "発行日 $today" "有効期限 $in30days" \
    'SD-B036' "御見積金額（税込） $total円"; do
    grep -qF -- "$value" "$tmp/ja-quotation.txt" || fail "in Japanese, the quotation lacks $value"
  done
  for value in '見積計算書' '見積番号 Q2026-0412' '品番 SD-B036'; do
    grep -qF -- "$value" "$tmp/ja-sheet.txt" || fail "in Japanese, the sheet lacks $value"
  done
  # Every row of the results table as the CSV has it: item, values, unit.
  sed -n '/^項目,/,/^\r*$/p' "$tmp/ja.csv" | sed '1d;/^\r*$/d' | tr -d '\r' | sed 's/　/ /g' |
    while IFS=, read -r item aligned predicted unit; do
      row=$(echo "$item $aligned $predicted $unit" | tr -s ' ' | sed 's/ $//')
      grep -qF -- "$row" "$tmp/ja-sheet.txt" || echo "$row"
    done >"$tmp/ja-missing"
  [ ! -s "$tmp/ja-missing" ] || fail "in Japanese, the sheet lacks rows: $(cat "$tmp/ja-missing")"
  for row in 単価 金額 小計 消費税 合計; do
    for value in $(grep "^$row[^,]*," "$tmp/ja.csv" | cut -d, -f2- | sed 's/^"\(.*\)",,円.*/\1/; s/,,円.*//'); do
      grep -qF -- "$value円" "$tmp/ja-quotation.txt" || fail "in Japanese, the quotation lacks $row $value円"
    done
  done
  radicals=$(cat "$tmp/ja-quotation.txt" "$tmp/ja-sheet.txt" | LC_ALL=C.UTF-8 grep -oP '[\x{2E80}-\x{2FDF}]' | sort -u | tr -d '\n')
  [ -z "$radicals" ] || fail "in Japanese, the PDFs read back radicals: $radicals"
fi
# A job without a customer: nobody to ask, so the 見積書 is written without
# its addressee, and one line says so; a person of the customer is 様.
sed 's/"customer": "株式会社サンプル電機", //' "$tmp/pristine.kelvane" >"$tmp/nobody.kelvane"
sed 's/"customer": "株式会社サンプル電機",/"customer": "株式会社サンプル電機", "customerPerson": "山田 太郎",/' \
  "$tmp/pristine.kelvane" >"$tmp/person.kelvane"
"$kelvane" --quotation "$tmp/nobody.pdf" "$tmp/nobody.kelvane" >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] && [ ! -s "$tmp/out" ] && [ "$(wc -l <"$tmp/err")" -eq 1 ] &&
  grep -qF '「nobody.kelvane」には顧客名がないため、見積書「nobody.pdf」は宛名なしで作りました。' "$tmp/err" ||
  fail "no customer: status $status, said: $(cat "$tmp/err")"
"$kelvane" --quotation "$tmp/person.pdf" "$tmp/person.kelvane" 2>"$tmp/err" ||
  fail "a customer's person: $(cat "$tmp/err")"
if command -v pdftotext >/dev/null; then
  pdftotext -enc UTF-8 "$tmp/nobody.pdf" - | grep -qF '御中' && fail "no customer: the quotation says 御中"
  pdftotext -enc UTF-8 -layout "$tmp/person.pdf" - | grep -q '株式会社サンプル電機 山田 太郎 *様' ||
    fail "a customer's person: no 「… 山田 太郎 様」"
  pdftotext -enc UTF-8 -layout "$tmp/person.pdf" - | grep -qF '御中' && fail "a customer's person: 御中 too"
fi
mkdir -p "$tmp/config/kelvane"
echo '{"format": "kelvane-prices", "formatVersion": 1, "wireYen' >"$tmp/config/kelvane/prices.json"

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
1|「prices.json」を開けません。JSON として読めません（2 行目）。見積条件のない案件の見積書は、読める単価表がないと作れません。|--quotation "$tmp/out.pdf" --export-csv "$tmp/out.csv" "$tmp/coil.kelvane"
1|「refused.kelvane」は計算できません。|--quotation "$tmp/out.pdf" "$tmp/refused.kelvane"
2|--report、--export-csv と --quotation には案件ファイルが要ります。|--quotation "$tmp/out.pdf"
2|--report、--export-csv と --quotation には案件ファイルが要ります。|--report "$tmp/out.pdf"
2|開く案件ファイルは一つだけ指定してください。|--export-csv "$tmp/out.csv" "$tmp/coil.kelvane" "$tmp/coil.kelvane"
2|--export-csv には書き出すファイルの名前が要ります。|--export-csv "" "$tmp/coil.kelvane"
2|--report には書き出すファイルの名前が要ります。|--report
2|--help は値を取りません。|--help=x
2|--draft は --quotation とともに指定してください。|--draft --report "$tmp/out.pdf" "$tmp/coil.kelvane"
1|台帳のサーバー（127.0.0.1:1）に接続できません|--register "postgresql://kelvane@127.0.0.1:1/register" --quotation "$tmp/out.pdf" --export-csv "$tmp/out.csv" "$tmp/pristine.kelvane"
1|見積台帳のデータベースではありません|--register "$tmp/notes.kelvane" --quotation "$tmp/out.pdf" "$tmp/pristine.kelvane"
ROWS
[ ! -e "$tmp/none" ] || fail "a folder was made for an output"
rm "$tmp/config/kelvane/prices.json"

# A price list that is there but cannot be read is refused as a damaged one
# is, never replaced by the built-in prices: a link to nowhere (a share that
# is not mounted), the list's own or its folder's, or, for a user root is
# not, a folder that cannot be searched.
refused_list() {  # refused_list <what> <the line's start>
  rm -f "$tmp"/out.*
  "$kelvane" --quotation "$tmp/out.pdf" "$tmp/coil.kelvane" >"$tmp/out" 2>"$tmp/err"
  status=$?
  [ "$status" -eq 1 ] && [ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -qF -- "$2" "$tmp/err" &&
    grep -qF '見積条件のない案件の見積書は、読める単価表がないと作れません。' "$tmp/err" ||
    fail "$1: exit status $status, said: $(cat "$tmp/err")"
  ls "$tmp"/out.* >/dev/null 2>&1 && fail "$1: the quotation was written"
}
ln -s "$tmp/unmounted/prices.json" "$tmp/config/kelvane/prices.json"
refused_list "a list linked to nowhere" '「prices.json」を開けません。読み込めません（リンク先がありません）。'
rm "$tmp/config/kelvane/prices.json"
mv "$tmp/config/kelvane" "$tmp/config/kelvane.real"
ln -s "$tmp/unmounted" "$tmp/config/kelvane"
refused_list "a folder linked to nowhere" \
  "「prices.json」を開けません。読み込めません（フォルダー「$tmp/config/kelvane」のリンク先がありません）。"
rm "$tmp/config/kelvane"
mv "$tmp/config/kelvane.real" "$tmp/config/kelvane"
if [ "$(id -u)" -ne 0 ]; then
  cat >"$tmp/config/kelvane/prices.json" <<'JSON'
{"format": "kelvane-prices", "formatVersion": 1,
 "wireYenPerKg": {"copper": 2500, "aluminium": 900, "copperCladAluminium85": 1300},
 "terms": {"lossPercent": 3, "windingRpm": 1000, "handlingMinutes": 1, "setupMinutes": 30,
           "labourYenPerHour": 3000, "overheadPercent": 10, "profitPercent": 15,
           "parts": [], "quantities": [100]}}
JSON
  chmod 600 "$tmp/config/kelvane"
  refused_list "a folder that cannot be searched" '「prices.json」を開けません。読み込めません（権限がありません）。'
  chmod 700 "$tmp/config/kelvane"
  rm "$tmp/config/kelvane/prices.json"
fi

# Outputs that must not be replaced, or that would replace what they must not.
# Each row fails with the status and line given and leaves every file as it was.
echo 'old csv' >"$tmp/kept.csv"
cp "$tmp/kept.csv" "$tmp/readonly.csv"
chmod 444 "$tmp/readonly.csv"
cp "$tmp/coil.kelvane" "$tmp/coil.before"
while IFS='|' read -r expected says arguments; do
  # shellcheck disable=SC2086
  eval "set -- $arguments"
  "$kelvane" "$@" >"$tmp/out" 2>"$tmp/err"
  status=$?
  [ "$status" -eq "$expected" ] && grep -qF -- "$says" "$tmp/err" ||
    fail "[$arguments]: exit status $status, said: $(cat "$tmp/err")"
done <<ROWS
1|「readonly.csv」を保存できません（読み取り専用のファイルです）。|--export-csv "$tmp/readonly.csv" "$tmp/coil.kelvane"
2|「coil.kelvane」は読み込む案件ファイルそのものです。|--report "$tmp/coil.kelvane" "$tmp/coil.kelvane"
2|「coil.kelvane」は読み込む案件ファイルそのものです。|--export-csv "$tmp/./coil.kelvane" "$tmp/coil.kelvane"
2|--report と --export-csv には別々のファイルを指定してください。|--report "$tmp/kept.csv" --export-csv "$tmp/kept.csv" "$tmp/coil.kelvane"
2|「coil.kelvane」は読み込む案件ファイルそのものです。|--quotation "$tmp/coil.kelvane" "$tmp/coil.kelvane"
2|--export-csv と --quotation には別々のファイルを指定してください。|--export-csv "$tmp/kept.csv" --quotation "$tmp/./kept.csv" "$tmp/coil.kelvane"
1|「x.pdf」を保存できません（保存先のフォルダーがありません）。|--quotation "$tmp/none/x.pdf" --export-csv "$tmp/kept.csv" "$tmp/coil.kelvane"
1|「full」を保存できません（ディスクがいっぱいです）。|--export-csv /dev/full "$tmp/coil.kelvane"
1|「x.csv」を保存できません（保存先のフォルダーがありません）。|--report "$tmp/kept.csv" --export-csv "$tmp/none/x.csv" "$tmp/coil.kelvane"
ROWS
[ "$(cat "$tmp/kept.csv")" = 'old csv' ] || fail "a refused output changed kept.csv"
[ "$(cat "$tmp/readonly.csv")" = 'old csv' ] || fail "the read-only file was replaced"
cmp -s "$tmp/coil.kelvane" "$tmp/coil.before" || fail "the job was replaced by an output"

# A disk that fills up during the write: the old file stays and the run fails.
# The file size limit stands in for the full disk everywhere; a real small
# file system is tried too where this machine lets the test mount one.
(trap '' XFSZ; ulimit -f 8; exec "$kelvane" --report "$tmp/kept.csv" "$tmp/coil.kelvane") \
  >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 1 ] && grep -qF '「kept.csv」を保存できません（ファイルが大きすぎます）。' "$tmp/err" ||
  fail "a PDF past the size limit: status $status, said: $(cat "$tmp/err")"
[ "$(cat "$tmp/kept.csv")" = 'old csv' ] || fail "a PDF past the size limit replaced the old file"
mkdir "$tmp/small"
if mount -t tmpfs -o size=64k tmpfs "$tmp/small" 2>/dev/null; then
  # Full: the CSV alone. Nearly full (16 KiB left): the CSV fits, the PDF not.
  cp "$tmp/expected.csv" "$tmp/small/out.csv"
  echo 'old pdf' >"$tmp/small/sheet.pdf"
  head -c 1M /dev/zero >"$tmp/small/filler" 2>/dev/null
  for arguments in '--export-csv out.csv' 'rm filler' '--report sheet.pdf --export-csv out.csv'; do
    if [ "$arguments" = 'rm filler' ]; then
      rm "$tmp/small/filler"
      head -c $(($(df -k --output=avail "$tmp/small" | tail -1) * 1024 - 16384)) /dev/zero \
        >"$tmp/small/filler"
      continue
    fi
    # shellcheck disable=SC2086
    (cd "$tmp/small" && "$kelvane" $arguments "$tmp/coil.kelvane") >"$tmp/out" 2>"$tmp/err"
    status=$?
    [ "$status" -eq 1 ] && grep -qF 'を保存できません（ディスクがいっぱいです）。' "$tmp/err" ||
      fail "a full disk [$arguments]: status $status, said: $(cat "$tmp/err")"
    cmp -s "$tmp/small/out.csv" "$tmp/expected.csv" || fail "a full disk [$arguments] changed the CSV"
    [ "$(cat "$tmp/small/sheet.pdf")" = 'old pdf' ] || fail "a full disk [$arguments] changed the PDF"
  done
  umount "$tmp/small"
else
  echo "no small file system could be mounted here: the size limit stood in for it"
fi

# A pipe is written into and stays a pipe; so does /dev/null behind a link.
mkfifo "$tmp/pipe.csv"
cat "$tmp/pipe.csv" >"$tmp/from-pipe.csv" &
reader=$!
"$kelvane" --export-csv "$tmp/pipe.csv" "$tmp/coil.kelvane" 2>"$tmp/err" || fail "into a pipe: $(cat "$tmp/err")"
wait "$reader"
same_csv "$tmp/from-pipe.csv" || fail "the pipe did not carry the CSV"
[ -p "$tmp/pipe.csv" ] || fail "the pipe was replaced"
ln -s /dev/null "$tmp/null.csv"
"$kelvane" --export-csv "$tmp/null.csv" "$tmp/coil.kelvane" 2>"$tmp/err" || fail "into /dev/null: $(cat "$tmp/err")"
[ -c /dev/null ] || fail "/dev/null was replaced"

# Names are the bytes given, whether or not they are UTF-8.
cp "$tmp/coil.kelvane" "$(printf '%s/caf\351.kelvane' "$tmp")"
"$kelvane" --export-csv "$(printf '%s/r\351sultat.csv' "$tmp")" "$(printf '%s/caf\351.kelvane' "$tmp")" \
  2>"$tmp/err" || fail "a name that is no UTF-8: $(cat "$tmp/err")"
[ -f "$(printf '%s/r\351sultat.csv' "$tmp")" ] || fail "the CSV was written under another name"

# Help and version that cannot be printed are no success.
for option in --help --version; do
  "$kelvane" "$option" >/dev/full 2>/dev/null && fail "$option to a full disk exited 0"
done

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
[ "$failures" -eq 0 ]
