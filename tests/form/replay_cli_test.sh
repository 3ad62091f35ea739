#!/bin/sh
# kelvane-replay from the outside: output on success, exit status 2 and one
# line on standard error (nothing on standard output) for bad input.
set -u
replay="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

echo '{"steps":[{"click":"Command1"}]}' | "$replay" >"$tmp/out" 2>"$tmp/err" || fail "design press exited $?"
grep -q '"同数列巻き--3 X 3"' "$tmp/out" || fail "no arrangement in output"
[ ! -s "$tmp/err" ] || fail "unexpected standard error"

echo '{"steps":[]}' >"$tmp/steps.json"
"$replay" "$tmp/steps.json" >"$tmp/out" 2>"$tmp/err" || fail "file input exited $?"
grep -q '"focus": "Text1(0)"' "$tmp/out" || fail "start-up focus missing"

for doc in 'not json' '{"steps":[{"click":"Nope"}]}' '{"steps":[{"focus":"Text1(5)"}]}'; do
  echo "$doc" | "$replay" >"$tmp/out" 2>"$tmp/err"
  rc=$?
  [ "$rc" -eq 2 ] || fail "'$doc' exited $rc, not 2"
  [ ! -s "$tmp/out" ] || fail "'$doc' printed to standard output"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "'$doc' did not print one error line"
done

"$replay" "$tmp/missing.json" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "missing file not exit 2"
echo "replay cli: all checks passed"
