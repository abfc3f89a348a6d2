#!/usr/bin/env bash
# Times quillpush sending 1,000 files of 25 KB to an FTP server on loopback (Debian's
# python3-pyftpdlib), then again with nothing changed.
#
#   bench/push_bench.sh [build-folder]      (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
if [[ ! -x $build/app/quillpush ]]; then
  cmake --preset release >/dev/null
  cmake --build --preset release -j2 --target quillpush >/dev/null
fi
quillpush=$(realpath "$build/app/quillpush")

work=$(mktemp -d)
server=
cleanup() { [[ -n $server ]] && kill "$server" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

mkdir -p "$work/site" "$work/server" "$work/config/quillsmith"
for i in $(seq 1 1000); do head -c 25600 /dev/urandom >"$work/site/page$i.html"; done

/usr/bin/python3 tests/quillpush/ftp_server.py --root "$work/server" --log "$work/log" \
  >"$work/port" &
server=$!
for _ in $(seq 50); do [[ -s $work/port ]] && break; sleep 0.1; done
port=$(cat "$work/port")

# The project's settings, written straight into the documented registry format.
registry=$work/config/quillsmith/registry.db
key='HKEY_CURRENT_USER\Software\Ardentware\Quillsmith\Bench'
sqlite3 "$registry" <<SQL
CREATE TABLE keys (path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE);
CREATE TABLE vals (key TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
                   type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (key, name));
INSERT INTO keys VALUES ('$key');
INSERT INTO vals VALUES ('$key', 'Template', 1, CAST('$work/site/template.html' AS BLOB)),
                        ('$key', 'FtpHost', 1, CAST('127.0.0.1:$port' AS BLOB)),
                        ('$key', 'FtpUser', 1, CAST('ann' AS BLOB)),
                        ('$key', 'FtpPass', 1, CAST('secret' AS BLOB)),
                        ('$key', 'FtpPath', 1, CAST('bench' AS BLOB));
SQL

for run in first unchanged; do
  XDG_CONFIG_HOME=$work/config /usr/bin/time -f "$run run: %e s, peak %M KB" \
    env -u DISPLAY -u WAYLAND_DISPLAY "$quillpush" --quiet Bench
done
echo "files on the server: $(find "$work/server" -type f | wc -l)"
