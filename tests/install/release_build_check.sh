#!/usr/bin/env bash
# Configures the sources as a user or a distribution does — no preset, only
# CMAKE_BUILD_TYPE=Release, hence -O3 — and builds the site generator and its command-line
# program, the string-heavy code where -O3's deeper inlining has raised warnings the dev
# build never sees. Warnings are errors here, as in every CI build, so such a warning is
# met before a user's build meets it. The build folder is kept, so a second run only
# rebuilds what changed.
# Usage: release_build_check.sh SOURCE_DIR BUILD_DIR GENERATOR
set -euo pipefail
source=$1
build=$2
generator=$3
cmake -S "$source" -B "$build" -G "$generator" -DCMAKE_BUILD_TYPE=Release \
  -DQUILL_BUILD_TESTS=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build "$build" --target quillsmith-build -j2
