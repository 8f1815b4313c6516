#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the tool and its tests need, when missing.
# Usage: scripts/deps.sh run|test
set -euo pipefail

packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-charts-dev qt6-translations-l10n
  fonts-ipafont-gothic)
# Qt Charts' CMake package (the viewer) needs Qt's OpenGL development files.
packages+=(libqt6opengl6-dev)
if [ "${1:-run}" = test ]; then
  packages+=(libgtest-dev xvfb xauth xdotool x11-utils imagemagick openbox clang libclang-rt-14-dev
    fonts-noto-cjk qt6-gtk-platformtheme gnome-themes-extra dbus-x11 desktop-file-utils appstream
    dpkg-dev file man-db librsvg2-bin libxcb-damage0-dev locales xclip python3-fonttools)
  # The yardstick of the chart benchmark (bench/chart_bench.sh).
  packages+=(gnuplot-nox)
  # The core built for Windows and tested under Wine (preset windows-core),
  # with GoogleTest built from its sources.
  packages+=(g++-mingw-w64-x86-64-posix wine64 googletest)
  # Building the Debian package and checking it.
  packages+=(debhelper fakeroot lintian git)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
