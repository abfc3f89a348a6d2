#!/usr/bin/env bash
# Installs, only when missing, every Debian package the project builds, tests and runs with.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/apt-lock.sh"

packages=(
  g++ cmake ninja-build pkg-config
  libsqlite3-dev sqlite3 libexpat1-dev libxml2-dev
  libgtest-dev libgmock-dev
  qt6-base-dev libgl-dev libqt6svg6
  libcurl4-openssl-dev libssl-dev
  libenchant-2-dev hunspell-en-us hunspell-en-gb
  libexiv2-dev qt6-image-formats-plugins
  python3-pyftpdlib python3-openssl php-cli
  openssh-server openssh-client
  xvfb xauth xdotool qt6-qpa-plugins
  desktop-file-utils appstream dpkg-dev file
  hugo
  lftp rclone
  default-jre-headless
)
# The Nu HTML checker comes from npm; a Node.js installed from elsewhere brings its own.
command -v npm >/dev/null || packages+=(npm)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "install-deps: run as root or install sudo" >&2; exit 1; }
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
apt_get_waiting install-deps "${sudo[@]}" apt-get update -q
apt_get_waiting install-deps "${sudo[@]}" apt-get install -y -q --no-install-recommends \
  "${missing[@]}"
