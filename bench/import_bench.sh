#!/usr/bin/env bash
# Times quillsmith-build --import of a WordPress export of 50,000 posts (or the number given),
# made by make_bench_wxr.py, into a fresh project in a temporary profile on the disk of
# $TMPDIR, three runs of each:
#   dry-run   reading and counting only (--dry-run)
#   import    the real import
# each into an empty entry database (a fresh one for every run)
# against the floor of reading the file once (`cat` to /dev/null), and prints wall time, CPU
# time (user + system) and peak memory of each, with the load average before and after.
#
#   bench/import_bench.sh [posts [build-folder]]   (default 50000, build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-50000}
build=${2:-build/release}
source bench/site_common.sh
site=$work/site
qb=$build/app/quillsmith-build

export XDG_CONFIG_HOME=$work/config
"$build/bench/make-bench-project" Bench "$site" 0 >/dev/null
python3 bench/make_bench_wxr.py "$work/export.xml" "$n"
echo "export: $n posts, $(($(stat -c %s "$work/export.xml") / 1048576)) MB"
"$qb" --import "$work/export.xml" --dry-run Bench | head -2
echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-9s %-8s %8s %8s %9s\n' posts run wall cpu "peak MB"
for _ in 1 2 3; do
  timed cat sh -c 'cat "$1" >/dev/null' sh "$work/export.xml"
  rm -f "$site/Blog.mdb"
  "$build/bench/make-bench-project" Bench "$site" 0 >/dev/null
  timed dry-run "$qb" --import "$work/export.xml" --dry-run Bench
  timed import "$qb" --import "$work/export.xml" Bench
done
echo "load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
