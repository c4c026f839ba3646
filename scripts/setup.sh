#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# only those that are missing. Run as root on Debian 12.
set -euo pipefail

PKGS=(
  g++ cmake make ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev libx11-dev libxcb1-dev libxcb-xtest0-dev
  libqt6sql6-sqlite
  libsqlite3-dev sqlite3
  libicu-dev
  libssl-dev
  googletest libgtest-dev libbenchmark-dev
  clang-format
  fonts-arphic-uming fonts-liberation
  python3 python3-aiosmtpd python3-fonttools fontconfig openssl
  xvfb xauth openbox kwin-x11 kwin-style-breeze xfwm4 dbus-daemon wmctrl
  qt6-translations-l10n
  locales
  dpkg-dev file lintian desktop-file-utils appstream xdotool
)

missing=()
for p in "${PKGS[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: must run as root to install packages" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
