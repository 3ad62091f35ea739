#!/bin/sh
# kelvane-batch from the outside: the header it prints, files and standard
# streams, the exit statuses, and an output file that appears whole or not
# at all.
set -u
batch="$1"
# The window's program, when it was built: the batch's job issued as a 見積書.
kelvane="${2:-}"
here=$(dirname "$0")
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

expected='素線径(d),線仕上外径,巻き数(n),リード長さ(L),基準厚み(T),内径(D),A,B,r1,r2,R,AG,XX,Tension,巻枠,素材材質,巻線,層間絶縁'
[ "$("$batch" --header)" = "$expected" ] || fail "--header printed: $("$batch" --header)"
[ "$("$batch" --header | wc -l)" -eq 1 ] || fail "--header is not one line"

# Every row computed: status 0, output with a byte order mark, CR LF lines;
# one line on standard error names the input columns the file lacks.
printf 'turns,former\n10,1\n20,丸\n' >"$tmp/good.csv"
"$batch" "$tmp/good.csv" -o "$tmp/out.csv" 2>"$tmp/err" || fail "good rows exited $?"
[ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q 'bareDiameter 0.2, ' "$tmp/err" ||
  fail "good rows did not name the missing columns in one line: $(cat "$tmp/err")"
"$batch" --header >"$tmp/all.csv"
printf '0.2,0.21,10,10,0.8,10,2,2,0.3,0.3,50,60,60,60,角,銅線,,\n' >>"$tmp/all.csv"
"$batch" "$tmp/all.csv" -o "$tmp/all-out.csv" 2>"$tmp/err" || fail "all columns exited $?"
[ ! -s "$tmp/err" ] || fail "all columns wrote to standard error: $(cat "$tmp/err")"
[ "$(head -c 3 "$tmp/out.csv" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "no byte order mark"
[ "$(grep -c "$(printf '\r')\$" "$tmp/out.csv")" -eq 3 ] || fail "lines not ended by CR LF"
ls -A "$tmp" | grep -q '\.kelvane-' && fail "a temporary file was left beside the output"

# Standard input and output, by - and by default.
"$batch" - -o - <"$tmp/good.csv" >"$tmp/stdout.csv" 2>/dev/null || fail "- and - exited $?"
cmp -s "$tmp/out.csv" "$tmp/stdout.csv" || fail "standard output differs from the file"
"$batch" <"$tmp/good.csv" 2>/dev/null | cmp -s "$tmp/out.csv" - || fail "defaults differ from - and -"

# Some row failed: status 1, every row still written, one line on standard error.
printf 'turns,former\n10,1\n10,四角\n30,2\n' >"$tmp/bad.csv"
"$batch" "$tmp/bad.csv" -o "$tmp/out.csv" 2>"$tmp/err"
rc=$?
[ "$rc" -eq 1 ] || fail "a bad row exited $rc, not 1"
[ "$(wc -l <"$tmp/out.csv")" -eq 4 ] || fail "not every row written"
[ "$(grep -c '行を計算できませんでした' "$tmp/err")" -eq 1 ] || fail "failed rows not told: $(cat "$tmp/err")"

# --box-texts gives the window's texts and unit captions, as it always has.
"$batch" --box-texts "$here/box_texts_input.csv" 2>/dev/null | cmp -s - "$here/box_texts_expected.csv" ||
  fail "--box-texts changed its output"

# --prices adds 原価, 単価 and 金額 for each quantity of the list; a list
# that cannot be read stops the batch (below) with one line naming it.
cat >"$tmp/prices.json" <<'JSON'
{"format": "kelvane-prices", "formatVersion": 1,
 "wireYenPerKg": {"copper": 1800, "aluminium": 900, "copperCladAluminium85": 1300},
 "terms": {"lossPercent": 3, "windingRpm": 1000, "handlingMinutes": 1, "setupMinutes": 30,
           "labourYenPerHour": 3000, "overheadPercent": 10, "profitPercent": 15,
           "parts": [{"name": "ボビン", "yenPerPiece": 35}], "quantities": [100, 1000]}}
JSON
"$batch" --prices "$tmp/prices.json" "$tmp/all.csv" -o "$tmp/priced.csv" 2>"$tmp/err" ||
  fail "--prices exited $?: $(cat "$tmp/err")"
head -n 1 "$tmp/priced.csv" | grep -q ',原価 (100 個) \[円\],単価 (100 個) \[円\],金額 (100 個) \[円\],原価 (1000 個) \[円\],単価 (1000 個) \[円\],金額 (1000 個) \[円\],エラー' ||
  fail "--prices did not add the cost columns: $(head -n 1 "$tmp/priced.csv")"
printf '{"format": "kelvane-prices", "formatVersion": 1}' >"$tmp/damaged.json"
"$batch" --prices "$tmp/damaged.json" "$tmp/all.csv" -o "$tmp/new.csv" 2>"$tmp/err"
[ "$?" -eq 2 ] && grep -q '「damaged.json」を開けません。「wireYenPerKg」がありません。' "$tmp/err" ||
  fail "a damaged price list was not told: $(cat "$tmp/err")"

# --job: one item for each row computed, the job's fields from the first
# row and the command line; without -o no CSV is written, and the row that
# failed is told with its message and left out.
cat >"$tmp/request.csv" <<'CSV'
品番,品名,顧客名,見積番号,巻枠,素材材質,素線径(d),線仕上外径,巻き数(n),基準厚み(T),線材単価,数量
KC-1,電源トランス,株式会社サンプル電機,Q-1,丸,銅線,0.25,0.28,400,0.8,,
KC-2,チョーク,,,角,銅線,1.2,1.26,50,2,１９５０円/kg,200/2000
KC-9,試作,,,丸,銅線,0,0.28,400,0.8,,
KC-3,扇コイル,,,扇,アルミニュウム,0.3,0.33,300,0.8,3000,
CSV
"$batch" --prices "$tmp/prices.json" "$tmp/request.csv" --job "$tmp/request.kelvane" \
  --quotation-number Q2026-118 >"$tmp/out" 2>"$tmp/err"
rc=$?
[ "$rc" -eq 1 ] || fail "--job with a failed row exited $rc, not 1: $(cat "$tmp/err")"
[ ! -s "$tmp/out" ] || fail "--job without -o wrote the CSV"
grep -qF '4 行のうち 1 行を計算できませんでした。' "$tmp/err" &&
  grep -qF '4 行目: 素線径(d)を入力してください' "$tmp/err" &&
  grep -qF '「request.kelvane」には計算できた 3 行を品目として書きました。計算できなかった 1 行は入っていません。' "$tmp/err" ||
  fail "--job did not tell the row it left out: $(cat "$tmp/err")"
[ "$(grep -c '"partNumber": "KC-[123]"' "$tmp/request.kelvane")" -eq 3 ] &&
  grep -qF '"quotationNumber": "Q2026-118"' "$tmp/request.kelvane" &&
  grep -qF '"customer": "株式会社サンプル電機"' "$tmp/request.kelvane" &&
  ! grep -q 'KC-9' "$tmp/request.kelvane" || fail "--job wrote another job: $(cat "$tmp/request.kelvane")"
"$batch" --prices "$tmp/prices.json" "$tmp/request.csv" --job "$tmp/request.kelvane" \
  -o "$tmp/request-out.csv" 2>/dev/null
[ "$?" -eq 1 ] && [ "$(wc -l <"$tmp/request-out.csv")" -eq 5 ] || fail "--job with -o did not write the CSV"
# More rows than a job holds: no job and no CSV, status 2.
{ cat "$tmp/all.csv"; yes "$(sed 1d "$tmp/all.csv")" | head -n 100; } >"$tmp/101.csv"
"$batch" "$tmp/101.csv" --job "$tmp/101.kelvane" -o "$tmp/101-out.csv" 2>"$tmp/err"
[ "$?" -eq 2 ] && grep -qF '計算できた行が 101 行あります。一つの見積ファイルに入る品目は 100 まで' "$tmp/err" &&
  [ ! -e "$tmp/101.kelvane" ] && [ ! -e "$tmp/101-out.csv" ] ||
  fail "101 rows were not refused: $(cat "$tmp/err")"

# The job the window issues: each item's line of the 見積書 that
# `kelvane --quotation` makes of it shows the 数量 and the 単価 the batch
# wrote for the row's first lot (a configuration folder of the test's own).
if [ ! -x "$kelvane" ] || ! command -v pdftotext >/dev/null; then
  echo "kelvane or pdftotext not there: the batch's job is not issued as a 見積書"
else
  mkdir -p "$tmp/home"
  HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" QT_QPA_PLATFORM=offscreen \
    "$kelvane" --quotation "$tmp/request.pdf" "$tmp/request.kelvane" 2>"$tmp/err" ||
    fail "kelvane --quotation of the batch's job: $(cat "$tmp/err")"
  pdftotext -enc UTF-8 -layout "$tmp/request.pdf" "$tmp/request.txt"
  # 品番, 数量 1 and 単価 1 of each computed row, 単価 grouped as the 見積書 writes it.
  tr -d '\r' <"$tmp/request-out.csv" | sed '1s/^\xef\xbb\xbf//' | awk -F, '
    function grouped(v,  p, w, s) {
      split(v, p, "."); w = p[1]; s = ""
      while (length(w) > 3) { s = "," substr(w, length(w) - 2) s; w = substr(w, 1, length(w) - 3) }
      return w s "." p[2]
    }
    NR == 1 { for (i = 1; i <= NF; i++) { if ($i == "数量 1 [個]") q = i; if ($i == "単価 1 [円]") u = i }; next }
    $NF == "" { print $1, $q, grouped($u) }' >"$tmp/request.prices"
  [ "$(wc -l <"$tmp/request.prices")" -eq 3 ] || fail "the batch priced: $(cat "$tmp/request.prices")"
  while read -r part lot price; do
    grep -F "$part " "$tmp/request.txt" | grep -F " $lot 個 " | grep -qF " $price円 " ||
      fail "the 見積書 does not price $part at $lot 個 and $price円: $(grep -F "$part" "$tmp/request.txt")"
  done <"$tmp/request.prices"
fi

# A price list that is there but cannot be read (a share that is not
# mounted, a folder that cannot be searched) stops the batch as a damaged
# one does. Root searches every folder, so that row needs another user.
ln -s "$tmp/unmounted/prices.json" "$tmp/dangling.json"
"$batch" --prices "$tmp/dangling.json" "$tmp/all.csv" -o "$tmp/new.csv" 2>"$tmp/err"
[ "$?" -eq 2 ] && grep -q '「dangling.json」を開けません。読み込めません（リンク先がありません）。' "$tmp/err" ||
  fail "a price list linked to nowhere was not told: $(cat "$tmp/err")"
if [ "$(id -u)" -ne 0 ]; then
  mkdir "$tmp/locked" && cp "$tmp/prices.json" "$tmp/locked/" && chmod 600 "$tmp/locked"
  "$batch" --prices "$tmp/locked/prices.json" "$tmp/all.csv" -o "$tmp/new.csv" 2>"$tmp/err"
  status=$?
  chmod 700 "$tmp/locked"
  [ "$status" -eq 2 ] && grep -q '「prices.json」を開けません。読み込めません（権限がありません）。' "$tmp/err" ||
    fail "a price list in a folder that cannot be searched was not told: $(cat "$tmp/err")"
fi
[ ! -e "$tmp/new.csv" ] || fail "a price list that cannot be read left an output file"

# The encoding, when the bytes only suggest it, is told in a line. A stray
# Latin-1 byte (° as 0xB0) in the first row of a UTF-8 file refuses that row,
# naming the byte; the rows after it keep their UTF-8 (KC-β, not KC-ﾎｲ).
printf 'turns,former,備考\n10,1,20\260C\n20,1,KC-\316\262\n30,1,KC-\316\262\n' >"$tmp/stray.csv"
"$batch" "$tmp/stray.csv" -o "$tmp/new.csv" 2>"$tmp/err"
[ "$?" -eq 1 ] || fail "a stray byte's row was not refused"
grep -q '^kelvane-batch: 入力にはバイト順マークがありませんが、UTF-8 として読みました' "$tmp/err" ||
  fail "the guess of UTF-8 was not told: $(cat "$tmp/err")"
grep -q '3 行のうち 1 行を計算できませんでした' "$tmp/err" || fail "the stray byte's row was not counted: $(cat "$tmp/err")"
grep -q '2 行目 3 列目（備考）: UTF-8 の文字として読めないバイト 0xB0 があります（値の 3 バイト目）。' \
  "$tmp/new.csv" || fail "the stray byte's row does not name the byte"
[ "$(grep -c ',KC-β,' "$tmp/new.csv")" -eq 2 ] || fail "the rows after the stray byte lost their UTF-8"
printf 'turns,former,material\n10,1,\223\272\220\374\n' >"$tmp/sjis.csv"
"$batch" "$tmp/sjis.csv" -o "$tmp/new.csv" 2>"$tmp/err" || fail "a Shift_JIS file exited $?"
grep -q '^kelvane-batch: .*Shift_JIS（CP932）として読みました。$' "$tmp/err" ||
  fail "the guess of Shift_JIS was not told: $(cat "$tmp/err")"
rm -f "$tmp/new.csv"

# A column named almost as an input: status 2, one line naming both, no output.
printf 'turns,leadLenght\n10,5\n' >"$tmp/slip.csv"
"$batch" "$tmp/slip.csv" -o "$tmp/new.csv" 2>"$tmp/err"
rc=$?
[ "$rc" -eq 2 ] || fail "a misspelt column exited $rc, not 2"
[ "$(wc -l <"$tmp/err")" -eq 1 ] && grep -q '「leadLenght」.*「leadLength」' "$tmp/err" ||
  fail "a misspelt column was not told in one line: $(cat "$tmp/err")"
[ ! -e "$tmp/new.csv" ] || fail "a misspelt column left an output file"

# The batch cannot run: status 2, one line on standard error, no output file
# (the input names every column, so no line tells of missing ones).
printf 'x,y\n1,2\n' >"$tmp/unknown.csv"
printf 'turns,線材単価\n10,3000\n' >"$tmp/terms.csv"
: >"$tmp/empty.csv"
mkdir "$tmp/dir"
while IFS='|' read -r what command; do
  rm -f "$tmp/new.csv"
  (eval "$command") >"$tmp/out" 2>"$tmp/err"
  rc=$?
  [ "$rc" -eq 2 ] || fail "$what: exited $rc, not 2"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$what: not one error line: $(head -c 300 "$tmp/err")"
  [ ! -e "$tmp/new.csv" ] || fail "$what: left an output file"
  ls -A "$tmp" | grep -q '\.kelvane-' && fail "$what: left a temporary file"
done <<ROWS
missing file|"\$batch" "\$tmp/missing.csv" -o "\$tmp/new.csv"
directory|"\$batch" "\$tmp/dir" -o "\$tmp/new.csv"
empty input|"\$batch" "\$tmp/empty.csv" -o "\$tmp/new.csv"
no known column|"\$batch" "\$tmp/unknown.csv" -o "\$tmp/new.csv"
output in a missing folder|"\$batch" "\$tmp/all.csv" -o "\$tmp/missing/new.csv"
unknown option|"\$batch" --nope "\$tmp/all.csv" -o "\$tmp/new.csv"
no threads|"\$batch" -j 0 "\$tmp/all.csv" -o "\$tmp/new.csv"
missing price list|"\$batch" --prices "\$tmp/missing.json" "\$tmp/all.csv" -o "\$tmp/new.csv"
damaged price list|"\$batch" --prices "\$tmp/damaged.json" "\$tmp/all.csv" -o "\$tmp/new.csv"
price list that is no file|"\$batch" --prices "\$tmp/dir" "\$tmp/all.csv" -o "\$tmp/new.csv"
price list linked to nowhere|"\$batch" --prices "\$tmp/dangling.json" "\$tmp/all.csv" -o "\$tmp/new.csv"
terms without a price list|"\$batch" "\$tmp/terms.csv" -o "\$tmp/new.csv"
customer without a job|"\$batch" --customer X "\$tmp/all.csv" -o "\$tmp/new.csv"
job that is the input|cp "\$tmp/all.csv" "\$tmp/new.csv"; "\$batch" "\$tmp/new.csv" --job "\$tmp/new.csv" || { rc=\$?; cmp -s "\$tmp/all.csv" "\$tmp/new.csv" && rm -f "\$tmp/new.csv"; exit \$rc; }
job in a missing folder|"\$batch" "\$tmp/all.csv" --job "\$tmp/missing/new.kelvane" -o "\$tmp/new.csv"
output that cannot be written|"\$batch" "\$tmp/all.csv" >/dev/full
read-only output|cp "\$tmp/all.csv" "\$tmp/new.csv"; chmod 444 "\$tmp/new.csv"; "\$batch" "\$tmp/all.csv" -o "\$tmp/new.csv" || { rc=\$?; cmp -s "\$tmp/all.csv" "\$tmp/new.csv" && rm -f "\$tmp/new.csv"; exit \$rc; }
output that is the input|cp "\$tmp/all.csv" "\$tmp/new.csv"; "\$batch" "\$tmp/new.csv" -o "\$tmp/./new.csv" || { rc=\$?; cmp -s "\$tmp/all.csv" "\$tmp/new.csv" && rm -f "\$tmp/new.csv"; exit \$rc; }
output a disk cannot hold|"\$batch" "\$tmp/all.csv" -o /dev/full
standard input from the output|cp "\$tmp/all.csv" "\$tmp/new.csv"; "\$batch" - -o "\$tmp/new.csv" <"\$tmp/new.csv" || { rc=\$?; cmp -s "\$tmp/all.csv" "\$tmp/new.csv" && rm -f "\$tmp/new.csv"; exit \$rc; }
ROWS

# Those lines name the file and the reason in the window's words.
while IFS='|' read -r said command; do
  (eval "$command") >/dev/null 2>"$tmp/err"
  grep -qF "$said" "$tmp/err" || fail "not said: $said (said: $(cat "$tmp/err"))"
done <<ROWS
「missing.csv」を開けません。読み込めません（ファイルがありません）。|"\$batch" "\$tmp/missing.csv" -o "\$tmp/new.csv"
標準出力に書き込めません（ディスクがいっぱいです）。|"\$batch" "\$tmp/all.csv" >/dev/full
出力「new.csv」は入力と同じファイルです。|cp "\$tmp/all.csv" "\$tmp/new.csv"; "\$batch" "\$tmp/new.csv" -o "\$tmp/./new.csv"
出力「new.csv」は入力と同じファイルです。|cp "\$tmp/all.csv" "\$tmp/new.csv"; "\$batch" - -o "\$tmp/new.csv" <"\$tmp/new.csv"
「x\\x1b[2Jmissing.csv」を開けません。|"\$batch" "\$tmp/x\$(printf '\\033')[2Jmissing.csv" -o "\$tmp/new.csv"
ROWS

# A reader that reads a little and quits, behind -o or standard output: the
# failed write in one line and status 2, never an end by SIGPIPE.
{ cat "$tmp/all.csv"; yes "$(sed 1d "$tmp/all.csv")" | head -n 3000; } >"$tmp/long.csv"
mkfifo "$tmp/early.csv"
head -c 100 "$tmp/early.csv" >/dev/null &
"$batch" -j 1 "$tmp/long.csv" -o "$tmp/early.csv" 2>"$tmp/err"
rc=$?
wait
[ "$rc" -eq 2 ] || fail "-o a pipe whose reader quits: exited $rc"
grep -qF "「early.csv」を保存できません（読み手が途中で読むのをやめました）。" "$tmp/err" ||
  fail "-o a pipe whose reader quits said: $(cat "$tmp/err")"
rm -f "$tmp/early.csv"
{ "$batch" -j 1 "$tmp/long.csv" 2>"$tmp/err"; echo $? >"$tmp/rc"; } | head -c 100 >/dev/null
[ "$(cat "$tmp/rc")" -eq 2 ] || fail "standard output whose reader quits: exited $(cat "$tmp/rc")"
grep -qF "標準出力に書き込めません（読み手が途中で読むのをやめました）。" "$tmp/err" ||
  fail "standard output whose reader quits said: $(cat "$tmp/err")"

# More threads than make sense (here under a limit on memory, which 1024
# stacks would pass): the rows are computed on a few a core, all of them.
# Not tried under AddressSanitizer, whose shadow memory no such limit allows.
if ! nm "$batch" 2>/dev/null | grep -q __asan_init; then
  { cat "$tmp/all.csv"; yes "$(sed 1d "$tmp/all.csv")" | head -n 4000; } >"$tmp/rows.csv"
  "$batch" -j 1 "$tmp/rows.csv" -o "$tmp/one.csv" 2>/dev/null || fail "-j 1 exited $?"
  (ulimit -v 400000; exec "$batch" -j 1024 "$tmp/rows.csv" -o "$tmp/many.csv") 2>"$tmp/err" ||
    fail "-j 1024 under a memory limit: exited $? ($(cat "$tmp/err"))"
  cmp -s "$tmp/one.csv" "$tmp/many.csv" || fail "-j 1024 changed the rows"
fi

# A failed run leaves the old output as it was.
printf 'old\n' >"$tmp/keep.csv"
"$batch" "$tmp/unknown.csv" -o "$tmp/keep.csv" 2>/dev/null
[ "$(cat "$tmp/keep.csv")" = "old" ] || fail "a failed run replaced the output"
# A pipe is written into and stays a pipe.
mkfifo "$tmp/pipe.csv"
cat "$tmp/pipe.csv" >"$tmp/from-pipe.csv" &
"$batch" "$tmp/good.csv" -o "$tmp/pipe.csv" 2>/dev/null || fail "into a pipe exited $?"
wait
cmp -s "$tmp/from-pipe.csv" "$tmp/stdout.csv" || fail "the pipe did not carry the rows"
[ -p "$tmp/pipe.csv" ] || fail "the pipe was replaced"

# Stopped half-way (SIGTERM, a closed terminal) or past the size limit: the old
# output stays and nothing else is left beside it.
yes '10,1' | head -n 3000000 | sed '1i turns,former' >"$tmp/big.csv"
for stop in TERM HUP XFSZ; do
  if [ "$stop" = XFSZ ]; then
    (trap '' XFSZ; ulimit -f 64; exec "$batch" -j 1 "$tmp/big.csv" -o "$tmp/keep.csv") 2>/dev/null
    rc=$?
    [ "$rc" -eq 2 ] || fail "past the size limit: exited $rc, not 2"
  else
    "$batch" -j 1 "$tmp/big.csv" -o "$tmp/keep.csv" 2>/dev/null &
    sleep 1
    kill -s "$stop" $!
    wait $!
    rc=$?
    [ "$rc" -gt 128 ] || fail "SIG$stop: the batch finished before it was stopped ($rc)"
  fi
  [ "$(cat "$tmp/keep.csv")" = "old" ] || fail "SIG$stop: the old output was replaced"
  ls -A "$tmp" | grep -q '\.kelvane-' && fail "SIG$stop: a temporary file was left"
done
echo "ok"
