#!/bin/sh
# kelvane-replay from the outside: output on success, exit status 2 and one
# short line on standard error (nothing on standard output) for bad input, a
# failure status when the output cannot be written.
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

# Bad input, one row each: what the row is, then the command line (evaluated).
echo 'not json' >"$tmp/not.json"
echo '{"steps":[{"click":"Nope"}]}' >"$tmp/nope.json"
echo '{"steps":[{"focus":"Text1(5)"}]}' >"$tmp/hidden.json"
awk 'BEGIN { s = ""; for (i = 0; i < 100000; i++) s = s "["; print "{\"steps\":[{\"click\":" s "}]}" }' \
  >"$tmp/deep.json"
head -c 17000000 /dev/zero | tr '\0' '[' >"$tmp/long.json"
mkdir "$tmp/dir"
while IFS='|' read -r what command; do
  eval "$command" >"$tmp/out" 2>"$tmp/err"
  rc=$?
  [ "$rc" -eq 2 ] || fail "$what: exited $rc, not 2"
  [ ! -s "$tmp/out" ] || fail "$what: printed to standard output"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$what: not one error line: $(head -c 300 "$tmp/err")"
  [ "$(wc -c <"$tmp/err")" -le 200 ] || fail "$what: error line longer than 200 bytes"
done <<ROWS
unreadable JSON|"\$replay" <"\$tmp/not.json"
unknown control|"\$replay" "\$tmp/nope.json"
hidden box|"\$replay" <"\$tmp/hidden.json"
nesting 100000 deep|"\$replay" "\$tmp/deep.json"
unclosed [ of 17 MB|"\$replay" "\$tmp/long.json"
unclosed [ of 17 MB on standard input|"\$replay" <"\$tmp/long.json"
missing file|"\$replay" "\$tmp/missing.json"
directory|"\$replay" "\$tmp/dir"
directory on standard input|"\$replay" <"\$tmp/dir"
file that fails to read|"\$replay" /proc/self/mem
unknown option|"\$replay" --nope "\$tmp/steps.json"
ROWS

# Output that cannot be written is a failure, said on standard error.
"$replay" "$tmp/steps.json" >/dev/full 2>"$tmp/err"
rc=$?
[ "$rc" -ne 0 ] || fail "full output device reported as success"
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "full output device: not one error line"
"$replay" "$tmp/steps.json" >&- 2>"$tmp/err"
[ $? -ne 0 ] || fail "closed standard output reported as success"

"$replay" --help >"$tmp/out" || fail "--help exited $?"
grep -q "16 MiB" "$tmp/out" || fail "--help does not give the size limit"
echo "replay cli: all checks passed"
