#!/usr/bin/env bash
# Fetches the Nu HTML checker (npm package vnu-jar) into build/tools/npm once; the test that
# validates generated HTML5 pages finds it there. Never fails the build: without network or
# npm the test says it is skipped and why.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=$root/build/tools/npm
jar=$prefix/node_modules/vnu-jar/build/dist/vnu.jar
[[ -f $jar ]] && exit 0
command -v npm >/dev/null || { echo "fetch-nu-checker: npm is not installed; skipping" >&2; exit 0; }
mkdir -p "$prefix"
if ! timeout 300 npm install --prefix "$prefix" --no-audit --no-fund --loglevel=error vnu-jar \
  >"$prefix/npm.log" 2>&1; then
  echo "fetch-nu-checker: npm install vnu-jar failed (see $prefix/npm.log); skipping" >&2
fi
exit 0
