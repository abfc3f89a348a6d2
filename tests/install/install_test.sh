#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR, as a packager does, and checks the tree: the
# three programs in bindir, the desktop file, the icon and the metainfo, each valid, and the
# installed command-line program runs from its installed place.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
id=example.ardentware.Quillsmith

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null

failed=0
expect() {
  if [[ ! -e "$dest/usr/$1" ]]; then
    echo "missing from the installed tree: /usr/$1" >&2
    failed=1
  fi
}
for program in quillsmith quillsmith-build quillpush; do
  expect "bin/$program"
  [[ -x "$dest/usr/bin/$program" ]] || { echo "not executable: /usr/bin/$program" >&2; failed=1; }
done
expect "share/applications/$id.desktop"
expect "share/icons/hicolor/scalable/apps/$id.svg"
expect "share/metainfo/$id.metainfo.xml"
examples=share/doc/quillsmith/examples
expect "$examples/quillsmith-publish@.service"
expect "$examples/quillsmith-publish@.timer"
((failed == 0)) || exit 1

# Nothing else: no static libraries, headers or test programs.
unexpected=$(cd "$dest/usr" && find . -type f | sort | grep -v -x -e ./bin/quillsmith \
  -e ./bin/quillsmith-build -e ./bin/quillpush -e "./share/applications/$id.desktop" \
  -e "./share/icons/hicolor/scalable/apps/$id.svg" -e "./share/metainfo/$id.metainfo.xml" \
  -e "./$examples/quillsmith-publish@.service" -e "./$examples/quillsmith-publish@.timer" || true)
if [[ -n "$unexpected" ]]; then
  echo "unexpected files installed:" >&2
  echo "$unexpected" >&2
  exit 1
fi

desktop-file-validate "$dest/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$dest/usr/share/metainfo/$id.metainfo.xml"

# The example service runs the installed program, which systemd finds in /usr/bin.
grep -qx "ExecStart=quillsmith-build --publish %I" "$dest/usr/$examples/quillsmith-publish@.service" || {
  echo "the example service does not run quillsmith-build --publish" >&2
  exit 1
}

version=$("$dest/usr/bin/quillsmith-build" --version)
[[ "$version" == "quillsmith-build 1.0.142" ]] || {
  echo "installed quillsmith-build --version printed: $version" >&2
  exit 1
}
echo "installed tree complete and valid; $version"
