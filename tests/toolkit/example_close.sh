#!/bin/sh
# The example opens its window, draws, and ends when asked to close.
#   example_close.sh EXAMPLE SEND_CLOSE
set -u
out=$(mktemp)
title="Vantyr example $$"
timeout 30 "$1" "$title" >"$out" 2>&1 &
pid=$!
"$2" "$title" 20 || { kill $pid 2>/dev/null; cat "$out"; rm -f "$out"; exit 1; }
wait $pid
status=$?
cat "$out"
grep -q "close requested" "$out" && [ $status -eq 0 ]
ok=$?
rm -f "$out"
exit $ok
