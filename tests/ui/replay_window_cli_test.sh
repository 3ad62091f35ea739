#!/bin/sh
# kelvane-replay --window from the outside: the same JSON as the model gives,
# nothing on standard error, the replay's refusals and failures, and no QtTest
# in the installed program.
set -u
replay="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cat >"$tmp/press.json" <<'JSON'
{"steps":[{"click":"Option1(2)"},{"type":"Text1(2)","text":"40"},{"click":"Command1"},
          {"click":"Command2"},{"key":123},{"type":"Text2(10)","text":"300"},{"click":"Command1"}]}
JSON
cat >"$tmp/options.json" <<'JSON'
{"steps":[{"click":"Option1(0)"},{"click":"Option1(2)"},{"click":"Option1(1)"},
          {"click":"Option3(2)"},{"focus":"Option3(0)"},{"click":"Option3(1)"},{"click":"Command1"}]}
JSON
for steps in press options; do
  "$replay" "$tmp/$steps.json" >"$tmp/model" || fail "$steps: model replay exited $?"
  "$replay" --window "$tmp/$steps.json" >"$tmp/window" 2>"$tmp/err" || fail "$steps: window exited $?"
  [ ! -s "$tmp/err" ] || fail "$steps: window replay wrote to standard error: $(cat "$tmp/err")"
  cmp -s "$tmp/model" "$tmp/window" || { diff "$tmp/model" "$tmp/window"; fail "$steps: window differs"; }
done

echo '{"steps":[{"focus":"Text1(5)"}]}' >"$tmp/hidden.json"
awk 'BEGIN { s = ""; for (i = 0; i < 100000; i++) s = s "["; print "{\"steps\":[{\"click\":" s "}]}" }' \
  >"$tmp/deep.json"
for steps in hidden deep; do
  "$replay" --window "$tmp/$steps.json" >"$tmp/out" 2>"$tmp/err"
  [ $? -eq 2 ] || fail "$steps: not refused with exit 2"
  [ ! -s "$tmp/out" ] || fail "$steps: printed to standard output"
  [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$steps: refusal is not one error line"
done

"$replay" --window "$tmp/press.json" >/dev/full 2>"$tmp/err"
[ $? -ne 0 ] || fail "full output device reported as success"

if command -v ldd >/dev/null; then
  ! ldd "$replay" | grep -q 'libQt6Test' || fail "kelvane-replay links the Qt test library"
fi
echo "replay --window: all checks passed"
