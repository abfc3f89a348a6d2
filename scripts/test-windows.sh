#!/usr/bin/env bash
# Cross-builds the parts without Qt for Windows and runs their tests under Wine, in a Wine
# prefix of its own that is thrown away afterwards (with its wineserver).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/windows-deps.sh

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/quill-wine.XXXXXX")
export WINEPREFIX
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
# One wineserver for the whole run, started before anything else uses the prefix (it refuses
# to start beside one already running): tests starting side by side would otherwise race to
# start one of their own whenever the last one had gone idle.
wineserver --persistent
wineboot --init >/dev/null 2>&1

cmake --preset windows
cmake --build --preset windows -j2
ctest --preset windows -j2
