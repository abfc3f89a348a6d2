# The start every site benchmark shares; sourced with the build folder in $build.
# Builds the release targets named in $targets when one is missing, checks for GNU time,
# makes the work folder $work (removed on exit) and defines timed.

targets=${targets:-quillsmith-build make-bench-project}
for target in $targets; do
  path=$build/app/$target
  [[ -x $path ]] || path=$build/bench/$target
  if [[ ! -x $path ]]; then
    cmake --preset release >/dev/null
    cmake --build --preset release -j2 --target $targets >/dev/null
    break
  fi
done
command -v /usr/bin/time >/dev/null || { echo "bench: needs GNU time (apt-get install time)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# timed LABEL COMMAND...: runs the command and prints entries ($n), label, wall time, CPU time
# (user + system) and peak memory in MB.
timed() {
  local label=$1
  shift
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >"$work/out"
  read -r seconds user system kb <"$work/time"
  printf '%-9s %-8s %8s %8s %9.1f\n' "$n" "$label" "$seconds" \
    "$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.2f", u + s }')" \
    "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')"
}
