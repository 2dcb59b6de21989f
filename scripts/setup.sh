#!/usr/bin/env bash
# Installs everything Mirune needs to build, run and test on Debian 12.
# Idempotent: when every package is already there it prints nothing and exits.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config ccache clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev qt6-qpa-plugins libqt6printsupport6
  libqt6svg6 qt6-image-formats-plugins
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  libicu-dev libarchive-dev libical-dev tzdata qtkeychain-qt6-dev radicale
  libfluidsynth-dev fluidsynth fluid-soundfont-gm
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-cjk fontconfig locales
  xvfb xauth xdotool imagemagick libx11-dev
  lhasa libarchive-tools jlha-utils gzip
  python3 python3-icalendar python3-caldav grep ripgrep curl time
  qt6-translations-l10n zip unzip faketime poppler-utils desktop-file-utils xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get -o DPkg::Lock::Timeout=900 update -qq
  $sudo apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A Japanese UTF-8 locale keeps window titles and dates right when LANG=ja_JP.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 || true
fi
