# What both upload benchmarks share; sourced by push_bench.sh and push_sftp_bench.sh after
# they set `build`. Leaves `quillpush` (the program), `work` (a temporary folder removed on
# exit, with 1,000 random 25 KB pages in $work/site) and `server` (a PID to stop on exit).
cd "$(dirname "${BASH_SOURCE[0]}")/.."
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

# The project "Bench" uploading $work/site, written straight into the documented registry
# format: write_bench_project HOST USER PASSWORD
write_bench_project() {
  local key='HKEY_CURRENT_USER\Software\Ardentware\Quillsmith\Bench'
  sqlite3 "$work/config/quillsmith/registry.db" <<SQL
CREATE TABLE keys (path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE);
CREATE TABLE vals (key TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
                   type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (key, name));
INSERT INTO keys VALUES ('$key');
INSERT INTO vals VALUES ('$key', 'Template', 1, CAST('$work/site/template.html' AS BLOB)),
                        ('$key', 'FtpHost', 1, CAST('$1' AS BLOB)),
                        ('$key', 'FtpUser', 1, CAST('$2' AS BLOB)),
                        ('$key', 'FtpPass', 1, CAST('$3' AS BLOB)),
                        ('$key', 'FtpPath', 1, CAST('bench' AS BLOB));
SQL
}
