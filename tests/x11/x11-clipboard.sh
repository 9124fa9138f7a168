#!/usr/bin/env bash
# The clipboard shared with other X clients, with xclip as the other client: the text an edit
# copied is read as UTF-8, and text xclip owns is pasted into the edit. Run by
# scripts/x11-test.sh against a private Xvfb server.
# usage: x11-clipboard.sh X11_CLIPBOARD
set -u
work=$(mktemp -d)
pid=""
trap '[ -n "$pid" ] && kill "$pid" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
command -v xclip >/dev/null || fail "xclip is not installed (run scripts/install-deps.sh)"
mkfifo "$work/go"
"$1" <"$work/go" >"$work/out" &
pid=$!
exec 3>"$work/go"
for _ in $(seq 1 100); do
  grep -qx copied "$work/out" 2>/dev/null && break
  sleep 0.05
done
grep -qx copied "$work/out" || fail "the edit did not copy: $(cat "$work/out")"
got=$(timeout 5 xclip -o -selection clipboard -t UTF8_STRING)
[ "$got" = "copied café" ] || fail "another client read '$got'"
# xclip owns the clipboard from the background until another client takes it or the server ends.
printf 'pasted \xc3\xbc' | xclip -i -selection clipboard -t UTF8_STRING >/dev/null 2>&1
echo paste >&3
exec 3>&-
wait "$pid"
pid=""
[ "$(sed -n 2p "$work/out")" = "$(printf 'pasted \xfc')" ] ||
  fail "the edit pasted '$(sed -n 2p "$work/out" | od -c | head -2)'"
echo "another client reads what the edit copies, and the edit pastes what another client owns"
