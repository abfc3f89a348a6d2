#!/usr/bin/env bash
# Times quillsmith-build on a deterministic project with entry pages on (default 100,000
# entries), each run beside its floor, measured in the same run on the same disk (the disk of
# $TMPDIR), in a fresh temporary profile:
#   fresh     the first build, no pages present, against `cp` of the same generated files
#             into an empty folder (both after a sync); twice, on two equal projects, in the
#             order build, cp, build, cp, with nothing deleted between them: a file system
#             that has just freed many files (as the last run's clean-up does) is slower to
#             create the next ones for a minute or more, and this way no side of a pair is
#             alone in paying for it
#   rebuild   nothing changed, against `cat` of every generated file to /dev/null (three pairs)
#   new       one entry added to the database, then a build: its time and how many files it
#             wrote (files whose modification time changed)
# and prints wall time, CPU time (user + system) and peak memory of each.
#
#   bench/entry_pages.sh [entries [build-folder]]   (default 100000, build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
n=${1:-100000}
build=${2:-build/release}
source bench/site_common.sh
command -v sqlite3 >/dev/null || { echo "bench: needs sqlite3 (apt-get install sqlite3)" >&2; exit 1; }
qb=$build/app/quillsmith-build

export XDG_CONFIG_HOME=$work/config
for project in Bench Bench2; do
  "$build/bench/make-bench-project" $project "$work/$project" "$n" >/dev/null
  "$build/bench/make-bench-project" --entry-pages $project 1
done
site=$work/Bench
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-9s %-8s %8s %8s %9s\n' entries run wall cpu "peak MB"

touch "$work/before-fresh"
sleep 0.01
for project in Bench Bench2; do
  sync
  timed fresh "$qb" $project
  if [[ $project == Bench ]]; then
    # The generated files: everything the fresh build wrote, relative to the site folder.
    (cd "$site" && find . -type f ! -name Blog.mdb -newer "$work/before-fresh" -print0) \
      >"$work/generated"
    count=$(tr -cd '\0' <"$work/generated" | wc -c)
    bytes=$(cd "$site" && xargs -0 cat <"$work/generated" | wc -c)
  fi
  mkdir "$work/floor-$project"
  sync
  timed cp-floor sh -c 'cd "$1" && xargs -0 cp --parents -t "$2" <"$3"' sh "$site" \
    "$work/floor-$project" "$work/generated"
done
sync

for _ in 1 2 3; do
  timed rebuild "$qb" Bench
  timed cat-all sh -c 'cd "$1" && xargs -0 cat <"$2" >/dev/null' sh "$site" "$work/generated"
done

# One entry newer than every other, as the editor adds one.
sqlite3 "$site/Blog.mdb" \
  "INSERT INTO \"Bench Log\" VALUES ('2030-01-01 12:00:00', 'A new entry: <b>ink</b> and paper.')"
touch "$work/before-new"
sleep 0.01
sync
timed new "$qb" Bench
written=$(find "$site" -type f -newer "$work/before-new" | wc -l)
echo "generated files: $count ($((bytes / 1048576)) MB); written by the new-entry build: $written"
sed -n 2p "$work/out"
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
