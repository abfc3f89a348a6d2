#!/usr/bin/env bash
# Times quillpush sending 1,000 files of 25 KB to an FTP server on loopback (Debian's
# python3-pyftpdlib), then again with nothing changed.
#
#   bench/push_bench.sh [build-folder]      (default build/release)
set -euo pipefail
build=${1:-build/release}
source "$(dirname "$0")/push_common.sh"

/usr/bin/python3 tests/quillpush/ftp_server.py --root "$work/server" --log "$work/log" \
  >"$work/port" &
server=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(cat "$work/port")

write_bench_project "127.0.0.1:$port" ann secret

for run in first unchanged; do
  XDG_CONFIG_HOME=$work/config /usr/bin/time -f "$run run: %e s, peak %M KB" \
    env -u DISPLAY -u WAYLAND_DISPLAY "$quillpush" --quiet Bench
done
echo "files on the server: $(find "$work/server" -type f | wc -l)"
