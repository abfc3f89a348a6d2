#!/usr/bin/env bash
# Times quillsmith-build --import of a WordPress export of 50,000 posts (or the number given),
# made by make_bench_wxr.py, into a fresh project in a temporary profile on the disk of
# $TMPDIR: first with --dry-run (reading and counting only), then for real, into an empty
# entry database each time. farm-bench prints wall time, CPU time and peak memory as
# min/median/max of five runs; the load average is printed beside them.
#
#   bench/import_bench.sh [build-folder [posts]]   (default build/release, 50000)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
posts=${2:-50000}
if [[ ! -x $build/app/quillsmith-build || ! -x $build/bench/make-bench-project ]]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j2 --target quillsmith-build make-bench-project >/dev/null
fi
command -v farm-bench >/dev/null || { echo "bench: needs farm-bench on PATH" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
"$build/bench/make-bench-project" Bench "$work/site" 0 >/dev/null
python3 bench/make_bench_wxr.py "$work/export.xml" "$posts"
echo "export: $posts posts, $(($(stat -c %s "$work/export.xml") / 1048576)) MB"
"$build/app/quillsmith-build" --import "$work/export.xml" --dry-run Bench | head -2
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
farm-bench -n 5 --timeout 900 -- "$build/app/quillsmith-build" --import "$work/export.xml" \
  --dry-run Bench
farm-bench -n 5 --timeout 900 -- sh -c \
  "rm -f '$work/site/Blog.mdb' && exec '$build/app/quillsmith-build' --import '$work/export.xml' Bench"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
