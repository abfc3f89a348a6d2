#!/usr/bin/env bash
# Times quillsmith-build on deterministic projects of 1,000, 10,000 and 100,000 entries (and
# more, given as arguments after the build folder). Each project lives in a fresh temporary
# profile on the disk of $TMPDIR. For each it times:
#   fresh     the first build, no pages present
#   rebuild   nothing changed: every page is found unchanged and left alone
#   changed   after a change of the date format, which changes every page (three times,
#             switching between two formats)
#   floor     right after each changed build (both after a sync), the same pages replaced by a
#             plain loop of temporary file + write + rename (replace-floor): the disk's floor
# and prints wall time, CPU time (user + system) and peak memory of each.
#
#   bench/run.sh [build-folder [entries...]]   (default build/release, configured with its preset)
#   ENTRY_BYTES=12582912 bench/run.sh build/dev 1   (entries of about that many bytes each)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
shift || true
sizes=("${@:-1000 10000 100000}")
targets="quillsmith-build make-bench-project replace-floor"
source bench/site_common.sh
printf '%-9s %-8s %8s %8s %9s\n' entries run wall cpu "peak MB"
for n in ${sizes[*]}; do
  export XDG_CONFIG_HOME=$work/config-$n
  "$build/bench/make-bench-project" Bench "$work/site-$n" "$n" ${ENTRY_BYTES:-} >/dev/null
  sync
  timed fresh "$build/app/quillsmith-build" Bench
  timed rebuild "$build/app/quillsmith-build" Bench
  for format in 1 0 1; do
    "$build/bench/make-bench-project" --date-format Bench "$format"
    sync
    timed changed "$build/app/quillsmith-build" Bench
    sync  # the floor starts from a clean cache too, not from the build's unwritten pages
    "$build/bench/replace-floor" "$work/site-$n" >"$work/floor"
    printf '%-9s %-8s %8s\n' "$n" floor "$(awk '{ print $(NF - 1) }' "$work/floor")"
  done
  rm -rf "$work/site-$n"
done
