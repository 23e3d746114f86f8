#!/usr/bin/env bash
# Installs what a fresh machine lacks to build, run and test Qxworks. Safe to run again.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang pkg-config
  libsdl2-dev libsdl2-ttf-dev libfontconfig-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev
  xvfb xdotool imagemagick desktop-file-utils weston xwayland
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
