#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need, when any is missing.
set -euo pipefail
packages=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
  libgtest-dev libgmock-dev libbenchmark-dev
  libsndfile1-dev libsamplerate0-dev
  clang libclang-rt-14-dev
  python3 python3-numpy python3-pyvisa python3-pyvisa-py python3-pymeasure
  xvfb xauth imagemagick poppler-utils fonts-dejavu-core fonts-liberation2 fonts-wqy-microhei
  dpkg-dev fakeroot lintian desktop-file-utils appstream librsvg2-bin
  xdotool openbox qt6-translations-l10n
  libtirpc-dev rpcbind libavahi-client-dev avahi-daemon avahi-utils dbus lxi-tools python3-zeroconf
  iproute2 util-linux
  at-spi2-core python3-pyatspi dbus-daemon
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
