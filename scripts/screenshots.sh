#!/usr/bin/env bash
# Makes the pictures the README opens with, again, whenever the look changes:
#   docs/editor.png             the editor with an entry, the real program on a virtual display
#   docs/page-classic.png       a generated page of a classic project, in headless Chromium
#   docs/page-html5-phone.png   a page of the HTML5 style on a phone-sized window
# Usage: scripts/screenshots.sh [BUILD_FOLDER]   (default build/dev, after `make build`)
# Everything runs on a profile of its own in a temporary folder; your projects are untouched.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$here/scripts/apt-lock.sh"
build=$(cd "${1:-$here/build/dev}" && pwd)
docs="$here/docs"
mkdir -p "$docs"

# Debian's Chromium for the pages, ImageMagick's import for the window.
missing=()
for p in chromium imagemagick xvfb xdotool sqlite3; do
  [[ $(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true) == "install ok installed" ]] ||
    missing+=("$p")
done
if ((${#missing[@]} > 0)); then
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  apt_get_waiting screenshots "${sudo[@]}" apt-get update -q
  apt_get_waiting screenshots "${sudo[@]}" apt-get install -y -q --no-install-recommends \
    "${missing[@]}"
fi

work=$(mktemp -d)
xvfb_pid=""
editor_pid=""
finish() {
  [[ -n $editor_pid ]] && kill "$editor_pid" 2>/dev/null || true
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap finish EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_STATE_HOME="$work/home/state"
export XDG_RUNTIME_DIR="$work/run"
mkdir -p "$XDG_CONFIG_HOME/quillsmith" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
registry="$XDG_CONFIG_HOME/quillsmith/registry.db"
product='HKEY_CURRENT_USER\Software\Ardentware\Quillsmith'

sql() { sqlite3 "$1" "$2"; }
sql "$registry" "CREATE TABLE keys (path TEXT NOT NULL PRIMARY KEY COLLATE NOCASE);
  CREATE TABLE vals (key TEXT NOT NULL COLLATE NOCASE, name TEXT NOT NULL COLLATE NOCASE,
                     type INTEGER NOT NULL, data BLOB NOT NULL, PRIMARY KEY (key, name));"
# set KEY NAME VALUE: one REG_SZ value, its key and the keys above it.
set_value() {
  local key=$1 path=""
  IFS='\' read -ra parts <<<"$key"
  for part in "${parts[@]}"; do
    path=${path:+$path\\}$part
    sql "$registry" "INSERT OR IGNORE INTO keys VALUES ('${path//\'/\'\'}');"
  done
  sql "$registry" "INSERT OR REPLACE INTO vals VALUES ('${key//\'/\'\'}', '$2', 1,
    CAST('${3//\'/\'\'}' AS BLOB));"
}

# make_project NAME FOLDER HTML5: a project with a few entries, its support files and site.
make_project() {
  local name=$1 folder=$2 index=$3
  mkdir -p "$folder"
  set_value "$product" "$(printf '%02d' "$index")" "$name"
  set_value "$product" Last "$name"
  local key="$product\\$name"
  set_value "$key" Template "$folder/template.html"
  set_value "$key" Title "$name"
  set_value "$key" Site "https://garden.example/"
  set_value "$key" IncludeRSS 1
  set_value "$key" PrintTime 1
  [[ $4 == 1 ]] && set_value "$key" Html5 1
  "$build/app/quillsmith-build" --support-files "$name" >/dev/null
  sql "$folder/Blog.mdb" "CREATE TABLE \"$name\" (Date TEXT PRIMARY KEY, Content TEXT);
    INSERT INTO \"$name\" VALUES
    ('2026-12-05 08:30:00', '<h2>First frost</h2>
The dahlias are lifted, dried and boxed in the cellar; the <b>kale</b> only gets sweeter.'),
    ('2026-12-06 17:45:00', '<h2>Seed catalogues</h2>
Three catalogues came today. This year: <i>fewer</i> tomatoes, more beans, and a
<a href=\"https://seeds.example/\">bed of sweet peas</a> along the fence.'),
    ('2026-12-07 09:10:00', '<h2>Planning the spring beds</h2>
A sketch of the four beds, rotated one step: roots, brassicas, legumes, then the squash.
<ul><li>order onion sets</li><li>sharpen the hoe</li><li>mend the cold frame</li></ul>');"
  "$build/app/quillsmith-build" "$name" >/dev/null
}

make_project "Garden Notes" "$work/garden" 0 0
make_project "Garden Phone" "$work/phone" 1 1

chromium_shot() {  # PAGE PNG WIDTH HEIGHT
  chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync \
    --hide-scrollbars --user-data-dir="$work/chromium-$RANDOM" --window-size="$3,$4" \
    --screenshot="$2" "file://$1" >/dev/null 2>&1
  echo "Wrote $2"
}
chromium_shot "$work/garden/index.html" "$docs/page-classic.png" 1000 800
chromium_shot "$work/phone/index.html" "$docs/page-html5-phone.png" 390 844

# The editor, on a display of its own, with an entry being written.
Xvfb -displayfd 3 -screen 0 1100x720x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [[ -s $work/display ]] && break; sleep 0.2; done
export DISPLAY=":$(head -1 "$work/display")"
QT_QPA_PLATFORM=xcb "$build/app/quillsmith" "Garden Notes" &
editor_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Ardentware Quillsmith : Garden Notes$' |
  head -1)
xdotool windowmove "$window" 0 0
xdotool windowfocus --sync "$window"
# Typed < and > stay text; markup comes from the toolbar's keys, as a writer would use them.
xdotool key ctrl+2
xdotool type --delay 15 'Frost, and a plan'
xdotool key End Return
xdotool type --delay 15 'The beds rest under straw now. Next spring the '
xdotool key ctrl+b
xdotool type --delay 15 'beans'
xdotool key End
xdotool type --delay 15 ' go where the squash was, and the sweet peas climb the new fence.'
sleep 1
import -window "$window" "$docs/editor.png"
echo "Wrote $docs/editor.png"
