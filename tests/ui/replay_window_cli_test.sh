#!/bin/sh
# kelvane-replay --window from the outside: the same JSON as the model gives,
# and nothing on standard error.
set -u
replay="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cat >"$tmp/steps.json" <<'JSON'
{"steps":[{"click":"Option1(2)"},{"type":"Text1(2)","text":"40"},{"click":"Command1"},
          {"click":"Command2"},{"key":123},{"type":"Text2(10)","text":"300"},{"click":"Command1"}]}
JSON
"$replay" "$tmp/steps.json" >"$tmp/model" || fail "model replay exited $?"
"$replay" --window "$tmp/steps.json" >"$tmp/window" 2>"$tmp/err" || fail "window replay exited $?"
[ ! -s "$tmp/err" ] || fail "window replay wrote to standard error: $(cat "$tmp/err")"
cmp -s "$tmp/model" "$tmp/window" || { diff "$tmp/model" "$tmp/window"; fail "window differs from model"; }
echo '{"steps":[{"focus":"Text1(5)"}]}' | "$replay" --window >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "hidden box not refused with exit 2"
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "refusal is not one error line"
echo "replay --window: all checks passed"
