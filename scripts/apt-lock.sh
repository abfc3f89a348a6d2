# Sourced by the scripts that install packages: apt-get that waits for the package lock
# instead of failing at once while another apt-get or an automatic update holds it (a fresh
# machine often runs one in its first minutes), and says that it is waiting.
#
# apt-get waits for the dpkg lock itself when told to (DPkg::Lock::Timeout), but
# `apt-get update` takes the package lists' lock without waiting; a run that fails on a lock
# is therefore tried again here every few seconds until the same ten minutes are up.

apt_lock_seconds=${APT_LOCK_SECONDS:-600}
apt_lock_retry_seconds=${APT_LOCK_RETRY_SECONDS:-5}
apt_lock_pattern='Could not get lock|Unable to lock|Unable to acquire the dpkg frontend lock'

# Passes apt-get's lines on, errors and warnings to standard error, except those about the
# lock: in their place NAME says once that it is waiting (the file SAID remembers that it
# did, across tries).
apt_lock_filter() {
  local name=$1 said=$2 line holder
  while IFS= read -r line; do
    if [[ $line =~ $apt_lock_pattern ]]; then
      [[ -e $said ]] && continue
      : >"$said"
      holder=""
      if [[ $line == *"held by "* ]]; then
        holder=${line#*held by }
        holder=" (${holder%...})"
      fi
      echo "$name: waiting for the package lock, which another apt-get or an automatic" \
        "update holds$holder; up to $((apt_lock_seconds / 60)) minutes" >&2
    elif [[ $line == "E: "* || $line == "W: "* ]]; then
      echo "$line" >&2
    else
      echo "$line"
    fi
  done
}

# Usage: apt_get_waiting NAME COMMAND... where COMMAND is apt-get with its arguments, perhaps
# after sudo. NAME starts the script's own lines. Returns apt-get's exit status.
apt_get_waiting() {
  local name=$1 work status deadline=$((SECONDS + apt_lock_seconds))
  shift
  work=$(mktemp -d)
  while true; do
    {
      if "$@" -o DPkg::Lock::Timeout="$apt_lock_seconds" 2>&1; then status=0; else status=$?; fi
      echo "$status" >"$work/status"
    } |
      tee "$work/log" | apt_lock_filter "$name" "$work/said"
    status=$(<"$work/status")
    if ((status == 0)) || ! grep -qE "$apt_lock_pattern" "$work/log"; then
      [[ -e $work/said ]] && echo "$name: the package lock came free; apt-get went on" >&2
      break
    fi
    if ((SECONDS >= deadline)); then
      echo "$name: the package lock was still held after $((apt_lock_seconds / 60))" \
        "minutes:" >&2
      grep -E '^E: ' "$work/log" >&2 || true
      break
    fi
    sleep "$apt_lock_retry_seconds"
  done
  rm -rf "$work"
  return "$status"
}
