#!/usr/bin/env bash
# Times the link check, `quillsmith-build --check-only`, on deterministic projects of 10,000
# and 100,000 entries (or the sizes given after the build folder), each built first by
# quillsmith-build in a fresh temporary profile, with entry pages on (EntryPages "1") when
# the build has them. Three runs each; prints wall time, CPU time (user + system), peak
# memory and the check's summary line, with the load average before each run.
#
#   bench/check_bench.sh [build-folder [entries...]]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
shift || true
sizes=("${@:-10000 100000}")
source bench/site_common.sh
command -v sqlite3 >/dev/null || { echo "bench: needs sqlite3" >&2; exit 1; }
printf '%-9s %-6s %8s %8s %9s  %s\n' entries load wall cpu "peak MB" summary
for n in ${sizes[*]}; do
  export XDG_CONFIG_HOME=$work/config-$n XDG_STATE_HOME=$work/state-$n
  "$build/bench/make-bench-project" Bench "$work/site-$n" "$n" >/dev/null
  sqlite3 "$XDG_CONFIG_HOME/quillsmith/registry.db" \
    "INSERT OR REPLACE INTO vals VALUES ('HKEY_CURRENT_USER\\Software\\Ardentware\\Quillsmith\\Bench', 'EntryPages', 1, CAST('1' AS BLOB))"
  "$build/app/quillsmith-build" Bench >/dev/null
  sync
  for run in 1 2 3; do
    load=$(cut -d' ' -f1 /proc/loadavg)
    status=0
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" \
      "$build/app/quillsmith-build" --check-only Bench >"$work/out" || status=$?
    ((status <= 1)) || { cat "$work/out" >&2; exit 1; }
    read -r seconds user system kb <"$work/time"
    printf '%-9s %-6s %8s %8s %9.1f  %s\n' "$n" "$load" "$seconds" \
      "$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')" \
      "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" "$(tail -n 1 "$work/out")"
  done
  rm -rf "$work/site-$n"
done
