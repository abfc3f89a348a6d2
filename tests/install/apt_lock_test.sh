#!/usr/bin/env bash
# The package scripts' apt-get waits while another process holds the package lock, says so
# once, and goes on when it comes free; past its time it fails and says why. Real apt-get
# runs against lists, cache and dpkg folders of the test's own, whose locks a helper holds:
# the machine's own package state is never touched.
# Usage: apt_lock_test.sh SOURCE_DIR
set -euo pipefail
source=$1
work=$(mktemp -d)
holder=""
trap '[[ -n $holder ]] && kill "$holder" 2>/dev/null; rm -rf "$work"' EXIT
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/dpkg/updates" "$work/parts"
: >"$work/sources.list"
: >"$work/dpkg/status"
private=(-o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache"
         -o "Dir::State::status=$work/dpkg/status" -o "Dir::Etc::SourceList=$work/sources.list"
         -o "Dir::Etc::SourceParts=$work/parts" -o "APT::Sandbox::User=root")

# Holds the lock file LOCK as apt and dpkg take it (fcntl), in the background, for SECONDS
# or until release is called, whichever comes first.
hold() {
  rm -f "$work/held" "$work/release"
  python3 -c 'import fcntl, os, sys, time
f = open(sys.argv[1], "w"); fcntl.lockf(f, fcntl.LOCK_EX); print(flush=True)
end = time.monotonic() + float(sys.argv[2])
while time.monotonic() < end and not os.path.exists(sys.argv[3]): time.sleep(0.05)' \
    "$1" "$2" "$work/release" >"$work/held" &
  holder=$!
  until [[ -s $work/held ]]; do sleep 0.05; done
}

# Lets the lock go once apt-get has said that it waits (or after a minute): however slowly
# apt-get starts on a busy machine, it meets the lock held.
release_when_waiting() {
  for _ in $(seq 1200); do
    grep -q 'waiting for the package lock' "$work/err" 2>/dev/null && break
    sleep 0.05
  done
  : >"$work/release"
}

failed=0
check() {  # check WHAT CONDITION...
  local what=$1
  shift
  if ! "$@"; then
    echo "FAILED: $what" >&2
    failed=1
  fi
}
count() { grep -c "$1" "$work/err" || true; }

export APT_LOCK_RETRY_SECONDS=1
source "$source/scripts/apt-lock.sh"

# apt-get update takes the lists' lock without waiting of its own: tried again until free.
hold "$work/lists/lock" 60
: >"$work/err"
release_when_waiting &
status=0
apt_get_waiting test apt-get "${private[@]}" update -q >"$work/out" 2>"$work/err" || status=$?
check "update waits for the lists' lock and succeeds ($status)" test "$status" -eq 0
check "update says once that it waits" test "$(count 'test: waiting for the package lock')" -eq 1
check "update names the holder" grep -q "holds (process [0-9]* (python3))" "$work/err"
check "update says the lock came free" grep -q "came free" "$work/err"
wait "$holder"

# apt-get install waits for the dpkg lock itself, told how long.
hold "$work/dpkg/lock-frontend" 60
: >"$work/err"
release_when_waiting &
status=0
apt_get_waiting test apt-get "${private[@]}" install -y -q >"$work/out" 2>"$work/err" || status=$?
check "install waits for the dpkg lock and succeeds ($status)" test "$status" -eq 0
check "install says once that it waits" test "$(count 'test: waiting for the package lock')" -eq 1
wait "$holder"

# A lock held past the time allowed: a failure that says so.
apt_lock_seconds=2
hold "$work/lists/lock" 30
status=0
apt_get_waiting test apt-get "${private[@]}" update -q >"$work/out" 2>"$work/err" || status=$?
check "a lock held too long fails" test "$status" -ne 0
check "a lock held too long says so" grep -q "still held after" "$work/err"
kill "$holder"
holder=""

# Every apt-get the package scripts run goes through the waiting one.
for script in install-deps.sh windows-deps.sh; do
  bare=$(grep -nE '(^|[[:space:];(&|])apt-get ' "$source/scripts/$script" | grep -v '^[0-9]*: *#' |
    grep -v 'apt_get_waiting' || true)
  check "$script runs apt-get only through apt_get_waiting: $bare" test -z "$bare"
done

exit "$failed"
