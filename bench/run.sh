#!/usr/bin/env bash
# Times quillsmith-build on deterministic projects of 1,000, 10,000 and 100,000 entries.
# Each project lives in a fresh temporary profile; its first build writes every page, the
# rebuild that follows finds them all unchanged. Prints wall time and peak memory of each.
#
#   bench/run.sh [build-folder]      (default build/release, configured with its preset)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if [[ ! -x $build/app/quillsmith-build ]]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j2 --target quillsmith-build make-bench-project >/dev/null
fi
command -v /usr/bin/time >/dev/null || { echo "bench: needs GNU time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '%-9s %-8s %9s %11s\n' entries run seconds "peak MB"
for n in 1000 10000 100000; do
  export XDG_CONFIG_HOME=$work/config-$n
  "$build/bench/make-bench-project" Bench "$work/site-$n" "$n" >/dev/null
  sync
  for run in first rebuild; do
    /usr/bin/time -f '%e %M' -o "$work/time" "$build/app/quillsmith-build" Bench >/dev/null
    read -r seconds kb <"$work/time"
    printf '%-9s %-8s %9s %11.1f\n' "$n" "$run" "$seconds" "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
  done
done
