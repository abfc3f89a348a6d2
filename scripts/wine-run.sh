#!/bin/sh
# Runs a Windows test program under Wine, for ctest. Now and then, on a loaded machine, Wine
# ends a program at once, before any of its code has run, with a failure status and no
# output at all (about once in several hundred starts). Such a start is tried again, up to
# three times in all; a program that succeeded or printed anything is never run twice.
out=$(mktemp) || exit 1
err=$(mktemp) || exit 1
trap 'rm -f "$out" "$err"' EXIT
attempt=1
while :; do
  wine "$@" >"$out" 2>"$err"
  status=$?
  if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ "$attempt" -ge 3 ]; then
    break
  fi
  echo "wine-run: $1 ended at once with status $status and no output; starting it again" >&2
  attempt=$((attempt + 1))
done
cat "$out"
cat "$err" >&2
exit "$status"
