#!/usr/bin/env bash
# A newcomer's HTML5 blog as readers' tools see it: Lighthouse 12 (mobile) scores for
# accessibility, SEO and best practices, and Chromium's rendering at 360x740 and 1280x900
# (widest content against the screen, smallest text, full-page screenshots), for the first blog
# page, an entry page, the archive and the comments page; entry pages off and on.
# Needs chromium (Debian) and node; Lighthouse and puppeteer-core come from npm into
# build/tools/npm. Pages are served by Python's web server on 127.0.0.1 only.
#
#   bench/html5_audit.sh [SCREENSHOT-FOLDER]   (default build/html5-audit)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD:-$root/build/release}
source "$root/bench/site_common.sh"
shots=$(realpath -m "${1:-$root/build/html5-audit}")
tools=$root/build/tools/npm
command -v chromium >/dev/null || { echo "html5-audit: needs chromium (apt-get install chromium)" >&2; exit 1; }
if [[ ! -x $tools/node_modules/.bin/lighthouse ]]; then
  npm install --prefix "$tools" --no-audit --no-fund --loglevel=error lighthouse@12 >&2 ||
    { echo "html5-audit: cannot install lighthouse from npm" >&2; exit 1; }
fi
mkdir -p "$shots"
export XDG_CONFIG_HOME=$work/config XDG_STATE_HOME=$work/state

# The entry of the measured blog: one of each thing the toolbar inserts, with text beyond ASCII.
add_entries() {
  python3 - "$1" <<'PY'
import sqlite3, sys
db = sqlite3.connect(sys.argv[1] + "/Blog.mdb")
first = "\r\n".join([
    'Walked to the <a href="https://example.org/caf%C3%A9">café</a> by the river this morning.',
    '<div class="LBox"><img src="walk.png" alt="The river path in the fog"></div>',
    '<ul><li>bread</li><li>crème fraîche</li><li>two apples</li></ul>',
    '<blockquote>', 'A quote from a letter, “word for word”.', '</blockquote>',
    '<hr>',
    '<span style="font-family: Georgia; color: #800000">Said in red</span> and <b>bold</b>.',
    '',
    '<div style="text-align: center">', 'Centred, αβγ', '</div>'])
db.execute('INSERT INTO "Bench Log" VALUES (?, ?)', ("2026-12-06 22:15:07", first))
db.execute('INSERT INTO "Bench Log" VALUES (?, ?)', ("2026-12-07 08:00:00", "A second entry, <i>short</i>."))
db.commit()
PY
  python3 -c 'import base64,sys; open(sys.argv[1]+"/walk.png","wb").write(base64.b64decode(
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg=="))' "$1"
}

port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work" "$port" >/dev/null 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$work"' EXIT

for pages in 0 1; do
  site=$work/site-$pages
  "$build/bench/make-bench-project" Audit$pages "$site" 0 >/dev/null
  rm -f "$site"/*.html "$site"/*.css
  "$build/bench/make-bench-project" --set Audit$pages Html5 1
  "$build/bench/make-bench-project" --set Audit$pages Language en
  "$build/bench/make-bench-project" --set Audit$pages EntryPages $pages
  "$build/bench/make-bench-project" --set Audit$pages CommentPage 1
  "$build/app/quillsmith-build" --support-files Audit$pages >/dev/null
  add_entries "$site"
  "$build/app/quillsmith-build" Audit$pages >/dev/null
  names=(index.html comments.html)
  ((pages == 1)) && names+=(2026-12-06-221507.html archive.html)
  urls=()
  for name in "${names[@]}"; do
    url=http://127.0.0.1:$port/site-$pages/$name
    urls+=("$url")
    timeout 180 "$tools/node_modules/.bin/lighthouse" "$url" --quiet \
      --chrome-path=/usr/bin/chromium --chrome-flags="--headless=new --no-sandbox" \
      --only-categories=accessibility,seo,best-practices --output=json \
      --output-path="$work/lh.json" >/dev/null 2>&1 || { echo "entry pages $pages $name: lighthouse failed"; continue; }
    python3 - "$work/lh.json" "entry pages $pages" "$name" <<'PY'
import json, sys
report = json.load(open(sys.argv[1]))
scores = {k: round(v["score"] * 100) for k, v in report["categories"].items()}
failed = sorted(a["title"] for a in report["audits"].values()
                if a.get("score") is not None and a["score"] < 1 and a.get("scoreDisplayMode") == "binary")
print(f'{sys.argv[2]:13} {sys.argv[3]:24} accessibility {scores["accessibility"]:3}  seo {scores["seo"]:3}  '
      f'best practices {scores["best-practices"]:3}' + ("".join("\n    failing: " + t for t in failed)))
PY
  done
  mkdir -p "$shots/entry-pages-$pages"
  NODE_PATH=$tools/node_modules node "$root/bench/html5_render.cjs" "$shots/entry-pages-$pages" "${urls[@]}"
done
echo "screenshots in $shots"
