#!/usr/bin/env bash
# Times uploads of a 10,000-entry blog (its pages, feed and stylesheets, and 15 pictures of
# 1 MB: about 454 files, 26 MB) to servers on loopback that answer as a host far away would,
# RTT milliseconds away (default 50):
#   FTP   bench/slow_link_ftp_server.py, a pyftpdlib server whose replies and data
#         connections wait RTT each;
#   SFTP  Debian's sshd behind bench/slow_link_relay.py, which holds every byte back RTT/2
#         each way.
# Each client uploads the same two states of the site to a server folder of its own: the
# first upload, the same site again (unchanged), and the site after a change of the date
# format (every page changed). quillpush also runs --verify on the unchanged site. The
# clients: quillpush at its default four connections, lftp `mirror -R --parallel=4` and
# rclone `sync --transfers 4` (Debian's lftp and rclone), over FTP and over SFTP; a client
# that is missing or fails a round is left out of it. Each run prints its wall time, the
# client's CPU time and the load average; at the end comes the median wall time of ROUNDS
# rounds (default 3), each round starting from empty server folders. ENTRIES=N makes a
# smaller blog, for a quick trial.
#
#   bench/push_far_bench.sh [build-folder [rounds [rtt-ms]]]   (default build/release 3 50)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
rounds=${2:-3}
rtt=${3:-50}
for tool in sqlite3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "bench: needs $tool (apt-get install ${tool##*/})" >&2; exit 1; }
done
# The yardsticks: a client that is not installed is left out, and said so.
yardsticks=()
for tool in lftp rclone; do
  if command -v "$tool" >/dev/null; then yardsticks+=("$tool")
  else echo "bench: $tool is not installed (apt-get install $tool): its figures are left out" >&2; fi
done
has() { [[ " ${yardsticks[*]} " == *" $1 "* ]]; }
entries=${ENTRIES:-10000}
if [[ ! -x $build/app/quillpush || ! -x $build/bench/make-bench-project ]]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j2 --target quillpush quillsmith-build make-bench-project >/dev/null
fi
quillpush=$(realpath "$build/app/quillpush")

work=$(mktemp -d)
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
export XDG_CONFIG_HOME=$work/config HOME=$work/home
mkdir -p "$HOME/.ssh"

# Starts a server that prints its port; sets $port.
serve() {  # name, command...
  local name=$1
  shift
  "$@" >"$work/$name.port" 2>"$work/$name.log" &
  pids+=($!)
  for _ in $(seq 100); do [[ -s $work/$name.port ]] && break; sleep 0.1; done
  port=$(head -1 "$work/$name.port")
}

# The site in two states, as the clients' sources: the output folder without the entry
# database and the manifest.
"$build/bench/make-bench-project" Bench "$work/out" "$entries" >/dev/null
mkdir -p "$work/out/images"
for i in $(seq 1 15); do head -c 1048576 /dev/urandom >"$work/out/images/picture$i.jpg"; done
"$build/app/quillsmith-build" Bench >/dev/null
snapshot() { mkdir -p "$work/$1" && (cd "$work/out" && tar cf - --exclude='Blog.mdb*' --exclude=.quillpush-manifest .) | tar xf - -C "$work/$1"; }
snapshot first
"$build/bench/make-bench-project" --date-format Bench 1
"$build/app/quillsmith-build" Bench >/dev/null
snapshot changed
echo "site: $(find "$work/first" -type f | wc -l) files, $(du -sb "$work/first" | cut -f1) bytes;" \
  "$(diff -rq "$work/first" "$work/changed" | wc -l) differ after the change"

# The output folder as the state names it, for quillpush.
put_site() {
  find "$work/out" -mindepth 1 -maxdepth 1 ! -name 'Blog.mdb*' ! -name .quillpush-manifest -exec rm -rf {} +
  cp -a "$work/$1/." "$work/out/"
}

set_target() {  # host
  local key='HKEY_CURRENT_USER\Software\Ardentware\Quillsmith\Bench'
  sqlite3 "$XDG_CONFIG_HOME/quillsmith/registry.db" <<SQL
INSERT OR REPLACE INTO vals VALUES ('$key', 'FtpHost', 1, CAST('$1' AS BLOB)),
  ('$key', 'FtpUser', 1, CAST('$(id -un)' AS BLOB)), ('$key', 'FtpPass', 1, CAST('' AS BLOB)),
  ('$key', 'FtpPath', 1, CAST('bench' AS BLOB));
SQL
}
ftp_password() {
  local key='HKEY_CURRENT_USER\Software\Ardentware\Quillsmith\Bench'
  sqlite3 "$XDG_CONFIG_HOME/quillsmith/registry.db" \
    "UPDATE vals SET data = CAST('ann' AS BLOB) WHERE key = '$key' AND name = 'FtpUser';
     UPDATE vals SET data = CAST('secret' AS BLOB) WHERE key = '$key' AND name = 'FtpPass';"
}

timed() {  # label, command...; a yardstick that fails loses its round, quillpush ends the run
  local label=$1
  shift
  if ! /usr/bin/time -f '%e %U %S' -o "$work/seconds" "$@" >"$work/last.out" 2>&1; then
    echo "bench: $label failed:" >&2
    tail -5 "$work/last.out" >&2
    [[ $label == *quillpush* ]] && exit 1
    return 1
  fi
  local seconds user system
  read -r seconds user system <"$work/seconds"
  echo "$label $seconds" >>"$work/figures"
  echo "$label $seconds s, CPU $(awk -v u="$user" -v s="$system" 'BEGIN { print u + s }') s" \
    "(load $(cut -d' ' -f1 /proc/loadavg))" >&2
}

quillpush_round() {  # protocol
  local p=$1
  put_site first
  rm -f "$work/out/.quillpush-manifest"
  timed "$p-quillpush-first" env -u DISPLAY -u WAYLAND_DISPLAY "$quillpush" --quiet Bench
  timed "$p-quillpush-unchanged" env -u DISPLAY -u WAYLAND_DISPLAY "$quillpush" --quiet Bench
  timed "$p-quillpush-verify" env -u DISPLAY -u WAYLAND_DISPLAY "$quillpush" --quiet --verify Bench
  put_site changed
  timed "$p-quillpush-changed" env -u DISPLAY -u WAYLAND_DISPLAY "$quillpush" --quiet Bench
}

# FTP
mkdir -p "$work/ftp"
serve ftp /usr/bin/python3 bench/slow_link_ftp_server.py --root "$work/ftp" --rtt "$rtt"
ftp_port=$port
set_target "127.0.0.1:$ftp_port"
ftp_password
lftp_mirror() {  # state: the arguments of lftp mirroring it, in $mirror
  mirror=(-c "set ftp:ssl-allow no; set net:max-retries 6;
    open -u ann,secret -p $ftp_port ftp://127.0.0.1; mirror -R --parallel=4 $work/$1 /bench/lftp")
}
export RCLONE_CONFIG_FAR_TYPE=ftp RCLONE_CONFIG_FAR_HOST=127.0.0.1 RCLONE_CONFIG_FAR_PORT=$ftp_port
export RCLONE_CONFIG_FAR_USER=ann RCLONE_CONFIG_FAR_PASS=$(! has rclone || rclone obscure secret)
# Each yardstick in turn: first upload, unchanged, every page changed; then its copy is checked.
yardstick_round() {  # protocol, server folder
  local p=$1 folder=$2
  if has lftp; then
    if lftp_mirror first && timed "$p-lftp-first" lftp "${mirror[@]}" &&
      lftp_mirror first && timed "$p-lftp-unchanged" lftp "${mirror[@]}" &&
      lftp_mirror changed && timed "$p-lftp-changed" lftp "${mirror[@]}"; then
      diff -rq "$work/changed" "$folder/lftp" >/dev/null || { echo "bench: lftp's $p copy differs" >&2; exit 1; }
    fi
  fi
  if has rclone; then
    mkdir -p "$folder/rclone"  # rclone takes pyftpdlib's 501 for a missing folder as a fault
    if timed "$p-rclone-first" rclone sync --transfers 4 "$work/first" "$rclone_remote:bench/rclone" &&
      timed "$p-rclone-unchanged" rclone sync --transfers 4 "$work/first" "$rclone_remote:bench/rclone" &&
      timed "$p-rclone-changed" rclone sync --transfers 4 "$work/changed" "$rclone_remote:bench/rclone"; then
      diff -rq "$work/changed" "$folder/rclone" >/dev/null || { echo "bench: rclone's $p copy differs" >&2; exit 1; }
    fi
  fi
}
check_quillpush_copy() {  # protocol, server folder
  diff -rq "$work/changed" "$2" --exclude=lftp --exclude=rclone --exclude=.quillpush-manifest \
    >/dev/null || { echo "bench: quillpush's $1 copy differs" >&2; exit 1; }
}

for round in $(seq "$rounds"); do
  rm -rf "${work:?}/ftp/"* && mkdir -p "$work/ftp/bench"
  quillpush_round ftp
  check_quillpush_copy ftp "$work/ftp/bench"
  rclone_remote=far
  yardstick_round ftp "$work/ftp/bench"
  echo "round $round done (load $(cut -d' ' -f1-3 /proc/loadavg))" >&2
done

# SFTP: sshd behind the relay
mkdir -p "$work/sftp/bench"
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$HOME/.ssh/id_ed25519"
sshd_port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/sshd_config" <<CONF
ListenAddress 127.0.0.1
Port $sshd_port
HostKey $work/host_key
PidFile none
AuthorizedKeysFile $HOME/.ssh/id_ed25519.pub
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
MaxStartups 64
Subsystem sftp internal-sftp -d $work/sftp
CONF
[[ $(id -u) -ne 0 ]] || mkdir -p /run/sshd
/usr/sbin/sshd -D -e -f "$work/sshd_config" 2>"$work/sshd.log" &
pids+=($!)
for _ in $(seq 50); do (echo >"/dev/tcp/127.0.0.1/$sshd_port") 2>/dev/null && break; sleep 0.1; done
serve relay /usr/bin/python3 bench/slow_link_relay.py --to "$sshd_port" --rtt "$rtt"
set_target "sftp:127.0.0.1:$port"
env -u DISPLAY "$quillpush" --trust-host-key Bench >/dev/null
relay_port=$port
lftp_mirror() {  # state; paths stay relative to the SFTP start folder
  mirror=(-c "set net:max-retries 6;
    set sftp:connect-program 'ssh -a -x -F /dev/null -i $HOME/.ssh/id_ed25519 -o StrictHostKeyChecking=no -o UserKnownHostsFile=/dev/null';
    open -u $(id -un), -p $relay_port sftp://127.0.0.1; mirror -R --parallel=4 $work/$1 bench/lftp")
}
export RCLONE_CONFIG_FARSSH_TYPE=sftp RCLONE_CONFIG_FARSSH_HOST=127.0.0.1
export RCLONE_CONFIG_FARSSH_PORT=$relay_port RCLONE_CONFIG_FARSSH_USER=$(id -un)
export RCLONE_CONFIG_FARSSH_KEY_FILE=$HOME/.ssh/id_ed25519 RCLONE_CONFIG_FARSSH_SHELL_TYPE=none
for round in $(seq "$rounds"); do
  rm -rf "${work:?}/sftp/bench/"*
  quillpush_round sftp
  check_quillpush_copy sftp "$work/sftp/bench"
  rclone_remote=farssh
  yardstick_round sftp "$work/sftp/bench"
  echo "sftp round $round done (load $(cut -d' ' -f1-3 /proc/loadavg))" >&2
done

echo "median of $rounds rounds, seconds, RTT $rtt ms:"
sort -k1,1 -k2,2n "$work/figures" | awk '
  { times[$1] = times[$1] " " $2; count[$1]++ }
  END { for (label in times) { n = split(substr(times[label], 2), t, " ");
          printf "%-24s %7.2f   (%s)\n", label, t[int((n + 1) / 2)], substr(times[label], 2) } }' | sort
