#!/usr/bin/env bash
# Installs what the build needs on Debian 12 (quick when everything is there).
set -euo pipefail
PKGS="qt6-base-dev libvips-dev libopencv-dev qt6-svg-dev libwmf-dev fonts-urw-base35 fonts-dejavu-core libsane-dev libxcb1-dev libxcb-xinput-dev sane-utils xvfb xauth openbox xdotool dbus-daemon imagemagick libgtest-dev libbenchmark-dev mate-backgrounds cmake ninja-build pkg-config g++ ccache qt6-translations-l10n"
missing=""
for p in $PKGS; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq $missing
fi
