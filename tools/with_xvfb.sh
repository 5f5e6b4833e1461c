#!/usr/bin/env bash
# Runs a command against a private Xvfb server (1280 x 1024, 24-bit) and stops
# the server afterwards. The server picks a free display itself (-displayfd),
# so many of these can run side by side.
set -u
dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/log" &
server=$!
for _ in $(seq 1 400); do
  [ -s "$dir/display" ] && break
  kill -0 "$server" 2>/dev/null || { cat "$dir/log" >&2; rm -rf "$dir"; exit 1; }
  sleep 0.025
done
if [ ! -s "$dir/display" ]; then
  echo "with_xvfb: Xvfb did not start" >&2; kill "$server" 2>/dev/null; rm -rf "$dir"; exit 1
fi
export DISPLAY=":$(head -n 1 "$dir/display")"
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
rm -rf "$dir"
exit $status
