#!/usr/bin/env bash
# Times quillpush sending 1,000 files of 25 KB by SFTP to an SSH server on loopback (Debian's
# openssh-server, run for the benchmark with its own host and client keys), then again with
# nothing changed.
#
#   bench/push_sftp_bench.sh [build-folder]      (default build/release)
set -euo pipefail
build=${1:-build/release}
source "$(dirname "$0")/push_common.sh"
mkdir -p "$work/home/.ssh"

ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/home/.ssh/id_ed25519"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/sshd_config" <<CONF
ListenAddress 127.0.0.1
Port $port
HostKey $work/host_key
PidFile none
AuthorizedKeysFile $work/home/.ssh/id_ed25519.pub
PasswordAuthentication no
KbdInteractiveAuthentication no
UsePAM no
StrictModes no
PermitRootLogin prohibit-password
Subsystem sftp internal-sftp -d $work/server
CONF
[[ $(id -u) -ne 0 ]] || mkdir -p /run/sshd
/usr/sbin/sshd -D -e -f "$work/sshd_config" 2>"$work/sshd.log" &
server=$!
for _ in $(seq 50); do (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break; sleep 0.1; done

write_bench_project "sftp:127.0.0.1:$port" "$(id -un)" ""

run() { env -u DISPLAY -u WAYLAND_DISPLAY -u SSH_AUTH_SOCK HOME=$work/home \
  XDG_CONFIG_HOME=$work/config "$@"; }
run "$quillpush" --trust-host-key Bench >/dev/null
for pass in first unchanged; do
  run /usr/bin/time -f "$pass run: %e s (quillpush CPU %U s user + %S s system), peak %M KB" "$quillpush" --quiet Bench
done
echo "files on the server: $(find "$work/server" -type f | wc -l)"
