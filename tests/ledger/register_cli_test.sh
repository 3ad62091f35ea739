#!/bin/sh
# kelvane-register from the outside: each command on a register filled from
# a ledger's CSV, the place of the register, and the exit statuses (0 done,
# 1 the work failed, 2 the command line could not be read).
set -u
register="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
db="$tmp/台帳/register.sqlite3"
r() { "$register" --register "$db" "$@"; }

cat >"$tmp/in.csv" <<'CSV'
見積番号,版,発行日,有効期限,顧客名,件名,担当者,行,品番,品名,数量,単価(円),金額(円),小計(円),消費税(円),合計(円)
Q2026-0001,1,2026-01-10,2026-02-09,株式会社サンプル電機,電源トランス,山田,1,AB-12,電源トランス,"1,000",149.30,"149,300","149,300","14,930","164,230"
Q2026-0001,2,2026-02-01,2026-03-03,株式会社サンプル電機,電源トランス,山田,1,AB-12,電源トランス,"2,000",140.00,"280,000","384,000","38,400","422,400"
Q2026-0001,2,2026-02-01,2026-03-03,株式会社サンプル電機,電源トランス,山田,2,CH-3,チョーク,200,520.00,"104,000","384,000","38,400","422,400"
Q2026-0002,1,2026-03-15,2026-04-14,有限会社ABC,試作,佐藤,1,XY-9,試作品,10,"1,000.00","10,000","10,000","1,000","11,000"
CSV

r import "$tmp/in.csv" 2>"$tmp/err" || fail "import exited $?: $(cat "$tmp/err")"
grep -q '3 件の版を取り込みました' "$tmp/err" || fail "import did not say what it took: $(cat "$tmp/err")"
r import "$tmp/in.csv" 2>"$tmp/err" || fail "a second import exited $?"
grep -q '0 件の版を取り込みました（台帳に同じ内容であった 3 件は除きました）' "$tmp/err" ||
  fail "a second import: $(cat "$tmp/err")"

# list: a heading, then every 版, newest 発行日 first.
[ "$(r list | wc -l)" -eq 4 ] || fail "list: $(r list)"
[ "$(r list | sed -n 2p | cut -f1,2,8)" = "$(printf 'Q2026-0002\t1\t11,000円')" ] ||
  fail "list's first row: $(r list | sed -n 2p)"

# search: each option narrows the 版 found.
count() { r search "$@" | tail -n +2 | wc -l; }
[ "$(count --text チョーク)" -eq 1 ] || fail "--text"
[ "$(count --number 0001)" -eq 2 ] || fail "--number"
[ "$(count --customer ABC)" -eq 1 ] || fail "--customer"
[ "$(count --subject 電源)" -eq 2 ] || fail "--subject"
[ "$(count --person 山田)" -eq 2 ] || fail "--person"
[ "$(count --part CH-3)" -eq 1 ] || fail "--part"
[ "$(count --from 2026-02-01 --to 2026-02-28)" -eq 1 ] || fail "--from --to"
[ "$(count --min 11000 --max 164230)" -eq 2 ] || fail "--min --max"
[ "$(count --latest)" -eq 2 ] || fail "--latest"
r search --limit 1 >/dev/null 2>"$tmp/err" && grep -q '最初の 1 件' "$tmp/err" || fail "--limit not told"

# show: the latest 版 or the one asked, its lines and totals.
r show Q2026-0001 >"$tmp/show" || fail "show exited $?"
grep -q '^版: 第2版$' "$tmp/show" && grep -q "$(printf '^2\tCH-3\tチョーク\t200\t520.00円\t104,000円$')" "$tmp/show" &&
  grep -q '^合計: 422,400円$' "$tmp/show" || fail "show: $(cat "$tmp/show")"
r show Q2026-0001 1 | grep -q '^合計: 164,230円$' || fail "show of 第1版"
r show Q2026-0001 3 2>"$tmp/err"
[ $? -eq 1 ] && grep -q '見積番号「Q2026-0001」の第3版は見積台帳にありません。' "$tmp/err" ||
  fail "show of a 版 not there: $(cat "$tmp/err")"

# export: what was imported, written whole; - is standard output.
r export "$tmp/out.csv" || fail "export exited $?"
[ "$(head -c 3 "$tmp/out.csv" | od -An -tx1 | tr -d ' ')" = "efbbbf" ] || fail "export: no BOM"
tail -c +4 "$tmp/out.csv" | tr -d '\r' | cmp -s - "$tmp/in.csv" || fail "export differs from the import"
r export - | cmp -s - "$tmp/out.csv" || fail "export to standard output differs"
ls -A "$tmp" | grep -q '\.kelvane-' && fail "a temporary file was left beside the export"

# pdf: an imported 版 has none; one recorded by Kelvane has its bytes.
r pdf Q2026-0001 1 "$tmp/q.pdf" 2>"$tmp/err"
[ $? -eq 1 ] && grep -q 'PDF がありません' "$tmp/err" && [ ! -e "$tmp/q.pdf" ] ||
  fail "pdf of an imported 版: $(cat "$tmp/err")"
if command -v sqlite3 >/dev/null 2>&1; then
  sqlite3 "$db" "INSERT INTO issue_documents VALUES ('Q2026-0002', 1, '{}', CAST('%PDF-1.4 x' AS BLOB))"
  r pdf Q2026-0002 1 "$tmp/q.pdf" || fail "pdf exited $?"
  [ "$(cat "$tmp/q.pdf")" = "%PDF-1.4 x" ] || fail "pdf wrote: $(cat "$tmp/q.pdf")"
fi

# The register's place: --register, else KELVANE_REGISTER.
KELVANE_REGISTER="$db" "$register" list | grep -q Q2026-0002 || fail "KELVANE_REGISTER not read"

# Failures of the work: status 1, one line naming what.
printf 'not a register' >"$tmp/notes.txt"
"$register" --register "$tmp/notes.txt" list 2>"$tmp/err"
[ $? -eq 1 ] && [ "$(wc -l <"$tmp/err")" -eq 1 ] &&
  grep -q '「notes.txt」は見積台帳のデータベースではありません。' "$tmp/err" || fail "a file not a register: $(cat "$tmp/err")"
printf '見積番号,版\n' >"$tmp/bad.csv"
r import "$tmp/bad.csv" 2>"$tmp/err"
[ $? -eq 1 ] && grep -q '1 行目が見積台帳の見出し' "$tmp/err" || fail "a malformed CSV: $(cat "$tmp/err")"
sed 's/164,230/164,231/' "$tmp/in.csv" >"$tmp/changed.csv"
r import "$tmp/changed.csv" 2>"$tmp/err"
[ $? -eq 1 ] && grep -q '見積番号「Q2026-0001」の第1版は、台帳に別の内容で記録されています。' "$tmp/err" ||
  fail "a changed 版: $(cat "$tmp/err")"

# Bad usage: status 2.
for args in "" "frobnicate" "show" "pdf Q1 1" "search --min lots" "search --from 1/2/2026" "show Q1 0"; do
  # shellcheck disable=SC2086
  r $args >/dev/null 2>"$tmp/err"
  rc=$?
  [ "$rc" -eq 2 ] && [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "'$args' exited $rc: $(cat "$tmp/err")"
done
"$register" --help | grep -q 'search' || fail "--help"
echo "kelvane-register: every command and status as expected"
